#include "compiler/check_codes.h"

#include <string>

namespace scenario {

namespace {

constexpr const char* kAlfabeto = "aabbccddeeffgghhiillmmnnoo";

/// Builds the padded identity text in `stato.riga`: the train number and the
/// route identifier, lower-cased (plain ASCII), then the padding alphabet.
void componi_riga(StatoCompilazione& stato) {
  std::string t = stato.parametri[voce::ripetizione].nome + stato.parametri[voce::percorso].nome;
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  stato.riga = t + kAlfabeto;
}

/// Character code of the p-th character (from 1) of `riga`.
int carattere(const std::string& riga, int p) {
  return static_cast<unsigned char>(riga[static_cast<std::size_t>(p - 1)]);
}

}  // namespace

std::int16_t codice_gara_og(StatoCompilazione& stato) {
  componi_riga(stato);
  std::int32_t somma = 0;
  for (int p = 1; p <= 25; ++p) somma += carattere(stato.riga, p);
  return static_cast<std::int16_t>(somma);
}

std::int32_t codice_gara_st(StatoCompilazione& stato) {
  componi_riga(stato);
  std::int32_t somma = 0;
  for (int p = 1; p <= 25; ++p) somma += p * carattere(stato.riga, p);
  return somma;
}

}  // namespace scenario
