#include "documents/crew_documents.h"

namespace scenario {
const std::array<std::string_view, 50> kNote = {};
const std::array<std::string_view, 45> kRallentamenti = {};
const std::array<std::string_view, 60> kSchedaTreno = {};
bool dati_note(FileSystem&, const std::string&, const std::string&, const std::string&,
               std::string*) {
  return true;
}
bool dati_rallentamenti(FileSystem&, const std::string&, const std::string&, const std::string&,
                        std::string*) {
  return true;
}
bool dati_scheda(FileSystem&, const std::string&, const std::string&, const std::string&,
                 std::string*) {
  return true;
}
}  // namespace scenario
