#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), installs it with apt-get,
# converts the sample database with /usr/bin/lodemark-cli (the output must
# equal the golden sample), finds the man page and validates the desktop
# entry, then removes the package again. Needs root. When lodemark is
# already installed the test says so and leaves that copy alone.
# Usage: package_test.sh [SOURCE_DIR]
set -euo pipefail

source_dir=$(realpath "${1:-$(dirname "$0")/../..}")
fail() { echo "FAIL: $*"; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing the package needs root"
  exit 0
fi
if dpkg-query -W -f='${Status}' lodemark 2>/dev/null | grep -q "install ok installed"; then
  echo "SKIP: lodemark is already installed here; the test does not replace or remove it"
  exit 0
fi

work=$(mktemp -d)
installed=no
cleanup() {
  if [ "$installed" = yes ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lodemark >/dev/null 2>&1 ||
      dpkg -r lodemark >/dev/null 2>&1 || echo "WARNING: could not remove the lodemark package"
  fi
  rm -rf "$work"
}
trap cleanup EXIT

deb=$("$source_dir/scripts/package.sh") || fail "scripts/package.sh failed"
[ -f "$deb" ] || fail "scripts/package.sh printed no package: $deb"
echo "package: $deb"

# Exactly the runtime packages: no development packages among the Depends.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depend_names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for needed in fonts-noto-cjk libqt6widgets6 libcairo2 libpng16-16 libstdc++6 libc6; do
  grep -qxF "$needed" <<<"$depend_names" || fail "Depends lacks $needed"
done
if grep -q -- "-dev$" <<<"$depend_names"; then fail "Depends names a development package"; fi

installed=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install $deb failed"; }
for program in /usr/bin/lodemark /usr/bin/lodemark-cli; do
  [ -x "$program" ] || fail "$program was not installed"
done

cp -r "$source_dir/samples/database" "$work/database"
cp -r "$source_dir/samples/patdat" "$work/patdat"
mkdir "$work/config"
status=0
XDG_CONFIG_HOME="$work/config" /usr/bin/lodemark-cli convert --source "$work/database" \
  --dest "$work/out" --patdat "$work/patdat" --all --yes >"$work/stdout.txt" 2>"$work/stderr.txt" || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/stdout.txt" "$work/stderr.txt"
  fail "/usr/bin/lodemark-cli exited $status"
fi
golden="$source_dir/tests/data/golden/sample"
[ -n "$(ls -A "$golden/out")" ] || fail "no golden borehole folders under $golden/out"
diff -r "$golden/out" "$work/out" >/dev/null || { diff -r "$golden/out" "$work/out" | head -20; fail "out differs from $golden/out"; }
diff -r "$golden/patdat" "$work/patdat" >/dev/null || { diff -r "$golden/patdat" "$work/patdat" | head -20; fail "patdat differs from $golden/patdat"; }

for page in lodemark lodemark-cli; do
  if ! man -w "$page" >/dev/null 2>&1; then
    [ -e "/usr/share/man/man1/$page.1" ] || [ -e "/usr/share/man/man1/$page.1.gz" ] ||
      fail "$page.1 is not on disk (does a path-exclude in /etc/dpkg/dpkg.cfg.d drop man pages?)"
    fail "man -w $page finds no page"
  fi
done
desktop-file-validate /usr/share/applications/lodemark.desktop || fail "the installed desktop entry is not valid"
[ -f /usr/share/icons/hicolor/scalable/apps/lodemark.svg ] || fail "the icon was not installed"
[ -f /usr/share/bash-completion/completions/lodemark-cli ] || fail "the bash completion was not installed"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lodemark >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get remove lodemark failed"; }
installed=no
[ ! -e /usr/bin/lodemark-cli ] || fail "/usr/bin/lodemark-cli is still there after removing the package"
echo "built, installed, used and removed $(basename "$deb")"
