#!/usr/bin/env bash
# Each file of the source database and each dictionary is opened once by a
# command that reads it, as strace sees the program's openat calls: the
# catalogue, the three data files, KISHITU.TXT and XKISHITU.TXT. Exits 77
# (skipped) where strace is missing or may not trace.
# Usage: open_once_test.sh LODEMARK_CLI SAMPLES_DIR
set -euo pipefail

cli=${1:?usage: open_once_test.sh LODEMARK_CLI SAMPLES_DIR}
samples=${2:?usage: open_once_test.sh LODEMARK_CLI SAMPLES_DIR}
command -v strace >/dev/null || { echo "skipped: strace is not installed (apt-get install strace)"; exit 77; }
strace -f -qq -e trace=openat -o /dev/null true 2>/dev/null || { echo "skipped: strace may not trace here"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
# LeakSanitizer cannot run under ptrace: in the sanitizer build the leak check
# is left to the other tests.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
db=$samples/database
patdat=$samples/patdat

failed=0
# Runs the command under strace and counts its opens of each file, by name in
# any case (the program finds a name in another case too).
opened_once() {
  local expected_status=$1
  shift
  local status=0
  strace -f -qq -e trace=openat -o "$work/trace" "$cli" "$@" >/dev/null 2>"$work/err" || status=$?
  if [ "$status" -ne "$expected_status" ]; then
    echo "lodemark-cli $*: exit $status, not $expected_status" >&2
    cat "$work/err" >&2
    failed=1
    return
  fi
  python3 - "$work/trace" "$*" <<'PY' || failed=1
import re, sys
trace, command = sys.argv[1], sys.argv[2]
names = ["rodev1.dat", "rodev2.dat", "rodev3.dat", "rodev5.dat", "kishitu.txt", "xkishitu.txt"]
opens = {name: 0 for name in names}
for line in open(trace, encoding="utf-8", errors="replace"):
    found = re.search(r'openat\([^,]*, "([^"]*)"', line)
    if found:
        base = found.group(1).rsplit("/", 1)[-1].lower()
        if base in opens:
            opens[base] += 1
wrong = {name: n for name, n in opens.items() if n != 1}
if wrong:
    sys.exit(f"lodemark-cli {command}: opened {wrong} times, not once each")
print(f"lodemark-cli {command}: each file opened once")
PY
}

opened_once 0 preview "$db" B-101 --patdat "$patdat" -o "$work/B-101.svg"
opened_once 0 preview "$db" --all --patdat "$patdat" -o "$work/pictures"
opened_once 1 check "$db" --patdat "$patdat"
opened_once 0 check "$db" --patdat "$patdat" --format json B-101
exit $failed
