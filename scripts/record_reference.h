// The reference of the script language: every record of the line and train
// scripts, in the order the readers test their keywords, with its fields in
// order (name, unit, width, range) and what the compiler makes of each value
// on its way into the files. `scenario_tool explain RECORD`, the language
// document and the authors' diagnostics all read these tables.
#ifndef SCENARIO_SCRIPTS_RECORD_REFERENCE_H_
#define SCENARIO_SCRIPTS_RECORD_REFERENCE_H_

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scripts/keywords.h"
#include "scripts/script_outline.h"

namespace scenario {

/// Which script, and which part of it, holds a record.
enum class Sezione : std::uint8_t {
  generale_linea,  ///< the general section of the line script
  corpo_linea,     ///< the body of the line script
  treno,           ///< the train script (after "[generale]")
};

/// How wide the reader takes a field; a value outside it is a read failure
/// (code 25).
enum class Larghezza : std::uint8_t { long32, intero16, byte8, testo };

/// The unit of a field's value.
enum class Unita : std::uint8_t {
  nessuna,
  metri,
  km_h,
  per_mille,
  per_cento,
  vetture,
  ore,
  minuti,
  secondi,
};

/// What bounds a field's value from above besides `massimo`.
enum class Limite : std::uint8_t {
  fisso,          ///< `massimo` alone
  celle,          ///< a position: p + 100 <= 50 x the cell count (code 15)
  celle_stazione  ///< a station position: p + 800 <= 50 x the cell count (code 15)
};

/// How a field's value reaches the files.
enum class Regola : std::uint8_t {
  formula,              ///< `destinazione` = the formula, narrowed by `riduzione`
  cella,                ///< a position: the formula names the cell of the element
  tempo_segnale,        ///< a signal's time: 1 to 100 become 101, kept only when `sx` is 2
  tipo_montagna,        ///< a mountain type: less 10 when above 10, low 8 bits
  valore_abbattimento,  ///< a code value: low 16 bits when 1 or more, else no value
  testo,                ///< a text, stored as read
  nessuna,              ///< no value of its own (see `effetto`)
};

/// How the result of a formula is narrowed into its stored field.
enum class Riduzione : std::uint8_t {
  nessuna,             ///< kept whole
  long_controllato,    ///< must fit 32 bits, else a read failure (code 25)
  intero_controllato,  ///< must fit 16 bits, else a read failure (code 25)
  byte_controllato,    ///< must lie in 0 to 255, else a read failure (code 25)
  bassi16,             ///< its low 16 bits, with no test
  bassi8,              ///< its low 8 bits, with no test
};

/// One term of a formula: `per` times the value of field `campo` (0-based;
/// -1 for an unused term).
struct Termine {
  std::int8_t campo = -1;
  std::int32_t per = 0;
};

/// round((sum of the terms + `prima`) / `diviso` + `dopo`), rounding halves to
/// the even neighbour as the compiler does; no rounding when `diviso` is 1.
struct Formula {
  std::array<Termine, 3> termini{};
  std::int32_t prima = 0;
  std::int32_t diviso = 1;
  std::int32_t dopo = 0;
};

/// One field of a record.
struct CampoRecord {
  std::string_view nome{};    ///< the field's name, as the documents write it
  std::string_view titolo{};  ///< what the value is, in a few words
  Unita unita = Unita::nessuna;
  Larghezza larghezza = Larghezza::long32;
  /// The values that reach the files as meant, within the width.
  std::int64_t minimo = std::numeric_limits<std::int64_t>::min();
  std::int64_t massimo = std::numeric_limits<std::int64_t>::max();
  Limite limite = Limite::fisso;
  /// Code the compile records for a value outside `minimo`..`massimo` or the
  /// limit; 0 when nothing tests it (the value goes in as the rule makes it).
  std::int32_t codice_intervallo = 0;
  /// The value is meant to be a multiple of this (0: no such rule).
  std::int32_t multiplo = 0;
  /// Code the compile records for a value that is not such a multiple; 0
  /// when nothing tests it.
  std::int32_t codice_multiplo = 0;
  /// Further words on the range (a combined word that must fit, a text
  /// without commas), or empty.
  std::string_view nota_intervallo{};
  Regola regola = Regola::formula;
  Formula formula{};
  Riduzione riduzione = Riduzione::nessuna;
  /// Where the value goes ("parameter entry 84 `fine`", "`dato1` of the
  /// signal's cell"); empty for a cell.
  std::string_view destinazione{};
  /// What the value does, beyond where it is stored.
  std::string_view effetto{};
};

/// One record of a script.
struct RecordRiferimento {
  Sezione sezione;
  /// Index of the record in its section's keyword table (kTabellaGenerale,
  /// kTabellaLinea or kTabellaTreno): its place in the test order.
  std::uint8_t ordine;
  std::string_view nome;    ///< the keyword as the built-in scripts write it
  std::string_view titolo;  ///< what the record is, in a few words
  /// Rules of the keyword beyond its test, or empty.
  std::string_view nota_chiave;
  std::string_view esempio;  ///< one line as an author writes it
  std::string_view effetto;  ///< what the record does as a whole
  std::span<const CampoRecord> campi;
};

/// What a value becomes in the files.
struct ValoreMemorizzato {
  bool presente = false;  ///< false when the field stores no number of its own
  std::int64_t valore = 0;
  bool esatto = true;     ///< false when rounding or narrowing changed the value
  bool fallisce = false;  ///< true when the value cannot be stored: code 25
};

/// A paragraph of the rules every script follows.
struct NotaLinguaggio {
  std::string_view titolo;
  std::string_view testo;
};

/// Every record: the line script's general section, its body, then the
/// train script, each in the order of its keyword table.
std::span<const RecordRiferimento> riferimento_record();

/// The entry of one record.
const RecordRiferimento& riferimento(RecordGenerale record);
const RecordRiferimento& riferimento(RecordLinea record);
const RecordRiferimento& riferimento(RecordTreno record);
/// The entry of a record kind of the script outline.
const RecordRiferimento& riferimento(TipoRecord tipo);

/// The keyword test of a record, from its section's keyword table.
ParolaChiave parola_chiave(const RecordRiferimento& record);

/// The records whose keyword test `campo` passes, in test order: the
/// general section's, the body's (the curve included), then the train's.
/// A keyword field with "-" is a comment and passes none.
std::vector<const RecordRiferimento*> record_per_chiave(std::string_view campo);

/// The field of `record` named `nome`, or null.
const CampoRecord* campo_per_nome(const RecordRiferimento& record, std::string_view nome);

/// The rules shared by both scripts: lexical rules, keyword tests, comment
/// lines, the file structure.
std::span<const NotaLinguaggio> note_linguaggio();

/// "line script, general section", "line script, body", "train script".
std::string_view nome_sezione(Sezione sezione);
/// "m", "km/h", "per mille", ...; empty for no unit.
std::string_view nome_unita(Unita unita);
/// "32-bit", "16-bit", "Byte", "text".
std::string_view nome_larghezza(Larghezza larghezza);

/// How the keyword is recognised, e.g. `contains "percorso" and "lunghezza",
/// any case`, followed by the record's own keyword rules.
std::string testo_chiave(const RecordRiferimento& record);
/// The accepted range in words, with the codes that guard it, e.g. "0 to
/// 1000000 (code 1)" or "a multiple of 50 (code 8)".
std::string testo_intervallo(const CampoRecord& campo);
/// How the value is stored, with field names: "cell round(`posizione` / 50
/// + 1)", "`dato1` of the signal's cell = 10 × `s1` + `d1`, low 16 bits".
std::string testo_regola(const RecordRiferimento& record, const CampoRecord& campo);

/// The largest value the field accepts on a route of `numero_celle` cells
/// (its `massimo` unless a position limit is lower).
std::int64_t massimo_per(const CampoRecord& campo, std::int32_t numero_celle);

/// What field `k` of `record` stores, given the values of all the record's
/// fields in order (0 for a text field); not present when `valori` is too
/// short or the field stores nothing of its own.
ValoreMemorizzato valore_memorizzato(const RecordRiferimento& record, std::size_t k,
                                     std::span<const std::int64_t> valori);

/// The stored value in words, for a hover: "cell 1349 = round(67400 / 50 +
/// 1)", "27 = round(135 / 5), in `velocita` of the cells up to the next
/// speed record"; empty when the field stores nothing of its own.
std::string testo_memorizzato(const RecordRiferimento& record, std::size_t k,
                              std::span<const std::int64_t> valori);

}  // namespace scenario

#endif  // SCENARIO_SCRIPTS_RECORD_REFERENCE_H_
