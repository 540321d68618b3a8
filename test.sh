#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite: the normal build
# under a virtual X server, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short bounded pass of every fuzzer. Every
# build here treats a compiler warning as an error.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
jobs=$(nproc)
# Tests that put windows on the display run one at a time: two windows at
# the same place would hide each other's drawing.
display_tests='Finestra|GeneraScenarioCopiato'

echo "== tests"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_WERROR=ON >/dev/null
cmake --build build-test -j"$jobs"
xvfb-run -a ctest --test-dir build-test --output-on-failure -j"$jobs" -E "$display_tests"
xvfb-run -a ctest --test-dir build-test --output-on-failure -R "$display_tests"

echo "== tests under sanitizers"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSCENARIO_SANITIZE=ON \
  -DSCENARIO_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1
xvfb-run -a ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -E "$display_tests"
xvfb-run -a ctest --test-dir build-sanitize --output-on-failure -R "$display_tests"
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

if [ -f fuzz/run.sh ]; then
  echo "== fuzzing"
  fuzz/run.sh "${FUZZ_SECONDS:-60}"
fi
