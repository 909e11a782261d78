#!/usr/bin/env bash
# Cross-builds the Windows programs and their tests with Debian's mingw-w64
# into build/windows/, installing what is missing (the compiler, Wine, the
# Japanese locale that gives Wine code page 932). GoogleTest is built from
# Debian's sources inside the build folder.
# Usage: scripts/build-windows.sh [--test]   (--test also runs the tests under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64 googletest wine wine64 locales xvfb xauth xdotool
          fonts-noto-cjk zip unzip file)
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
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "Generating the locale ja_JP.UTF-8"
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DLODEMARK_WERROR=ON >/dev/null
cmake --build build/windows -j2

if [ "${1:-}" = "--test" ]; then
  scripts/wine-env.sh ctest --test-dir build/windows --output-on-failure -j2
fi
