#!/usr/bin/env bash
# Draws every borehole of the sample with `lodemark-cli preview --all` and
# reads each SVG back with Python's XML parser: each must parse as an SVG
# document that names the Japanese fonts. The pattern-data folder must keep
# every byte. Usage: preview_svg_test.sh LODEMARK_CLI SAMPLES_DIR
set -euo pipefail

cli=${1:?usage: preview_svg_test.sh LODEMARK_CLI SAMPLES_DIR}
samples=${2:?usage: preview_svg_test.sh LODEMARK_CLI SAMPLES_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$samples/patdat" "$work/patdat"
cp -r "$samples/patdat" "$work/patdat-before"

status=0
"$cli" preview "$samples/database" --all --patdat "$work/patdat" -o "$work/svg" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || { echo "preview --all exited $status" >&2; cat "$work/err" >&2; exit 1; }
diff -r "$work/patdat-before" "$work/patdat" || { echo "the pattern-data folder changed" >&2; exit 1; }

python3 - "$work/svg" "$(wc -l <"$samples/database/Rodev5.Dat")" <<'PY'
import pathlib, sys
import xml.etree.ElementTree as ET

folder, expected = pathlib.Path(sys.argv[1]), int(sys.argv[2])
pictures = sorted(folder.glob("*.svg"))
if len(pictures) != expected:
    sys.exit(f"{len(pictures)} pictures, not {expected}")
for picture in pictures:
    root = ET.parse(picture).getroot()
    if root.tag != "{http://www.w3.org/2000/svg}svg":
        sys.exit(f"{picture.name}: root is {root.tag}")
    if "Noto Sans CJK JP" not in root.get("font-family", ""):
        sys.exit(f"{picture.name}: no Japanese font named")
    texts = [t.text or "" for t in root.iter("{http://www.w3.org/2000/svg}text")]
    if not any(picture.stem in t for t in texts):
        sys.exit(f"{picture.name}: the borehole's number is not shown")
print(f"{len(pictures)} pictures parse")
PY

# An extension that names no picture format is a usage error that writes
# nothing.
status=0
"$cli" preview "$samples/database" B-101 --patdat "$work/patdat" -o "$work/B-101.txt" 2>/dev/null || status=$?
[ "$status" -eq 2 ] && [ ! -e "$work/B-101.txt" ] || { echo "-o B-101.txt: status $status" >&2; exit 1; }
