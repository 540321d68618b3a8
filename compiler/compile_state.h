// The compile state: everything the script reader fills, the post-pass
// completes and the writer puts on disk.
#ifndef SCENARIO_COMPILER_COMPILE_STATE_H_
#define SCENARIO_COMPILER_COMPILE_STATE_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "output/cell_file.h"
#include "output/line_file.h"
#include "output/parameter_file.h"

namespace scenario {

/// True when a new element may be placed on the cell: it is empty or holds
/// only a mountain marker.
inline bool libera(const Cella& c) {
  return c.tipo == tipo_cella::vuota || c.tipo == tipo_cella::marcatore_montagna;
}

/// Mountain sections the compile state holds.
inline constexpr std::int32_t kMassimoMontagne = 80;

/// Which part of the compile recorded a code, for diagnostics.
enum class Sorgente : std::uint8_t { nessuna, script_linea, script_treno, post_pass };

/// One recorded code with where it was found; the compile itself only
/// keeps the last code, this list serves the authors' diagnostics.
struct Diagnosi {
  std::int32_t codice = 0;
  bool con_posizione = false;
  std::int32_t posizione = 0;
  Sorgente sorgente = Sorgente::nessuna;
  int riga = 0;           ///< line of the script record (0 when none)
  std::size_t campo = 0;  ///< byte offset of the record's keyword field in its script
  /// The cells concerned: for a collision the cell found taken; for a
  /// post-pass code the cell of the element it concerns (signal or slowdown
  /// start), the cell of the element that asked for the code (warning board
  /// or slowdown start), then the candidate cells found taken, in the order
  /// tried.
  std::vector<std::int64_t> celle;
};

/// The record that placed the element a cell holds, for diagnostics.
struct Origine {
  Sorgente sorgente = Sorgente::nessuna;  ///< `nessuna`: no element placed
  int riga = 0;                           ///< line of the record's keyword field
  std::size_t campo = 0;                  ///< byte offset of that field
};

/// The whole compile state, owned by the run.
struct StatoCompilazione {
  std::string nome_percorso;
  std::string numero_treno;
  /// The script field most recently read.
  std::string riga;

  /// Cells 0 to `numero_celle`; empty until the route length has been read.
  std::vector<Cella> celle;
  Parametri parametri;
  TabellaLinea tabella_linea;

  /// Mountain sections from index 1 up to `conta_montagne`; index 0 unused.
  std::array<std::int32_t, kMassimoMontagne + 1> montagna_inizio{};
  std::array<std::int32_t, kMassimoMontagne + 1> montagna_fine{};
  std::int32_t conta_montagne = 0;

  std::int32_t crea_linea = 0;
  std::int32_t lunghezza_tabella = 0;
  std::int32_t numero_celle = 0;

  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = 0;

  // Reporting only: where the reader is, what it stored, what it recorded.
  Sorgente sorgente_corrente = Sorgente::nessuna;
  int riga_corrente = 0;           ///< line of the record being read
  std::size_t campo_corrente = 0;  ///< byte offset of its keyword field
  /// Per cell, the record that placed its element (sized with `celle` on
  /// the first mark).
  std::vector<Origine> origine_celle;
  std::int32_t numero_stazioni = 0;
  std::int32_t numero_cartelli = 0;
  std::vector<Diagnosi> diagnosi;

  /// True once the cell array has been dimensioned.
  bool celle_dimensionate() const { return !celle.empty(); }
};

/// Records `codice` in `codice_errore` (position left as it is).
void registra_codice(StatoCompilazione& stato, std::int32_t codice);
/// Records `codice` together with `posizione` in `posizione_errore`.
void registra_codice(StatoCompilazione& stato, std::int32_t codice, std::int32_t posizione);
/// Notes that the record being read placed the element of cell `cella`.
void segna_origine(StatoCompilazione& stato, std::int64_t cella);
/// Notes that the element of cell `cella` comes from `origine`.
void segna_origine(StatoCompilazione& stato, std::int64_t cella, const Origine& origine);
/// The record that placed the element of cell `cella` (`nessuna` when
/// unknown).
Origine origine_di(const StatoCompilazione& stato, std::int64_t cella);
/// Adds `cella` to the cells of the code recorded last.
void segna_cella_diagnosi(StatoCompilazione& stato, std::int64_t cella);

/// Sets `posizione_errore` for the code recorded last (used after an encoder
/// has recorded its own code).
void imposta_posizione_errore(StatoCompilazione& stato, std::int32_t posizione);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_COMPILE_STATE_H_
