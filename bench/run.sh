#!/usr/bin/env bash
# Builds the programs in release mode and times whole processes: the
# built-in run of genera_scenario (without a display), the same compile
# through scenario_tool, and copying the same six output files with cp (the
# floor: what writing those bytes costs at least). Then compiles generated
# dense routes of 100, 300 and 1000 km to show how time and memory grow with
# the route length.
#
#   bench/run.sh [--micro]
#
# RUNS (default 21) sets how many times each process runs, spread over
# ROUNDS (default 3) rounds that take turns between the processes, so that a
# burst of load elsewhere on the machine hits all of them alike; the medians
# of all runs are printed. BENCH_TMPDIR (default TMPDIR or /tmp) is where the
# temporary folders go. --micro also runs the in-memory benchmarks
# (scenario_bench).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-21}
rounds=${ROUNDS:-3}
micro=0
for arg in "$@"; do
  case "$arg" in
    --micro) micro=1 ;;
    *)
      echo "usage: bench/run.sh [--micro]" >&2
      exit 2
      ;;
  esac
done
per_round=$(((runs + rounds - 1) / rounds))

build="build-bench-release"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCENARIO_BENCH=ON \
  -DSCENARIO_TESTS=OFF >/dev/null
cmake --build "$build" --target genera_scenario scenario_tool scenario_bench \
  scrivi_script_densi time_runs >/dev/null

time_runs=$PWD/$build/bench/time_runs
tool=$PWD/$build/scenario_tool
dense=$PWD/$build/bench/scrivi_script_densi

work=$(mktemp -d "${BENCH_TMPDIR:-${TMPDIR:-/tmp}}/scenario_bench_XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/samples"

route=Zembrastina_Dervo
train=47716
outputs=("${route}_linea.dat" "${route}_${train}.sim" "${route}_${train}.dat"
  "${route}_${train}_scheda_treno.txt" "${route}_${train}_rallentamenti.txt"
  "${route}_${train}_note.txt")

# sample NAME [--before CMD] -- PROGRAM ARGS...: one round of runs of a
# process, each run's "ms peak_kib" added to the samples of NAME.
sample() {
  local name=$1
  shift
  "$time_runs" "$per_round" --all "$@" >>"$work/samples/$name"
}
# "median min max peak_kib" of all the samples of NAME.
summary() {
  sort -n "$work/samples/$1" | awk '
    { t[NR] = $1; if ($2 > peak) peak = $2 }
    END {
      m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      printf "%.3f %.3f %.3f %d\n", m, t[1], t[NR], peak
    }'
}
median() { summary "$1" | cut -d' ' -f1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
row() {
  local -a fields
  read -ra fields <<<"$(summary "$2")"
  printf '%-44s %9s %9s %9s %10s\n' "$1" "${fields[@]}"
}

echo "scenario benchmark: $((per_round * rounds)) runs per process in $rounds rounds," \
  "medians in ms"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
echo "temporary folders under $(dirname "$work")"
echo

# genera_scenario writes next to itself: a copy runs in its own folder, with
# its window module beside it as installed, and with no display so that it
# takes its text stand-in and never loads the module.
mkdir "$work/gen"
cp "$build/genera_scenario" "$build/libscenario_finestra.so" "$work/gen/"
(cd "$work/gen" && env -u DISPLAY ./genera_scenario 2>/dev/null)
for f in "${outputs[@]}"; do
  [ -f "$work/gen/$f" ] || {
    echo "genera_scenario did not write $f" >&2
    exit 1
  }
done
floor_bytes=$(cd "$work/gen" && cat "${outputs[@]}" | wc -c)

# The tool's compile of the same built-in scripts (the scripts stay in
# place; only the binary files are removed between runs).
mkdir "$work/tool"
"$tool" scripts "$work/tool" >/dev/null

# The floor: cp of the six files genera_scenario wrote, into an empty folder.
mkdir "$work/src" "$work/dst"
(cd "$work/gen" && cp "${outputs[@]}" "$work/src/")
sources=()
for f in "${outputs[@]}"; do sources+=("$work/src/$f"); done

for ((r = 0; r < rounds; ++r)); do
  sample gen --before "rm -f '$work/gen/$route'*" -- \
    env -u DISPLAY "$work/gen/genera_scenario"
  sample tool --before "rm -f '$work/tool/'*.dat '$work/tool/'*.sim" -- \
    "$tool" compile "$work/tool" "$route" "$train"
  sample floor --before "rm -f '$work/dst/'*" -- cp "${sources[@]}" "$work/dst/"
  sample empty -- true
done

printf '%-44s %9s %9s %9s %10s\n' "process" "median" "min" "max" "peak KiB"
row "genera_scenario (no display)" gen
row "scenario_tool compile (built-in scripts)" tool
row "cp of the same 6 files ($floor_bytes bytes)" floor
row "true (an empty process)" empty
echo
echo "genera_scenario / cp floor: $(ratio "$(median gen)" "$(median floor)")"
echo

# Dense routes: every km carries gradients every 50 m, two curves, speed
# boards, a line speed and two signals, plus mountains, indicator boards,
# stations and slowdowns (bench/dense_scripts.cc).
lengths=(100 300 1000)
for km in "${lengths[@]}"; do
  mkdir "$work/dense_$km"
  "$dense" "$work/dense_$km" $((km * 1000)) Denso 1
done
for ((r = 0; r < rounds; ++r)); do
  for km in "${lengths[@]}"; do
    dir="$work/dense_$km"
    sample "dense_$km" --before "rm -f '$dir/'*.dat '$dir/'*.sim" -- \
      "$tool" compile "$dir" Denso 1
  done
done
printf '%-10s %12s %10s %12s %14s\n' "route" "script KiB" "median ms" "peak MiB" "ms per 100 km"
for km in "${lengths[@]}"; do
  dir="$work/dense_$km"
  script_kib=$(($(cat "$dir/Denso_linea.txt" "$dir/Denso_1-.txt" | wc -c) / 1024))
  peak_kib=$(/usr/bin/time -v "$tool" compile "$dir" Denso 1 2>&1 >/dev/null |
    awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }')
  ms=$(median "dense_$km")
  printf '%-10s %12s %10s %12s %14s\n' "${km} km" "$script_kib" "$ms" \
    "$(awk -v k="$peak_kib" 'BEGIN { printf "%.1f", k / 1024 }')" \
    "$(awk -v t="$ms" -v km="$km" 'BEGIN { printf "%.2f", t * 100 / km }')"
done
echo
echo "1000 km / 100 km time: $(ratio "$(median dense_1000)" "$(median dense_100)")" \
  "(linear growth gives 10; the fixed cost of a process makes it smaller)"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"

if ((micro)); then
  echo
  "$build/bench/scenario_bench"
fi
