// genera_scenario: writes the built-in scenario's scripts and crew documents
// next to itself and compiles them into the simulator's binary files.
#include <cstdio>
#include <memory>
#include <optional>

#include "app/command_line.h"
#include "app/run_sequence.h"
#include "app/user_interface.h"
#include "base/file_names.h"
#include "base/file_system.h"
#include "base/program_guard.h"

int main(int argc, char** argv) {
  if (const std::optional<int> stato =
          scenario::rispondi_a_riga_di_comando(argc, argv, stdout, stderr)) {
    return *stato;
  }
  scenario::IgnoreFileSizeSignal();
  return scenario::RunGuardingMemory("genera_scenario", [] {
    scenario::RealFileSystem fs;
    std::unique_ptr<scenario::Interfaccia> interfaccia = scenario::apri_interfaccia();
    return scenario::avvia(fs, scenario::cartella_programma(), *interfaccia);
  });
}
