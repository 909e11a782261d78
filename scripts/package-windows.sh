#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh) and makes what
# Windows users get, in build/windows/package:
# - lodemark-<version>-setup-x64.exe, the installer (NSIS, makensis);
# - lodemark-<version>-windows-x64.zip, for those who cannot run installers,
#   holding lodemark.exe, lodemark-cli.exe, the manual as README.txt, the
#   sample database and pattern-data folder, and an example ZidereV5.ini.
# Prints the installer's path, then the zip's on the last line.
# Usage: scripts/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-windows.sh >/dev/null
version=$(sed -n 's/^project(Lodemark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="lodemark-$version-windows-x64"
out=build/windows/package
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/samples"

for exe in lodemark.exe lodemark-cli.exe; do
  [ -f "build/windows/$exe" ] || { echo "build/windows/$exe was not built" >&2; exit 1; }
  x86_64-w64-mingw32-strip -o "$stage/$exe" "build/windows/$exe"
done
# Notepad and the boring-log system's users expect CR LF.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
crlf README.md "$stage/README.txt"
crlf samples/README.md "$stage/samples/README.txt"
cp -r samples/database samples/patdat "$stage/samples/"
# Line 1 is a heading the program ignores; line 2 the pattern-data folder.
printf '[ZidereV5]\r\nC:\\Kelmo\\PATDAT\\\r\n' >"$stage/ZidereV5.ini"

installer="$out/lodemark-$version-setup-x64.exe"
rm -f "$installer"
icon=()
[ -f build/windows/lodemark.ico ] && icon=(-DICON="$(realpath build/windows/lodemark.ico)")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" \
  -DOUTFILE="$(realpath "$out")/$(basename "$installer")" "${icon[@]}" packaging/windows/lodemark.nsi >&2

(cd "$out" && zip -qr -X "$name.zip" "$name")
realpath "$installer"
realpath "$out/$name.zip"
