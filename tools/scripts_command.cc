#include "tools/scripts_command.h"

#include <filesystem>
#include <system_error>

#include "base/file_names.h"
#include "base/file_system.h"
#include "scripts/builtin_scripts.h"
#include "tools/command_line.h"

namespace scenario {

const char* const kUsoScripts =
    "usage: scenario_tool scripts DIR\n"
    "\n"
    "Writes the built-in scenario's line script and train script into DIR\n"
    "(created when missing) as \"Zembrastina_Dervo_linea.txt\" and\n"
    "\"Zembrastina_Dervo_47716-.txt\", a starting point for new scenarios.\n";

int comando_scripts(const std::vector<std::string>& argomenti, std::ostream& out,
                    std::ostream& err) {
  RigaComando riga;
  std::string motivo;
  if (!analizza_riga(argomenti, {}, &riga, &motivo)) {
    err << "scenario_tool scripts: " << motivo << "\n" << kUsoScripts;
    return 2;
  }
  if (riga.aiuto) {
    out << kUsoScripts;
    return 0;
  }
  if (riga.operandi.size() != 1) {
    err << "scenario_tool scripts: expected one folder, got " << riga.operandi.size()
        << " operands\n"
        << kUsoScripts;
    return 2;
  }
  const std::string& cartella = riga.operandi[0];
  std::error_code ec;
  std::filesystem::create_directories(cartella, ec);
  if (ec || !std::filesystem::is_directory(cartella)) {
    err << "scenario_tool scripts: cannot create folder " << cartella
        << (ec ? ": " + ec.message() : std::string()) << "\n";
    return 2;
  }
  RealFileSystem fs;
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
