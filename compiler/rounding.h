// Rounding and the narrow stores of the compiler.
#ifndef SCENARIO_COMPILER_ROUNDING_H_
#define SCENARIO_COMPILER_ROUNDING_H_

#include <cmath>
#include <cstdint>

#include "output/cell_file.h"

namespace scenario {

/// `v` rounded to the nearest whole number, an exact half going to the even
/// neighbour. Every value the compiler rounds is far inside the 64-bit range.
inline std::int64_t arrotonda(double v) {
  return static_cast<std::int64_t>(std::nearbyint(v));
}

/// A route position counted in cells, unrounded: `posizione` / 50 +
/// `scarto`.
inline double in_celle(std::int64_t posizione, double scarto) {
  return static_cast<double>(posizione) / kMetriCella + scarto;
}

/// Cell index of a route position: round(`posizione` / 50 + `scarto`).
inline std::int64_t cella_di(std::int64_t posizione, double scarto) {
  return arrotonda(in_celle(posizione, scarto));
}

/// The low 16 bits of `v`, as a signed 16-bit value.
inline std::int16_t bassi16(std::int64_t v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
}

/// The low 8 bits of `v`.
inline std::uint8_t bassi8(std::int64_t v) {
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(v));
}

/// True when `v` fits a signed 32-bit field.
inline bool entra_in_long(std::int64_t v) {
  return v >= INT32_MIN && v <= INT32_MAX;
}

/// Stores `v` in `*campo` when it fits a signed 32-bit field; false, with
/// `*campo` untouched, when it does not.
inline bool assegna_long(std::int32_t* campo, std::int64_t v) {
  if (!entra_in_long(v)) return false;
  *campo = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace scenario

#endif  // SCENARIO_COMPILER_ROUNDING_H_
