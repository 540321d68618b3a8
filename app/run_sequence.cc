#include "app/run_sequence.h"

#include <cstdio>
#include <string>

#include "app/error_codes.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
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

  const RisultatoCompilazione risultato = memorizza_percorso(stato, 1, fs, {cartella, cartella});
  switch (risultato.esito) {
    case Esito::errore_1250:
      errore(std::to_string(codice::marcatore_cella_1), interfaccia);
    case Esito::errore_1251:
      errore(std::to_string(codice::codice_cella_1), interfaccia);
    case Esito::senza_celle:
      errore(std::to_string(stato.codice_errore), interfaccia);
    case Esito::scrittura_fallita:
      return fallimento_file(interfaccia, risultato.errore_scrittura);
    case Esito::scritto:
      break;
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
