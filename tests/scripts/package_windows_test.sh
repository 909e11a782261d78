#!/usr/bin/env bash
# Makes the Windows zip (scripts/package-windows.sh), unpacks it into a
# folder with a Japanese name, checks what it holds (the programs' version
# resources and icon read back from the .exe files), and converts the
# unpacked sample database with the unpacked lodemark-cli.exe under Wine
# (code page 932): the output must equal the golden sample byte for byte.
# Usage: package_windows_test.sh [SOURCE_DIR]
set -euo pipefail

source_dir=$(realpath "${1:-$(dirname "$0")/../..}")
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip_path=$("$source_dir/scripts/package-windows.sh" | tail -1)
[ -f "$zip_path" ] || fail "no zip at $zip_path"
case "$(basename "$zip_path")" in
  lodemark-*-windows-x64.zip) ;;
  *) fail "unexpected zip name $(basename "$zip_path")" ;;
esac

unpacked="$work/展開先"
mkdir "$unpacked"
(cd "$unpacked" && unzip -q "$zip_path")
top=("$unpacked"/lodemark-*-windows-x64)
[ -d "${top[0]}" ] || fail "the zip has no lodemark-<version>-windows-x64 folder"
top=${top[0]}
for file in lodemark.exe lodemark-cli.exe README.txt ZidereV5.ini samples/README.txt \
            samples/database/Rodev5.Dat samples/patdat/KISHITU.TXT; do
  [ -s "$top/$file" ] || fail "$file is missing from the zip"
done
file "$top/lodemark-cli.exe" | grep -q "PE32+ executable (console) x86-64" || fail "lodemark-cli.exe is not a 64-bit console program"
file "$top/lodemark.exe" | grep -q "PE32+ executable (GUI) x86-64" || fail "lodemark.exe is not a 64-bit window program"
# No DLL of the compiler's runtime may be needed beside the programs.
for exe in lodemark.exe lodemark-cli.exe; do
  if x86_64-w64-mingw32-objdump -p "$top/$exe" | grep -i "DLL Name" | grep -Eiq "libstdc|libgcc|libwinpthread"; then
    fail "$exe needs a runtime DLL of the compiler"
  fi
