#!/usr/bin/env bash
# Checks that every tracked .cpp and .h under src/, tests/, bench/ and fuzz/ is laid
# out as .clang-format says. Lists the files that are not and exits 1.
# To fix them: clang-format -i FILE...   (Debian 12's clang-format 14; other
# versions lay some lines out differently).
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$clang_format" ]; then
  echo "check_format: clang-format is not installed (apt-get install clang-format)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if [ ${#files[@]} -eq 0 ]; then
  echo "check_format: no source files found" >&2
  exit 2
fi

# One clang-format for all files; it names each file and line it would change.
report=$(mktemp)
trap 'rm -f "$report"' EXIT
status=0
"$clang_format" --dry-run --Werror "${files[@]}" 2>"$report" >/dev/null || status=$?
pattern='^(.+):[0-9]+:[0-9]+: (error|warning): code should be clang-formatted'
mapfile -t bad < <(sed -nE "s/$pattern.*/\\1/p" "$report" | sort -u)
if [ "$status" -ne 0 ] && [ ${#bad[@]} -eq 0 ]; then
  # It failed without naming a file to format: a file it cannot read, or a
  # .clang-format it does not understand.
  cat "$report" >&2
  echo "check_format: clang-format failed" >&2
  exit 2
fi

if [ ${#bad[@]} -gt 0 ]; then
  printf '%s\n' "${bad[@]}"
  echo "check_format: ${#bad[@]} of ${#files[@]} files are not formatted ($("$clang_format" --version | sed 's/.*version //'));" \
       "fix them with: clang-format -i FILE..." >&2
  exit 1
fi
echo "check_format: all ${#files[@]} files are formatted"
