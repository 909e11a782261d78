#!/usr/bin/env bash
# Installs what the build, the tests and the window need (Debian 12), then
# configures and builds. Usage: scripts/setup.sh [release|asan|bench]...
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev googletest
          libbenchmark-dev qt6-base-dev libcairo2-dev libpng-dev xvfb xauth fonts-noto-cjk time clang clang-format clang-tidy
          dpkg-dev fakeroot file man-db desktop-file-utils python3 locales poppler-utils qpdf librsvg2-bin strace proj-bin
          libgdal-dev gdal-bin python3-gdal)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The RFC 7946 checker that export's GeoJSON is read back with, pinned, into
# build/npm; without npm that test says it is skipped.
if command -v npm >/dev/null; then
  npm install --silent --no-audit --no-fund --prefix build/npm @placemarkio/check-geojson@0.1.14 >/dev/null ||
    echo "npm could not install @placemarkio/check-geojson: the RFC 7946 test will be skipped" >&2
fi

# de_DE.UTF-8: the number tests run once under a locale whose decimal point
# is a comma, as the window may.
scripts/ensure-locales.sh de_DE

build() {
  local name=$1; shift
  cmake -S . -B "build/$name" -G Ninja "$@" >/dev/null
  cmake --build "build/$name" -j2
}

[ $# -eq 0 ] && set -- release
for config in "$@"; do
  case "$config" in
    release) build release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLODEMARK_WERROR=ON ;;
    asan) build asan -DCMAKE_BUILD_TYPE=Debug -DLODEMARK_SANITIZE=ON -DLODEMARK_BUILD_GUI=OFF -DLODEMARK_WERROR=ON ;;
    bench) build bench -DCMAKE_BUILD_TYPE=Release -DLODEMARK_BUILD_GUI=OFF -DLODEMARK_BUILD_TESTS=OFF -DLODEMARK_BUILD_BENCH=ON ;;
    *) echo "unknown configuration: $config" >&2; exit 2 ;;
  esac
done
