# The cross tree's targets: the program, its Win32 library, the extension and the Wine-run tests.

# The code-page seam's Win32 side belongs to the core: portable code reaches the real
# code-page functions through it when built for Windows, and the extension, which links the
# core alone, converts its texts through the same helpers.
target_sources(tessel_core PRIVATE ${CMAKE_SOURCE_DIR}/base/CodePage_win.cpp
  ${CMAKE_SOURCE_DIR}/base/WideText_win.cpp ${CMAKE_SOURCE_DIR}/base/UserFolder_win.cpp)
target_link_libraries(tessel_core PUBLIC user32 kernel32 shell32)

set(win_sources)
file(GLOB framework_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/win/*.cpp)
list(APPEND win_sources ${framework_sources})
foreach(dir base controls filelist engine quickview update app)
  file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*_win.cpp)
  list(APPEND win_sources ${dir_sources})
endforeach()
list(REMOVE_ITEM win_sources
  ${CMAKE_SOURCE_DIR}/app/WinMain_win.cpp
  ${CMAKE_SOURCE_DIR}/base/CodePage_win.cpp
  ${CMAKE_SOURCE_DIR}/base/WideText_win.cpp
  ${CMAKE_SOURCE_DIR}/base/UserFolder_win.cpp)

add_library(tessel_win STATIC ${win_sources})
target_include_directories(tessel_win PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tessel_win PUBLIC tessel_core
  comctl32 comdlg32 shell32 shlwapi ole32 oleaut32 uuid gdi32 msimg32 user32 advapi32 wininet)

# Resources: windres writes no dependency information, so every file the script pulls in is
# listed explicitly.
# The identifiers come from app/resource.h and the headers of the panels it names.
file(GLOB app_resource_files CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/res/*.ico ${CMAKE_SOURCE_DIR}/app/res/*.bmp
  ${CMAKE_SOURCE_DIR}/app/res/*.manifest ${CMAKE_SOURCE_DIR}/app/res/*.rc2 ${CMAKE_SOURCE_DIR}/app/*.h
  ${CMAKE_SOURCE_DIR}/*/*Panel_win.h ${CMAKE_SOURCE_DIR}/base/Identity.h
  ${CMAKE_SOURCE_DIR}/controls/SkinDialog_win.h)
list(APPEND app_resource_files ${TESSEL_GENERATED_DIR}/TesselVersion.h)
# The version blocks of the program and the extension read the release number from here.
include_directories(${TESSEL_GENERATED_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/Tessel2.rc PROPERTIES
  OBJECT_DEPENDS "${app_resource_files}")

add_executable(Tessel2 WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain_win.cpp ${CMAKE_SOURCE_DIR}/app/Tessel2.rc)
target_link_libraries(Tessel2 PRIVATE tessel_win)

# The program as systems before Windows 10 1903 run it, in their own ANSI code page: its
# manifest lacks the UTF-8 entry. The double-byte tests run it (bin/system-code-page/).
set(system_code_page_dir ${CMAKE_BINARY_DIR}/system-code-page)
file(READ ${CMAKE_SOURCE_DIR}/app/res/Tessel2.manifest tessel_manifest)
# The entry runs from its comment to the end of the application element that holds it (the
# compatibility section has application elements of its own).
string(FIND "${tessel_manifest}" "  <!-- Windows 10 1903" entry_start)
string(FIND "${tessel_manifest}" "</windowsSettings>" settings_end)
if(entry_start EQUAL -1 OR settings_end EQUAL -1)
  message(FATAL_ERROR "the manifest's UTF-8 entry was not found")
endif()
string(SUBSTRING "${tessel_manifest}" ${settings_end} -1 tessel_manifest_tail)
string(FIND "${tessel_manifest_tail}" "</application>\n" application_end)
math(EXPR entry_end "${settings_end} + ${application_end} + 15")
string(SUBSTRING "${tessel_manifest}" 0 ${entry_start} tessel_manifest_head)
string(SUBSTRING "${tessel_manifest}" ${entry_end} -1 tessel_manifest_rest)
set(tessel_system_manifest "${tessel_manifest_head}${tessel_manifest_rest}")
# Written only when it changes, so that a new configure run rebuilds nothing.
file(WRITE ${system_code_page_dir}/manifest.new "${tessel_system_manifest}")
configure_file(${system_code_page_dir}/manifest.new ${system_code_page_dir}/Tessel2-system-code-page.manifest COPYONLY)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/app/Tessel2.rc APPEND PROPERTY
  OBJECT_DEPENDS ${system_code_page_dir}/Tessel2-system-code-page.manifest)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/res/Tessel2.manifest)
