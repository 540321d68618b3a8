// A compiled scenario as the dump and the drawing read it: what each entry
// of the parameter file is, the stations and slowdowns, where a cell lies
// on the route and what its profile values mean.
#ifndef SCENARIO_TOOLS_SCENARIO_VIEW_H_
#define SCENARIO_TOOLS_SCENARIO_VIEW_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "output/cell_file.h"
#include "output/line_file.h"
#include "output/parameter_file.h"

namespace scenario {

/// The three decoded files of one scenario.
struct ScenarioDecodificato {
  std::string nome_percorso;  ///< as given by the user, for titles
  std::string numero_treno;   ///< as given by the user, for titles
  bool con_linea = false;     ///< false when there is no line file
  TabellaLinea linea;
  Parametri parametri;
  std::vector<Cella> celle;
};

/// What an entry of the parameter file is used for.
enum class UsoVoce {
  inutilizzata,  ///< entry 0
  vuota,         ///< an entry from 1 to 80 that holds nothing
  stazione,
  cartello,  ///< the text of a sign board
  progressiva,
  treno,
  percorso,
  numero_treno,
};

/// True when a record holds no text and only zeros.
bool parametro_vuoto(const Parametro& p);

/// What entry `e` is used for. Entries 0 and 81 to 86 have a fixed use.
/// Entries 1 to 80 hold stations from the bottom and sign-board texts from
/// the top: a station always carries numbers (its position and extent,
/// without which the compile stops), a sign board only its text.
UsoVoce uso_voce(int e, const Parametro& p);

/// The English name of a use: "station", "sign board", "chainage", ...
const char* nome_uso(UsoVoce uso);

/// A station as the parameter file holds it.
struct Stazione {
  int voce;                ///< its entry
  std::int32_t inizio;     ///< start of its area, metres
  std::int32_t fine;       ///< end of its area, metres
  std::int32_t posizione;  ///< metres
  std::string nome;        ///< Windows-1252, as in the file
  std::int32_t orario;     ///< seconds after midnight
};

/// The stations among entries 1 to 80, in entry order.
std::vector<Stazione> stazioni_di(const Parametri& parametri);

/// Metres in a kilometre, for route positions shown in km.
inline constexpr std::int32_t kMetriKm = 1000;

/// Length of the route in metres, as entry 84 carries it.
std::int32_t lunghezza_percorso(const Parametri& parametri);

/// Metres of the route where the element in cell `cella` stands: the
/// placing rule puts an element at position p in cell p / 50 + 1.
std::int64_t metri_elemento(std::size_t cella);

/// Metres where the profile values of cell `cella` start: they hold from
/// `cella` × 50 to (`cella` + 1) × 50.
std::int64_t inizio_cella(std::size_t cella);

/// The speed limit a cell holds, km/h.
std::int32_t velocita_kmh(const Cella& c);

/// The gradient a cell holds, per mille (positive uphill).
std::int32_t pendenza_per_mille(const Cella& c);

/// One slowdown: from the cell of its start to the cell of its end.
struct Rallentamento {
  std::int64_t da;        ///< metres
  std::int64_t a;         ///< metres
  std::int32_t velocita;  ///< km/h
};

/// The slowdowns, each start paired with the end that follows it.
std::vector<Rallentamento> rallentamenti_di(const std::vector<Cella>& celle);

/// How many elements of each kind the cells hold.
struct ConteggioElementi {
  std::int64_t segnali = 0;
  std::int64_t rallentamenti = 0;  ///< slowdown starts
  std::int64_t cartelli = 0;       ///< sign boards
  std::int64_t tabelle = 0;        ///< pairs of maximum-speed boards
  std::int64_t codici = 0;         ///< code cells, with or without value
};

/// Counts the elements of `celle`.
ConteggioElementi conta_elementi(const std::vector<Cella>& celle);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_SCENARIO_VIEW_H_
