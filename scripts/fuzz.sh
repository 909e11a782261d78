#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang (build/fuzz: ASan and
# UBSan, no window, no tests) and runs them, each on a fresh copy of its seed
# corpus in a temporary folder, so that the repository is not changed.
# Usage: scripts/fuzz.sh [HARNESS|all] [SECONDS] [LIBFUZZER_OPTION...]
#   default: all harnesses, 20 s each. A crash or broken invariant fails the
#   command; the input that did it is kept under fuzz-findings/ of the
#   temporary folder, whose path is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

harness=${1:-all}
seconds=${2:-20}
shift $(( $# < 2 ? $# : 2 ))

harnesses=(catalogue data_files soil_dictionary pattern_data_setting companion_settings decimal cp932_decode
           cp932_encode source_check remembered_datums)
if [ "$harness" != all ]; then
  if [ ! -d "fuzz/corpus/$harness" ]; then
    echo "fuzz.sh: no harness $harness (one of: ${harnesses[*]})" >&2
    exit 2
  fi
  harnesses=("$harness")
fi

CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLODEMARK_FUZZ=ON \
  -DLODEMARK_BUILD_GUI=OFF -DLODEMARK_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz -j2 --target "${harnesses[@]/%/_fuzzer}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
work=$(mktemp -d "${TMPDIR:-/tmp}/lodemark-fuzz-run-XXXXXX")
# The harnesses' scratch folders go in there too, even those of a crashed run.
mkdir -p "$work/tmp"
export TMPDIR="$work/tmp"
status=0
for h in "${harnesses[@]}"; do
  mkdir -p "$work/corpus/$h" "$work/fuzz-findings"
  cp "fuzz/corpus/$h"/* "$work/corpus/$h/"
  echo "-- $h: ${seconds} s"
  if ! (cd "$work" && "$root/build/fuzz/fuzz/${h}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
          -artifact_prefix="$work/fuzz-findings/$h-" "$@" "$work/corpus/$h" >"$work/$h.log" 2>&1); then
    tail -n 30 "$work/$h.log"
    # The input as text too: on CI the temporary folder is gone with the machine.
    for finding in "$work/fuzz-findings/$h-"*; do
      [ -f "$finding" ] || continue
      echo "-- $(basename "$finding"), $(stat -c %s "$finding") bytes, base64 (base64 -d > input; build/fuzz/fuzz/${h}_fuzzer input):"
      head -c 65536 "$finding" | base64 -w 100
    done
    echo "-- $h: FAILED (log $work/$h.log, input in $work/fuzz-findings/)"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$work/$h.log" | sed "s/^/   /" || true
  fi
done
if [ "$status" -eq 0 ]; then
  rm -rf "$work"
else
  echo "fuzz.sh: kept $work"
fi
exit $status
