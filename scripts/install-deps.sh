#!/usr/bin/env bash
# Installs what building and testing Tesselwork 2 needs on Debian 12; safe to run again.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools
  wine wine32:i386 xvfb xauth cmake ninja-build googletest g++ python3
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  missing+=(wine32:i386)
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
