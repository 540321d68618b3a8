// Test support: a temporary folder and a compile of script texts in it.
#ifndef SCENARIO_COMPILER_COMPILE_FIXTURE_H_
#define SCENARIO_COMPILER_COMPILE_FIXTURE_H_

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "base/file_names.h"
#include "base/file_system.h"
#include "base/testing/temporary_folder.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "compiler/script_reader.h"

namespace scenario {

/// A line script with a general section holding only the route length,
/// then `corpo` (lines joined with CR LF by the caller) and "[fine]".
inline std::string script_linea(std::int32_t lunghezza, const std::string& corpo = "") {
  return "[generale]\r\nlunghezza percorso,    " + std::to_string(lunghezza) + "\r\n[curve]\r\n" +
         corpo + "[fine]\r\n";
}

/// A train script: "[generale]", then `corpo`, then "[fine]".
inline std::string script_treno(const std::string& corpo = "") {
  return "[generale]\r\n" + corpo + "[fine]\r\n";
}

/// The route identifier and train number the fixtures compile under.
inline constexpr const char* kPercorsoProva = "Prova";
inline constexpr const char* kTrenoProva = "1";

/// Compiles `linea` and `treno` (a missing script when the text is null)
/// with the full driver in a temporary folder; the esito goes to `*esito`.
inline StatoCompilazione compila(const char* linea, const char* treno, bool j = true,
                                 Esito* esito = nullptr) {
  CartellaTemporanea cartella;
  StatoCompilazione stato;
  stato.nome_percorso = kPercorsoProva;
  stato.numero_treno = kTrenoProva;
  if (linea) cartella.scrivi(nome_script_linea(stato.nome_percorso), linea);
  if (treno) cartella.scrivi(nome_script_treno(stato.nome_percorso, stato.numero_treno), treno);
  RealFileSystem fs;
  const RisultatoCompilazione r =
      memorizza_percorso(stato, j, fs, {cartella.percorso(), cartella.percorso()});
  if (esito) *esito = r.esito;
  return stato;
}

/// Same with std::string texts, both scripts present.
inline StatoCompilazione compila(const std::string& linea, const std::string& treno, bool j = true,
                                 Esito* esito = nullptr) {
  return compila(linea.c_str(), treno.c_str(), j, esito);
}

/// Runs only the reader (`memorizza_dati`) on the two texts, without the
/// post-pass and fix-ups; `crea_linea` is `j`.
inline StatoCompilazione leggi(const std::string& linea, const std::string& treno, bool j = true) {
  CartellaTemporanea cartella;
  StatoCompilazione stato;
  stato.nome_percorso = kPercorsoProva;
  stato.numero_treno = kTrenoProva;
  stato.crea_linea = j;
  cartella.scrivi(nome_script_linea(stato.nome_percorso), linea);
  cartella.scrivi(nome_script_treno(stato.nome_percorso, stato.numero_treno), treno);
  RealFileSystem fs;
  memorizza_dati(stato, fs, cartella.percorso());
  return stato;
}

/// Runs only the reader on the scripts a test has written into `cartella`
/// (under `kPercorsoProva` / `kTrenoProva`); `crea_linea` is `j`. The folder
/// is left as the reader leaves it, so the test can see which scripts remain.
inline StatoCompilazione leggi_in(const CartellaTemporanea& cartella, bool j = true) {
  StatoCompilazione stato;
  stato.nome_percorso = kPercorsoProva;
  stato.numero_treno = kTrenoProva;
  stato.crea_linea = j;
  RealFileSystem fs;
  memorizza_dati(stato, fs, cartella.percorso());
  return stato;
}

/// The given lines, each followed by CR LF.
inline std::string righe(std::initializer_list<std::string> testi) {
  std::string s;
  for (const std::string& t : testi) s += t + "\r\n";
  return s;
}

}  // namespace scenario

#endif  // SCENARIO_COMPILER_COMPILE_FIXTURE_H_
