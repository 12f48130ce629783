#!/usr/bin/env bash
# From a bare Debian 12 machine: install the packages, build the program
# folder and compile the bundled example project with the editor's batch
# compile ("wharfwright PROJECT -c"), without a display and with settings in
# a scratch folder. The example is copied to build/example first, so its
# output folder is build/example/hello/output; the copy gets the program
# folder's stock wizard pages in its own "Dialogs" folder, which the
# example's dialog lists name.
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
cp -r build/release/program/Dialogs build/example/hello/Dialogs
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  build/release/program/wharfwright build/example/hello/hello.wfp -c
echo "Example setup written to $(pwd)/build/example/hello/output:"
ls -l build/example/hello/output
