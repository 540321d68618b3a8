#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (instrumented with
# -fsanitize=fuzzer-no-link,address,undefined, see fuzz/CMakeLists.txt) and
# runs each one for SECONDS seconds (default 60) on a scratch copy of its
# seed corpus in fuzz/corpus/, so the committed corpus never grows. A
# compiler warning stops the build, as in every test build.
#
# Any crash, sanitizer report, leak, timeout (an input taking over 1 s) or
# out-of-memory (over 1 GiB resident, or a single allocation over 256 MiB:
# no input the harnesses build needs more) is a finding: the script then exits non-zero and leaves the
# reproducing input in build-fuzz/findings/HARNESS/.
#
#   fuzz/run.sh [SECONDS]
#   FUZZERS="compile_fuzzer" fuzz/run.sh 30      # only some harnesses
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds=${1:-60}
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSCENARIO_FUZZ=ON -DSCENARIO_TESTS=OFF -DSCENARIO_WERROR=ON >/dev/null || exit 1
cmake --build "$build" --target fuzzers || exit 1

fuzzers=${FUZZERS:-$(cd fuzz && ls ./*_fuzzer.cc | sed 's|^\./||; s|\.cc$||')}
status=0
for fuzzer in $fuzzers; do
  binary="$build/fuzz/$fuzzer"
  [ -x "$binary" ] || { echo "fuzz: $fuzzer was not built"; status=1; continue; }
  work="$build/corpus/$fuzzer"
  findings="$build/findings/$fuzzer"
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  cp -r "fuzz/corpus/$fuzzer/." "$work/" 2>/dev/null || true
  options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=1024 -malloc_limit_mb=256
    -print_final_stats=1 -artifact_prefix="$findings/")
  [ -f "fuzz/$fuzzer.dict" ] && options+=(-dict="fuzz/$fuzzer.dict")
  echo "== $fuzzer for ${seconds}s"
  log="$build/findings/$fuzzer.log"
  if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$binary" "${options[@]}" "$work" >"$log" 2>&1; then
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" | tr '\n' ' '
    echo
  else
    status=1
    echo "fuzz: $fuzzer found a problem; log in $log, inputs in $findings/"
    grep -E "ERROR|SUMMARY|runtime error|_fuzzer: |Test unit written" "$log" | head -20
  fi
done
exit $status
