// The rules of the station record: how a station's extent, flags and cell
// marks follow from its position, length and type. The reader applies them;
// the authors' tool reverses them.
#ifndef SCENARIO_COMPILER_STATION_RULES_H_
#define SCENARIO_COMPILER_STATION_RULES_H_

#include <cstdint>

namespace scenario {

/// Station lengths are multiples of this, in metres.
inline constexpr std::int32_t kPassoLunghezza = 100;
/// Where a station of types 5 and 6 ends, in metres beyond its position.
inline constexpr std::int32_t kFineOltrePosizione = 150;
/// How far a non-zero `flag3` moves an ordinary station's end, in metres.
inline constexpr std::int32_t kAllungamentoFlag3 = 50;
/// Shortest station, in metres, that keeps its `flag4`.
inline constexpr std::int32_t kLunghezzaFlag4 = 600;
/// Least distance, in metres, from the end of a station to the start of the
/// next.
inline constexpr std::int32_t kDistanzaStazioni = 350;
/// Cells before the end mark that get an approach mark.
inline constexpr int kSegniAvvicinamento = 4;
/// First station type without cell marks.
inline constexpr std::uint8_t kPrimoTipoSenzaSegni = 25;

/// Types 5 and 6: the end a fixed distance beyond the position, the start a
/// whole length before it, no approach marks.
inline bool fine_fissa(std::uint8_t tipo) {
  return tipo == 5 || tipo == 6;
}

/// Types 7 and 8: a whole length on both sides of the position.
inline bool lunghezza_per_lato(std::uint8_t tipo) {
  return tipo == 7 || tipo == 8;
}

/// Ordinary stations (types below 25) get an end mark and, unless their end
/// is fixed, approach marks.
inline bool ordinaria(std::uint8_t tipo) {
  return tipo < kPrimoTipoSenzaSegni;
}

}  // namespace scenario

#endif  // SCENARIO_COMPILER_STATION_RULES_H_
