#!/usr/bin/env bash
# Checks the naming rule (.clang-tidy: readability-identifier-naming) on every
# .cpp under src/ and the src/ headers they include, with clang-tidy and the
# compile commands of a build (default build/release; run scripts/setup.sh
# first). Two files at a time. Prints each violation once and exits 1 if
# there is any. Usage: scripts/check_naming.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/release}

clang_tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$clang_tidy" ]; then
  echo "check_naming: clang-tidy is not installed (apt-get install clang-tidy)" >&2
  exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check_naming: $build/compile_commands.json is missing; configure the build first (scripts/setup.sh)" >&2
  exit 2
fi

# The .cpp files this build compiles (the other operating system's *_win.cpp,
# and the window's files in a build without it, are not in the database).
files=()
while IFS= read -r file; do
  if grep -qF "\"file\": \"$root/$file\"" "$build/compile_commands.json"; then
    files+=("$file")
  else
    echo "check_naming: $file is not compiled by $build; not checked" >&2
  fi
done < <(git ls-files -- 'src/*.cpp')
if [ ${#files[@]} -eq 0 ]; then
  echo "check_naming: no source files to check" >&2
  exit 2
fi

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
# Compiler warnings are not this check's business: -Wno-error keeps the
# build's -Werror from turning clang's own warnings (and GCC-only options)
# into failures; a real compile error still fails.
status=0
printf '%s\n' "${files[@]}" | xargs -P2 -I{} sh -c '
  "$1" --quiet -p "$2" --warnings-as-errors="*" \
       --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-error "$3" \
       >"$4/$(echo "$3" | tr / _).log" 2>&1' sh "$clang_tidy" "$build" {} "$logs" || status=1

# A header's violation is found once for every file that includes it.
# (grep finds nothing on a clean tree: that is no failure of the pipeline.)
diagnostics=$(cat "$logs"/*.log | { grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): ' || true; } |
  sed "s|^$root/||; s|,-warnings-as-errors\]|]|" | sort -u -t: -k1,1 -k2,2n -k3,3n)
if [ -n "$diagnostics" ]; then
  echo "$diagnostics"
  echo "check_naming: $(echo "$diagnostics" | wc -l) violation(s) in ${#files[@]} files checked" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  cat "$logs"/*.log >&2
  echo "check_naming: clang-tidy failed" >&2
  exit 1
fi
echo "check_naming: ${#files[@]} files and their src/ headers follow the naming rule"
