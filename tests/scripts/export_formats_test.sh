#!/usr/bin/env bash
# Exports the sample database, with two boreholes of its own added (one
# whose number and name a spreadsheet would run as formulas, one with a
# blank position), as GeoJSON, KML and CSV and its layers and depth values
# as CSV, and reads every file back with a reader nobody here wrote:
#   python   Python's json, csv and xml modules, against the source files
#            read with Python's own cp932 codec;
#   ogrinfo  GDAL's ogrinfo: the same features, names and coordinates, also
#            in a GeoPackage, whose layers and values have the CSVs' rows;
#   rfc7946  an RFC 7946 checker from npm (scripts/setup.sh installs it).
# A reader that is missing skips its part (exit 77) with the reason.
# Usage: export_formats_test.sh LODEMARK_CLI SAMPLES_DIR python|ogrinfo|rfc7946 [NPM_DIR]
set -euo pipefail

cli=${1:?usage: export_formats_test.sh LODEMARK_CLI SAMPLES_DIR MODE [NPM_DIR]}
samples=${2:?}
mode=${3:?}
npm_dir=${4:-}
checker=$npm_dir/node_modules/@placemarkio/check-geojson
case "$mode" in
  python) command -v python3 >/dev/null || { echo "skipped: no python3" >&2; exit 77; } ;;
  ogrinfo) command -v ogrinfo >/dev/null || { echo "skipped: no ogrinfo (Debian gdal-bin)" >&2; exit 77; } ;;
  rfc7946)
    command -v node >/dev/null || { echo "skipped: no node (npm is missing)" >&2; exit 77; }
    [ -d "$checker" ] || { echo "skipped: $checker is not installed (scripts/setup.sh installs it)" >&2; exit 77; } ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$samples/database" "$work/db"
cp -r "$samples/patdat" "$work/patdat"
db=$work/db
crlf() { printf '%s\r\n' "$@"; }
header() { printf '%-8s%s...................f4......f5......f6............%3s%3s' "$1" "$2" "$3" "$4"; }
{ crlf '=1+1    20260401@SUM(1) '; printf 'B-900   20260401'; printf '空欄    ' | iconv -t cp932; printf '\r\n'; } \
  >>"$db/Rodev5.Dat"
crlf "$(header =1+1 40305010 1 1)" "$(header B-900 '        ' 1 1)" >>"$db/Rodev1.Dat"
crlf '=1+1           2.0            01  ' 'B-900          1.0            01  ' >>"$db/Rodev2.Dat"
crlf '=1+1           1.00 7' 'B-900          0.50 3' >>"$db/Rodev3.Dat"

export_to() {
  local status=0
  "$cli" export "$db" --patdat "$work/patdat" --all "$@" 2>>"$work/err" || status=$?
  # Exit 1: B-900 is left out, and the check finds its blank position.
  [ "$status" -eq 1 ] || { echo "export $* exited $status, not 1:" >&2; cat "$work/err" >&2; exit 1; }
}
for datum in tokyo jgd2011; do
  for format in geojson kml csv; do export_to --datum "$datum" -o "$work/$datum.$format"; done
done
export_to --datum tokyo -o "$work/layers.csv" --table layers
export_to --datum tokyo -o "$work/values.csv" --table values
grep -q 'B-900: ' "$work/err" || { echo "B-900 was not said to be left out" >&2; exit 1; }

case "$mode" in
python)
  python3 - "$work" <<'PY'
import csv, io, json, sys, xml.etree.ElementTree as ET
work = sys.argv[1]
def lines(name):
    return open(f"{work}/db/{name}", "rb").read().split(b"\r\n")[:-1]
# The catalogue and positions as the source holds them, read here on their own.
listed = {l[0:8].decode("cp932").strip(): l[16:24].decode("cp932").strip() for l in lines("Rodev5.Dat")}
stored = {}
for l in lines("Rodev1.Dat"):
    p = l[8:16].decode("ascii")
    if p.strip():
        stored[l[0:8].decode("ascii").strip()] = (35 + int(p[0:2]) / 60 + int(p[2:4]) / 3600,
                                                    139 + int(p[4:6]) / 60 + int(p[6:8]) / 3600)
