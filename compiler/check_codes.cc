#include "compiler/check_codes.h"

#include <string>

namespace scenario {

namespace {

constexpr const char* kAlfabeto = "aabbccddeeffgghhiillmmnnoo";

/// The padded identity text: the train number and the route identifier,
/// lower-cased (plain ASCII), then the padding alphabet.
std::string riga_identita(const std::string& nome_percorso, const std::string& numero_treno) {
  std::string t = numero_treno + nome_percorso;
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return t + kAlfabeto;
}

/// Builds the padded identity text of the state's entries in `stato.riga`.
void componi_riga(StatoCompilazione& stato) {
  stato.riga =
      riga_identita(stato.parametri[voce::percorso].nome, stato.parametri[voce::ripetizione].nome);
}

/// Character code of the p-th character (from 1) of `riga`.
int carattere(const std::string& riga, int p) {
  return static_cast<unsigned char>(riga[static_cast<std::size_t>(p - 1)]);
}

std::int16_t og_di(const std::string& riga) {
  std::int32_t somma = 0;
  for (int p = 1; p <= 25; ++p) somma += carattere(riga, p);
  return static_cast<std::int16_t>(somma);
}

std::int32_t st_di(const std::string& riga) {
  std::int32_t somma = 0;
  for (int p = 1; p <= 25; ++p) somma += p * carattere(riga, p);
  return somma;
}

}  // namespace

std::int16_t codice_gara_og(StatoCompilazione& stato) {
  componi_riga(stato);
  return og_di(stato.riga);
}

std::int32_t codice_gara_st(StatoCompilazione& stato) {
  componi_riga(stato);
  return st_di(stato.riga);
}

std::int16_t codice_gara_og(const std::string& nome_percorso, const std::string& numero_treno) {
  return og_di(riga_identita(nome_percorso, numero_treno));
}

std::int32_t codice_gara_st(const std::string& nome_percorso, const std::string& numero_treno) {
  return st_di(riga_identita(nome_percorso, numero_treno));
}

}  // namespace scenario
