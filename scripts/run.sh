#!/usr/bin/env bash
# Sets everything up and runs the program on the bundled sample data: the
# sample database is converted into a fresh folder, against a copy of the
# demo pattern-data folder (a run changes the dictionary).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh release

work=build/sample-run
rm -rf "$work"
mkdir -p "$work"
cp -r samples/patdat "$work/patdat"

echo "Boreholes in samples/database:"
build/release/lodemark-cli list samples/database
build/release/lodemark-cli convert --source samples/database --dest "$work/out" \
  --patdat "$work/patdat" --yes --all
echo "Converted files: $(pwd)/$work/out/<borehole>/ (X1.txt, X5.txt, Titl01-03.txt)"
echo "Updated dictionary: $(pwd)/$work/patdat/"
