#!/usr/bin/env bash
# Installs what is missing, builds the program and starts Tessel2.exe under Wine on your
# display, in a prefix kept between runs. Paths given as arguments are handed to the
# program the way the Explorer command does it: as the handoff file beside the exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X server (Tesselwork 2 is a window program)." >&2
  exit 1
fi
"$root/scripts/install-deps.sh"
export TESSEL_BUILD_ROOT=${TESSEL_BUILD_ROOT:-$root/build}
"$root/scripts/build.sh" win32 Tessel2
bin=$TESSEL_BUILD_ROOT/win32/bin

. "$root/scripts/wine-session.sh"
state=${XDG_DATA_HOME:-$HOME/.local/share}/tesselwork2
mkdir -p "$state"
DISPLAY_MODE=user wine_session_begin "$state" "$state/prefix"

handoff=$bin/Tessel2.ts2
rm -f "$handoff"
if [ $# -gt 0 ]; then
  : >"$handoff"
  for p in "$@"; do
    printf '%s\r\n' "$(winepath -w "$(realpath -m "$p")" 2>/dev/null)" >>"$handoff"
  done
fi
cd "$bin"
exec wine ./Tessel2.exe
