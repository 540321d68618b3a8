// The built-in scenario's line script and train script, kept as data: one
// source line per script line.
#ifndef SCENARIO_SCRIPTS_BUILTIN_SCRIPTS_H_
#define SCENARIO_SCRIPTS_BUILTIN_SCRIPTS_H_

#include <array>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace scenario {

/// The built-in route identifier.
inline constexpr const char* kNomePercorso = "Zembrastina_Dervo";
/// The built-in train number.
inline constexpr const char* kNumeroTreno = "47716";

/// The 157 lines of the built-in line script.
extern const std::array<std::string_view, 157> kScriptLinea;
/// The 53 lines of the built-in train script.
extern const std::array<std::string_view, 53> kScriptTreno;

/// Writes the built-in line script as "ROUTE_linea.txt" in `cartella`.
bool dati_linea(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
                std::string* err);
/// Writes the built-in train script as "ROUTE_TRAIN-.txt" in `cartella`.
bool dati_treno(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
                const std::string& numero_treno, std::string* err);

}  // namespace scenario

#endif  // SCENARIO_SCRIPTS_BUILTIN_SCRIPTS_H_
