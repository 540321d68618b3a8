// Fuzzes the whole compile: a line script and a train script go through the
// real driver, in memory, and the outcome is checked for what must hold
// after any compile.
//
// Input: one control byte, then the line script, then the separator
// "\n%%\n" and the train script. Bit 0 of the control byte builds the line
// geometry (`crea_linea` 1). Without a separator the train script is missing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "compiler/output_bounds.h"
#include "output/scenario_files.h"

namespace {

using namespace scenario;

/// Splits a line script from a train script in the input.
constexpr std::string_view kSeparatore = "\n%%\n";
constexpr const char* kCartella = "/mem";
/// Longest line geometry, in rows, whose every element is checked.
constexpr std::size_t kRigheVerificate = 250001;

/// Stops the run with a message: a broken invariant is a finding.
[[noreturn]] void difetto(const char* cosa) {
  std::fprintf(stderr, "compile_fuzzer: %s\n", cosa);
  std::abort();
}

/// Walks a line file element by element; true when it holds exactly
/// `elementi` well-formed variants.
bool linea_ben_formata(const std::string& bytes, std::size_t elementi) {
  std::size_t p = 0;
  for (std::size_t e = 0; e < elementi; ++e) {
    if (p + 2 > bytes.size()) return false;
    const unsigned tag = static_cast<unsigned char>(bytes[p]) |
                         static_cast<unsigned>(static_cast<unsigned char>(bytes[p + 1])) << 8;
    p += 2;
    if (tag == 2) {
      p += 2;
    } else if (tag == 5) {
      p += 8;
    } else if (tag != 0) {
      return false;
    }
  }
  return p == bytes.size();
}

void verifica(const StatoCompilazione& stato, const RisultatoCompilazione& r, MemoryFileSystem& fs,
              std::int32_t j) {
  if (fs.OpenFiles() != 0) difetto("a file was left open");
  for (const auto& [path, bytes] : fs.files()) {
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".tmp") == 0) {
      difetto("a temporary file was left behind");
    }
  }
  const std::string linea = percorso_in(kCartella, nome_script_linea(stato.nome_percorso));
  if (fs.IsRegularFile(linea)) difetto("the line script was not deleted");
  // Only a coded fault of the line stage leaves the train script behind.
  const std::string treno =
      percorso_in(kCartella, nome_script_treno(stato.nome_percorso, stato.numero_treno));
  if (stato.codice_errore == codice::nessuno && fs.IsRegularFile(treno)) {
    difetto("a clean compile left the train script");
  }
  if (std::strcmp(significato_codice(stato.codice_errore), "unknown code") == 0) {
    difetto("an unknown code was recorded");
  }
  if (r.esito == Esito::senza_celle) {
    if (stato.celle_dimensionate()) difetto("senza_celle with a cell array");
    return;
  }
  if (!stato.celle_dimensionate()) difetto("a compile went on without a cell array");
  if (r.esito != Esito::scritto) return;
  if (stato.celle.size() < 2 || stato.celle[1].dato1 != 5121 ||
      stato.parametri[voce::percorso].valore1 != 610) {
    difetto("the markers of cell 1 and entry 85 are missing");
  }

  const std::string& celle =
      fs.files()[percorso_in(kCartella, nome_file_celle(stato.nome_percorso, stato.numero_treno))];
  if (celle.size() != stato.celle.size() * kDimensioneCella) difetto("cell file size");
  if (stato.celle.size() != static_cast<std::size_t>(stato.numero_celle) + 1) {
    difetto("cell array size");
  }
  std::size_t attesi = voce::numero_voci * kDimensioneParametro;
  for (const Parametro& p : stato.parametri) attesi += p.nome.size();
  const std::string& parametri = fs.files()[percorso_in(
      kCartella, nome_file_parametri(stato.nome_percorso, stato.numero_treno))];
  if (parametri.size() != attesi) difetto("parameter file size");
  // What the compiler writes, `dump` and `render` must take.
  ErroreDecodifica errore;
  if (celle.size() > dimensione_massima(TipoFile::celle) ||
      parametri.size() > dimensione_massima(TipoFile::parametri) ||
      !celle_ammesse(stato.celle, &errore)) {
    difetto("a cell or parameter file the readers would refuse");
  }

  const std::string nome_linea = percorso_in(kCartella, nome_file_linea(stato.nome_percorso));
  if (j == 0) {
    if (fs.IsRegularFile(nome_linea)) difetto("a line file without crea_linea");
    return;
  }
  // Walking the geometry costs as much as computing it; the long routes are
  // checked by their size alone, to keep every input well inside a second.
  const std::size_t righe = static_cast<std::size_t>(stato.lunghezza_tabella) + 1;
  if (righe > kRigheVerificate) {
    if (!fs.IsRegularFile(nome_linea)) difetto("no line file");
    return;
  }
  if (!linea_ben_formata(fs.files()[nome_linea], 2 * righe)) difetto("malformed line file");
  if (fs.files()[nome_linea].size() > dimensione_massima(TipoFile::linea) ||
      !linea_ammessa(stato.tabella_linea, &errore)) {
    difetto("a line file the readers would refuse");
  }
  if (stato.codice_errore == codice::nessuno) {
    // A clean compile computes every row but the last two, all finite.
    const TabellaLinea& t = stato.tabella_linea;
    for (int c = 0; c < 2; ++c) {
      for (std::int32_t m = 2; m <= stato.lunghezza_tabella - 2; ++m) {
        if (t.tipo(m, c) != TipoVariante::doppio || !std::isfinite(t.valore(m, c))) {
          difetto("a geometry row was not computed");
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::int32_t j = data[0] & 1;
  const std::string_view resto(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t taglio = resto.find(kSeparatore);

  MemoryFileSystem fs;
  StatoCompilazione stato;
  stato.nome_percorso = "Prova";
  stato.numero_treno = "1";
  fs.files()[percorso_in(kCartella, nome_script_linea(stato.nome_percorso))] =
      std::string(resto.substr(0, taglio));
  if (taglio != std::string_view::npos) {
    fs.files()[percorso_in(kCartella, nome_script_treno(stato.nome_percorso, stato.numero_treno))] =
        std::string(resto.substr(taglio + kSeparatore.size()));
  }

  const RisultatoCompilazione r = memorizza_percorso(stato, j != 0, fs, {kCartella, kCartella});
  verifica(stato, r, fs, j);
  return 0;
}
