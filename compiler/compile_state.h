// The compile state: everything the script reader fills, the post-pass
// completes and the writer puts on disk.
#ifndef SCENARIO_COMPILER_COMPILE_STATE_H_
#define SCENARIO_COMPILER_COMPILE_STATE_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "compiler/zeroed_block.h"

namespace scenario {

/// Element codes held in `Cella::tipo`.
namespace tipo_cella {
constexpr std::uint8_t vuota = 0;
constexpr std::uint8_t segnale = 1;
constexpr std::uint8_t fine_rallentamento = 2;
constexpr std::uint8_t inizio_rallentamento = 3;
constexpr std::uint8_t avviso_rallentamento = 4;
constexpr std::uint8_t prima_dell_avviso = 5;
constexpr std::uint8_t indicatori_v_max = 6;
constexpr std::uint8_t fine_stazione = 10;
constexpr std::uint8_t marcatore_montagna = 11;
constexpr std::uint8_t codice = 12;
constexpr std::uint8_t codice_senza_valore = 13;
constexpr std::uint8_t cartello = 14;
}  // namespace tipo_cella

/// One 50 m cell of the route, in the field order of the cell file.
struct Cella {
  std::uint8_t tipo = 0;
  std::int16_t dato1 = 0;
  std::int16_t dato2 = 0;
  std::int16_t dato3 = 0;
  std::int16_t dato4 = 0;
  std::uint8_t tempo = 0;
  std::uint8_t avvicinamento = 0;
  std::uint8_t montagna = 0;
  std::uint8_t velocita = 0;
  std::uint8_t pendenza = 0;
  std::uint8_t aderenza = 0;
};

/// True when a new element may be placed on the cell: it is empty or holds
/// only a mountain marker.
inline bool libera(const Cella& c) {
  return c.tipo == tipo_cella::vuota || c.tipo == tipo_cella::marcatore_montagna;
}

/// One parameter record: a station, a sign-board text or a scenario-wide
/// entry, in the field order of the parameter file.
struct Parametro {
  std::uint8_t tipo = 0;
  std::int32_t inizio = 0;
  std::int32_t fine = 0;
  std::int32_t posizione = 0;
  std::uint8_t opzione = 0;
  std::string nome;
  std::int16_t valore1 = 0;
  std::int16_t valore2 = 0;
  std::int16_t valore3 = 0;
  std::int16_t valore4 = 0;
  std::int16_t valore5 = 0;
  std::uint8_t flag1 = 0;
  std::uint8_t flag2 = 0;
  std::uint8_t flag3 = 0;
  std::uint8_t flag4 = 0;
  std::int32_t orario = 0;
};

/// Entries of `parametri` with a fixed use.
namespace voce {
constexpr int numero_voci = 87;
constexpr int ultimo_cartello = 80;  ///< sign-board texts count down from here
constexpr int progressiva_tre = 81;
constexpr int progressiva_due = 82;
constexpr int progressiva_uno = 83;
constexpr int treno = 84;
constexpr int percorso = 85;
constexpr int ripetizione = 86;
}  // namespace voce

/// Kind of a line-geometry element; the value is the tag written to disk.
enum class TipoVariante : std::uint8_t { vuoto = 0, intero = 2, doppio = 5 };

/// The plan geometry of the track: for every metre, two coordinates, each
/// empty, a 16-bit integer or a double.
///
/// Every element is kept in a fixed slot of `kSlot` bytes holding it as it
/// stands in the line file: the little-endian 16-bit tag, then the value
/// (2 bytes for an integer, 8 for a double). The line file is then the first
/// 2, 4 or 10 bytes of each slot in turn, so it can be written straight from
/// the table without a copy.
class TabellaLinea {
 public:
  /// Bytes of one element slot: the tag and room for a double.
  static constexpr std::size_t kSlot = 10;

  /// Dimensions rows 0 to `ultima_riga`, every element empty.
  void dimensiona(std::int32_t ultima_riga);
  /// True once `dimensiona` has been called.
  bool dimensionata() const { return !slot_[0].empty(); }
  /// Upper bound of the row index (-1 when not dimensioned).
  std::int32_t ultima_riga() const {
    return static_cast<std::int32_t>(slot_[0].size() / kSlot) - 1;
  }
  /// Kind of element (riga, colonna).
  TipoVariante tipo(std::int32_t riga, int colonna) const {
    return static_cast<TipoVariante>(slot(riga, colonna)[0]);
  }
  /// Value of element (riga, colonna); 0 when empty.
  double valore(std::int32_t riga, int colonna) const;
  /// Stores a 16-bit integer in element (riga, colonna).
  void imposta_intero(std::int32_t riga, int colonna, std::int16_t v);
  /// Stores a double in element (riga, colonna).
  void imposta_doppio(std::int32_t riga, int colonna, double v) {
    unsigned char* p = slot(riga, colonna);
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    p[0] = static_cast<unsigned char>(TipoVariante::doppio);
    p[1] = 0;
    for (int b = 0; b < 8; ++b) p[2 + b] = static_cast<unsigned char>((u >> (8 * b)) & 0xFF);
  }
  /// The slot of element (riga, colonna).
  const unsigned char* slot(std::int32_t riga, int colonna) const {
    return slot_[colonna].data() + static_cast<std::size_t>(riga) * kSlot;
  }

 private:
  unsigned char* slot(std::int32_t riga, int colonna) {
    return slot_[colonna].data() + static_cast<std::size_t>(riga) * kSlot;
  }

  BloccoAzzerato slot_[2];
};

/// Which part of the compile recorded a code, for diagnostics.
enum class Sorgente : std::uint8_t { nessuna, script_linea, script_treno, post_pass };

/// One recorded code with where it was found; the compile itself only
/// keeps the last code, this list serves the authors' diagnostics.
struct Diagnosi {
  std::int32_t codice = 0;
  bool con_posizione = false;
  std::int32_t posizione = 0;
  Sorgente sorgente = Sorgente::nessuna;
  int riga = 0;  ///< line of the script record (0 when none)
};

/// The whole compile state, owned by the run.
struct StatoCompilazione {
  std::string nome_percorso;
  std::string numero_treno;
  /// The script field most recently read.
  std::string riga;

  /// Cells 0 to `numero_celle`; empty until the route length has been read.
  std::vector<Cella> celle;
  std::array<Parametro, voce::numero_voci> parametri;
  TabellaLinea tabella_linea;

  std::array<std::int32_t, 81> montagna_inizio{};
  std::array<std::int32_t, 81> montagna_fine{};
  std::int32_t conta_montagne = 0;

  std::int32_t crea_linea = 0;
  std::int32_t lunghezza_tabella = 0;
  std::int32_t numero_celle = 0;

  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = 0;

  // Reporting only: where the reader is, what it stored, what it recorded.
  Sorgente sorgente_corrente = Sorgente::nessuna;
  int riga_corrente = 0;  ///< line of the record being read
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
/// Sets `posizione_errore` for the code recorded last (used after an encoder
/// has recorded its own code).
void imposta_posizione_errore(StatoCompilazione& stato, std::int32_t posizione);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_COMPILE_STATE_H_
