// genera_scenario: writes the built-in scenario's scripts and crew documents
// next to itself and compiles them into the simulator's binary files.
#include <memory>

#include "app/file_names.h"
#include "app/file_system.h"
#include "app/run_sequence.h"
#include "app/user_interface.h"

int main() {
  scenario::RealFileSystem fs;
  std::unique_ptr<scenario::Interfaccia> interfaccia = scenario::apri_interfaccia();
  return scenario::avvia(fs, scenario::cartella_programma(), *interfaccia);
}
