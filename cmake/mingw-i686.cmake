# Cross toolchain for 32-bit Windows. Its tests run under Wine's 32-bit loader, which only
# machines that start 32-bit programs have.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSEL_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The wine wrapper script would pick this loader too, but naming it keeps the two trees apart.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
