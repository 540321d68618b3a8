// One problem found in a scenario's scripts, as the authors' tools report
// it: where it is, how grave, what it is, and the other places it involves.
#ifndef SCENARIO_TOOLS_DIAGNOSTIC_H_
#define SCENARIO_TOOLS_DIAGNOSTIC_H_

#include <cstdint>
#include <string>
#include <vector>

namespace scenario {

/// How grave a diagnostic is: an error stops the compile where the format
/// says; a warning points at a likely mistake that compiles.
enum class Gravita : std::uint8_t { errore, avviso };

/// A second place a diagnostic involves (the record that already holds a
/// cell, the earlier station, ...).
struct Nota {
  std::string file;
  int riga = 0;          ///< from 1
  int colonna = 0;       ///< from 1, in bytes
  int colonna_fine = 0;  ///< column just past the field pointed at
  std::string messaggio;
  std::string sorgente;  ///< the bytes of line `riga`
};

/// One error or warning. Lines and columns count from 1; columns count
/// bytes. Messages and source lines are Windows-1252 like the scripts.
struct Diagnostica {
  std::string file;
  int riga = 0;
  int colonna = 0;
  int colonna_fine = 0;  ///< column just past the field pointed at
  Gravita gravita = Gravita::errore;
  std::int32_t codice = 0;  ///< the compile's code, for an error
  std::string nome;         ///< the warning's name, or the error code's short name
  std::string messaggio;
  std::string sorgente;  ///< the bytes of line `riga`
  std::vector<Nota> note;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DIAGNOSTIC_H_
