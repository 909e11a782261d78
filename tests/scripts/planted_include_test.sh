#!/usr/bin/env bash
# Plants layering and size violations into a copy of src/ and checks that
# scripts/check_includes.sh names each of them, and nothing that is allowed.
# Usage: planted_include_test.sh SOURCE_DIR
set -euo pipefail

source_dir=$(cd "${1:?usage: planted_include_test.sh SOURCE_DIR}" && pwd)
checker="$source_dir/scripts/check_includes.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$source_dir/src" "$work/src"

# What the checker says of the copy as it is (the tree may have violations of
# its own; this test is about the planted ones).
bash "$checker" "$work" >"$work/before.txt" 2>/dev/null || true

plant() {  # FILE TEXT: appends TEXT to FILE, prints FILE:LINE
  printf '%s\n' "$2" >>"$work/$1"
  echo "$1:$(wc -l <"$work/$1")"
}

base_header=$(cd "$work" && find src/base -name '*.h' | sort | head -n1)
rodev_source=$(cd "$work" && find src/rodev -name '*.cpp' | sort | head -n1)
qt_source=$(cd "$work" && find src/gui/qt -name '*.cpp' | sort | head -n1)
kelmo_source=$(cd "$work" && find src/kelmo -name '*.cpp' | sort | head -n1)

expected=()
at=$(plant "$base_header" '#include "conversion/conversion_run.h"')
expected+=("$at: base must not include conversion/conversion_run.h")
at=$(plant "$rodev_source" '#include <soil_dictionary/soil_dictionary.h>')
expected+=("$at: rodev must not include soil_dictionary/soil_dictionary.h")
at=$(plant "$qt_source" '  #  include "cli/cli_app.h"  // planted')
expected+=("$at: gui must not include cli/cli_app.h")
at=$(plant "$kelmo_source" '#include "rodev/data_files.h"')
expected+=("$at: kelmo must not include rodev/data_files.h")
# Allowed: these must not be named.
plant "$kelmo_source" '#include "rodev/borehole.h"' >/dev/null
plant "$qt_source" '#include "conversion/conversion_run.h"' >/dev/null
plant "$base_header" '#include "local_header.h"' >/dev/null

# One line over the limit, and one file exactly at it.
seq 401 | sed 's|^|// line |' >"$work/src/kelmo/planted_long.cpp"
expected+=("src/kelmo/planted_long.cpp:401: 401 lines, more than 400")
seq 400 | sed 's|^|// line |' >"$work/src/kelmo/planted_at_limit.h"

status=0
bash "$checker" "$work" >"$work/after.txt" 2>"$work/stderr.txt" || status=$?

failed=0
if [ "$status" -ne 1 ]; then
  echo "FAIL: check_includes.sh exited $status on the planted tree, expected 1"
  failed=1
fi
printf '%s\n' "${expected[@]}" | sort >"$work/expected.txt"
# Only the lines that the planting added.
sort "$work/before.txt" >"$work/before.sorted"
sort "$work/after.txt" | comm -13 "$work/before.sorted" - >"$work/added.txt"
if ! diff -u "$work/expected.txt" "$work/added.txt"; then
  echo "FAIL: the checker's new lines (+) differ from the planted violations (-)"
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "--- checker output on the planted tree:"
  cat "$work/after.txt" "$work/stderr.txt"
  exit 1
fi
echo "check_includes.sh named all ${#expected[@]} planted violations and nothing allowed"
