#include "tools/file_difference.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <type_traits>
#include <variant>

namespace scenario {

namespace {

/// First offset where `a` and `b` differ, nullopt when they are equal; the
/// length of the shorter one when it is a prefix of the other.
std::optional<std::size_t> primo_byte_diverso(std::string_view a, std::string_view b) {
  if (a == b) return std::nullopt;
  const std::size_t n = std::min(a.size(), b.size());
  const auto diverso =
      std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
  if (diverso.first != a.begin() + static_cast<std::ptrdiff_t>(n)) {
    return static_cast<std::size_t>(diverso.first - a.begin());
  }
  if (a.size() != b.size()) return n;
  return std::nullopt;
}

/// Field `campo` of `r` as text: a number, or a text in quotes.
template <typename Record>
std::string valore_campo(const Campo<Record>& campo, const Record& r) {
  return std::visit(
      [&](auto m) -> std::string {
        using Tipo = std::remove_cvref_t<decltype(r.*m)>;
        if constexpr (std::is_same_v<Tipo, std::string>) {
          return "\"" + r.*m + "\"";
        } else {
          return std::to_string(static_cast<long long>(r.*m));
        }
      },
      campo.membro);
}

std::string confronto(const std::string& nel_file, const std::string& ricompilato) {
  return nel_file + " in the file, " + ricompilato + " recompiled";
}

std::string dove_celle(const std::string& a, const std::string& b, std::size_t offset) {
  std::vector<Cella> ca, cb;
  ErroreDecodifica err;
  if (!decodifica_celle(a, &ca, &err) || !decodifica_celle(b, &cb, &err) ||
      offset >= std::min(a.size(), b.size())) {
    return "the file holds " + std::to_string(a.size() / kDimensioneCella) +
           " cells, the recompiled one " + std::to_string(b.size() / kDimensioneCella);
  }
  const std::size_t cella = offset / kDimensioneCella;
  std::size_t dentro = offset % kDimensioneCella;
  for (const Campo<Cella>& campo : kCampiCella) {
    const std::size_t w = larghezza_campo(campo, ca[cella]);
    if (dentro < w) {
      return "cell " + std::to_string(cella) + " (" +
             std::to_string((static_cast<long long>(cella) - 1) * kMetriCella) + " m), field " +
             campo.nome + ": " +
             confronto(valore_campo(campo, ca[cella]), valore_campo(campo, cb[cella]));
    }
    dentro -= w;
  }
  return "cell " + std::to_string(cella);
}

std::string dove_parametri(const std::string& a, const std::string& b, std::size_t offset) {
  Parametri pa, pb;
  ErroreDecodifica err;
  if (!decodifica_parametri(a, &pa, &err) || !decodifica_parametri(b, &pb, &err)) {
    return "the file is " + std::to_string(a.size()) + " bytes, the recompiled one " +
           std::to_string(b.size());
  }
  // Up to the differing byte both files hold the same fields, so walking
  // either finds the field it belongs to.
  std::size_t inizio = 0;
  for (std::size_t e = 0; e < pa.size(); ++e) {
    for (const Campo<Parametro>& campo : kCampiParametro) {
      const std::size_t w = larghezza_campo(campo, pa[e]);
      if (offset < inizio + w) {
        return "entry " + std::to_string(e) + ", field " + campo.nome + ": " +
               confronto(valore_campo(campo, pa[e]), valore_campo(campo, pb[e]));
      }
      inizio += w;
    }
  }
  return "after entry 86";
}

std::string elemento(const TabellaLinea& t, std::int32_t metro, int colonna) {
  switch (t.tipo(metro, colonna)) {
    case TipoVariante::vuoto:
      return "empty";
    case TipoVariante::intero:
      return "integer " + std::to_string(static_cast<long long>(t.valore(metro, colonna)));
    case TipoVariante::doppio:
      break;
  }
  char b[40];
  std::snprintf(b, sizeof b, "%.17g", t.valore(metro, colonna));
  return b;
}

std::string dove_linea(const std::string& a, const std::string& b, std::size_t offset) {
  TabellaLinea ta, tb;
  ErroreDecodifica err;
  if (!decodifica_linea(a, &ta, &err) || !decodifica_linea(b, &tb, &err) ||
      ta.ultima_riga() != tb.ultima_riga()) {
    return "the file holds metres 0 to " + std::to_string(ta.ultima_riga()) +
           ", the recompiled one 0 to " + std::to_string(tb.ultima_riga());
  }
  std::size_t inizio = 0;
  for (int colonna = 0; colonna < 2; ++colonna) {
    for (std::int32_t m = 0; m <= ta.ultima_riga(); ++m) {
      inizio += dimensione_elemento(ta.tipo(m, colonna));
      if (offset < inizio) {
        return "metre " + std::to_string(m) + ", coordinate " + std::to_string(colonna) + ": " +
               confronto(elemento(ta, m, colonna), elemento(tb, m, colonna));
      }
    }
  }
  return "after the last metre";
}

}  // namespace

std::optional<Differenza> prima_differenza(const BytesScenario& originali,
                                           const BytesScenario& ricompilati) {
  if (originali.con_linea != ricompilati.con_linea) {
    return Differenza{TipoFile::linea, 0,
                      originali.con_linea ? "the recompile wrote no line file"
                                          : "the recompile wrote a line file"};
  }
  if (originali.con_linea) {
    if (auto o = primo_byte_diverso(originali.linea, ricompilati.linea)) {
      return Differenza{TipoFile::linea, *o, dove_linea(originali.linea, ricompilati.linea, *o)};
    }
  }
  if (auto o = primo_byte_diverso(originali.parametri, ricompilati.parametri)) {
    return Differenza{TipoFile::parametri, *o,
                      dove_parametri(originali.parametri, ricompilati.parametri, *o)};
  }
  if (auto o = primo_byte_diverso(originali.celle, ricompilati.celle)) {
    return Differenza{TipoFile::celle, *o, dove_celle(originali.celle, ricompilati.celle, *o)};
  }
  return std::nullopt;
}

}  // namespace scenario
