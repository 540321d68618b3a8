#include "compiler/compile_state.h"

namespace scenario {

void registra_codice(StatoCompilazione& stato, std::int32_t codice) {
  stato.codice_errore = codice;
  Diagnosi d;
  d.codice = codice;
  d.sorgente = stato.sorgente_corrente;
  d.riga = stato.riga_corrente;
  stato.diagnosi.push_back(d);
}

void registra_codice(StatoCompilazione& stato, std::int32_t codice, std::int32_t posizione) {
  registra_codice(stato, codice);
  imposta_posizione_errore(stato, posizione);
}

void imposta_posizione_errore(StatoCompilazione& stato, std::int32_t posizione) {
  stato.posizione_errore = posizione;
  if (!stato.diagnosi.empty()) {
    stato.diagnosi.back().con_posizione = true;
    stato.diagnosi.back().posizione = posizione;
  }
}

}  // namespace scenario
