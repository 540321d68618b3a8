#include "tools/diagnostic_printer.h"

#include <algorithm>

#include "tools/text_encoding.h"

namespace scenario {

namespace {

/// The source line and, under it, a caret at `colonna` with tildes up to
/// `colonna_fine`; tabs before the caret are kept so that it lines up.
void stampa_sorgente(const std::string& sorgente, int colonna, int colonna_fine,
                     std::ostream& out) {
  out << utf8_da_cp1252(sorgente) << "\n";
  std::string segno;
  const std::size_t prima = static_cast<std::size_t>(std::max(colonna, 1) - 1);
  for (std::size_t i = 0; i < prima; ++i) {
    segno += i < sorgente.size() && sorgente[i] == '\t' ? '\t' : ' ';
  }
  segno += '^';
  const std::size_t fine =
      std::min(static_cast<std::size_t>(std::max(colonna_fine, colonna + 1) - 1), sorgente.size());
  for (std::size_t i = prima + 1; i < fine; ++i) segno += '~';
  out << segno << "\n";
}

std::string plurale(std::size_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

}  // namespace

void stampa_diagnostica(const Diagnostica& d, std::ostream& out) {
  out << d.file << ":" << d.riga << ":" << d.colonna << ": "
      << (d.gravita == Gravita::errore ? "error" : "warning") << ": " << utf8_da_cp1252(d.messaggio)
      << " [" << (d.gravita == Gravita::errore ? std::to_string(d.codice) : d.nome) << "]\n";
  stampa_sorgente(d.sorgente, d.colonna, d.colonna_fine, out);
  for (const Nota& n : d.note) {
    out << n.file << ":" << n.riga << ":" << n.colonna << ": note: " << utf8_da_cp1252(n.messaggio)
        << "\n";
    stampa_sorgente(n.sorgente, n.colonna, n.colonna_fine, out);
  }
}

void stampa_esito(const EsitoControllo& esito, std::ostream& out) {
  for (const Diagnostica& d : esito.diagnostiche) stampa_diagnostica(d, out);
  if (esito.errori_non_mostrati > 0) {
    out << plurale(esito.errori_non_mostrati, "more error", "more errors") << " not shown\n";
  }
  if (!esito.completo) out << "the check stopped early: more errors may follow\n";
  if (esito.errori > 0 || esito.avvisi > 0) {
    out << plurale(esito.errori, "error", "errors") << ", "
        << plurale(esito.avvisi, "warning", "warnings") << "\n";
  }
}

nlohmann::json json_diagnostiche(const std::vector<Diagnostica>& diagnostiche) {
  nlohmann::json lista = nlohmann::json::array();
  for (const Diagnostica& d : diagnostiche) {
    nlohmann::json note = nlohmann::json::array();
    for (const Nota& n : d.note) {
      note.push_back({{"file", n.file},
                      {"line", n.riga},
                      {"column", n.colonna},
                      {"message", utf8_da_cp1252(n.messaggio)}});
    }
    const bool errore = d.gravita == Gravita::errore;
    lista.push_back({{"file", d.file},
                     {"line", d.riga},
                     {"column", d.colonna},
                     {"end_column", d.colonna_fine},
                     {"severity", errore ? "error" : "warning"},
                     {"code", errore ? nlohmann::json(d.codice) : nlohmann::json(nullptr)},
                     {"name", d.nome},
                     {"message", utf8_da_cp1252(d.messaggio)},
                     {"notes", std::move(note)}});
  }
  return lista;
}

std::string documento_json(const EsitoControllo& esito) {
  const nlohmann::json documento = {{"diagnostics", json_diagnostiche(esito.diagnostiche)},
                                    {"errors", esito.errori},
                                    {"warnings", esito.avvisi},
                                    {"errors_not_shown", esito.errori_non_mostrati},
                                    {"complete", esito.completo}};
  // File names come from the command line and may hold any bytes.
  return documento.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace scenario
