#!/usr/bin/env bash
# Configures and builds one tree: native, native-asan, fuzz, win64 or win32.
# Usage: build.sh TREE [targets...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$1; shift
dir=${TESSEL_BUILD_ROOT:-$root/build}/$tree
case $tree in
  native)      args=() ;;
  native-asan) args=(-DTESSEL_SANITIZE=ON) ;;
  fuzz)        args=(-DTESSEL_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14) ;;
  win64)       args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
  win32)       args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
  *) echo "unknown tree $tree" >&2; exit 2 ;;
esac
# ccache shares compiled objects between trees and checkouts of the same sources: paths
# are taken relative to the checkout, so a second work tree starts with a warm cache.
if command -v ccache >/dev/null; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" ${1:+--target "$@"}
