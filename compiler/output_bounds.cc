#include "compiler/output_bounds.h"

#include "compiler/rounding.h"
#include "output/parameter_file.h"

namespace scenario {

namespace {

/// Byte offset of element (`riga`, `colonna`) of `linea` in its file:
/// coordinate 0 of every metre, then coordinate 1.
std::size_t offset_elemento(const TabellaLinea& linea, std::int64_t riga, int colonna) {
  std::size_t offset = 0;
  const std::int64_t righe = std::int64_t{linea.ultima_riga()} + 1;
  for (int c = 0; c <= colonna; ++c) {
    const std::int64_t fino = c < colonna ? righe : riga;
    for (std::int64_t r = 0; r < fino; ++r) {
      offset += dimensione_elemento(linea.tipo(static_cast<std::int32_t>(r), c));
    }
  }
  return offset;
}

}  // namespace

std::int64_t celle_minime() {
  return cella_di(kProlungamento, 0) + 1;
}

std::int64_t celle_massime() {
  return cella_di(std::int64_t{kLunghezzaMassima} + kProlungamento, 0) + 1;
}

std::uint64_t dimensione_massima(TipoFile tipo) {
  switch (tipo) {
    case TipoFile::linea:
      return 2 * static_cast<std::uint64_t>(kRigheLineaMassime) *
             dimensione_elemento(TipoVariante::doppio);
    case TipoFile::parametri:
      return voce::numero_voci * (kDimensioneParametro + kTestoMassimo);
    case TipoFile::celle:
      return static_cast<std::uint64_t>(celle_massime()) * kDimensioneCella;
    case TipoFile::sconosciuto:
      break;
  }
  return 0;
}

bool dimensione_ammessa(FileSystem& fs, const std::string& percorso, TipoFile tipo,
                        std::string* err) {
  std::uint64_t dimensione = 0;
  std::string motivo;
  if (!fs.FileSize(percorso, &dimensione, &motivo)) return true;
  const std::uint64_t massima = dimensione_massima(tipo);
  if (dimensione <= massima) return true;
  const char* nome = tipo == TipoFile::linea       ? "line file"
                     : tipo == TipoFile::parametri ? "parameter file"
                                                   : "cell file";
  *err = percorso + ": " + std::to_string(dimensione) + " bytes, larger than any " + nome +
         " the compiler writes (" + std::to_string(massima) + " bytes at most)";
  return false;
}

bool leggi_file_compilato(FileSystem& fs, const std::string& percorso, TipoFile tipo,
                          std::string* bytes, std::string* err) {
  if (!dimensione_ammessa(fs, percorso, tipo, err)) return false;
  std::string motivo;
  if (!fs.ReadFile(percorso, bytes, &motivo)) {
    *err = "cannot read " + motivo;
    return false;
  }
  return true;
}

bool linea_ammessa(const TabellaLinea& linea, ErroreDecodifica* err) {
  const std::int64_t righe = std::int64_t{linea.ultima_riga()} + 1;
  if (righe < kRigheLineaMinime) {
    return fallisci(err, offset_elemento(linea, righe, 1),
                    "the geometry covers " + std::to_string(righe) +
                        " metres; the shortest route's covers " +
                        std::to_string(kRigheLineaMinime));
  }
  if (righe > kRigheLineaMassime) {
    return fallisci(err, offset_elemento(linea, kRigheLineaMassime, 0),
                    "the geometry goes on past metre " + std::to_string(kRigheLineaMassime - 1) +
                        ", where the longest route's ends");
  }
  for (int c = 0; c < 2; ++c) {
    for (std::int64_t r = 2; r < righe; ++r) {
      const TipoVariante tipo = linea.tipo(static_cast<std::int32_t>(r), c);
      if (tipo == TipoVariante::intero) {
        return fallisci(err, offset_elemento(linea, r, c),
                        "metre " + std::to_string(r) + ", coordinate " + std::to_string(c) +
                            ": an integer, which only metres 0 and 1 hold");
      }
      if (tipo != TipoVariante::vuoto && r >= righe - 2) {
        return fallisci(err, offset_elemento(linea, r, c),
                        "metre " + std::to_string(r) + ", coordinate " + std::to_string(c) +
                            ": a point in the last two metres, where the geometry is never "
                            "computed");
      }
    }
  }
  return true;
}

bool celle_ammesse(const std::vector<Cella>& celle, ErroreDecodifica* err) {
  const auto numero = static_cast<std::int64_t>(celle.size());
  if (numero < celle_minime()) {
    return fallisci(err, celle.size() * kDimensioneCella,
                    std::to_string(numero) + " cells; the shortest route has " +
                        std::to_string(celle_minime()));
  }
  if (numero > celle_massime()) {
    return fallisci(err, static_cast<std::size_t>(celle_massime()) * kDimensioneCella,
                    std::to_string(numero) + " cells; the longest route has " +
                        std::to_string(celle_massime()));
  }
  return true;
}

}  // namespace scenario
