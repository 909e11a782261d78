#!/usr/bin/env bash
# Builds, then drives the window under a virtual display on copies of the
# sample data: selects boreholes, presses Execute and saves a picture of the
# window after the run.
# Usage: scripts/screenshot.sh [picture.png]              the Qt window (default build/screenshot.png)
#        scripts/screenshot.sh --windows [picture.png]    the Win32 window under Wine
#                                                         (default build/screenshot-windows.png)
#        scripts/screenshot.sh --windows-preview [picture.png]
#                                                         the Win32 window's preview of B-101 under
#                                                         Wine (default build/screenshot-windows-preview.png)
#        scripts/screenshot.sh --installer [folder]          the Windows installer's pages under Wine
#                                                         (default build/installer-pages)
#        scripts/screenshot.sh --report [picture.png]     the Qt window's check report of the
#                                                         samples (default build/screenshot-report.png)
#        scripts/screenshot.sh --preview [picture.png]    the Qt window's preview of the sample
#                                                         borehole B-101 (default build/screenshot-preview.png)
#        scripts/screenshot.sh --export [picture.png]     the Qt window's export dialog, no datum
#                                                         chosen yet (default build/screenshot-export.png)
set -euo pipefail
cd "$(dirname "$0")/.."

# A Win32 window under Wine: the window test named by the filter saves what
# the window shows as a BMP (Wine sees the Linux root as drive Z:) to the file
# named by the variable; Python's zlib turns it into a PNG.
windows_picture() {
  local variable=$1 filter=$2 picture=$3
  scripts/build-windows.sh
  command -v python3 >/dev/null || {
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends python3-minimal >/dev/null
  }
  local bmp="${picture%.png}.bmp"
  rm -f "$picture" "$bmp"
  env "$variable=Z:$bmp" scripts/wine-env.sh tests/gui/win32/run_window_test.sh wine \
    build/windows/tests/win32_main_window_test.exe --gtest_filter="$filter"
  [ -s "$bmp" ] || { echo "no picture was saved" >&2; exit 1; }
  python3 - "$bmp" "$picture" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
assert bits == 24, "a 24-bit BMP was expected"
stride = (width * 3 + 3) & ~3
rows = bytearray()
for y in range(abs(height)):
    start = offset + ((abs(height) - 1 - y) if height > 0 else y) * stride  # BMP rows run bottom-up
    line = data[start:start + width * 3]
    rows.append(0)  # no PNG filter
    for x in range(0, width * 3, 3):
        rows += bytes((line[x + 2], line[x + 1], line[x]))  # BGR to RGB
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[2], "wb").write(b"\x89PNG\r\n\x1a\n" +
    chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)) +
    chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
PY
  rm -f "$bmp"
  echo "Saved $picture"
}

if [ "${1:-}" = "--windows" ]; then
  windows_picture LODEMARK_SCREENSHOT '*ExecuteAsksForTheMissingFolderAndWritesTheFiles*' \
    "$(realpath -m "${2:-build/screenshot-windows.png}")"
  exit 0
fi

if [ "${1:-}" = "--windows-preview" ]; then
  windows_picture LODEMARK_PREVIEW_SCREENSHOT '*DoubleClickAndEnterOpenThatBoreholesPreviewAndRunNothing*' \
    "$(realpath -m "${2:-build/screenshot-windows-preview.png}")"
  exit 0
fi

# The installer's pages (install mode, folder, pattern data) as a user on
# Windows sees them: a Wine prefix of its own in which C:\Kelmo\PATDAT is
# set, and the pages setting C:\Kelmo\パターン2 instead.
if [ "${1:-}" = "--installer" ]; then
  shots=$(realpath -m "${2:-build/installer-pages}")
  installer=$(scripts/package-windows.sh | sed -n 1p)
  export WINEPREFIX="$PWD/build/windows/installer-shot-prefix"
  rm -rf "$WINEPREFIX"
  scripts/wine-env.sh true
  kelmo="$WINEPREFIX/drive_c/Kelmo"
  mkdir -p "$kelmo"
  cp -r samples/patdat "$kelmo/PATDAT"
  scripts/wine-env.sh wine "$installer" /S '/PATDAT=C:\Kelmo\PATDAT'
  scripts/wine-env.sh wineserver -w
  tests/scripts/windows_installer_pages.sh "$installer" "$kelmo" "$shots"
  rm -rf "$WINEPREFIX"
  echo "Saved $shots/installer-*.png"
  exit 0
fi

# Builds, then runs one function of a Qt window test, which saves the
# picture to the file named by the environment variable given.
# Usage: qt_picture PICTURE VARIABLE TEST FUNCTION
qt_picture() {
  scripts/setup.sh release
  local picture
  picture=$(realpath -m "$1")
  rm -f "$picture"
  env "$2=$picture" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "build/release/tests/$3" "$4"
  [ -s "$picture" ] || { echo "no picture was saved" >&2; exit 1; }
  echo "Saved $picture"
}

case "${1:-}" in
  --report)
    qt_picture "${2:-build/screenshot-report.png}" LODEMARK_REPORT_SCREENSHOT report_window_test \
      contextMenuOpensTheReportOfAllListedBoreholes
    ;;
  --preview)
    qt_picture "${2:-build/screenshot-preview.png}" LODEMARK_PREVIEW_SCREENSHOT preview_window_test \
      doubleClickAndEnterOpenThatBoreholesPreviewAndRunNothing
    ;;
  --export)
    qt_picture "${2:-build/screenshot-export.png}" LODEMARK_EXPORT_SCREENSHOT export_dialog_box_test \
      exportDialogShowsTheChoicesAndWaitsForADatum
    ;;
  *)
    qt_picture "${1:-build/screenshot.png}" LODEMARK_SCREENSHOT main_window_test \
      executeWritesTheSelectedBoreholesAndReportsSuccess
    ;;
esac
