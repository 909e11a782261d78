#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix of its own:
# 1. an earlier version installs silently with /PATDAT, writing ZidereV5.ini;
# 2. this version installs over it without /PATDAT: the programs are
#    replaced in place, the setting and a changed sample dictionary kept, the
#    Start-menu entry and the "Apps & features" key there;
# 3. the installed lodemark-cli.exe converts the samples through the setting
#    it reads, byte for byte as the golden sample;
# 4. a /PATDAT naming no folder installs but says so (error level 3) and
#    leaves the setting as it was; one it cannot read stops (2);
# 5. silent uninstall removes programs, shortcut and key and leaves the
#    pattern-data folder, converted output and ZidereV5.ini byte for byte;
# 6. /CurrentUser installs into the user's own programs folder, with the
#    user's key and shortcut, and uninstalls from there;
# 7. the pages (install mode, folder, pattern data, finish) driven with the
#    keyboard under Xvfb, setting another folder and starting the window;
#    with --screenshots DIR their pictures are saved;
# 8. a setting only in SysWOW64 is rewritten there, its other lines kept.
# Usage: windows_installer_test.sh [--screenshots DIR] [SOURCE_DIR]
set -euo pipefail

shots=""
if [ "${1:-}" = --screenshots ]; then
  shots=$(realpath "$2")
  shift 2
fi
source_dir=$(realpath "${1:-$(dirname "$0")/../..}")
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wine_env() { "$source_dir/scripts/wine-env.sh" "$@"; }
winpath() { wine_env winepath -w "$1" 2>/dev/null; }

