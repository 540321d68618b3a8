#include "tools/dump.h"

#include "compiler/check_codes.h"
#include "output/scenario_files.h"

namespace scenario {

std::int16_t og_atteso(const std::string& nome_percorso, const std::string& numero_treno) {
  StatoCompilazione stato;
  stato.parametri[voce::percorso].nome = nome_percorso;
  stato.parametri[voce::ripetizione].nome = numero_treno;
  return codice_gara_og(stato);
}

std::int32_t st_atteso(const std::string& nome_percorso, const std::string& numero_treno) {
  StatoCompilazione stato;
  stato.parametri[voce::percorso].nome = nome_percorso;
  stato.parametri[voce::ripetizione].nome = numero_treno;
  return codice_gara_st(stato);
}

}  // namespace scenario