assert listed["B-112"] == "表参道" and "B-900" in listed and "B-900" not in stored
placed = {n: listed[n] for n in listed if n in stored}

def inside(points):
    return all(35 <= lat <= 36 and 139 <= lon <= 140 for lon, lat in points)

def check(format, found):
    """found: number -> (name, lon, lat)"""
    assert set(found) == set(placed), (format, sorted(set(found) ^ set(placed)))
    for n, (name, lon, lat) in found.items():
        assert name == placed[n], (format, n, name)
    points = [(lon, lat) for _, lon, lat in found.values()]
    assert inside(points), format
    # The box catches a file that swapped latitude and longitude.
    assert not inside([(lat, lon) for lon, lat in points]), format
    return found

for datum in ("tokyo", "jgd2011"):
    raw = open(f"{work}/{datum}.geojson", "rb").read()
    doc = json.loads(raw.decode("utf-8"))
    assert doc["type"] == "FeatureCollection" and "crs" not in doc
    geo = {}
    for f in doc["features"]:
        p = f["properties"]
        lon, lat = f["geometry"]["coordinates"]
        assert f["geometry"]["type"] == "Point" and p["datum"] == datum
        assert abs(p["lat_read"] - stored[p["number"]][0]) < 1e-8 and abs(p["lon_read"] - stored[p["number"]][1]) < 1e-8
        # Carried to JGD2011: within a kilometre of where it was read, and
        # exactly there when it was read in JGD2011.
        assert abs(lat - p["lat_read"]) < 0.01 and abs(lon - p["lon_read"]) < 0.01
        if datum == "jgd2011":
            assert (lat, lon) == (p["lat_read"], p["lon_read"]), p
        assert isinstance(p["layers"], int) and isinstance(p["problems"], int)
        geo[p["number"]] = (p["name"], lon, lat)
    check("geojson", geo)

    raw = open(f"{work}/{datum}.csv", "rb").read()
    assert raw.startswith(b"\xef\xbb\xbf") and raw.count(b"\r\n") == raw.count(b"\n")
    rows = list(csv.DictReader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
    table = {}
    for r in rows:
        number = r["number"][1:] if r["number"].startswith("'=") else r["number"]
        table[number] = (r["name"], float(r["longitude"]), float(r["latitude"]))
    # Formulas neutralised, the rest as it is.
    formula = [r for r in rows if r["number"].endswith("=1+1")][0]
    assert formula["number"] == "'=1+1" and formula["name"] == "'@SUM(1)", formula
    table["=1+1"] = (placed["=1+1"], *table["=1+1"][1:])
    assert check("csv", table) == geo, "csv"

    ns = {"k": "http://www.opengis.net/kml/2.2"}
    kml = {}
    for pm in ET.parse(f"{work}/{datum}.kml").getroot().iter("{http://www.opengis.net/kml/2.2}Placemark"):
        lon, lat = map(float, pm.find("k:Point/k:coordinates", ns).text.split(","))
        data = {d.get("name"): d.find("k:value", ns).text or "" for d in pm.iter("{http://www.opengis.net/kml/2.2}Data")}
        assert data["number"] == pm.find("k:name", ns).text
        kml[data["number"]] = (pm.find("k:description", ns).text, lon, lat)
    assert check("kml", kml) == geo, "kml"

# One row per layer and per depth value, as the source's lines give them.
def counted(name, key):
    counts = {}
    for l in lines(name):
        counts[l[0:8].decode("ascii").strip()] = counts.get(l[0:8].decode("ascii").strip(), 0) + 1
    return counts
for name, source, depth in (("layers.csv", "Rodev2.Dat", "bottom_m"), ("values.csv", "Rodev3.Dat", "depth_m")):
    rows = list(csv.DictReader(io.StringIO(open(f"{work}/{name}", encoding="utf-8-sig", newline="").read())))
    got = {}
    for r in rows:
        got.setdefault(r["number"].lstrip("'"), []).append(float(r[depth]))
    want = {}
    for l in lines(source):
        want.setdefault(l[0:8].decode("ascii").strip(), []).append(float(l[11:19].decode("ascii")))
    assert got == want, (name, got, want)
    assert {r["name"] for r in rows if r["number"] == "B-112"} == {"表参道"}
print("ok")
PY
  ;;
ogrinfo)
  # Features as ogrinfo lists them: fields and point (KML: its description is the name).
  listing() { ogrinfo -ro -al "$@" 2>/dev/null; }
  listing "$work/tokyo.geojson" >"$work/geojson.txt"
  listing "$work/tokyo.kml" >"$work/kml.txt"
  listing -oo X_POSSIBLE_NAMES=longitude -oo Y_POSSIBLE_NAMES=latitude -oo KEEP_GEOM_COLUMNS=NO \
    "$work/tokyo.csv" >"$work/csv.txt"
  # A GeoPackage holds all three tables, gathered over every borehole.
  export_to --datum tokyo -o "$work/tokyo.gpkg"
  listing "$work/tokyo.gpkg" boreholes >"$work/gpkg.txt"
  for table in layers values; do
    ogrinfo -ro -so "$work/tokyo.gpkg" "$table" | sed -n 's/^Feature Count: //p' >"$work/gpkg-$table.count"
  done
  python3 - "$work" <<'PY'
