// What the language server asks about scripts: their problems, what a field
// is, which records can be written, what a script holds. The server deals
// with the protocol, the editor's texts and its positions; an analyser
// knows the script language.
//
// Positions are the analysis's own: lines from 1, columns as byte offsets
// from 1 into the line's bytes, as the texts were given.
#ifndef SCENARIO_TOOLS_LSP_ANALYZER_H_
#define SCENARIO_TOOLS_LSP_ANALYZER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scripts/script_outline.h"
#include "tools/diagnostic.h"

namespace scenario {

/// A place a problem points to besides its own: the record that already
/// holds the cell, the earlier station.
struct NotaProblema {
  std::string uri;  ///< one of the two scripts' URIs
  int riga = 1;
  int colonna = 0;  ///< 0 when the note is about the whole line
  std::string messaggio;
};

/// One problem of a script.
struct Problema {
  std::string uri;       ///< one of the two scripts' URIs
  int riga = 1;          ///< line of the problem (0 or past the end: the first line)
  int colonna = 0;       ///< first byte of the field; 0 for the whole line
  int colonna_fine = 0;  ///< byte after the field's last; 0 for the line's end
  Gravita gravita = Gravita::errore;
  std::int32_t codice = 0;  ///< the compiler's code of an error; 0 for a warning
  std::string nome;         ///< the warning's name, or the error code's short name
  std::string messaggio;
  std::vector<NotaProblema> note;
};

/// What hovering a place shows.
struct Descrizione {
  std::string testo;  ///< Markdown
  int colonna = 0;    ///< the span described; 0 and 0 for none
  int colonna_fine = 0;
};

/// One record keyword that can be written.
struct Proposta {
  std::string etichetta;       ///< the keyword, as it is inserted
  std::string dettaglio;       ///< one line: the record's fields
  std::string documentazione;  ///< Markdown, may be empty
};

/// The keywords that can be written at a place, and the span they replace.
struct Proposte {
  int colonna = 1;       ///< first byte replaced
  int colonna_fine = 1;  ///< byte after the last replaced
  std::vector<Proposta> voci;
};

/// The kind of a named place of a script.
enum class TipoSimbolo { stazione, segnale, cartello };

/// A named place of a script, for the editor's outline.
struct Simbolo {
  std::string nome;
  std::string dettaglio;  ///< the position in metres, for one
  TipoSimbolo tipo = TipoSimbolo::stazione;
  int riga = 1;
  int colonna = 1;  ///< the span of the record's line that names it
  int colonna_fine = 1;
};

/// The script language as the server needs it. Every call gets texts as
/// the editor holds them (or as they lie on disk) and must accept any bytes.
class Analizzatore {
 public:
  virtual ~Analizzatore() = default;

  /// Every problem of the line script checked with the train script.
  /// `uri_treno` and `testo_treno` are empty when the line script is
  /// checked alone; problems are reported against `uri_linea` or
  /// `uri_treno`, others are dropped.
  virtual std::vector<Problema> problemi(std::string_view testo_linea, std::string_view testo_treno,
                                         const std::string& uri_linea,
                                         const std::string& uri_treno) = 0;
  /// What the field at `riga`, `colonna` is; nothing when there is nothing
  /// to say.
  virtual std::optional<Descrizione> descrizione(std::string_view testo, TipoScript tipo, int riga,
                                                 int colonna) = 0;
  /// The record keywords that can be written at `riga`, `colonna`.
  virtual Proposte proposte(std::string_view testo, TipoScript tipo, int riga, int colonna) = 0;
  /// The stations, signals and boards of the script, in file order.
  virtual std::vector<Simbolo> simboli(std::string_view testo, TipoScript tipo) = 0;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_ANALYZER_H_
