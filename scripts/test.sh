#!/usr/bin/env bash
# Sets everything up and runs every test: the release build (window tests
# included, under Xvfb) and the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh release asan

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
echo "== Tests (release) =="
ctest --test-dir build/release --output-on-failure -j2 || status=1
echo "== Tests (AddressSanitizer + UndefinedBehaviorSanitizer) =="
ctest --test-dir build/asan --output-on-failure -j2 || status=1
exit $status
