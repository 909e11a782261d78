#!/usr/bin/env bash
# Builds, then drives the window under a virtual display on copies of the
# sample data: selects two boreholes, presses Execute and saves a picture of
# the window after the run. Usage: scripts/screenshot.sh [picture.png]
# (default build/screenshot.png).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh release
picture=$(realpath -m "${1:-build/screenshot.png}")
rm -f "$picture"
LODEMARK_SCREENSHOT="$picture" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  build/release/tests/main_window_test executeWritesTheSelectedBoreholesAndReportsSuccess
[ -s "$picture" ] || { echo "no picture was saved" >&2; exit 1; }
echo "Saved $picture"
