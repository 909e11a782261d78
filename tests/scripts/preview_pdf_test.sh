#!/usr/bin/env bash
# The PDF of a sample borehole, read back with poppler's pdfinfo and
# pdftotext: one page of the picture's size (its SVG's width and height, in
# points), and the borehole's texts in it as text, Japanese included.
# Usage: preview_pdf_test.sh LODEMARK_CLI SAMPLES_DIR
set -euo pipefail

cli=${1:?usage: preview_pdf_test.sh LODEMARK_CLI SAMPLES_DIR}
samples=${2:?usage: preview_pdf_test.sh LODEMARK_CLI SAMPLES_DIR}
for tool in pdfinfo pdftotext; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: install poppler-utils (scripts/setup.sh)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$samples/patdat" "$work/patdat"

"$cli" preview "$samples/database" B-101 --patdat "$work/patdat" -o "$work/B-101.svg"
"$cli" preview "$samples/database" B-101 --patdat "$work/patdat" -o "$work/B-101.PDF"
head -c 5 "$work/B-101.PDF" | grep -qx -- '%PDF-' || { echo "no %PDF- at the start" >&2; exit 1; }

info=$(pdfinfo "$work/B-101.PDF")
pages=$(sed -n 's/^Pages: *//p' <<<"$info")
[ "$pages" = 1 ] || { echo "$pages pages" >&2; exit 1; }
size=$(sed -n 's/^Page size: *\([0-9.]*\) x \([0-9.]*\) pts.*/\1 \2/p' <<<"$info")
svg_size=$(python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
print(root.get("width"), root.get("height"))' "$work/B-101.svg")
python3 - "$size" "$svg_size" <<'PY' || { echo "page $size, picture $svg_size" >&2; exit 1; }
import sys
page, picture = ([float(v) for v in s.split()] for s in sys.argv[1:])
assert all(abs(p - q) < 0.01 for p, q in zip(page, picture)), (page, picture)
PY

text=$(pdftotext -enc UTF-8 "$work/B-101.PDF" -)
# The number, the name of the site and a soil name of the borehole.
for word in B-101 新宿一号 砂; do
  grep -q -- "$word" <<<"$text" || { echo "'$word' is not in the PDF's text" >&2; echo "$text" >&2; exit 1; }
done
echo "B-101.PDF: 1 page of $size pt, its texts present"
