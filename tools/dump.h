// The decoder of the three binary scenario files. It takes arbitrary bytes:
// every read is bounds-checked, every allocation is bounded by the input's
// size, and a malformed file gives an error naming the byte offset.
#ifndef SCENARIO_TOOLS_DUMP_H_
#define SCENARIO_TOOLS_DUMP_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_state.h"

namespace scenario {

/// Why a file could not be decoded, and where.
struct ErroreDecodifica {
  std::size_t offset = 0;  ///< byte offset of the fault
  std::string messaggio;   ///< what is wrong there
};

/// Which of the three binary files a file is, told by its name.
enum class TipoFile { linea, parametri, celle, sconosciuto };

/// "_linea.dat" is a line file, ".sim" a parameter file, any other ".dat"
/// a cell file.
TipoFile tipo_da_nome(const std::string& nome);

/// Decodes a line file: 2 × (L + 1) tagged elements, coordinate 0 for
/// metres 0 to L, then coordinate 1. `*linea` is dimensioned to L.
bool decodifica_linea(std::string_view bytes, TabellaLinea* linea, ErroreDecodifica* err);

/// Decodes a parameter file: exactly 87 records and nothing after them.
bool decodifica_parametri(std::string_view bytes,
                          std::array<Parametro, voce::numero_voci>* parametri,
                          ErroreDecodifica* err);

/// Decodes a cell file: one or more 15-byte cell records.
bool decodifica_celle(std::string_view bytes, std::vector<Cella>* celle, ErroreDecodifica* err);

/// The English name of element code `tipo` ("signal", "code cell", ...);
/// "" for 0 and for codes the compiler never writes.
const char* nome_elemento(std::uint8_t tipo);

/// Check code og of a scenario identity (route identifier and train number
/// as entries 85 and 86 carry them).
std::int16_t og_atteso(const std::string& nome_percorso, const std::string& numero_treno);
/// Check code st of the same identity.
std::int32_t st_atteso(const std::string& nome_percorso, const std::string& numero_treno);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DUMP_H_
