#!/usr/bin/env bash
# The PDF of a sample borehole on A4 and on A3, read back with poppler's
# pdfinfo and pdftotext and with qpdf: every page of the paper's size, a
# sound structure, and the borehole's texts in it as text, Japanese included.
# Usage: preview_pdf_test.sh LODEMARK_CLI SAMPLES_DIR
set -euo pipefail

cli=${1:?usage: preview_pdf_test.sh LODEMARK_CLI SAMPLES_DIR}
samples=${2:?usage: preview_pdf_test.sh LODEMARK_CLI SAMPLES_DIR}
for tool in pdfinfo pdftotext qpdf; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: install poppler-utils and qpdf (scripts/setup.sh)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$samples/patdat" "$work/patdat"

# Each paper: the default A4 and A3, at a scale given as its denominator.
for row in "B-101.PDF a4 595.28 841.89" "B-101-a3.pdf a3 841.89 1190.55"; do
  read -r file paper width height <<<"$row"
  "$cli" preview "$samples/database" B-101 --patdat "$work/patdat" --paper "$paper" --scale 200 -o "$work/$file"
  head -c 5 "$work/$file" | grep -qx -- '%PDF-' || { echo "$file: no %PDF- at the start" >&2; exit 1; }
  qpdf --check "$work/$file" >"$work/qpdf.txt" || { cat "$work/qpdf.txt" >&2; echo "$file: qpdf --check failed" >&2; exit 1; }
  info=$(pdfinfo -f 1 -l 1000 "$work/$file")
  pages=$(sed -n 's/^Pages: *//p' <<<"$info")
  [ "$pages" -ge 1 ] || { echo "$file: $pages pages" >&2; exit 1; }
  sizes=$(sed -n 's/^Page *[0-9]* size: *\([0-9.]*\) x \([0-9.]*\) pts.*/\1 \2/p' <<<"$info")
  python3 - "$width $height" "$pages" "$sizes" <<'PY' || { echo "$file: pages of $sizes, not $width x $height" >&2; exit 1; }
import sys
paper = [float(v) for v in sys.argv[1].split()]
sizes = [[float(v) for v in line.split()] for line in sys.argv[3].splitlines()]
assert len(sizes) == int(sys.argv[2]), sizes
assert all(abs(p - q) < 0.01 for size in sizes for p, q in zip(size, paper)), (sizes, paper)
PY
  text=$(pdftotext -enc UTF-8 "$work/$file" -)
  # The number, the name of the site and a soil name of the borehole.
  for word in B-101 新宿一号 砂; do
    grep -q -- "$word" <<<"$text" || { echo "$file: '$word' is not in the PDF's text" >&2; echo "$text" >&2; exit 1; }
  done
  echo "$file: $pages page(s) of $width x $height pt ($paper), qpdf finds nothing wrong, its texts present"
done
