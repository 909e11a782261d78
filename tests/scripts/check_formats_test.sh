#!/usr/bin/env bash
# Runs `lodemark-cli check` on a defective database in each format and reads
# the CSV and the JSON back with Python's own csv and json modules: both must
# parse, hold the same problems, and name each planted defect with its rule,
# file and line. Then converts the database with --report in both forms: each
# borehole's problems are those that check gives it, and the summary on
# standard error counts them. Usage: check_formats_test.sh LODEMARK_CLI
# [PATDAT_DIR]
set -euo pipefail

cli=${1:?usage: check_formats_test.sh LODEMARK_CLI}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/db
mkdir -p "$db"

crlf() { printf '%s\r\n' "$@"; }
# Header line: number, position, 19 unread, three 8-character texts, 6 unread, the two counts.
header() { printf '%-8s%s...................f4......f5......f6............%3s%3s' "$1" "$2" "$3" "$4"; }
# Layer line: number, 3 unread, depth (8), 11 unread, flag and the two soil codes.
layer() { printf '%-8sabc%8s...........%s' "$1" "$2" "$3"; }

crlf 'B-1     20260401NAME    ' 'B-1     20260401NAME    ' 'b-2     20260401NAME    ' \
     'B-3     20260401NAME    ' 'B-4     20260401NAME     ' >"$db/Rodev5.Dat"
crlf "$(header B-1 40524604 2 1)" "$(header B-3 75000000 1 1)" >"$db/Rodev1.Dat"
crlf "$(layer B-1 1,5 ' 01  ')" "$(layer B-1 '1"2.0' ' 12  ')" "$(layer B-2 1.0 ' 01  ')" \
     "$(layer B-3 2.0 ' 01  ')" >"$db/Rodev2.Dat"
crlf 'B-1     abc    1.0012' >"$db/Rodev3.Dat"

if [ -n "${2:-}" ]; then
  cp -r "$2" "$work/patdat"
  for report in r.json r.csv; do
    "$cli" convert --source "$db" --dest "$work/out" --patdat="$work/patdat" --yes --all --report "$work/$report" \
      >"$work/convert.out" 2>"$work/convert.err"
  done
  cp "$work/convert.err" "$work/summary.txt"
  "$cli" convert --source "$db" --dest "$work/out" --patdat "$work/patdat" --all --quiet --yes >"$work/quiet.out" \
    2>"$work/quiet.err"
  [ ! -s "$work/quiet.out" ] && [ ! -s "$work/quiet.err" ] || { echo "--quiet still printed" >&2; exit 1; }
  # --quiet leaves the check out only when no report wants its problems.
  "$cli" convert --source "$db" --dest "$work/out" --patdat "$work/patdat" --all --quiet --yes \
    --report "$work/quiet.csv" >"$work/quiet.out" 2>"$work/quiet.err"
  cmp -s "$work/quiet.csv" "$work/r.csv" || { echo "--quiet --report wrote another report" >&2; exit 1; }
fi

status=0
"$cli" check "$db" --format csv >"$work/out.csv" || status=$?
[ "$status" -eq 1 ] || { echo "check --format csv exited $status, not 1" >&2; exit 1; }
status=0
"$cli" check "$db" --format=json >"$work/out.json" || status=$?
[ "$status" -eq 1 ] || { echo "check --format json exited $status, not 1" >&2; exit 1; }
status=0
"$cli" check "$db" >"$work/out.txt" || status=$?
[ "$status" -eq 1 ] || { echo "check exited $status, not 1" >&2; exit 1; }

# Numbers a spreadsheet would run as formulas, and one that is a plain number.
formulas=$work/formulas
mkdir -p "$formulas"
crlf '=1+1    20260401NAME    ' '+1+1    20260401NAME    ' '-1+1    20260401NAME    ' \
     '@SUM(1) 20260401NAME    ' '-1      20260401NAME    ' >"$formulas/Rodev5.Dat"
# A header file of another number, so that each listed one is told to have none.
crlf "$(header Z 40524604 0 0)" >"$formulas/Rodev1.Dat"
status=0
"$cli" check "$formulas" --format csv >"$work/formulas.csv" || status=$?
[ "$status" -eq 1 ] || { echo "check --format csv of the formulas exited $status, not 1" >&2; exit 1; }
"$cli" check "$formulas" --format json >"$work/formulas.json" || true
if [ -n "${2:-}" ]; then
  for report in f.csv f.json; do
    "$cli" convert --source "$formulas" --dest "$work/fout" --patdat "$work/patdat" --yes --all --quiet \
      --report "$work/$report" || { echo "convert of the formulas failed" >&2; exit 1; }
  done
fi

python3 - "$work" <<'PY'
import csv, json, os, sys

work = sys.argv[1]
numbers = ["=1+1", "+1+1", "-1+1", "@SUM(1)", "-1"]
# A cell that a spreadsheet would run gets a leading quote; a plain number stays.
def as_cell(number):
    return number if number == "-1" else "'" + number

def read_csv(name):
    with open(f"{work}/{name}", newline="", encoding="utf-8") as f:
        return list(csv.reader(f, strict=True))

rows = read_csv("formulas.csv")
with open(f"{work}/formulas.json", encoding="utf-8") as f:
    objects = json.load(f)
