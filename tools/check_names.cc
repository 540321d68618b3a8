#include "tools/check_names.h"

#include "compiler/error_codes.h"
#include "scripts/keywords.h"
#include "scripts/record_reference.h"

namespace scenario {

namespace {

// The record kinds follow the keyword tables: the general section's, the
// body's, then the train script's.
constexpr auto kPrimoLinea = static_cast<std::size_t>(TipoRecord::pendenza);
constexpr auto kPrimoTreno = static_cast<std::size_t>(TipoRecord::massa_frenata);
static_assert(static_cast<std::size_t>(RecordGenerale::ripetizione) + 1 == kPrimoLinea);
static_assert(kPrimoLinea + static_cast<std::size_t>(RecordLinea::cartello) + 1 == kPrimoTreno);

/// The language reference's entry of a record kind.
const RecordRiferimento& riferimento_di(TipoRecord tipo) {
  const auto i = static_cast<std::size_t>(tipo);
  if (i < kPrimoLinea) return riferimento(static_cast<RecordGenerale>(i));
  if (i < kPrimoTreno) return riferimento(static_cast<RecordLinea>(i - kPrimoLinea));
  return riferimento(static_cast<RecordTreno>(i - kPrimoTreno));
}

}  // namespace

std::string nome_breve_codice(std::int32_t c) {
  return std::string(nome_codice(c));
}

std::string nome_campo(TipoRecord tipo, std::size_t i) {
  const RecordRiferimento& r = riferimento_di(tipo);
  std::string nome;
  if (i < r.campi.size()) {
    nome += '`';
    nome += r.campi[i].nome;
    nome += '`';
  }
  return nome;
}

std::string parola_tipica(TipoRecord tipo) {
  // The reference names the curve family; a curve keyword also needs a
  // side and a class.
  if (tipo == TipoRecord::curva) return "curvas4";
  return std::string(riferimento_di(tipo).nome);
}

}  // namespace scenario
