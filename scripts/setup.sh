#!/usr/bin/env bash
# From a bare Debian 12 machine: install the packages, build the program
# folder and compile the bundled example project with the editor's batch
# compile ("wharfwright PROJECT -c"), without a display and with settings in
# a scratch folder. The example is copied to build/example first, so its
# output folder is build/example/hello/output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 0700 "$scratch/config" "$scratch/runtime"

rm -rf build/example
mkdir -p build/example
cp -r examples/hello build/example/hello
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  build/release/program/wharfwright build/example/hello/hello.wfp -c
echo "Example setup written to $(pwd)/build/example/hello/output:"
ls -l build/example/hello/output
