#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that the programs, man
# pages, completion, desktop entry and icon land where they belong, and
# converts the sample database with the INSTALLED lodemark-cli; the output
# must equal the golden sample.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR with-gui|without-gui
set -euo pipefail

build_dir=${1:?usage: install_test.sh BUILD_DIR SOURCE_DIR with-gui|without-gui}
source_dir=${2:?usage: install_test.sh BUILD_DIR SOURCE_DIR with-gui|without-gui}
gui=${3:?usage: install_test.sh BUILD_DIR SOURCE_DIR with-gui|without-gui}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install $build_dir failed"; }

programs=(lodemark-cli)
[ "$gui" = with-gui ] && programs+=(lodemark)
for program in "${programs[@]}"; do
  [ -f "$prefix/bin/$program" ] && [ -x "$prefix/bin/$program" ] ||
    fail "$prefix/bin/$program was not installed"
done
if [ "$gui" != with-gui ] && [ -e "$prefix/bin/lodemark" ]; then
  fail "bin/lodemark was installed although the window is not built"
fi

# The rest of an installation: man pages, completion; with the window also
# its desktop entry and icon.
files=(share/man/man1/lodemark-cli.1 share/bash-completion/completions/lodemark-cli)
gui_files=(share/man/man1/lodemark.1 share/applications/lodemark.desktop
           share/icons/hicolor/scalable/apps/lodemark.svg)
[ "$gui" = with-gui ] && files+=("${gui_files[@]}")
for file in "${files[@]}"; do
  [ -s "$prefix/$file" ] || fail "$file was not installed"
done
if [ "$gui" != with-gui ]; then
  for file in "${gui_files[@]}"; do
    [ ! -e "$prefix/$file" ] || fail "$file was installed although the window is not built"
  done
fi
version=$(sed -n 's/^project(Lodemark VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
grep -q "^\.TH LODEMARK-CLI 1 .*\"Lodemark $version\"" "$prefix/share/man/man1/lodemark-cli.1" ||
  fail "the installed lodemark-cli(1) does not carry the project's version"
bash -n "$prefix/share/bash-completion/completions/lodemark-cli" || fail "the bash completion does not parse"
if [ "$gui" = with-gui ] && command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/lodemark.desktop" || fail "the desktop entry is not valid"
fi

# The run changes the dictionary: work on copies. An empty configuration
# folder keeps the user's settings (and drive table) out of the run.
cp -r "$source_dir/samples/database" "$work/database"
cp -r "$source_dir/samples/patdat" "$work/patdat"
mkdir "$work/config"
status=0
XDG_CONFIG_HOME="$work/config" "$prefix/bin/lodemark-cli" convert --source "$work/database" \
  --dest "$work/out" --patdat "$work/patdat" --all --yes >"$work/stdout.txt" 2>"$work/stderr.txt" || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/stdout.txt" "$work/stderr.txt"
  fail "the installed lodemark-cli exited $status"
fi

golden="$source_dir/tests/data/golden/sample"
boreholes=0
for folder in "$golden"/out/*/; do
  name=$(basename "$folder")
  boreholes=$((boreholes + 1))
  for file in X1.txt X5.txt Titl01.txt Titl02.txt Titl03.txt; do
    [ -f "$work/out/$name/$file" ] || fail "out/$name/$file was not written"
  done
done
[ "$boreholes" -gt 0 ] || fail "no golden borehole folders under $golden/out"
diff -r "$golden/out" "$work/out" >/dev/null || { diff -r "$golden/out" "$work/out" | head -20; fail "out differs from $golden/out"; }
diff -r "$golden/patdat" "$work/patdat" >/dev/null || { diff -r "$golden/patdat" "$work/patdat" | head -20; fail "patdat differs from $golden/patdat"; }
echo "installed ${programs[*]} and ${#files[@]} other files; the installed lodemark-cli converted $boreholes boreholes as the golden sample"
