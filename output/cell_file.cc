#include "output/cell_file.h"

namespace scenario {

namespace {

constexpr std::size_t larghezza_record() {
  std::size_t n = 0;
  for (const Campo<Cella>& c : kCampiCella) {
    n += std::holds_alternative<std::uint8_t Cella::*>(c.membro) ? 1 : 2;
  }
  return n;
}
static_assert(larghezza_record() == kDimensioneCella, "the cell record is 15 bytes on disk");

}  // namespace

const char* nome_elemento(std::uint8_t tipo) {
  switch (tipo) {
    case tipo_cella::segnale:
      return "signal";
    case tipo_cella::fine_rallentamento:
      return "slowdown end";
    case tipo_cella::inizio_rallentamento:
      return "slowdown start";
    case tipo_cella::avviso_rallentamento:
      return "slowdown warning board";
    case tipo_cella::prima_dell_avviso:
      return "before warning board";
    case tipo_cella::indicatori_v_max:
      return "maximum-speed boards";
    case tipo_cella::fine_stazione:
      return "station end";
    case tipo_cella::marcatore_montagna:
      return "mountain marker";
    case tipo_cella::codice:
      return "code cell";
    case tipo_cella::codice_senza_valore:
      return "code cell without value";
    case tipo_cella::cartello:
      return "sign board";
    default:
      return "";
  }
}

std::string serializza_celle(const std::vector<Cella>& celle) {
  std::string bytes(celle.size() * kDimensioneCella, '\0');
  ByteWriter out(bytes.data());
  for (const Cella& c : celle) {
    for (const Campo<Cella>& campo : kCampiCella) scrivi_campo(out, campo, c);
  }
  return bytes;
}

bool decodifica_celle(std::string_view bytes, std::vector<Cella>* celle, ErroreDecodifica* err) {
  if (bytes.empty()) return fallisci(err, 0, "empty cell file");
  const std::size_t resto = bytes.size() % kDimensioneCella;
  const std::size_t n = bytes.size() / kDimensioneCella;
  if (resto != 0) {
    return fallisci(
        err, n * kDimensioneCella,
        "truncated cell " + std::to_string(n) + ": " + std::to_string(resto) + " of its 15 bytes");
  }
  celle->assign(n, Cella{});
  ByteReader in(bytes);
  for (std::size_t i = 0; i < n; ++i) {
    for (const Campo<Cella>& campo : kCampiCella) {
      // The length test above guarantees every field.
      if (!leggi_campo(in, campo, &(*celle)[i], "cell", i, err)) return false;
    }
  }
  return true;
}

}  // namespace scenario
