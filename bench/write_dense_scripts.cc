// scrivi_script_densi: writes generated dense scripts into a folder, ready
// for `scenario_tool compile`.
//
//   scrivi_script_densi FOLDER LENGTH_METRES [ROUTE [TRAIN]]
//
// ROUTE defaults to "Denso" and TRAIN to "1"; the files are
// ROUTE_linea.txt and ROUTE_TRAIN-.txt.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/file_names.h"
#include "base/file_system.h"
#include "bench/dense_scripts.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fputs("usage: scrivi_script_densi FOLDER LENGTH_METRES [ROUTE [TRAIN]]\n", stderr);
    return 2;
  }
  const std::string cartella = argv[1];
  const long lunghezza = std::strtol(argv[2], nullptr, 10);
  if (lunghezza < 1000 || lunghezza > 1000000) {
    std::fputs("scrivi_script_densi: the length must lie between 1000 and 1000000\n", stderr);
    return 2;
  }
  const std::string percorso = argc > 3 ? argv[3] : "Denso";
  const std::string treno = argc > 4 ? argv[4] : "1";

  const scenario::ScriptDensi s = scenario::script_densi(static_cast<std::int32_t>(lunghezza));
  scenario::RealFileSystem fs;
  std::string err;
  if (!scenario::ReplaceFile(fs,
                             scenario::percorso_in(cartella, scenario::nome_script_linea(percorso)),
                             s.linea, &err) ||
      !scenario::ReplaceFile(
          fs, scenario::percorso_in(cartella, scenario::nome_script_treno(percorso, treno)),
          s.treno, &err)) {
    std::fprintf(stderr, "scrivi_script_densi: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
