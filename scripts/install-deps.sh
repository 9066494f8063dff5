#!/usr/bin/env bash
# Installs what building and testing Tesselwork 2 needs on Debian 12; safe to run again.
# clang with its runtime libraries builds the fuzz targets (libFuzzer, ASan, UBSan).
# Both cross compilers are always installed: every run builds the 64-bit and the 32-bit
# program. Wine's 32-bit half (the i386 architecture and wine32) only goes where the machine
# starts 32-bit programs at all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 fonts-wine xvfb xauth cmake ninja-build ccache googletest g++ python3
  clang-14 libclang-rt-14-dev nsis fp-utils locales
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

with_wine32=no
if "$root/scripts/runs-32bit.sh"; then
  with_wine32=yes
  packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "$with_wine32" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