done
# Explorer's Properties, Details: the version resource of each program must
# carry the project's version, and icon group 1 every size Windows shows.
version=$(sed -n 's/^project(Lodemark VERSION \([0-9]*\.[0-9]*\.[0-9]*\)[ )].*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$version" ] || fail "no x.y.z version in the project() line of CMakeLists.txt"
for exe in lodemark.exe lodemark-cli.exe; do
  wrestool -x --raw -t 16 -n 1 -o "$work/$exe.version" "$top/$exe" || true
  [ -s "$work/$exe.version" ] || fail "$exe has no version resource"
  wrestool -x -t 14 -n 1 -o "$work/$exe.ico" "$top/$exe" || true
  [ -s "$work/$exe.ico" ] || fail "$exe has no icon group 1"
  python3 - "$version" "$exe" "$work/$exe.version" "$work/$exe.ico" <<'PY' || fail "$exe: its version resource or icon is wrong (above; project version $version)"
import struct, sys
version, exe, version_file, icon_file = sys.argv[1:]
data = open(version_file, "rb").read()
align = lambda n: (n + 3) & ~3

def node(off):
    # A block: wLength, wValueLength, wType (1: text in WCHARs), a key in
    # UTF-16LE, its value and children, each on a 32-bit boundary.
    length, value_length, kind = struct.unpack_from("<HHH", data, off)
    key_end = data.index(b"\0\0", off + 6)
    while (key_end - off) % 2:
        key_end = data.index(b"\0\0", key_end + 1)
    key = data[off + 6:key_end].decode("utf-16-le")
    start = align(key_end + 2)
    value = data[start:start + value_length * (2 if kind == 1 else 1)]
    children, child = [], align(start + len(value))
    while child < off + length:
        children.append(node(child))
        child = align(child + struct.unpack_from("<H", data, child)[0])
    return key, value, children

key, fixed, children = node(0)
problems = []
if key != "VS_VERSION_INFO" or len(fixed) != 52 or struct.unpack_from("<I", fixed)[0] != 0xFEEF04BD:
    sys.exit(f"{exe}: no VS_FIXEDFILEINFO in the version resource")
major, minor, patch = (int(v) for v in version.split("."))
for name, at in (("FILEVERSION", 8), ("PRODUCTVERSION", 16)):
    high, low = struct.unpack_from("<2I", fixed, at)
    if (high, low) != ((major << 16) | minor, patch << 16):
        problems.append(f"{name} is {high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}, not {version}.0")
strings = {k: v.decode("utf-16-le").split("\0")[0]
           for block, _, tables in children if block == "StringFileInfo"
           for _, _, entries in tables for k, v, _ in entries}
wanted = {"FileVersion": version, "ProductVersion": version, "ProductName": "Lodemark",
          "CompanyName": "Lodemark", "OriginalFilename": exe, "InternalName": exe.removesuffix(".exe")}
problems += [f"{k} is {strings.get(k)!r}, not {v!r}" for k, v in wanted.items() if strings.get(k) != v]
# UTF-8 in the template read as another code page would garble these.
if "地質柱状図" not in strings.get("FileDescription", ""):
    problems.append(f"FileDescription is {strings.get('FileDescription')!r}")
if not strings.get("LegalCopyright", "").startswith("Copyright © "):
    problems.append(f"LegalCopyright is {strings.get('LegalCopyright')!r}")
icon = open(icon_file, "rb").read()
reserved, kind, count = struct.unpack_from("<3H", icon)
sizes = sorted(icon[6 + 16 * i] or 256 for i in range(count)) if (reserved, kind) == (0, 1) else []
if sizes != [16, 24, 32, 48, 64, 256]:
    problems.append(f"icon group 1 holds sizes {sizes}, not 16, 24, 32, 48, 64 and 256")
if problems:
    sys.exit("\n".join(f"{exe}: {p}" for p in problems))
print(f"{exe}: version {version}, {strings['FileDescription']}, icon sizes {sizes}")
PY
done
wrestool -l "$top/lodemark.exe" | grep -q -- "--type=24 --name=1 " || fail "lodemark.exe lost its manifest"
printf '[ZidereV5]\r\n' | cmp -s - <(head -c 12 "$top/ZidereV5.ini") || fail "ZidereV5.ini does not start with its heading and CR LF"
grep -q $'^# Lodemark\r$' "$top/README.txt" || fail "README.txt lacks CR LF line ends"

cp -r "$top/samples/patdat" "$work/patdat"
winpath() { "$source_dir/scripts/wine-env.sh" winepath -w "$1" 2>/dev/null; }
status=0
"$source_dir/scripts/wine-env.sh" wine "$top/lodemark-cli.exe" convert \
  --source "$(winpath "$top/samples/database")" --dest "$(winpath "$work/出力")" \
  --patdat "$(winpath "$work/patdat")" --all --yes >"$work/stdout.txt" 2>"$work/stderr.txt" || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/stdout.txt" "$work/stderr.txt"
  fail "the unpacked lodemark-cli.exe exited $status"
fi
golden="$source_dir/tests/data/golden/sample"
diff -r "$golden/out" "$work/出力" >/dev/null || { diff -r "$golden/out" "$work/出力" | head -20; fail "out differs from the golden sample"; }
diff -r "$golden/patdat" "$work/patdat" >/dev/null || { diff -r "$golden/patdat" "$work/patdat" | head -20; fail "patdat differs from the golden sample"; }
# The preview as Windows users get it: SVG the same bytes as on Linux, PNG
# drawn by GDI+ at the picture's size (2 pixels a point), and PDF refused (no PDF on Windows).
preview() {
  "$source_dir/scripts/wine-env.sh" wine "$top/lodemark-cli.exe" preview "$(winpath "$top/samples/database")" B-101 \
    --patdat "$(winpath "$top/samples/patdat")" -o "$(winpath "$work/$1")" >"$work/stdout.txt" 2>"$work/stderr.txt"
}
preview B-101.svg || fail "preview to SVG exited $?: $(cat "$work/stderr.txt")"
cmp -s "$source_dir/tests/data/golden/preview/B-101.svg" "$work/B-101.svg" || fail "the SVG differs from the golden preview"
preview B-101.png || fail "preview to PNG exited $?: $(cat "$work/stderr.txt")"
python3 - "$work/B-101.png" "$work/B-101.svg" <<'PY' || fail "the PNG is not the picture's size"
import re, struct, sys
png = open(sys.argv[1], "rb").read()
assert png[:8] == b"\x89PNG\r\n\x1a\n" and png[12:16] == b"IHDR", "not a PNG"
width, height = struct.unpack(">II", png[16:24])
svg = open(sys.argv[2], encoding="utf-8").read()
# Sizes in points; the PNG has 2 pixels a point.
w, h = (2 * float(v) for v in re.search(r'<svg[^>]* width="([0-9.]+)pt" height="([0-9.]+)pt"', svg).groups())
assert (width, height) == (int(-(-w // 1)), int(-(-h // 1))), (width, height, w, h)
PY
status=0
preview B-101.pdf || status=$?
[ "$status" -eq 2 ] || fail "preview to PDF exited $status, not 2"
grep -q "pdf" "$work/stderr.txt" || fail "the refusal of PDF does not say why: $(cat "$work/stderr.txt")"
[ ! -e "$work/B-101.pdf" ] || fail "a refused PDF left a file"
echo "$(basename "$zip_path"): $(unzip -Z1 "$zip_path" | wc -l) entries; the unpacked lodemark-cli.exe converted the samples as the golden sample and previewed B-101 as SVG and PNG"
