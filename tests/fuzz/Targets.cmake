# libFuzzer targets: clang only, native only, with AddressSanitizer and UBSan. The whole
# tree is instrumented for coverage (fuzzer-no-link); only the targets link libFuzzer's main.
foreach(target RuleFuzz BatchFileFuzz HandoffFuzz RegistrarScriptFuzz PictureHeaderFuzz)
  add_executable(${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/${target}.cpp)
  target_link_libraries(${target} PRIVATE tessel_core)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endforeach()
add_custom_target(fuzz_targets DEPENDS RuleFuzz BatchFileFuzz HandoffFuzz RegistrarScriptFuzz PictureHeaderFuzz)
