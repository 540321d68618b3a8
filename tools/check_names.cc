#include "tools/check_names.h"

#include "compiler/error_codes.h"
#include "scripts/keywords.h"
#include "scripts/record_reference.h"

namespace scenario {

std::string nome_breve_codice(std::int32_t c) {
  return std::string(nome_codice(c));
}

std::string nome_campo(TipoRecord tipo, std::size_t i) {
  const RecordRiferimento& r = riferimento(tipo);
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
  return std::string(riferimento(tipo).nome);
}

}  // namespace scenario
