// Fuzzes the decoder of the three binary scenario files. The whole input is
// given to each of the three decoders. A file that decodes must be written
// back byte for byte by the compiler's own writer; a file that does not must
// be rejected with a message and an offset inside the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "output/scenario_files.h"

namespace {

using namespace scenario;

[[noreturn]] void difetto(const char* cosa) {
  std::fprintf(stderr, "dump_fuzzer: %s\n", cosa);
  std::abort();
}

/// Checks the outcome of one decoder: on success the file written back from
/// the decoded values must be the input, else the error must be usable.
void verifica(bool ok, const ErroreDecodifica& err, std::string_view bytes,
              const std::string& riscritto, const char* file) {
  if (ok) {
    if (riscritto != bytes) {
      std::fprintf(stderr, "dump_fuzzer: %s file decoded and written back differs\n", file);
      std::abort();
    }
    return;
  }
  if (err.messaggio.empty()) difetto("an error without a message");
  if (err.offset > bytes.size()) difetto("an error offset beyond the end of the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    TabellaLinea linea;
    ErroreDecodifica err;
    const bool ok = decodifica_linea(bytes, &linea, &err);
    verifica(ok, err, bytes, ok ? serializza_linea(linea) : std::string(), "line");
  }
  {
    std::array<Parametro, voce::numero_voci> parametri;
    ErroreDecodifica err;
    const bool ok = decodifica_parametri(bytes, &parametri, &err);
    verifica(ok, err, bytes, ok ? serializza_parametri(parametri) : std::string(), "parameter");
  }
  {
    std::vector<Cella> celle;
    ErroreDecodifica err;
    const bool ok = decodifica_celle(bytes, &celle, &err);
    verifica(ok, err, bytes, ok ? serializza_celle(celle) : std::string(), "cell");
  }
  return 0;
}
