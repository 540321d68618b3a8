// The parameter file: stations, sign-board texts and scenario-wide values,
// 87 records of varying size.
#ifndef SCENARIO_OUTPUT_PARAMETER_FILE_H_
#define SCENARIO_OUTPUT_PARAMETER_FILE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "output/little_endian.h"
#include "output/record_fields.h"

namespace scenario {

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

/// The fields of a parameter record, in their order on disk.
inline constexpr std::array<Campo<Parametro>, 16> kCampiParametro = {{
    {"tipo", &Parametro::tipo},
    {"inizio", &Parametro::inizio},
    {"fine", &Parametro::fine},
    {"posizione", &Parametro::posizione},
    {"opzione", &Parametro::opzione},
    {"nome", &Parametro::nome},
    {"valore1", &Parametro::valore1},
    {"valore2", &Parametro::valore2},
    {"valore3", &Parametro::valore3},
    {"valore4", &Parametro::valore4},
    {"valore5", &Parametro::valore5},
    {"flag1", &Parametro::flag1},
    {"flag2", &Parametro::flag2},
    {"flag3", &Parametro::flag3},
    {"flag4", &Parametro::flag4},
    {"orario", &Parametro::orario},
}};

/// Entries of `parametri` with a fixed use.
namespace voce {
constexpr int numero_voci = 87;
constexpr int prima_stazione = 1;    ///< stations count up from here
constexpr int ultimo_cartello = 80;  ///< sign-board texts count down from here
constexpr int progressiva_tre = 81;
constexpr int progressiva_due = 82;
constexpr int progressiva_uno = 83;
constexpr int treno = 84;
constexpr int percorso = 85;
constexpr int ripetizione = 86;
}  // namespace voce

/// The 87 entries.
using Parametri = std::array<Parametro, voce::numero_voci>;

/// Size of one parameter record on disk, without the characters of its text.
inline constexpr std::size_t kDimensioneParametro = 34;

/// Bytes of the parameter file: the 87 records in order, field by field.
std::string serializza_parametri(const Parametri& parametri);

/// Decodes a parameter file: exactly 87 records and nothing after them.
bool decodifica_parametri(std::string_view bytes, Parametri* parametri, ErroreDecodifica* err);

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_PARAMETER_FILE_H_
