# Test-only stand-ins for the media player and Flash controls (absent under Wine); the Win32
# and UI tests register them in the test prefix while they need them.

add_library(tessel_standins SHARED ${CMAKE_SOURCE_DIR}/tests/standins/StandInControls_win.cpp
  ${CMAKE_SOURCE_DIR}/tests/standins/StandInControls.def)
set_target_properties(tessel_standins PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${TESSEL_BIN_DIR})
target_link_libraries(tessel_standins PRIVATE ole32 oleaut32 uuid user32 gdi32)
target_link_options(tessel_standins PRIVATE -Wl,--enable-stdcall-fixup)
foreach(t win32_tests ui_tests)
  if(TARGET ${t})
    add_dependencies(${t} tessel_standins)
  endif()
endforeach()

# The test pictures (tests/support/TestPictures.cpp) write JPEGs through WIC.
target_link_libraries(tessel_testsupport PUBLIC ole32 windowscodecs uuid)
