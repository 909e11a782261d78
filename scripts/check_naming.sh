#!/usr/bin/env bash
# Checks the naming rule (.clang-tidy: readability-identifier-naming) on every
# .cpp under src/ and the src/ headers they include, with clang-tidy and the
# compile commands of one or more builds (default build/release, and
# build/windows when it has been configured). Each file is checked with the
# first build that compiles it; a mingw-w64 build is read for the Windows
# target with that compiler's own C++ headers, so the Windows-only files are
# checked too. Two files at a time. Prints each violation once and exits 1 if
# there is any. With --every-file, a file that none of the builds compiles is
# a failure too (scripts/test.sh gives it both builds).
# Usage: scripts/check_naming.sh [--every-file] [BUILD_DIR...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

every_file=0
if [ "${1:-}" = "--every-file" ]; then
  every_file=1
  shift
fi
builds=("$@")
if [ ${#builds[@]} -eq 0 ]; then
  builds=(build/release)
  [ -f build/windows/compile_commands.json ] && builds+=(build/windows)
fi

clang_tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$clang_tidy" ]; then
  echo "check_naming: clang-tidy is not installed (apt-get install clang-tidy)" >&2
  exit 2
fi
for build in "${builds[@]}"; do
  if [ ! -f "$build/compile_commands.json" ]; then
    echo "check_naming: $build/compile_commands.json is missing; configure the build first (scripts/setup.sh, scripts/build-windows.sh)" >&2
    exit 2
  fi
done

# What clang-tidy needs besides a build's compile commands: for a mingw-w64
# build, the target and the C++ headers of that compiler (clang finds the C
# headers of the mingw-w64 installation itself).
extra_args_of() {
  local compiler
  compiler=$(grep -m1 -o '"command": "[^ ]*' "$1/compile_commands.json" | sed 's/"command": "//')
  case "$compiler" in
    *mingw32*)
      printf '%s\n' --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++
      "$compiler" -E -x c++ -v - </dev/null 2>&1 |
        sed -n '/#include <...> search starts here:/,/End of search list./p' |
        grep -E '^ .*/c\+\+' | sed 's/^ */--extra-arg=-isystem/'
      ;;
  esac
}

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
jobs="$logs/jobs"
: >"$jobs"
unchecked=0
for b in "${!builds[@]}"; do
  extra_args_of "${builds[$b]}" >"$logs/args.$b"
done
checked=0
while IFS= read -r file; do
  found=""
  for b in "${!builds[@]}"; do
    if grep -qF "\"file\": \"$root/$file\"" "${builds[$b]}/compile_commands.json"; then
      found=$b
      break
    fi
  done
  if [ -z "$found" ]; then
    echo "check_naming: $file is not compiled by ${builds[*]}; not checked" >&2
    unchecked=$((unchecked + 1))
    continue
  fi
  printf '%s\t%s\n' "$found" "$file" >>"$jobs"
  checked=$((checked + 1))
done < <(git ls-files -- 'src/*.cpp')
if [ "$checked" -eq 0 ]; then
  echo "check_naming: no source files to check" >&2
  exit 2
fi

# Compiler warnings are not this check's business: -Wno-error keeps the
# build's -Werror from turning clang's own warnings (and GCC-only options)
# into failures; a real compile error still fails.
check_one() {  # BUILD_INDEX FILE
  local b=$1 file=$2
  local -a args
  mapfile -t args <"$logs/args.$b"
  "$clang_tidy" --quiet -p "${builds[$b]}" --warnings-as-errors="*" \
    --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-error "${args[@]}" "$file" \
    >"$logs/$(echo "$file" | tr / _).log" 2>&1
}
export -f check_one
export clang_tidy logs
export BUILDS_LIST="${builds[*]}"
status=0
tr '\t' '\n' <"$jobs" | xargs -d '\n' -n2 -P2 bash -c 'builds=($BUILDS_LIST); check_one "$0" "$1"' || status=1

# A header's violation is found once for every file that includes it.
# (grep finds nothing on a clean tree: that is no failure of the pipeline.)
diagnostics=$(cat "$logs"/*.log | { grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): ' || true; } |
  sed "s|^$root/||; s|,-warnings-as-errors\]|]|" | sort -u -t: -k1,1 -k2,2n -k3,3n)
if [ -n "$diagnostics" ]; then
  echo "$diagnostics"
  echo "check_naming: $(echo "$diagnostics" | wc -l) violation(s) in $checked files checked" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  cat "$logs"/*.log >&2
  echo "check_naming: clang-tidy failed" >&2
  exit 1
fi
if [ "$every_file" -eq 1 ] && [ "$unchecked" -gt 0 ]; then
  echo "check_naming: $unchecked file(s) compiled by none of ${builds[*]}" >&2
  exit 1
fi
echo "check_naming: $checked files and their src/ headers follow the naming rule (builds: ${builds[*]})"
