#!/usr/bin/env bash
# Runs the Win32 window test under Wine on a virtual X display of its own
# (xvfb-run). The Wine server of the test prefix, and with it Wine's desktop,
# is started afresh on that display: one left by another test program may
# have no display, or one that is gone, and then no window can be made.
# Usage: run_window_test.sh WINE TEST.exe [ARGS...]
set -uo pipefail
wine=$1
shift
wineserver -w 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$@"
status=$?
wineserver -w 2>/dev/null || true  # the next test program gets a server of its own
exit $status
