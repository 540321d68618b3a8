// The line file: the plan geometry of the track, two coordinates for every
// metre, each a tagged element of varying size.
#ifndef SCENARIO_OUTPUT_LINE_FILE_H_
#define SCENARIO_OUTPUT_LINE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/zeroed_block.h"
#include "output/little_endian.h"

namespace scenario {

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
  /// Stores the doubles that stand back to back in `elementi`, each as the
  /// line file holds it (tag 5 and 8 value bytes, the very layout of a
  /// slot), in column `colonna` from row `riga` on. The rows must exist.
  void copia_doppi(std::int32_t riga, int colonna, std::string_view elementi) {
    std::memcpy(slot(riga, colonna), elementi.data(), elementi.size());
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

/// Bytes of an element of the given kind in the line file: the 2-byte tag
/// and its value.
std::size_t dimensione_elemento(TipoVariante tipo);

/// Bytes of the line file: coordinate 0 for every metre, then coordinate 1;
/// each element a 16-bit tag (0 empty, 2 Integer, 5 Double) and its value.
std::string serializza_linea(const TabellaLinea& tabella);
/// The same bytes as ranges to be written one after the other: mostly views
/// of the table's own slots (runs of doubles are one range each); when the
/// geometry has too many gaps for that, one range of `*riserva`, which then
/// holds the whole file.
std::vector<std::string_view> parti_linea(const TabellaLinea& tabella, std::string* riserva);

/// Decodes a line file: 2 × (L + 1) tagged elements, coordinate 0 for
/// metres 0 to L, then coordinate 1. `*linea` is dimensioned to L.
bool decodifica_linea(std::string_view bytes, TabellaLinea* linea, ErroreDecodifica* err);

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_LINE_FILE_H_
