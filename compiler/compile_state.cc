#include "compiler/compile_state.h"

namespace scenario {

void registra_codice(StatoCompilazione& stato, std::int32_t codice) {
  stato.codice_errore = codice;
  Diagnosi d;
  d.codice = codice;
  d.sorgente = stato.sorgente_corrente;
  d.riga = stato.riga_corrente;
  d.campo = stato.campo_corrente;
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

void segna_origine(StatoCompilazione& stato, std::int64_t cella) {
  segna_origine(stato, cella,
                Origine{stato.sorgente_corrente, stato.riga_corrente, stato.campo_corrente});
}

void segna_origine(StatoCompilazione& stato, std::int64_t cella, const Origine& origine) {
  if (cella < 0 || static_cast<std::size_t>(cella) >= stato.celle.size()) return;
  if (stato.origine_celle.size() != stato.celle.size()) {
    stato.origine_celle.assign(stato.celle.size(), Origine{});
  }
  stato.origine_celle[static_cast<std::size_t>(cella)] = origine;
}

Origine origine_di(const StatoCompilazione& stato, std::int64_t cella) {
  if (cella < 0 || static_cast<std::size_t>(cella) >= stato.origine_celle.size()) return {};
  return stato.origine_celle[static_cast<std::size_t>(cella)];
}

void segna_cella_diagnosi(StatoCompilazione& stato, std::int64_t cella) {
  if (!stato.diagnosi.empty()) stato.diagnosi.back().celle.push_back(cella);
}

}  // namespace scenario
