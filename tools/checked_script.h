// A script under check: its name as the author sees it, its bytes, its
// outline, and the diagnostics that point into it.
#ifndef SCENARIO_TOOLS_CHECKED_SCRIPT_H_
#define SCENARIO_TOOLS_CHECKED_SCRIPT_H_

#include <cstddef>
#include <string>

#include "scripts/script_outline.h"
#include "tools/diagnostic.h"

namespace scenario {

/// One script with its outline.
struct ScriptControllato {
  ScriptControllato(TipoScript tipo, std::string file, std::string testo);

  TipoScript tipo;
  std::string file;   ///< the name diagnostics give it
  std::string testo;  ///< its bytes
  ScriptOutline schema;

  /// The record whose keyword field starts at byte `inizio`; null when
  /// there is none.
  const RecordScript* record_a(std::size_t inizio) const;
  /// A diagnostic under field `c`.
  Diagnostica al_campo(const CampoScript& c, Gravita gravita, std::string messaggio) const;
  /// A diagnostic just past the last byte of line `riga` (where a missing
  /// field would go).
  Diagnostica a_fine_riga(int riga, Gravita gravita, std::string messaggio) const;
  /// A note under field `c`.
  Nota nota(const CampoScript& c, std::string messaggio) const;
};

/// True when record `r` is read as a record of kind `tipo`.
bool e_di(const RecordScript& r, TipoRecord tipo);
/// Value field `i` of kind `tipo` among the fields of `r`, which may be
/// read as several kinds; null when the record has no such field.
const CampoScript* campo(const RecordScript& r, TipoRecord tipo, std::size_t i);
/// Number of value fields all the kinds of `r` take.
std::size_t campi_attesi(const RecordScript& r);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CHECKED_SCRIPT_H_
