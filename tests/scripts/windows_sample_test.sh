#!/usr/bin/env bash
# The sample conversion by the Windows lodemark-cli.exe under Wine, byte for
# byte against the golden output: with plain folder names, with Japanese
# source, destination and pattern-data folders under code page 932, and the
# same under code page 1252, where the ANSI code page cannot hold the names.
# Then the sample's export in every text format against the golden files of
# the Linux build (each named TABLE-DATUM.EXTENSION, which says how it is made).
# Usage: windows_sample_test.sh BUILD_DIR SOURCE_DIR   (exit 77: skipped)
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$2" && pwd)
exe="$build/lodemark-cli.exe"
golden="$root/tests/data/golden/sample"
export_golden="$root/tests/data/golden/export"
if ! command -v wine >/dev/null; then
  echo "skipped: wine is not installed"
  exit 77
fi
[ -f "$exe" ] || { echo "no $exe"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Wine's drive Z: is the Linux root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

failures=0
run_case() {
  local label=$1 locale=$2 base="$scratch/$3"
  mkdir -p "$base"
  cp -r "$root/samples/database" "$base/$4"
  cp -r "$root/samples/patdat" "$base/$6"
  local status=0
  LC_ALL=$locale "$root/scripts/wine-env.sh" wine "$exe" convert --source "$(windows_path "$base/$4")" \
    --dest "$(windows_path "$base/$5")" --patdat "$(windows_path "$base/$6")" --yes --all \
    >"$base/stdout" 2>"$base/stderr" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL $label: exit status $status"; cat "$base/stderr"; failures=$((failures + 1)); return
  fi
  if ! diff -r "$golden/out" "$base/$5" || ! diff -r "$golden/patdat" "$base/$6"; then
    echo "FAIL $label: output differs from $golden"; failures=$((failures + 1)); return
  fi
  # Redirected output is the UTF-8 bytes of Linux: no CR, the closing line intact.
  if grep -q $'\r' "$base/stdout" || ! grep -q '変換が正常に終了しました。' "$base/stdout"; then
    echo "FAIL $label: standard output is not the UTF-8 text:"; od -c "$base/stdout" | head; failures=$((failures + 1)); return
  fi
  echo "ok   $label"
}

# Every golden export file, written by lodemark-cli.exe into a Japanese folder
# under code page 1252.
run_exports() {
  local base="$scratch/書き出し" golden_file name table datum status
  mkdir -p "$base/出力"
  cp -r "$root/samples/database" "$base/元"
  cp -r "$root/samples/patdat" "$base/パターン"
  for golden_file in "$export_golden"/*; do
    name=$(basename "$golden_file")
    table=${name%%-*}
    datum=${name#*-}
    datum=${datum%%.*}
    status=0
    LC_ALL=$cp1252 "$root/scripts/wine-env.sh" wine "$exe" export "$(windows_path "$base/元")" \
      --patdat "$(windows_path "$base/パターン")" --all --table "$table" --datum "$datum" \
      -o "$(windows_path "$base/出力/$name")" >"$base/stdout" 2>"$base/stderr" || status=$?
    # 1: the check finds problems in the samples.
    if [ "$status" -ne 1 ]; then
      echo "FAIL export $name: exit status $status"; cat "$base/stderr"; failures=$((failures + 1)); continue
    fi
    if ! cmp "$golden_file" "$base/出力/$name"; then
      echo "FAIL export $name: differs from $golden_file"; failures=$((failures + 1)); continue
    fi
    echo "ok   export $name"
  done
}

cp1252=en_US.UTF-8
locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$' || cp1252=C.UTF-8  # both give Wine code page 1252
run_case "plain names, code page 932" ja_JP.UTF-8 plain database out patdat
run_case "Japanese names, code page 932" ja_JP.UTF-8 "試験932" "元" "先" "パターン"
run_case "Japanese names, code page 1252 ($cp1252)" "$cp1252" "試験1252" "元" "先" "パターン"
run_exports
[ "$failures" -eq 0 ]
