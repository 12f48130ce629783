#!/usr/bin/env bash
# From a bare Debian 12 machine: install the packages, build the program
# folder and compile the bundled example project into build/example-output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
rm -rf build/example-output
build/release/program/wharfforge-example examples/hello/hello.wfp --output build/example-output
echo "Example setup written to $(pwd)/build/example-output:"
ls -l build/example-output