cells = {row[4] for row in rows[1:] if row[4] not in ("", "Z")}
assert cells == {as_cell(n) for n in numbers}, cells
assert {o["borehole"] for o in objects if o["borehole"] not in ("", "Z")} == set(numbers), objects
if os.path.exists(f"{work}/f.csv"):
    report = read_csv("f.csv")
    assert [r[0] for r in report[1:]] == [as_cell(n) for n in numbers], report
    with open(f"{work}/f.json", encoding="utf-8") as f:
        assert [b["borehole"] for b in json.load(f)] == numbers
print("formula-like numbers: neutralised in CSV, as they are in JSON")
PY

python3 - "$work" <<'PY'
import csv, json, re, sys

work = sys.argv[1]
columns = ["severity", "rule", "file", "line", "borehole", "message"]

with open(f"{work}/out.csv", newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f, strict=True))
assert rows[0] == columns, rows[0]
rows = rows[1:]
with open(f"{work}/out.json", encoding="utf-8") as f:
    objects = json.load(f)
assert isinstance(objects, list), type(objects)

problems = []
for row, obj in zip(rows, objects, strict=True):
    assert len(row) == 6, row
    assert list(obj) == columns, list(obj)
    assert obj["severity"] in ("error", "warning"), obj
    assert re.fullmatch(r"[a-z0-9]+(-[a-z0-9]+)*", obj["rule"]), obj
    assert obj["line"] is None or (isinstance(obj["line"], int) and obj["line"] >= 1), obj
    as_csv = [obj[k] if k != "line" else ("" if obj["line"] is None else str(obj["line"])) for k in columns]
    assert row == as_csv, (row, as_csv)
    problems.append((obj["rule"], obj["file"], obj["line"], obj["borehole"], obj["message"]))

found = {(p[0], p[1], p[2], p[3]) for p in problems}
expected = {
    ("number-repeated", "Rodev5.Dat", 2, "B-1"),
    ("header-missing", "Rodev5.Dat", 3, "b-2"),
    ("catalogue-line-length", "Rodev5.Dat", 5, "B-4"),
    ("coordinate-out-of-range", "Rodev1.Dat", 2, "B-3"),
    ("layer-depth-not-a-number", "Rodev2.Dat", 1, "B-1"),
    ("layer-depth-not-a-number", "Rodev2.Dat", 2, "B-1"),
    ("soil-code-unknown", "Rodev2.Dat", 2, "B-1"),
    ("data-line-unknown-number", "Rodev2.Dat", 3, "B-2"),
}
assert expected <= found, sorted(expected - found)
# A comma and a quote inside a message survive both formats.
messages = [p[4] for p in problems]
assert any("「     1,5」" in m for m in messages), messages
assert any('「   1"2.0」' in m for m in messages), messages

with open(f"{work}/out.txt", encoding="utf-8") as f:
    text = f.read().splitlines()
summary = re.fullmatch(r"(\d+) problems: (\d+) errors?, (\d+) warnings?\.", text[-1])
assert summary, text[-1]
assert int(summary.group(1)) == len(problems), (text[-1], len(problems))
errors = sum(1 for o in objects if o["severity"] == "error")
assert int(summary.group(2)) == errors, (text[-1], errors)
print(f"check formats: {len(problems)} problems, CSV and JSON agree")

import os
if os.path.exists(f"{work}/r.json"):
    with open(f"{work}/r.json", encoding="utf-8") as f:
        report = json.load(f)
    with open(f"{work}/r.csv", newline="", encoding="utf-8") as f:
        report_rows = list(csv.reader(f, strict=True))
    assert report_rows[0] == ["borehole", "folder", "files", "layers", "depth_values", "problems", "names_added"]
    assert [r[0] for r in report_rows[1:]] == [b["borehole"] for b in report] == ["B-1", "B-1", "b-2", "B-3"], report
    for borehole, row in zip(report, report_rows[1:]):
        checked = sorted((p[0], p[1], p[2]) for p in problems if p[3] == borehole["borehole"])
        got = sorted((p["rule"], p["file"], p["line"]) for p in borehole["problems"])
        assert got == checked, (borehole["borehole"], got, checked)
        assert row[5] == "; ".join(f"{p['rule']} {p['file']}:{p['line']}" for p in borehole["problems"]), row
        assert borehole["files"] == row[2].split() and os.path.isdir(borehole["folder"]), (borehole, row)
        for name in borehole["files"]:
            assert os.path.isfile(os.path.join(borehole["folder"], name)), (borehole, name)
    assert report[0]["files"] == ["Titl01.txt", "Titl02.txt", "Titl03.txt", "X1.txt", "X5.txt"], report[0]
    assert (report[0]["layers"], report[0]["depth_values"]) == (2, 1), report[0]
    assert report[2]["files"] == ["Titl01.txt", "Titl02.txt", "Titl03.txt"], report[2]
    with open(f"{work}/summary.txt", encoding="utf-8") as f:
        summary_lines = f.read().splitlines()
    # The second B-1 finds no header line after the first: title files only.
    assert summary_lines[0].startswith("変換した柱状図: 4、書き込んだファイル: 16、"), summary_lines
    assert f"検査で見つかった問題: {len(problems)}" in summary_lines, summary_lines
    assert "  error soil-code-unknown 1 B-1" in summary_lines, summary_lines
    print(f"convert report: {len(report)} boreholes, problems as check finds them")
PY
