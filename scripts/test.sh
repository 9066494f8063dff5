#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: native (plain and with
# sanitizers), a short run of each fuzz target, then the Windows tests under Wine, each
# architecture in a fresh prefix on a display of its own. The 64-bit tree is always tested;
# the 32-bit tree is always built and is tested where this machine starts 32-bit programs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

build_root=${TESSEL_BUILD_ROOT:-$root/build}
export TESSEL_BUILD_ROOT=$build_root

echo "== native tests"
"$root/scripts/build.sh" native
ctest --test-dir "$build_root/native" --output-on-failure

echo "== native tests with AddressSanitizer and UBSan"
"$root/scripts/build.sh" native-asan native_tests
ctest --test-dir "$build_root/native-asan" --output-on-failure

echo "== fuzz targets, about 20 s each (clang, ASan and UBSan)"
"$root/scripts/fuzz.sh" 20

echo "== build: 64-bit Windows (build/win64/bin)"
"$root/scripts/build.sh" win64
echo "== build: 32-bit Windows (build/win32/bin)"
"$root/scripts/build.sh" win32
echo "== build: setups (build/win64/installer)"
"$root/scripts/installer.sh"
# The version test reads the setups too; here they must be there.
export TESSEL_EXPECT_INSTALLER=1

. "$root/scripts/wine-session.sh"
run_dir=""
trap 'wine_session_end; [ -z "$run_dir" ] || rm -rf "$run_dir"' EXIT

# Runs one Windows tree's tests in a prefix of its architecture.
wine_tests() {
  local tree=$1
  run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tessel-test-$tree.XXXXXX")
  WINE_SESSION_ARCH=$tree wine_session_begin "$run_dir"
  local rc=0
  ctest --test-dir "$build_root/$tree" --output-on-failure || rc=$?
  wine_session_end
  rm -rf "$run_dir"
  run_dir=""
  return $rc
}

echo "== 64-bit Windows tests under Wine"
wine_tests win64

# Wine takes the ANSI code page from LC_CTYPE and the language of its own dialogs from
# LC_MESSAGES: Japanese text, English dialogs (the tests find them by their titles).
echo "== 64-bit Windows tests under Wine in code page 932 (Win32 tests, the double-byte walk)"
"$root/scripts/make-locale.sh" ja_JP.UTF-8 "$build_root/locale"
run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tessel-test-cp932.XXXXXX")
(
  unset LC_ALL
  export LOCPATH=$build_root/locale LC_CTYPE=ja_JP.UTF-8 LC_MESSAGES=C
  trap 'wine_session_end' EXIT
  WINE_SESSION_ARCH=win64 wine_session_begin "$run_dir"
  # The UI tests drive the program as a system that ignores its manifest's UTF-8 entry runs
  # it: the build without that entry takes the place of Tessel2.exe in a copy of bin/.
  cp -r "$build_root/win64/bin" "$run_dir/bin"
  # The setups beside the copy, where the version test looks for them.
  cp -r "$build_root/win64/installer" "$run_dir/installer"
  cp "$build_root/win64/bin/system-code-page/Tessel2.exe" "$run_dir/bin/Tessel2.exe"
  # The program as built, for the test of files written in the machine's code page.
  mkdir "$run_dir/bin/utf8"
  cp "$build_root/win64/bin/Tessel2.exe" "$build_root/win64/bin/Tessel.dll" "$run_dir/bin/utf8/"
  cd "$run_dir/bin"
  wine_run ./win32_tests.exe --gtest_color=no --gtest_brief=1 </dev/null
  wine_run ./ui_tests.exe --gtest_color=no --gtest_brief=1 \
    --gtest_filter='DoubleByteUi*:FileListAddUi*:FileListFilterUi*:SelectionTransferUi*:BatchUi*:RunUi*:LegacyFilesUi*' </dev/null
)
rm -rf "$run_dir"
run_dir=""

if "$root/scripts/runs-32bit.sh" && [ -x /usr/lib/wine/wine ]; then
  echo "== 32-bit Windows tests under Wine"
  wine_tests win32
else
  echo "== 32-bit Windows tests: skipped, this machine starts no 32-bit program (the tree is built)"
fi

echo "== setup: install, start and uninstall under Wine"
trap - EXIT
"$root/scripts/installer.sh" --test
