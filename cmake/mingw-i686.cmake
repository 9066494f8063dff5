# Cross toolchain for 32-bit Windows: mingw-w64 with the posix thread model. Its tests run
# under Wine's 32-bit loader, which only machines that start 32-bit programs have.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSEL_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSEL_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The wine wrapper script would pick this loader too, but naming it keeps the two trees apart.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