packages=$("$source_dir/scripts/package-windows.sh")
installer=$(sed -n 1p <<<"$packages")
[ -f "$installer" ] || fail "no installer at $installer"
version=$(sed -n 's/^project(Lodemark VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ "$(basename "$installer")" = "lodemark-$version-setup-x64.exe" ] || fail "unexpected installer name $(basename "$installer")"
file "$installer" | grep -q "PE32+ executable (GUI) x86-64" || fail "the installer is not a 64-bit Windows program"
# The installer's own Properties, Details, and its icon: the programs'.
wrestool -x --raw -t 16 -n 1 -o "$work/setup.version" "$installer" || true
[ "$(strings -el "$work/setup.version" | sed -n '/^ProductVersion$/{n;p}')" = "$version" ] \
  || fail "the installer's version resource does not say $version"
wrestool -l "$installer" | grep -q -- "--type=14 " || fail "the installer has no icon"

# The earlier version: the same programs under an older version number.
stage=$(sed -n 2p <<<"$packages")
stage=${stage%.zip}
earlier="$work/lodemark-0.0.1-setup-x64.exe"
makensis -V1 -INPUTCHARSET UTF8 -DVERSION=0.0.1 -DSTAGE="$stage" -DOUTFILE="$earlier" \
  "$source_dir/packaging/windows/lodemark.nsi" >/dev/null || fail "makensis could not make the earlier version"

drive_c="$WINEPREFIX/drive_c"
programs="$drive_c/Program Files/Lodemark"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lodemark.lnk"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Lodemark'
settings="$drive_c/windows/system32/ZidereV5.ini"
run_installer() {  # EXE ARGS...: prints the exit status
  local status=0
  wine_env wine "$@" >"$work/installer.log" 2>&1 || status=$?
  wine_env wineserver -w
  echo "$status"
}
registry_value() {  # ROOT NAME
  wine_env wine reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"
}

# A pattern-data folder whose name code page 932 holds but ASCII does not,
# with a space, given as an administrator types it in a batch file.
patdat="$work/パターン データ"
cp -r "$source_dir/samples/patdat" "$patdat"
patdat_win=$(winpath "$patdat")
printf '"%s" /S /PATDAT="%s"\r\nexit /b %%ERRORLEVEL%%\r\n' "$(winpath "$earlier")" "$patdat_win" \
  | iconv -f UTF-8 -t CP932 >"$work/deploy.bat"

# 1. The earlier version, silently, with the setting.
status=$(run_installer cmd /c "$(winpath "$work/deploy.bat")")
[ "$status" -eq 0 ] || fail "the earlier version's silent install exited $status"
[ "$(registry_value HKLM DisplayVersion)" = 0.0.1 ] || fail "the earlier version is not registered"
printf '[ZidereV5]\r\n%s\\\r\n' "$patdat_win" | iconv -f UTF-8 -t CP932 >"$work/expected.ini"
cmp -s "$work/expected.ini" "$settings" || fail "ZidereV5.ini is not the heading and the folder in code page 932 with CR LF: $(od -c "$settings" | head -5)"
printf 'x\r\n' >>"$programs/samples/patdat/KISHITU.TXT"
cp "$programs/samples/patdat/KISHITU.TXT" "$work/changed-sample-dictionary"

# 2. This version over it, keeping the setting.
status=$(run_installer "$installer" /S)
[ "$status" -eq 0 ] || fail "the upgrade exited $status: $(cat "$work/installer.log")"
cmp -s "$work/expected.ini" "$settings" || fail "the upgrade changed ZidereV5.ini"
cmp -s "$work/changed-sample-dictionary" "$programs/samples/patdat/KISHITU.TXT" || fail "the upgrade put the shipped dictionary over the user's"
for file in lodemark.exe lodemark-cli.exe README.txt uninstall.exe samples/README.txt samples/database/Rodev5.Dat; do
  [ -s "$programs/$file" ] || fail "$file was not installed"
done
cmp -s "$stage/lodemark-cli.exe" "$programs/lodemark-cli.exe" || fail "lodemark-cli.exe was not replaced in place"
[ -f "$shortcut" ] || fail "no Start-menu entry"
[ "$(registry_value HKLM DisplayName)" = Lodemark ] || fail "the uninstall key has no DisplayName"
[ "$(registry_value HKLM DisplayVersion)" = "$version" ] || fail "the uninstall key does not say $version"
[ "$(registry_value HKLM Publisher)" = Lodemark ] || fail "the uninstall key has no Publisher"
[ "$(registry_value HKLM DisplayIcon)" = 'C:\Program Files\Lodemark\lodemark.exe,0' ] || fail "the uninstall key's icon is not the window's"
size=$(registry_value HKLM EstimatedSize)
[ $((size)) -gt 1000 ] || fail "EstimatedSize $size KiB is not the installed size"
registry_value HKLM QuietUninstallString | grep -q '/S$' || fail "no QuietUninstallString"

# 3. The installed program reads the setting the installer wrote.
"$source_dir/scripts/wine-env.sh" wine "$programs/lodemark-cli.exe" setting >"$work/setting.txt" 2>&1 \
  || fail "the installed lodemark-cli does not find the setting: $(cat "$work/setting.txt")"
output="$work/出力"
status=0
wine_env wine "$programs/lodemark-cli.exe" convert --source "$(winpath "$programs/samples/database")" \
  --dest "$(winpath "$output")" --all --yes >"$work/convert.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the installed lodemark-cli.exe exited $status: $(cat "$work/convert.log")"
golden="$source_dir/tests/data/golden/sample"
diff -r "$golden/out" "$output" >/dev/null || fail "the installed program's output differs from the golden sample"
diff -r "$golden/patdat" "$patdat" >/dev/null || fail "the dictionaries differ from the golden sample: the setting was not the one read"

# 4. A folder that is not there: installed, said, setting untouched; an
# option the installer cannot read (quotes around the whole of it): stopped.
status=$(run_installer "$installer" /S "/PATDAT=$(winpath "$work")\\無い")
[ "$status" -eq 3 ] || fail "a /PATDAT naming no folder exited $status, not 3"
cmp -s "$work/expected.ini" "$settings" || fail "a refused /PATDAT changed ZidereV5.ini"
status=$(run_installer "$installer" /S "/PATDAT=$patdat_win")
[ "$status" -eq 2 ] || fail "a /PATDAT in quotes as a whole exited $status, not 2"

# 5. Uninstall: what the installer put there goes, nothing else.
cp -r "$patdat" "$work/patdat-before"
cp "$settings" "$work/settings-before"
status=$(run_installer "$programs/uninstall.exe" /AllUsers /S)
[ "$status" -eq 0 ] || fail "the silent uninstall exited $status"
for file in lodemark.exe lodemark-cli.exe uninstall.exe README.txt samples/database/Rodev5.Dat; do
  [ ! -e "$programs/$file" ] || fail "the uninstall left $file"
done
[ ! -e "$shortcut" ] || fail "the uninstall left the Start-menu entry"
wine_env wine reg query "HKLM\\$key" >/dev/null 2>&1 && fail "the uninstall left the uninstall key"
cmp -s "$work/settings-before" "$settings" || fail "the uninstall changed or removed ZidereV5.ini"
diff -r "$work/patdat-before" "$patdat" >/dev/null || fail "the uninstall changed the pattern-data folder"
cmp -s "$work/changed-sample-dictionary" "$programs/samples/patdat/KISHITU.TXT" || fail "the uninstall removed the samples' pattern-data folder"
[ -s "$output/B-101/X1.txt" ] || fail "the uninstall removed converted output"

# 6. For the user alone.
status=$(run_installer "$installer" /S /CurrentUser)
[ "$status" -eq 0 ] || fail "the per-user install exited $status"
location=$(registry_value HKCU InstallLocation)
case "$location" in
  *\\AppData\\Local\\Programs\\Lodemark) ;;
  *) fail "the per-user install went to '$location', not the user's programs folder" ;;
