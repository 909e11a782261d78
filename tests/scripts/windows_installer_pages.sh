#!/usr/bin/env bash
# The installer's pages under Wine and a virtual display, with the keyboard
# as a user would: Enter on the install-mode page, the folder page and the
# pattern-data page (given a folder with /PATDAT), then on the finish page,
# which starts the window. Passes when the programs are installed, the
# setting names the new folder and the window opens with it. With a
# SHOTS folder the pages are saved there as PNG.
# Runs in WINEPREFIX as the caller set it up; starts Xvfb itself.
# Usage: windows_installer_pages.sh INSTALLER WORK [SHOTS]
set -euo pipefail

if [ -z "${LODEMARK_PAGES_DISPLAY:-}" ]; then
  exec env LODEMARK_PAGES_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
installer=$1 work=$2 shots=${3:-}
source_dir=$(realpath "$(dirname "$0")/../..")
fail() { echo "FAIL: $*" >&2; exit 1; }
wine_env() { "$source_dir/scripts/wine-env.sh" "$@"; }

# Another folder than the one set, so that the page's write shows.
patdat="$work/パターン2"
cp -r "$source_dir/samples/patdat" "$patdat"
patdat_win=$(wine_env winepath -w "$patdat" 2>/dev/null)

wait_for_window() {  # NAME: prints the id of the first window so named
  local id
  for _ in $(seq 120); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  return 1
}
save_page() {  # WINDOW NAME: the window as SHOTS/NAME.png
  [ -n "$shots" ] || return 0
  mkdir -p "$shots"
  xwd -silent -id "$1" >"$work/page.xwd"
  python3 - "$work/page.xwd" "$shots/$2.png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
header = struct.unpack(">25I", data[:100])
size, fmt, depth, width, height = header[0], header[2], header[3], header[4], header[5]
order, bpp, stride, ncolors = header[7], header[11], header[12], header[19]
assert fmt == 2 and bpp == 32, "a 32-bit ZPixmap was expected"
pixels = data[size + 12 * ncolors:]
rows = bytearray()
for y in range(height):
    line = pixels[y * stride:y * stride + width * 4]
    rows.append(0)
    for x in range(0, width * 4, 4):
        b, g, r = (line[x], line[x + 1], line[x + 2]) if order == 0 else (line[x + 3], line[x + 2], line[x + 1])
        rows += bytes((r, g, b))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[2], "wb").write(b"\x89PNG\r\n\x1a\n" +
    chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
    chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
PY
}
press_enter() {  # WINDOW
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool key --clearmodifiers Return
}

# A Wine server still running from calls without a display would keep
# the installer's window off this one.
wine_env wineserver -w
wine_env wine "$installer" "/PATDAT=$patdat_win" >"$work/pages.log" 2>&1 &
setup=$(wait_for_window "Lodemark .* セットアップ") || fail "the installer's window did not open"
sleep 2
for page in mode folder pattern-data; do
  save_page "$setup" "installer-$page"
  press_enter "$setup"
  sleep 2
done
# Installing, then the finish page.
for _ in $(seq 60); do
  [ -f "$WINEPREFIX/drive_c/Program Files/Lodemark/uninstall.exe" ] && break
  sleep 1
done
sleep 3
press_enter "$setup"
window=$(wait_for_window "Kelmo変換プログラム") || fail "the finish page did not start the window, or it did not start with the setting"
printf '[ZidereV5]\r\n%s\\\r\n' "$patdat_win" | iconv -f UTF-8 -t CP932 | cmp -s - "$WINEPREFIX/drive_c/windows/system32/ZidereV5.ini" \
  || fail "the pattern-data page did not write the folder it was given"
[ -n "$window" ]
wine_env wineserver -k || true
