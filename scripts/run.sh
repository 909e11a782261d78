#!/usr/bin/env bash
# Sets everything up and runs the program on the bundled sample data.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh release
build/release/lodemark-cli --version
