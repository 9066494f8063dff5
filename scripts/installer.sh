#!/usr/bin/env bash
# Builds the setups: tessel2.exe (32-bit; installs the 64-bit pair on 64-bit Windows and the
# 32-bit pair on 32-bit Windows) and tessel2-x64.exe (the same script built as a 64-bit
# program), into build/win64/installer/. Both Windows trees are built first: the setup
# carries both pairs.
#   installer.sh          build them
#   installer.sh --test   build them, then install, start and uninstall silently under Wine,
#                         in a fresh prefix on a display of its own; where 32-bit programs
#                         start, the 32-bit setup is tested too, on a 64-bit and on a
#                         32-bit prefix
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${TESSEL_BUILD_ROOT:-$root/build}
export TESSEL_BUILD_ROOT=$build_root

"$root/scripts/build.sh" win32 Tessel2 Tessel installer_tests
"$root/scripts/build.sh" win64 installer installer_tests
echo "Setups: $build_root/win64/installer/tessel2.exe, $build_root/win64/installer/tessel2-x64.exe"

[ "${1:-}" = --test ] || exit 0

runs_32bit=no
if "$root/scripts/runs-32bit.sh" && [ -x /usr/lib/wine/wine ]; then runs_32bit=yes; fi

. "$root/scripts/wine-session.sh"
run_dir=""
trap 'wine_session_end; [ -z "$run_dir" ] || rm -rf "$run_dir"' EXIT

# One setup in a prefix of the architecture given that has seen nothing else, tested by that
# architecture's test program.
test_setup() {
  local arch=$1 setup=$2
  run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tessel-setup.XXXXXX")
  # Wine's menu builder copies every Start-menu entry to the host's desktop menus and icons:
  # switch it off, and should it run all the same, let it write into the run's folder.
  export XDG_DATA_HOME=$run_dir/xdg-data XDG_CONFIG_HOME=$run_dir/xdg-config
  WINE_SESSION_ARCH=$arch wine_session_begin "$run_dir"
  wine_run reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f >/dev/null 2>&1
  local rc=0
  (cd "$build_root/$arch/bin" &&
    TESSEL_SETUP=$(wine_run winepath -w "$setup" 2>/dev/null) \
    wine_run ./installer_tests.exe --gtest_color=no) || rc=$?
  wine_session_end
  rm -rf "$run_dir"
  run_dir=""
  return $rc
}

echo "== setup tessel2-x64.exe under Wine (64-bit Windows)"
test_setup win64 "$build_root/win64/installer/tessel2-x64.exe"
if [ "$runs_32bit" = yes ]; then
  echo "== setup tessel2.exe under Wine (64-bit Windows running the 32-bit setup)"
  test_setup win64 "$build_root/win64/installer/tessel2.exe"
  echo "== setup tessel2.exe under Wine (32-bit Windows)"
  test_setup win32 "$build_root/win64/installer/tessel2.exe"
else
  echo "== setup tessel2.exe (32-bit): not run, this machine starts no 32-bit program (it is built)"
fi
