// Line and train scripts of any length with records packed as densely as a
// real route carries them, for measuring how the compile scales.
#ifndef SCENARIO_BENCH_DENSE_SCRIPTS_H_
#define SCENARIO_BENCH_DENSE_SCRIPTS_H_

#include <cstdint>
#include <string>

namespace scenario {

/// The two script texts of one generated scenario.
struct ScriptDensi {
  std::string linea;  ///< the line script, CR LF line ends
  std::string treno;  ///< the train script, CR LF line ends
};

/// Scripts of a route `lunghezza` metres long (at most 1000000). Every whole
/// kilometre carries a gradient every 50 m, two curves, a pair of
/// maximum-speed boards, a line speed and two signals; adhesion changes
/// every 10 km and a slowdown stands every 50 km; up to 80 mountain
/// sections, 40 indicator boards and 30 stations are spread over the route.
/// The records are laid out so that none collides with another: a compile
/// of them records no error.
ScriptDensi script_densi(std::int32_t lunghezza);

}  // namespace scenario

#endif  // SCENARIO_BENCH_DENSE_SCRIPTS_H_
