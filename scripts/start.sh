#!/usr/bin/env bash
# Installs what is missing, builds the program and starts Tessel2.exe under Wine on your
# display, in a prefix kept between runs. Paths given as arguments are handed to the
# program the way the Explorer command does it: as the handoff file beside the exe.
# Usage: start.sh [--32] [file-or-folder ...]   (--32: the 32-bit program, where it can run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=win64
if [ "${1:-}" = --32 ]; then
  tree=win32
  shift
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X server (Tesselwork 2 is a window program)." >&2
  exit 1
fi
"$root/scripts/install-deps.sh"
if [ "$tree" = win32 ] && ! { "$root/scripts/runs-32bit.sh" && [ -x /usr/lib/wine/wine ]; }; then
  echo "This machine starts no 32-bit program: run the 64-bit one (without --32)." >&2
  exit 1
fi
export TESSEL_BUILD_ROOT=${TESSEL_BUILD_ROOT:-$root/build}
"$root/scripts/build.sh" "$tree" Tessel2
bin=$TESSEL_BUILD_ROOT/$tree/bin

. "$root/scripts/wine-session.sh"
state=${XDG_DATA_HOME:-$HOME/.local/share}/tesselwork2
mkdir -p "$state"
# Each architecture keeps a prefix of its own: a 64-bit prefix is no 32-bit one.
prefix=$state/prefix
[ "$tree" = win64 ] || prefix=$state/prefix32
WINE_SESSION_ARCH=$tree DISPLAY_MODE=user wine_session_begin "$state" "$prefix"

handoff=$bin/Tessel2.ts2
rm -f "$handoff"
if [ $# -gt 0 ]; then
  : >"$handoff"
  for p in "$@"; do
    printf '%s\r\n' "$(wine_run winepath -w "$(realpath -m "$p")" 2>/dev/null)" >>"$handoff"
  done
fi
cd "$bin"
exec "$WINELOADER" ./Tessel2.exe
