#!/usr/bin/env bash
# Sets everything up, builds genera_scenario and runs it in out/: the
# scenario's three crew documents and three binary files appear there. The
# window module goes next to the program, which loads it when there is a
# display. Ends with what was written and where.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
cmake --build build-release --target genera_scenario scenario_tool
mkdir -p out
cp build-release/genera_scenario build-release/libscenario_finestra.so out/
(cd out && ./genera_scenario)

# The six files of the built-in scenario, each with what it holds.
route=Zembrastina_Dervo
train=47716
written=("${route}_${train}_note.txt" "notes on the line and the train"
  "${route}_${train}_rallentamenti.txt" "the slowdown order"
  "${route}_${train}_scheda_treno.txt" "the train timetable sheet"
  "${route}_linea.dat" "line file: the plan of the track"
  "${route}_${train}.sim" "parameter file: stations, board texts, values"
  "${route}_${train}.dat" "cell file: the route in 50 m cells")
echo
echo "genera_scenario wrote the built-in scenario into $PWD/out:"
for ((i = 0; i < ${#written[@]}; i += 2)); do
  file=out/${written[i]}
  if [ ! -f "$file" ]; then
    echo "  ${written[i]} is missing: see the messages above" >&2
    exit 1
  fi
  printf '  %-42s %9s bytes  %s\n' "${written[i]}" "$(stat -c %s "$file")" "${written[i + 1]}"
done
echo "Next: build-release/scenario_tool scripts my_scenario writes the scripts behind these" \
  "files, for you to edit and compile (build-release/scenario_tool --help)."
