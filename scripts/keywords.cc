#include "scripts/keywords.h"

namespace scenario {

namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool contiene(std::string_view campo, std::string_view testo, bool esatto) {
  if (esatto) return campo.find(testo) != std::string_view::npos;
  if (testo.size() > campo.size()) return false;
  for (std::size_t start = 0; start + testo.size() <= campo.size(); ++start) {
    std::size_t j = 0;
    while (j < testo.size() && Lower(campo[start + j]) == Lower(testo[j])) ++j;
    if (j == testo.size()) return true;
  }
  return false;
}

}  // namespace scenario
