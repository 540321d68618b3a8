// A script cut into records as its author sees them: each keyword field and
// the value fields read with it, with their lines and columns, and the
// record kinds the reader takes the keyword for.
#ifndef SCENARIO_SCRIPTS_SCRIPT_OUTLINE_H_
#define SCENARIO_SCRIPTS_SCRIPT_OUTLINE_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// The two scripts.
enum class TipoScript : std::uint8_t { linea, treno };

/// Every record of both scripts.
enum class TipoRecord : std::uint8_t {
  // Line script, general section.
  lunghezza,
  progressiva_tre,
  progressiva_due,
  progressiva_uno,
  sfondo_uno,
  sfondo_due,
  sfondo_tre,
  ripetizione,
  // Line script, body.
  pendenza,
  curva,
  montagna,
  indicatori_v_max,
  cartello,
  // Train script.
  massa_frenata,
  vetture,
  velocita,
  aderenza,
  orologio,
  sabbia,
  segnale,
  rallentamento,
  abbattimento,
  stazione,
};

/// How the reader reads one value field.
enum class Lettura : std::uint8_t {
  long32,    ///< signed 32-bit number
  intero16,  ///< signed 16-bit number
  byte8,     ///< unsigned 8-bit number
  testo,     ///< text up to the next comma or line end
};

/// The value fields of record `tipo`, in the order the reader reads them.
std::span<const Lettura> campi_di(TipoRecord tipo);

/// Part of the line script a keyword field stands in (the train script is
/// all body).
enum class ParteScript : std::uint8_t { generale, corpo };

/// What the reader finds wrong with a record's fields.
enum class Difetto : std::uint8_t {
  nessuno,
  mancante,      ///< the field is not on the record's line(s): the script ends, or the
                 ///< line that would lend it starts with something the field cannot take
  non_numero,    ///< a whole number was expected
  fuori_misura,  ///< a whole number too large or small for the field
  testo_lungo,   ///< a text longer than the reader accepts
};

/// One field as it stands in the script. Columns count bytes from 1.
struct CampoScript {
  std::string testo;        ///< the field's bytes, without the blanks around it
  std::size_t inizio = 0;   ///< byte offset in the script
  int riga = 0;             ///< line, from 1
  int colonna = 0;          ///< column, from 1, in bytes
  std::int64_t numero = 0;  ///< the value, for a numeric field read without fault
};

/// One keyword field with the value fields read after it.
struct RecordScript {
  CampoScript chiave;
  ParteScript sezione = ParteScript::corpo;
  bool commento = false;      ///< skipped as a comment (holds "-")
  bool intestazione = false;  ///< ends the general section ("[...]")
  bool a_capo = true;         ///< the first field of its line
  /// The records the keyword passes the tests of, in test order; empty
  /// when it matches none.
  std::vector<TipoRecord> tipi;
  /// The value fields of every matching record, in order, up to and
  /// including a faulty one.
  std::vector<CampoScript> valori;
  Difetto difetto = Difetto::nessuno;
  /// Index of the faulty field among those the records take (for
  /// `mancante`, the first field missing).
  std::size_t campo_difettoso = 0;
  int ultima_riga = 0;  ///< last line holding one of the record's fields
};

/// A whole script cut into records.
struct ScriptOutline {
  TipoScript tipo = TipoScript::linea;
  /// Line of the "[generale]" field that opens the script; 0 when the
  /// reader finds none.
  int riga_generale = 0;
  /// Every keyword field after "[generale]", comments and headers
  /// included, in the order read; a keyword field that ends the script is
  /// not read as one and is not here.
  std::vector<RecordScript> record;
  /// Byte offset where each line starts (entry 0 is line 1).
  std::vector<std::size_t> inizi_riga;

  /// Number of lines.
  int righe() const { return static_cast<int>(inizi_riga.size()); }
  /// The bytes of line `riga` of `testo`, without its line end.
  std::string_view riga(std::string_view testo, int riga) const;
  /// Column (from 1) of byte offset `inizio`, which lies on line `riga`.
  int colonna(std::size_t inizio, int riga) const;
};

/// Cuts `testo` into records by the reader's rules: the preamble up to
/// "[generale]", the line script's general section and body (the curve
/// test only with `con_curve`), comments, the keyword tests in table order
/// and each record's value fields. Where the reader would fail on a field,
/// the record keeps the fault and the cutting goes on at the next line, as
/// if the record were not there.
ScriptOutline MakeOutline(std::string_view testo, TipoScript tipo, bool con_curve = true);

}  // namespace scenario

#endif  // SCENARIO_SCRIPTS_SCRIPT_OUTLINE_H_
