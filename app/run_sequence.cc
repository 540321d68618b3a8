#include "app/run_sequence.h"

#include <cstdio>
#include <string>

#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "documents/crew_documents.h"
#include "scripts/builtin_scripts.h"

namespace scenario {

namespace {

int fallimento_file(Interfaccia& interfaccia, const std::string& err) {
  std::fprintf(stderr, "genera_scenario: %s\n", err.c_str());
  interfaccia.chiudi();
  return 2;
}

}  // namespace

int avvia(FileSystem& fs, const std::string& cartella, Interfaccia& interfaccia) {
  StatoCompilazione stato;
  stato.nome_percorso = kNomePercorso;
  stato.numero_treno = kNumeroTreno;
  interfaccia.mostra_attesa();

  std::string err;
  if (!dati_linea(fs, cartella, stato.nome_percorso, &err) ||
      !dati_treno(fs, cartella, stato.nome_percorso, stato.numero_treno, &err) ||
      !dati_note(fs, cartella, stato.nome_percorso, stato.numero_treno, &err) ||
      !dati_rallentamenti(fs, cartella, stato.nome_percorso, stato.numero_treno, &err) ||
      !dati_scheda(fs, cartella, stato.nome_percorso, stato.numero_treno, &err)) {
    return fallimento_file(interfaccia, err);
  }

  const RisultatoCompilazione risultato =
      memorizza_percorso(stato, /*crea_linea=*/true, fs, {cartella, cartella});
  if (risultato.esito == Esito::scrittura_fallita) {
    return fallimento_file(interfaccia, risultato.errore_scrittura);
  }
  if (risultato.esito != Esito::scritto) {
    // 1250, 1251, or a compile that left no cell array: the box, then the end.
    errore(std::to_string(codice_fatale(risultato, stato)), interfaccia);
  }
  if (stato.codice_errore != 0) {
    std::fprintf(stderr, "genera_scenario: compile recorded error %d: %s (position %d m)\n",
                 stato.codice_errore, significato_codice(stato.codice_errore),
                 stato.posizione_errore);
  }
  interfaccia.chiudi();
  return 0;
}

}  // namespace scenario