add_executable(Tessel2SystemCodePage WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain_win.cpp ${CMAKE_SOURCE_DIR}/app/Tessel2.rc)
target_link_libraries(Tessel2SystemCodePage PRIVATE tessel_win)
target_compile_definitions(Tessel2SystemCodePage PRIVATE TESSEL_SYSTEM_CODE_PAGE)
target_include_directories(Tessel2SystemCodePage PRIVATE ${system_code_page_dir})
set_target_properties(Tessel2SystemCodePage PROPERTIES
  OUTPUT_NAME Tessel2 RUNTIME_OUTPUT_DIRECTORY ${TESSEL_BIN_DIR}/system-code-page)

# The shell extension keeps its own target description beside its sources.
include(${CMAKE_SOURCE_DIR}/shellext/Targets.cmake OPTIONAL)

# The help file and the installer.
include(${CMAKE_SOURCE_DIR}/cmake/Distribution.cmake)

# --- tests run under Wine -------------------------------------------------------------------
target_link_libraries(native_tests PRIVATE user32)

# Files, folders, host programs and host windows shared by the Win32 tests, the UI tests and
# the benchmark.
file(GLOB testsupport_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(tessel_testsupport STATIC ${testsupport_sources})
target_include_directories(tessel_testsupport PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tessel_testsupport PUBLIC user32 gdi32 kernel32 advapi32 ws2_32)
# HeldFile's holding side is a test of the program that uses it.
target_link_libraries(tessel_testsupport PRIVATE gtest)

file(GLOB win32_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(win32_test_sources)
  add_executable(win32_tests ${win32_test_sources} ${CMAKE_SOURCE_DIR}/app/Tessel2.rc)
  target_link_libraries(win32_tests PRIVATE tessel_win tessel_testsupport gtest_main)
  # The in-process tests run in the prefix's own code page: the double-byte ones need it.
  target_compile_definitions(win32_tests PRIVATE TESSEL_SYSTEM_CODE_PAGE)
  target_include_directories(win32_tests PRIVATE ${system_code_page_dir})
  tessel_add_gtest(win32_tests)
endif()

file(GLOB ui_driver_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/driver/*.cpp)
file(GLOB ui_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/*.cpp)
if(ui_test_sources)
  add_library(ui_driver STATIC ${ui_driver_sources})
  target_include_directories(ui_driver PUBLIC ${CMAKE_SOURCE_DIR}/tests/ui ${CMAKE_SOURCE_DIR})
  target_link_libraries(ui_driver PUBLIC tessel_testsupport gtest user32 gdi32 advapi32 shell32 comctl32)
  add_executable(ui_tests ${ui_test_sources})
  target_link_libraries(ui_tests PRIVATE ui_driver gtest_main)
  add_dependencies(ui_tests Tessel2 Tessel2SystemCodePage)
  tessel_add_gtest(ui_tests)
endif()

# Helper programs the UI tests start (a stand-in for the shell's associated programs).
include(${CMAKE_SOURCE_DIR}/tests/tools/Targets.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/tests/shellhost/Targets.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/tests/standins/Targets.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/tests/installer/Targets.cmake OPTIONAL)

# --- benchmark ------------------------------------------------------------------------------
file(GLOB bench_win_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
add_executable(tessel_bench ${bench_sources} ${bench_win_sources} ${CMAKE_SOURCE_DIR}/bench/Bench.rc)
target_link_libraries(tessel_bench PRIVATE tessel_win tessel_testsupport)
set_source_files_properties(${CMAKE_SOURCE_DIR}/bench/Bench.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/app/res/Tessel2.manifest)
add_custom_target(bench COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:tessel_bench>
  DEPENDS tessel_bench USES_TERMINAL WORKING_DIRECTORY ${TESSEL_BIN_DIR})
