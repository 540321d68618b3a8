// genera_scenario: writes the built-in scenario's scripts and crew documents
// next to itself and compiles them into the simulator's binary files.
#include <memory>

#include "app/run_sequence.h"
#include "app/user_interface.h"
#include "base/file_names.h"
#include "base/file_system.h"
#include "base/program_guard.h"

int main() {
  scenario::IgnoreFileSizeSignal();
  return scenario::RunGuardingMemory("genera_scenario", [] {
    scenario::RealFileSystem fs;
    std::unique_ptr<scenario::Interfaccia> interfaccia = scenario::apri_interfaccia();
    return scenario::avvia(fs, scenario::cartella_programma(), *interfaccia);
  });
}
