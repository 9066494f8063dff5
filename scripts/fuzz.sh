#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a while, one after
# the other, at low priority. The committed seeds are read only; what a run learns goes to
# a scratch folder that is removed afterwards, unless the run found something: then the
# folder and the input that broke the target are kept and named.
# Usage: fuzz.sh [SECONDS-PER-TARGET] [TARGET...]   (default 20 s, every target)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}; shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(RuleFuzz BatchFileFuzz HandoffFuzz RegistrarScriptFuzz PictureHeaderFuzz)

declare -A corpus=([RuleFuzz]=rules [BatchFileFuzz]=batch [HandoffFuzz]=handoff [RegistrarScriptFuzz]=registrar [PictureHeaderFuzz]=pictures)
declare -A dictionary=([RuleFuzz]=rules.dict [RegistrarScriptFuzz]=registrar.dict [PictureHeaderFuzz]=pictures.dict)

build_root=${TESSEL_BUILD_ROOT:-$root/build}
TESSEL_BUILD_ROOT=$build_root "$root/scripts/build.sh" fuzz "${targets[@]}"

failed=()
for target in "${targets[@]}"; do
  seeds=$root/tests/fuzz/corpus/${corpus[$target]}
  words=()
  [ -z "${dictionary[$target]:-}" ] || words=(-dict="$root/tests/fuzz/${dictionary[$target]}")
  work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-fuzz-$target.XXXXXX")
  mkdir -p "$work/corpus" "$work/found"
  echo "== fuzzing $target for $seconds s"
  if nice -n 10 "$build_root/fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 "${words[@]}" -artifact_prefix="$work/found/" "$work/corpus" "$seeds" >"$work/log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$work/log" || true
    rm -rf "$work"
  else
    tail -n 40 "$work/log"
    echo "$target found a fault: input and log kept in $work" >&2
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz targets that failed: ${failed[*]}" >&2; exit 1; }
