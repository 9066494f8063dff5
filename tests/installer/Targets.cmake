# The setup's own test: it installs into Program Files and registers the extension for the
# whole system, so it is not one of ctest's runs; scripts/installer.sh --test runs it alone
# in a fresh prefix.

add_executable(installer_tests ${CMAKE_SOURCE_DIR}/tests/installer/InstallerTest.cpp)
target_include_directories(installer_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(installer_tests PRIVATE tessel_testsupport gtest_main shell32 advapi32)
