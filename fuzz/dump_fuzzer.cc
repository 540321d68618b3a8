// Fuzzes the decoder of the three binary scenario files and `dump`, which
// prints them. The whole input is given to each of the three decoders. A
// file that decodes must be written back byte for byte by the compiler's
// own writer; a file that does not must be rejected with a message and an
// offset inside the file. Then `dump` prints the input as each kind of file,
// as text and as JSON, from a file system held in memory: it must finish
// with a status and, on a failure, a message, and what it prints must stay
// in proportion to the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/memory_file_system.h"
#include "output/scenario_files.h"
#include "tools/command_line.h"
#include "tools/dump_command.h"

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

/// The most bytes `dump` may print for each byte of the file, and beyond
/// that: each cell, a record of 15 bytes, takes one line of a few hundred.
constexpr std::size_t kUscitaPerByte = 64;
constexpr std::size_t kUscitaFissa = 64 << 10;

/// Runs `dump` on `bytes` given the name `nome`, as text or JSON.
void stampa(std::string_view bytes, const char* nome, bool json) {
  MemoryFileSystem fs;
  fs.files()[nome] = std::string(bytes);
  RigaComando riga;
  riga.comando = "dump";
  riga.operandi = {nome};
  riga.json = json;
  std::ostringstream out, err;
  const int stato = comando_dump(riga, fs, out, err);
  if (stato < 0 || stato > 2) difetto("dump returned a status other than 0, 1 or 2");
  if (stato == 2 && err.str().empty()) difetto("dump failed without a message");
  if (stato != 2 && out.str().empty()) difetto("dump printed nothing");
  if (out.str().size() > kUscitaFissa + kUscitaPerByte * bytes.size()) {
    std::fprintf(stderr, "dump_fuzzer: %s: %zu bytes printed for %zu\n", nome, out.str().size(),
                 bytes.size());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    TabellaLinea linea;
    ErroreDecodifica err;
    const bool ok = decodifica_linea(bytes, &linea, &err);
    verifica(ok, err, bytes, ok ? serializza_linea(linea) : std::string(), "line");
    if (ok) {
      stampa(bytes, "R_linea.dat", false);
      stampa(bytes, "R_linea.dat", true);
    }
  }
  {
    std::array<Parametro, voce::numero_voci> parametri;
    ErroreDecodifica err;
    const bool ok = decodifica_parametri(bytes, &parametri, &err);
    verifica(ok, err, bytes, ok ? serializza_parametri(parametri) : std::string(), "parameter");
    if (ok) {
      stampa(bytes, "R_1.sim", false);
      stampa(bytes, "R_1.sim", true);
    }
  }
  {
    std::vector<Cella> celle;
    ErroreDecodifica err;
    const bool ok = decodifica_celle(bytes, &celle, &err);
    verifica(ok, err, bytes, ok ? serializza_celle(celle) : std::string(), "cell");
    if (ok) {
      stampa(bytes, "R_1.dat", false);
      stampa(bytes, "R_1.dat", true);
    }
  }
  return 0;
}
