#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build with warnings as
# errors, then a build under AddressSanitizer and UndefinedBehaviorSanitizer.
# Then builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs
# each for a bounded time (WHARF_FUZZ_SECONDS, default 30), all at once,
# seeded with the fixtures.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWHARF_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build/release
# Leak detection stays on; scripts/lsan.supp only names system libraries
# under Qt that keep per-process allocations until exit.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build/sanitize -DWHARF_SANITIZE=ON

fuzz=build/fuzz
cmake -S . -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWHARF_WERROR=ON -DWHARF_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build "$fuzz" -j "$jobs" --target wharf_fuzzers

seed() {
  local corpus=$fuzz/corpus/$1; shift
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp "$@" "$corpus/"
}
seed fuzz_peimage "$fuzz"/fixtures/*.exe "$fuzz"/program/*.bin
seed fuzz_resedit "$fuzz"/fixtures/*.exe "$fuzz"/program/*.bin compiler/tests/data/resedit-*.bin
seed fuzz_iconload "$fuzz"/fixtures/*.ico
seed fuzz_inistore examples/hello/*.wfp "$fuzz"/program/extens.ini "$fuzz"/program/default.ctl
seed fuzz_versioninfo "$fuzz"/fixtures/ver-*.exe "$fuzz"/program/setup.bin
for f in "$fuzz"/fixtures/ver-*.exe "$fuzz"/program/setup.bin; do
  # The bare version resources, which the target writes into an executable.
  wrestool -x --raw -t16 -o "$fuzz/corpus/fuzz_versioninfo/$(basename "$f").ver" "$f"
done

seed fuzz_dialogfile designer/tests/data/*.ddf designer/tests/data/*.txt
seed fuzz_controlclipboard designer/tests/data/*.clip

# The text readers start from the project and registry files of the tests.
seed fuzz_projectfile editor/project/tests/fixtures/*.wfp examples/*/*.wfp
seed fuzz_regimport editor/project/tests/fixtures/*.reg

targets=(fuzz_peimage fuzz_versioninfo fuzz_iconload fuzz_resedit fuzz_inistore fuzz_dialogfile fuzz_controlclipboard
  fuzz_projectfile fuzz_regimport)
pids=()
for target in "${targets[@]}"; do
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$fuzz/fuzz/$target" -max_total_time="${WHARF_FUZZ_SECONDS:-30}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$fuzz/$target-" "$fuzz/corpus/$target" \
    > "$fuzz/$target.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  if wait "${pids[$i]}"; then
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$fuzz/$target.log")
    echo "$target: clean after $runs inputs"
  else
    echo "$target: FAILED (log $fuzz/$target.log)"
    tail -n 60 "$fuzz/$target.log"
    failed=1
  fi
done
[ "$failed" -eq 0 ]
echo "All tests passed (normal and sanitizer builds, fuzz targets)."
