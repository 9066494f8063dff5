# The test host that plays Explorer for the shell-extension tests; built beside them in bin/.

add_executable(tessel_shellhost ${CMAKE_SOURCE_DIR}/tests/shellhost/ShellHost_win.cpp)
target_link_libraries(tessel_shellhost PRIVATE ole32 oleaut32 uuid shell32 user32)

# A program that an unquoted path with blanks would start instead of Tessel2.exe, and a
# library without the registration export.
add_executable(tessel_trap ${CMAKE_SOURCE_DIR}/tests/shellhost/Trap_win.cpp)
add_library(tessel_noregister SHARED ${CMAKE_SOURCE_DIR}/tests/shellhost/NoRegisterExport_win.cpp)
set_target_properties(tessel_noregister PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${TESSEL_BIN_DIR})

# The Win32 tests load Tessel.dll from bin/ and start the host, and test the registrar's
# registry side directly.
add_library(tessel_registrar_applier STATIC ${CMAKE_SOURCE_DIR}/shellext/RegistrarApplier_win.cpp)
target_link_libraries(tessel_registrar_applier PUBLIC tessel_core advapi32)
if(TARGET win32_tests)
  target_link_libraries(win32_tests PRIVATE tessel_registrar_applier version)
  add_dependencies(win32_tests Tessel tessel_shellhost tessel_trap)
endif()
if(TARGET ui_tests)
  add_dependencies(ui_tests Tessel tessel_shellhost tessel_trap tessel_noregister)
endif()
