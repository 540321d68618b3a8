#include "tools/check_command.h"

#include "base/file_names.h"
#include "tools/check_warnings.h"
#include "tools/diagnostic_printer.h"

namespace scenario {

namespace {

/// Path of `nome` in `cartella`, without doubling a trailing separator.
std::string in_cartella(const std::string& cartella, const std::string& nome) {
  if (!cartella.empty() && cartella.back() == '/') return cartella + nome;
  return percorso_in(cartella, nome);
}

}  // namespace

bool controlla_cartella(FileSystem& fs, const std::string& cartella, const std::string& percorso,
                        const std::string& treno, const OpzioniControllo& opzioni,
                        EsitoControllo* esito, std::string* err) {
  ScriptDaControllare linea{in_cartella(cartella, nome_script_linea(percorso)), ""};
  ScriptDaControllare script_treno{in_cartella(cartella, nome_script_treno(percorso, treno)), ""};
  for (ScriptDaControllare* s : {&linea, &script_treno}) {
    std::string motivo;
    if (!fs.ReadFile(s->file, &s->testo, &motivo)) {
      *err = "cannot read " + motivo;
      return false;
    }
  }
  *esito = controlla_scenario(percorso, treno, linea, script_treno, opzioni);
  return true;
}

int comando_check(const OpzioniCheck& opzioni, FileSystem& fs, std::ostream& out,
                  std::ostream& err) {
  for (const std::string& nome : opzioni.avvisi_spenti) {
    if (avviso_esiste(nome)) continue;
    err << "scenario_tool check: unknown warning name '" << nome << "'; the warnings are:";
    for (std::string_view a : kNomiAvvisi) err << " " << a;
    err << "\n";
    return 2;
  }
  EsitoControllo esito;
  std::string motivo;
  if (!controlla_cartella(fs, opzioni.cartella, opzioni.percorso, opzioni.treno,
                          {opzioni.avvisi_spenti, opzioni.limite_errori}, &esito, &motivo)) {
    err << "scenario_tool check: " << motivo << "\n";
    return 2;
  }
  if (opzioni.json) {
    out << documento_json(esito) << "\n";
  } else {
    stampa_esito(esito, err);
  }
  return esito.errori > 0 ? 1 : 0;
}

}  // namespace scenario
