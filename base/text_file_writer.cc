#include "base/text_file_writer.h"

namespace scenario {

TabellaRighe tabella_righe(const std::string_view* righe, std::size_t quante) {
  TabellaRighe tabella{};
  const std::size_t n = quante < tabella.size() - 1 ? quante : tabella.size() - 1;
  for (std::size_t i = 0; i < n; ++i) tabella[i] = righe[i];
  tabella[n] = kFineDelFile;
  return tabella;
}

TabellaRighe tabella_righe(std::initializer_list<std::string_view> righe) {
  return tabella_righe(righe.begin(), righe.size());
}

std::string testo_file(const TabellaRighe& tabella) {
  std::size_t totale = 0;
  std::size_t fine = 0;
  while (fine < tabella.size() && tabella[fine] != kFineDelFile)
    totale += tabella[fine++].size() + 2;
  std::string testo;
  testo.reserve(totale);
  for (std::size_t i = 0; i < fine; ++i) {
    testo.append(tabella[i]);
    testo.append("\r\n");
  }
  return testo;
}

bool scrivi_file_testo(FileSystem& fs, const std::string& percorso, const TabellaRighe& tabella,
                       std::string* err) {
  return ReplaceFile(fs, percorso, testo_file(tabella), err);
}

}  // namespace scenario
