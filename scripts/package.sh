#!/usr/bin/env bash
# Builds the Debian package of the release build (window included) and prints
# its path: build/release/package/lodemark_<version>_<arch>.deb.
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
# The package holds the window, so the build must have it, whatever an
# earlier configuration said.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLODEMARK_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j2 >/dev/null
rm -f "$build"/package/lodemark_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
debs=("$build"/package/lodemark_*.deb)
[ -f "${debs[0]}" ] || { echo "cpack wrote no package under $build/package" >&2; exit 1; }
realpath "${debs[0]}"
