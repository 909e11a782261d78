#!/usr/bin/env bash
# Generates the named UTF-8 locales where they are missing (Debian's
# locales package). Usage: scripts/ensure-locales.sh ja_JP en_US ...
set -euo pipefail
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
for loc in "$@"; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    echo "Generating the locale $loc.UTF-8"
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null || echo "$loc.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
done
