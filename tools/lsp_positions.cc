#include "tools/lsp_positions.h"

#include <algorithm>

#include "tools/text_encoding.h"

namespace scenario {

namespace {

/// Characters of one decoded character in the editor's unit.
int larghezza(char32_t c, std::size_t byte, Codifica codifica) {
  if (codifica == Codifica::utf8) return static_cast<int>(byte);
  return c >= 0x10000 ? 2 : 1;
}

}  // namespace

RigheTesto::RigheTesto(std::string_view testo) : testo_(testo) {
  std::size_t inizio = 0;
  for (std::size_t p = 0; p < testo.size(); ++p) {
    if (testo[p] != '\n' && testo[p] != '\r') continue;
    inizi_.push_back(inizio);
    fini_.push_back(p);
    if (testo[p] == '\r' && p + 1 < testo.size() && testo[p + 1] == '\n') ++p;
    inizio = p + 1;
  }
  inizi_.push_back(inizio);
  fini_.push_back(testo.size());
}

std::string_view RigheTesto::riga(int riga) const {
  if (riga < 1 || riga > numero()) return {};
  const auto i = static_cast<std::size_t>(riga - 1);
  return testo_.substr(inizi_[i], fini_[i] - inizi_[i]);
}

int carattere_da_byte(std::string_view riga, std::size_t byte, Codifica codifica) {
  const std::size_t fine = std::min(byte, riga.size());
  int caratteri = 0;
  std::size_t pos = 0;
  while (pos < fine) {
    const std::size_t prima = pos;
    const char32_t c = prossimo_carattere(riga, &pos);
    caratteri += larghezza(c, pos - prima, codifica);
  }
  return caratteri;
}

std::size_t byte_da_carattere(std::string_view riga, long carattere, Codifica codifica) {
  long contati = 0;
  std::size_t pos = 0;
  while (pos < riga.size() && contati < carattere) {
    const std::size_t prima = pos;
    const char32_t c = prossimo_carattere(riga, &pos);
    contati += larghezza(c, pos - prima, codifica);
  }
  return pos;
}

}  // namespace scenario
