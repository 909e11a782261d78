#!/usr/bin/env bash
# Checks the layering of src/ from its #include lines and the size of every
# source file. Usage: scripts/check_includes.sh [ROOT]   (ROOT: default the repo)
#
#   base <- platform <- {rodev, soil_dictionary} <- kelmo <- conversion <- preview <- render <- export <- {gui, cli}
#
# A file under src/<folder>/ (src/gui/qt counts as gui) may include only the
# headers of the folders listed for it below (or the one header named there:
# kelmo writes the records but never reads the source database); a header
# named without a folder is taken as one of the file's own folder. No .cpp or .h under src/, tests/, fuzz/
# or bench/ may have more than 400 lines. Prints one line per violation and
# exits 1 if there is any.
set -euo pipefail

root=${1:-"$(dirname "$0")/.."}
if [ ! -d "$root/src" ]; then
  echo "check_includes: no src/ folder under $root" >&2
  exit 2
fi
cd "$root"

# Each folder of src/, then the folders whose headers it may include.
rules='
base            base
platform        base platform
rodev           base platform rodev
soil_dictionary base platform soil_dictionary
kelmo           base platform rodev/borehole.h soil_dictionary kelmo
conversion      base platform rodev soil_dictionary kelmo conversion
preview         base platform rodev soil_dictionary kelmo conversion preview
render          base platform rodev soil_dictionary kelmo conversion preview render
export          base platform rodev soil_dictionary kelmo conversion preview render export
gui             base platform rodev soil_dictionary kelmo conversion preview render export gui
cli             base platform rodev soil_dictionary kelmo conversion preview render export cli
'

list_sources() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null | sort -z | xargs -0 -r printf '%s\n'
}

status=0
{ list_sources src | sed 's|^|layer |'; list_sources src tests bench fuzz | sed 's|^|size |'; } |
  awk -v rules="$rules" -v max_lines=400 '
    BEGIN {
      n = split(rules, rows, "\n")
      for (i = 1; i <= n; i++) {
        m = split(rows[i], words, " ")
        if (m == 0) continue
        known[words[1]] = 1
        for (j = 2; j <= m; j++) may[words[1], words[j]] = 1
      }
    }
    function report(text) { print text; violations++ }
    $1 == "layer" {
      file = substr($0, index($0, " ") + 1)
      split(file, parts, "/")
      folder = parts[2]
      if (parts[3] == "") next  # a file directly in src/ belongs to no layer
      if (!(folder in known)) {
        report(file ":1: " folder " is not a known folder of src/ (add it to scripts/check_includes.sh)")
        next
      }
      line = 0
      while ((getline text < file) > 0) {
        line++
        if (text !~ /^[ \t]*#[ \t]*include[ \t]*["<][^">]+[">]/) continue
        sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", text)
        sub(/[">].*$/, "", text)
        slash = index(text, "/")
        if (slash == 0) continue
        target = substr(text, 1, slash - 1)
        if ((target in known) && !((folder, target) in may) && !((folder, text) in may))
          report(file ":" line ": " folder " must not include " text)
      }
      close(file)
    }
    $1 == "size" {
      file = substr($0, index($0, " ") + 1)
      lines = 0
      while ((getline text < file) > 0) lines++
      close(file)
      if (lines > max_lines) report(file ":" lines ": " lines " lines, more than " max_lines)
    }
    END { exit violations > 0 }
  ' || status=1

if [ "$status" -ne 0 ]; then
  echo "check_includes: the dependency rule or the size limit is broken (lines above)" >&2
  exit 1
fi
echo "check_includes: layering and file sizes are fine"
