// The cell file: the route in 50 m cells, one 15-byte record per cell.
#ifndef SCENARIO_OUTPUT_CELL_FILE_H_
#define SCENARIO_OUTPUT_CELL_FILE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/little_endian.h"
#include "output/record_fields.h"

namespace scenario {

/// Length of the route one cell stands for, in metres.
inline constexpr std::int32_t kMetriCella = 50;

/// The route position of cell `cella` for an element placed `scarto` cells
/// on from its position: (`cella` - `scarto`) x 50. With `scarto` 0 it is
/// where the cell begins; signals, boards and slowdowns stand one cell on.
inline constexpr std::int64_t metri_cella(std::int64_t cella, std::int64_t scarto) {
  return (cella - scarto) * kMetriCella;
}

/// `avvicinamento` of the four cells before a station's end mark: this value
/// plus 1 for the cell next to the mark, up to plus 4 for the farthest.
inline constexpr std::uint8_t kAvvicinamentoStazione = 80;

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

/// The English name of element code `tipo` ("signal", "code cell", ...);
/// "" for 0 and for codes the compiler never writes.
const char* nome_elemento(std::uint8_t tipo);

/// `Cella::velocita` holds the speed limit in steps of this many km/h.
inline constexpr std::int32_t kKmhPassoVelocita = 5;
/// `Cella::pendenza` holds the gradient in per mille plus this.
inline constexpr std::int32_t kPendenzaPiana = 100;

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

/// The fields of a cell record, in their order on disk.
inline constexpr std::array<Campo<Cella>, 11> kCampiCella = {{
    {"tipo", &Cella::tipo},
    {"dato1", &Cella::dato1},
    {"dato2", &Cella::dato2},
    {"dato3", &Cella::dato3},
    {"dato4", &Cella::dato4},
    {"tempo", &Cella::tempo},
    {"avvicinamento", &Cella::avvicinamento},
    {"montagna", &Cella::montagna},
    {"velocita", &Cella::velocita},
    {"pendenza", &Cella::pendenza},
    {"aderenza", &Cella::aderenza},
}};

/// Size of one cell record on disk.
inline constexpr std::size_t kDimensioneCella = 15;

/// Bytes of the cell file: one 15-byte record per cell.
std::string serializza_celle(const std::vector<Cella>& celle);

/// Decodes a cell file: one or more 15-byte cell records.
bool decodifica_celle(std::string_view bytes, std::vector<Cella>* celle, ErroreDecodifica* err);

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_CELL_FILE_H_
