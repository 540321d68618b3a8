#include "compiler/compile_state.h"

#include <cstring>

namespace scenario {

void TabellaLinea::dimensiona(std::int32_t ultima_riga) {
  const std::size_t righe = static_cast<std::size_t>(ultima_riga) + 1;
  // All zeros: tag 0, every element empty.
  for (BloccoAzzerato& s : slot_) s = BloccoAzzerato(righe * kSlot);
}

double TabellaLinea::valore(std::int32_t riga, int colonna) const {
  const unsigned char* p = slot(riga, colonna);
  switch (static_cast<TipoVariante>(p[0] | (p[1] << 8))) {
    case TipoVariante::intero:
      return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[2] | (p[3] << 8)));
    case TipoVariante::doppio: {
      std::uint64_t u = 0;
      for (int b = 7; b >= 0; --b) u = (u << 8) | p[2 + b];
      double v;
      std::memcpy(&v, &u, sizeof v);
      return v;
    }
    case TipoVariante::vuoto:
      break;
  }
  return 0;
}

void TabellaLinea::imposta_intero(std::int32_t riga, int colonna, std::int16_t v) {
  unsigned char* p = slot(riga, colonna);
  const auto u = static_cast<std::uint16_t>(v);
  p[0] = static_cast<unsigned char>(TipoVariante::intero);
  p[1] = 0;
  p[2] = static_cast<unsigned char>(u & 0xFF);
  p[3] = static_cast<unsigned char>(u >> 8);
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
