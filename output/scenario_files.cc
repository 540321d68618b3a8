#include "output/scenario_files.h"

#include <string_view>

#include "base/file_names.h"

namespace scenario {

bool scrivi_file_scenario(FileSystem& fs, const std::string& cartella, const FileScenario& file,
                          std::vector<std::string>* scritti, std::string* err) {
  if (file.con_linea) {
    // The largest file by far goes out straight from the geometry's slots.
    const std::string nome = nome_file_linea(file.nome_percorso);
    std::string riserva;
    if (!ReplaceFile(fs, percorso_in(cartella, nome), parti_linea(file.tabella_linea, &riserva),
                     err)) {
      return false;
    }
    scritti->push_back(nome);
  }
  const std::string parametri = nome_file_parametri(file.nome_percorso, file.numero_treno);
  if (!ReplaceFile(fs, percorso_in(cartella, parametri), serializza_parametri(file.parametri),
                   err)) {
    return false;
  }
  scritti->push_back(parametri);
  const std::string celle = nome_file_celle(file.nome_percorso, file.numero_treno);
  if (!ReplaceFile(fs, percorso_in(cartella, celle), serializza_celle(file.celle), err)) {
    return false;
  }
  scritti->push_back(celle);
  return true;
}

TipoFile tipo_da_nome(const std::string& nome) {
  auto finisce = [&nome](std::string_view coda) {
    return nome.size() >= coda.size() &&
           nome.compare(nome.size() - coda.size(), coda.size(), coda.data(), coda.size()) == 0;
  };
  if (finisce("_linea.dat")) return TipoFile::linea;
  if (finisce(".sim")) return TipoFile::parametri;
  if (finisce(".dat")) return TipoFile::celle;
  return TipoFile::sconosciuto;
}

}  // namespace scenario
