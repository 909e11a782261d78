#!/usr/bin/env bash
# Sets everything up and runs every test: the release build (window tests
# included, under Xvfb) and the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, both built with warnings as errors (each replays
# the fuzz seed corpora as tests); the fuzz harnesses under libFuzzer, 20 s
# each (scripts/fuzz.sh, a third build with clang); the Debian package, built,
# installed with apt-get, used and removed again; the Windows build
# (mingw-w64) and its tests under Wine (scripts/build-windows.sh --test); then
# the checks of the layering and file sizes, the layout (clang-format) and the
# naming rule (clang-tidy). A failing step fails the command; the steps after
# it still run, and the end repeats what each failed step printed last, since a
# CI page often shows only the end of a long run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh release asan

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

logs=$(mktemp -d "${TMPDIR:-/tmp}/lodemark-test-XXXXXX")
trap 'rm -rf "$logs"' EXIT
failed=()  # headings of the failed steps; step N printed $logs/N.log
steps=0
step() {  # HEADING COMMAND...: runs COMMAND, says how long it took
  local heading=$1 start=$SECONDS
  shift
  steps=$((steps + 1))
  echo "== $heading =="
  # Not a pipe: a daemon a step leaves running (wineserver, Xvfb) would hold
  # it open and the command would wait for it.
  if "$@" > >(tee "$logs/$steps.log") 2>&1; then
    echo "-- $heading: passed ($((SECONDS - start)) s)"
  else
    echo "-- $heading: FAILED ($((SECONDS - start)) s)"
    failed+=("$steps:$heading")
  fi
}

step "Tests (release)" ctest --test-dir build/release --output-on-failure -j2
step "Tests (AddressSanitizer + UndefinedBehaviorSanitizer)" ctest --test-dir build/asan --output-on-failure -j2
step "Fuzzers, 20 s each (scripts/fuzz.sh)" scripts/fuzz.sh all 20
step "Debian package: build, install, use, remove (tests/scripts/package_test.sh)" tests/scripts/package_test.sh
step "Windows build and tests under Wine (scripts/build-windows.sh --test)" scripts/build-windows.sh --test
step "Windows zip: make, unpack, convert the samples under Wine (tests/scripts/package_windows_test.sh)" tests/scripts/package_windows_test.sh
step "Windows installer: install, upgrade, uninstall, pages under Wine (tests/scripts/windows_installer_test.sh)" tests/scripts/windows_installer_test.sh
step "Layering and file sizes (scripts/check_includes.sh)" scripts/check_includes.sh
step "Layout (scripts/check_format.sh)" scripts/check_format.sh
step "Naming, on the Linux, sanitizer and Windows builds (scripts/check_naming.sh)" scripts/check_naming.sh --every-file build/release build/windows build/asan
if [ ${#failed[@]} -eq 0 ]; then
  echo "== every step passed =="
  exit 0
fi
for entry in "${failed[@]}"; do
  echo "== FAILED: ${entry#*:}; the end of what it printed, passed tests left out: =="
  grep -vE ' Passed |^ +Start +[0-9]+:' "$logs/${entry%%:*}.log" | tail -n 60 || true
done
echo "== FAILED steps: $(printf '%s; ' "${failed[@]#*:}")=="
exit 1
