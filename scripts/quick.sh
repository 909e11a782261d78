#!/usr/bin/env bash
# The quick loop for work in progress: builds build/release (with the window)
# and runs its tests, nothing else — no sanitizers, fuzzers, packages or
# Windows build (scripts/test.sh runs all of those). With ccache installed
# (apt-get install ccache) a new build folder reuses earlier compilations.
# Further arguments go to ctest, e.g. scripts/quick.sh -R SoilDictionary
set -euo pipefail
cd "$(dirname "$0")/.."
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi
scripts/setup.sh release
ctest --test-dir build/release --output-on-failure -j2 "$@"