esac
own=$(wine_env winepath -u "$location" 2>/dev/null)
[ -s "$own/lodemark.exe" ] || fail "the per-user install has no lodemark.exe"
ls "$drive_c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Lodemark.lnk >/dev/null 2>&1 \
  || fail "the per-user install has no Start-menu entry of the user's"
status=$(run_installer "$own/uninstall.exe" /CurrentUser /S)
[ "$status" -eq 0 ] || fail "the per-user uninstall exited $status"
[ ! -e "$own/lodemark.exe" ] || fail "the per-user uninstall left lodemark.exe"
wine_env wine reg query "HKCU\\$key" >/dev/null 2>&1 && fail "the per-user uninstall left its key"

# 7. The pages, under a virtual display.
"$source_dir/tests/scripts/windows_installer_pages.sh" "$installer" "$work" "$shots" || fail "the installer's pages"

# 8. A setting only in SysWOW64 (as a 32-bit installer of the boring-log
# system leaves it) is where the program reads it: rewritten there, its
# other lines kept, and none created in System32.
wow64="$drive_c/windows/syswow64/ZidereV5.ini"
{ printf '[Kelmo]\r\nC:\\old\\,1,2\r\n'; printf 'その他\r\n' | iconv -f UTF-8 -t CP932; } >"$wow64"
rm -f "$settings"
third="$work/設定3"
cp -r "$source_dir/samples/patdat" "$third"
status=$(run_installer "$installer" /S "/PATDAT=$(winpath "$third")")
[ "$status" -eq 0 ] || fail "the install over a SysWOW64 setting exited $status"
[ ! -e "$settings" ] || fail "a setting was created in System32 though the program reads SysWOW64's"
{ printf '[Kelmo]\r\n%s\\,1,2\r\n' "$(winpath "$third")" | iconv -f UTF-8 -t CP932; printf 'その他\r\n' | iconv -f UTF-8 -t CP932; } \
  | cmp -s - "$wow64" || fail "SysWOW64's ZidereV5.ini was not rewritten in place: $(od -c "$wow64" | head -5)"

echo "$(basename "$installer"): silent install, upgrade over 0.0.1 keeping the setting, conversion as the golden sample, a refused /PATDAT, uninstall keeping user data, per-user install, the pages and a SysWOW64 setting passed"
