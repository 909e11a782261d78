#!/usr/bin/env bash
# Sets everything up and runs the program on the bundled sample data, against
# a copy of the demo pattern-data folder (a run changes the dictionary).
# With a display: the window opens on the sample database, its settings file
# in a private config folder. Without one: the command-line sample conversion.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh release

work=build/sample-run
rm -rf "$work"
mkdir -p "$work/out"
cp -r samples/patdat "$work/patdat"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): running the command-line sample conversion instead."
  echo "Boreholes in samples/database:"
  build/release/lodemark-cli list samples/database
  build/release/lodemark-cli convert --source samples/database --dest "$work/out" \
    --patdat "$work/patdat" --yes --all
  echo "Converted files: $root/$work/out/<borehole>/ (X1.txt, X5.txt, Titl01-03.txt)"
  echo "Updated dictionary: $root/$work/patdat/"
  exit 0
fi

# The window finds its pattern-data folder through ZidereV5.ini in its system
# folder ($XDG_CONFIG_HOME/lodemark): line 2 names the folder as a program
# path, drive Z: being "/", with a trailing "\".
config="$root/$work/config"
mkdir -p "$config/lodemark"
patdat="Z:$(printf '%s' "$root/$work/patdat" | tr '/' '\\')\\"
printf 'ZidereV5\r\n%s\r\n' "$patdat" | iconv -f UTF-8 -t CP932 >"$config/lodemark/ZidereV5.ini"

echo "Opening the window on samples/database; converted files go to $root/$work/out"
echo "(select boreholes in the list, then press 実  行)."
cd "$work/out"
XDG_CONFIG_HOME="$config" exec "$root/build/release/lodemark" "$root/samples/database"
