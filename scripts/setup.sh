#!/usr/bin/env bash
# From a bare Debian 12 machine: install the packages, build the program
# folder and run the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
