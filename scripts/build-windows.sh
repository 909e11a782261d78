#!/usr/bin/env bash
# Cross-builds the Windows programs and their tests with Debian's mingw-w64
# into build/windows/, installing what is missing (the compiler, Wine, what
# draws the programs' icon (rsvg-convert, icotool), the
# Japanese locale that gives Wine code page 932, and en_US.UTF-8). GoogleTest is built from
# Debian's sources inside the build folder.
# Usage: scripts/build-windows.sh [--test]   (--test also runs the tests under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64 googletest wine wine64 locales xvfb xauth xdotool
          fonts-noto-cjk zip unzip file nsis x11-apps librsvg2-bin icoutils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# ja_JP.UTF-8 gives Wine code page 932; en_US.UTF-8 (code page 1252) shows
# that nothing depends on the system's code page.
scripts/ensure-locales.sh ja_JP en_US

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLODEMARK_WERROR=ON >/dev/null
cmake --build build/windows -j2

if [ "${1:-}" = "--test" ]; then
  scripts/wine-env.sh ctest --test-dir build/windows --output-on-failure -j2
fi
