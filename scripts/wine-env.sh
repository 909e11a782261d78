#!/usr/bin/env bash
# Runs a command with Wine set up for the Windows tests: a prefix of the
# build's own (created on first use, without Mono and Gecko prompts), code
# page 932 through LC_ALL=ja_JP.UTF-8 unless LC_ALL is set, no debug chatter.
# Usage: scripts/wine-env.sh COMMAND...
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/windows/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL="${LC_ALL:-ja_JP.UTF-8}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
exec "$@"
