// Test support: a fresh folder that is removed with everything in it.
#ifndef SCENARIO_BASE_TESTING_TEMPORARY_FOLDER_H_
#define SCENARIO_BASE_TESTING_TEMPORARY_FOLDER_H_

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "base/file_system.h"
#include "base/scratch_folder.h"

namespace scenario {

/// A fresh folder in the system's temporary folder, removed with everything
/// in it at the end.
class CartellaTemporanea {
 public:
  CartellaTemporanea() : cartella_(fs_, "scenario_test_") {
    percorso_ = cartella_.path().empty() ? "/tmp" : cartella_.path();
  }
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

  /// The folder's path.
  const std::string& percorso() const { return percorso_; }
  /// Full path of `nome` in the folder.
  std::string file(const std::string& nome) const { return percorso_ + "/" + nome; }
  /// Writes `contenuto` as file `nome`.
  void scrivi(const std::string& nome, const std::string& contenuto) const {
    std::ofstream(file(nome), std::ios::binary) << contenuto;
  }
  /// The bytes of file `nome` ("" when missing).
  std::string leggi(const std::string& nome) const {
    std::ifstream in(file(nome), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  /// True when file `nome` exists.
  bool esiste(const std::string& nome) const { return std::filesystem::exists(file(nome)); }
  /// Names of the entries in the folder.
  std::set<std::string> voci() const {
    std::set<std::string> nomi;
    for (const auto& e : std::filesystem::directory_iterator(percorso_)) {
      nomi.insert(e.path().filename().string());
    }
    return nomi;
  }

 private:
  RealFileSystem fs_;
  ScratchFolder cartella_;
  std::string percorso_;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_TESTING_TEMPORARY_FOLDER_H_
