#!/usr/bin/env bash
# Sets everything up, builds genera_scenario and runs it in out/: the
# scenario's three crew documents and three binary files appear there. The
# window module goes next to the program, which loads it when there is a
# display.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
cmake --build build-release --target genera_scenario scenario_tool
mkdir -p out
cp build-release/genera_scenario build-release/libscenario_finestra.so out/
(cd out && ./genera_scenario)
ls -l out
