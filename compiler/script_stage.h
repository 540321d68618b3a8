// What the line and train stages of the script reader share: the script
// held in memory, its fields, and the ways a stage stops.
#ifndef SCENARIO_COMPILER_SCRIPT_STAGE_H_
#define SCENARIO_COMPILER_SCRIPT_STAGE_H_

#include <cstdint>
#include <string>

#include "base/file_system.h"
#include "compiler/compile_state.h"
#include "scripts/field_reader.h"

namespace scenario {

/// Base of the two reader stages.
class StadioScript {
 protected:
  /// How reading one record or group of records ended.
  enum class Passo {
    avanti,     ///< go on with the next test or record
    fine_file,  ///< the end of the script was reached
    arresto,    ///< code 15: stop reading, finish the stage
    uscita,     ///< a coded fault: the script is deleted, the reading ends
    fallimento  ///< a read failure: the caller records 25
  };

  StadioScript(StatoCompilazione& stato, FileSystem& fs, std::string percorso, std::string testo)
      : stato_(stato),
        fs_(fs),
        percorso_(std::move(percorso)),
        testo_(std::move(testo)),
        campi_(testo_) {}
  StadioScript(const StadioScript&) = delete;
  StadioScript& operator=(const StadioScript&) = delete;

  /// Reads the next keyword field into `riga`, noting its line.
  bool leggi_chiave();
  /// Reads the keyword field of the next record into `riga`, taking up to
  /// `commenti` fields that hold "-" as comments and reading past them.
  /// `fine_file` when the script ends before or with that field (a last
  /// field is never interpreted), `fallimento` when a field cannot be read.
  Passo prossimo_record(int commenti);
  /// Deletes the script; false when that fails.
  bool elimina_script();
  /// Deletes the script and records `codice` (with `posizione`): the
  /// reading ends.
  Passo esci(std::int32_t codice);
  Passo esci(std::int32_t codice, std::int32_t posizione);
  /// Records code 15 for a record at `p`: the stage stops reading.
  Passo fuori(std::int32_t p);

  StatoCompilazione& stato_;
  FileSystem& fs_;
  const std::string percorso_;
  const std::string testo_;
  FieldReader campi_;
};

}  // namespace scenario

#endif  // SCENARIO_COMPILER_SCRIPT_STAGE_H_
