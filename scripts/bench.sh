#!/usr/bin/env bash
# Builds and runs the benchmarks: native figures, then the 64-bit Windows figures under Wine.
# Usage: bench.sh [name-filter]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export TESSEL_BUILD_ROOT=${TESSEL_BUILD_ROOT:-$root/build}
"$root/scripts/build.sh" native tessel_bench
"$root/scripts/build.sh" win64 tessel_bench
(cd "$TESSEL_BUILD_ROOT/native/bin" && ./tessel_bench "$@")
. "$root/scripts/wine-session.sh"
run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tessel-bench.XXXXXX")
trap 'wine_session_end; rm -rf "$run_dir"' EXIT
WINE_SESSION_ARCH=win64 wine_session_begin "$run_dir"
(cd "$TESSEL_BUILD_ROOT/win64/bin" && wine_run ./tessel_bench.exe "$@")
