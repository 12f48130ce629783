#!/usr/bin/env bash
# From a bare Debian 12 machine: install the packages, build the program
# folder and compile the bundled example project where it lies, with the
# editor's batch compile ("wharfwright PROJECT -c") as a user would run it on
# a build machine: no display needed, nothing set up for it. The setup goes
# into examples/hello/output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

build/release/program/wharfwright examples/hello/hello.wfp -c
echo "Example setup written to $(pwd)/examples/hello/output:"
ls -l examples/hello/output
