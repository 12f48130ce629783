#!/usr/bin/env bash
# Builds the program folder (build/release/program).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"
echo "Program folder: $(pwd)/build/release/program"
