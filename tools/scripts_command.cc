#include "tools/scripts_command.h"

#include "base/file_names.h"
#include "scripts/builtin_scripts.h"

namespace scenario {

int comando_scripts(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err) {
  const std::string cartella = cartella_indicata(riga.operandi[0]);
  std::string motivo;
  if (!fs.MakeFolders(cartella, &motivo)) {
    err << "scenario_tool scripts: cannot create folder " << motivo << "\n";
    return 2;
  }
  if (!dati_linea(fs, cartella, kNomePercorso, &motivo) ||
      !dati_treno(fs, cartella, kNomePercorso, kNumeroTreno, &motivo)) {
    err << "scenario_tool scripts: " << motivo << "\n";
    return 2;
  }
  out << percorso_in(cartella, nome_script_linea(kNomePercorso)) << "\n"
      << percorso_in(cartella, nome_script_treno(kNomePercorso, kNumeroTreno)) << "\n";
  return 0;
}

}  // namespace scenario