import csv, json, re, sys
work = sys.argv[1]
doc = json.load(open(f"{work}/tokyo.geojson", encoding="utf-8"))
want = {f["properties"]["number"]: (f["properties"]["name"], *f["geometry"]["coordinates"]) for f in doc["features"]}
def features(text, number_field, name_field):
    found, current = {}, {}
    for line in text.splitlines():
        m = re.match(r"\s+(\w+) \(\w+\) = (.*)$", line)
        if m:
            current[m.group(1)] = m.group(2)
        m = re.match(r"\s+POINT \(([-0-9.e]+) ([-0-9.e]+)\)", line)
        if m:
            found[current[number_field].lstrip("'")] = (current[name_field].lstrip("'"), float(m.group(1)), float(m.group(2)))
            current = {}
    return found
want["=1+1"] = ("@SUM(1)", *want["=1+1"][1:])
for name, number_field, name_field in (("geojson", "number", "name"), ("kml", "number", "description"),
                                       ("csv", "number", "name"), ("gpkg", "number", "name")):
    got = features(open(f"{work}/{name}.txt", encoding="utf-8").read(), number_field, name_field)
    assert set(got) == set(want), (name, sorted(set(got) ^ set(want)))
    # The GeoPackage keeps the whole double; the text formats round to 1e-8°.
    tolerance = 5.1e-9 if name == "gpkg" else 1e-9
    for n, (label, lon, lat) in got.items():
        assert label == want[n][0], (name, n, label)
        assert abs(lon - want[n][1]) < tolerance and abs(lat - want[n][2]) < tolerance, (name, n)
for table in ("layers", "values"):
    rows = len(list(csv.reader(open(f"{work}/{table}.csv", encoding="utf-8-sig", newline="")))) - 1
    counted = int(open(f"{work}/gpkg-{table}.count").read())
    assert rows > 12 and counted == rows, (table, counted, rows)
print("ok")
PY
  ;;
rfc7946)
  for datum in tokyo jgd2011; do
    node -e '
      const { getIssues } = require(process.argv[1]);
      const text = require("fs").readFileSync(process.argv[2], "utf8");
      const issues = getIssues(text);
      if (issues.length) { console.error(process.argv[2], JSON.stringify(issues)); process.exit(1); }
      // The checker does find a fault: a point of one number.
      if (!getIssues(text.replace(/"coordinates": \[[^,]+,/, "\"coordinates\": [")).length) process.exit(1);
    ' "$checker" "$work/$datum.geojson"
  done
  echo ok
  ;;
esac
