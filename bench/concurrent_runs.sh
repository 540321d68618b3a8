#!/usr/bin/env bash
# Starts several copies of one genera_scenario binary at once in one folder,
# round after round, and checks that the runs take turns: every run exits 0,
# the six files equal a lone run's byte for byte, and nothing else is left in
# the folder (no script, no temporary file).
#
#   bench/concurrent_runs.sh PROGRAM [RUNS_AT_ONCE (2)] [ROUNDS (100)]
#
# The six files are removed before every round, so each round must write them
# anew. Prints one line per failure and a summary with the wall time of the
# rounds (the removal and the checks between them not counted).
set -euo pipefail

program=${1:?usage: bench/concurrent_runs.sh PROGRAM [RUNS_AT_ONCE] [ROUNDS]}
at_once=${2:-2}
rounds=${3:-100}

route=Zembrastina_Dervo
train=47716
outputs=("${route}_linea.dat" "${route}_${train}.sim" "${route}_${train}.dat"
  "${route}_${train}_scheda_treno.txt" "${route}_${train}_rallentamenti.txt"
  "${route}_${train}_note.txt")

work=$(mktemp -d "${TMPDIR:-/tmp}/concurrent_runs_XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/lone" "$work/run" "$work/err"
cp "$program" "$work/lone/genera_scenario"
cp "$program" "$work/run/genera_scenario"

# The program writes next to itself, and without a display never loads its window.
(cd "$work/lone" && env -u DISPLAY ./genera_scenario 2>/dev/null)
expected=$(cd "$work/lone" && sha256sum "${outputs[@]}")
expected_entries=$(printf '%s\n' "${outputs[@]}" genera_scenario | sort)

failures=0
waits=0
elapsed_ns=0
for ((round = 1; round <= rounds; ++round)); do
  (cd "$work/run" && rm -f "${outputs[@]}")
  pids=()
  start=$(date +%s%N)
  for ((i = 0; i < at_once; ++i)); do
    env -u DISPLAY "$work/run/genera_scenario" >/dev/null 2>"$work/err/$i" &
    pids+=($!)
  done
  for ((i = 0; i < at_once; ++i)); do
    status=0
    wait "${pids[i]}" || status=$?
    if ((status != 0)); then
      failures=$((failures + 1))
      echo "round $round, run $i: exit $status: $(tr '\n' ' ' <"$work/err/$i")"
    fi
  done
  elapsed_ns=$((elapsed_ns + $(date +%s%N) - start))
  for ((i = 0; i < at_once; ++i)); do
    if grep -q "waiting for another run" "$work/err/$i"; then waits=$((waits + 1)); fi
  done
  if [ "$(cd "$work/run" && sha256sum "${outputs[@]}" 2>&1)" != "$expected" ]; then
    failures=$((failures + 1))
    echo "round $round: the files differ from a lone run's"
  fi
  entries=$(ls -A "$work/run" | sort)
  if [ "$entries" != "$expected_entries" ]; then
    failures=$((failures + 1))
    echo "round $round: left in the folder:" $(comm -13 <(echo "$expected_entries") <(echo "$entries"))
  fi
done

echo "$at_once runs at once, $rounds rounds: $failures failures," \
  "$waits runs reported a wait over 1 s," \
  "$((elapsed_ns / 1000000)) ms in all, $((elapsed_ns / rounds / 1000)) us per round"
((failures == 0))
