#include "tools/scripts_command.h"

#include "base/file_names.h"
#include "scripts/builtin_scripts.h"

namespace scenario {

int comando_scripts(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err) {
  const std::string cartella = cartella_indicata(riga.operandi[0]);
  const std::string percorso = riga.percorso.value_or(kNomePercorso);
  const std::string treno = riga.treno.value_or(kNumeroTreno);
  std::string motivo;
  if (!nomi_entro_limite(fs, cartella, percorso, treno, &motivo)) {
    err << "scenario_tool scripts: " << motivo << "\n";
    return 2;
  }
  const std::string script_linea = percorso_in(cartella, nome_script_linea(percorso));
  const std::string script_treno = percorso_in(cartella, nome_script_treno(percorso, treno));
  // An author's edited scripts are worth more than the built-in ones: both
  // names are looked at before either file is written.
  if (!riga.forza) {
    for (const std::string& file : {script_linea, script_treno}) {
      FileStatus stato;
      if (!fs.Inspect(file, &stato, &motivo)) {
        err << "scenario_tool scripts: " << motivo << "\n";
        return 2;
      }
      if (stato.kind != FileKind::kMissing) {
        err << "scenario_tool scripts: " << file << " already exists; nothing written"
            << " (--force replaces it)\n";
        return 2;
      }
    }
  }
  if (!fs.MakeFolders(cartella, &motivo)) {
    err << "scenario_tool scripts: cannot create folder " << motivo << "\n";
    return 2;
  }
  if (!dati_linea(fs, cartella, percorso, &motivo) ||
      !dati_treno(fs, cartella, percorso, treno, &motivo)) {
    err << "scenario_tool scripts: " << motivo << "\n";
    return 2;
  }
  out << script_linea << "\n" << script_treno << "\n";
  return 0;
}

}  // namespace scenario
