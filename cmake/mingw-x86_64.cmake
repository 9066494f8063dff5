# Cross toolchain for 64-bit Windows. Tests run under Wine's 64-bit loader, called directly:
# the wine wrapper prefers the 32-bit one whenever it is installed.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSEL_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
