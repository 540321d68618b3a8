#include "scripts/nearest_word.h"

#include <algorithm>
#include <vector>

namespace scenario {

namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

// Optimal string alignment distance over three rows of the table.
std::size_t distanza_parole(std::string_view a, std::string_view b) {
  const std::size_t n = b.size();
  std::vector<std::size_t> due(n + 1), uno(n + 1), riga(n + 1);
  for (std::size_t j = 0; j <= n; ++j) uno[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    riga[0] = i;
    for (std::size_t j = 1; j <= n; ++j) {
      const bool diverso = Lower(a[i - 1]) != Lower(b[j - 1]);
      riga[j] = std::min({uno[j] + 1, riga[j - 1] + 1, uno[j - 1] + (diverso ? 1 : 0)});
      if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) &&
          Lower(a[i - 2]) == Lower(b[j - 1])) {
        riga[j] = std::min(riga[j], due[j - 2] + 1);
      }
    }
    std::swap(due, uno);
    std::swap(uno, riga);
  }
  return uno[n];
}

std::string_view parola_piu_vicina(std::string_view parola,
                                   std::span<const std::string_view> candidati) {
  const std::size_t soglia = std::max<std::size_t>(1, parola.size() / 3);
  std::string_view migliore;
  std::size_t minima = soglia + 1;
  for (std::string_view c : candidati) {
    const std::size_t d = distanza_parole(parola, c);
    if (d < minima) {
      minima = d;
      migliore = c;
    }
  }
  return migliore;
}

}  // namespace scenario
