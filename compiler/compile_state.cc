#include "compiler/compile_state.h"

namespace scenario {

void TabellaLinea::dimensiona(std::int32_t ultima_riga) {
  const std::size_t righe = static_cast<std::size_t>(ultima_riga) + 1;
  for (int c = 0; c < 2; ++c) {
    valori_[c].assign(righe, 0.0);
    tipi_[c].assign(righe, TipoVariante::vuoto);
  }
}

void TabellaLinea::imposta_intero(std::int32_t riga, int colonna, std::int16_t v) {
  valori_[colonna][riga] = v;
  tipi_[colonna][riga] = TipoVariante::intero;
}

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
