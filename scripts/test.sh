#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: native (plain and with
# sanitizers), then the Win32 tests under Wine in a fresh prefix on a display of their own.
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

echo "== Win32 tests under Wine"
"$root/scripts/build.sh" win32
. "$root/scripts/wine-session.sh"
run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tessel-test.XXXXXX")
trap 'wine_session_end; rm -rf "$run_dir"' EXIT
wine_session_begin "$run_dir"
ctest --test-dir "$build_root/win32" --output-on-failure
