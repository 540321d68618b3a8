#include "tools/memory_compile.h"

#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "base/file_names.h"
#include "base/memory_file_system.h"

namespace scenario {

namespace {

/// The folder the in-memory compile reads and writes.
constexpr const char* kCartella = "/scenario";

/// Moves file `nome` out of `fs` into `*bytes`; false when it is missing.
bool prendi(MemoryFileSystem& fs, const std::string& nome, std::string* bytes) {
  auto it = fs.files().find(percorso_in(kCartella, nome));
  if (it == fs.files().end()) return false;
  *bytes = std::move(it->second);
  return true;
}

/// Serves the scripts from memory like its base, and compares every file
/// written under one of the expected names with the expected bytes as it is
/// written, keeping none of it.
class FileSystemConfronto : public MemoryFileSystem {
 public:
  /// Expects `path` to be written (through a temporary of its own) as `bytes`.
  void attendi(const std::string& path, std::string_view bytes) { attesi_[path] = {path, bytes}; }
  /// True when `path` was written and renamed into place with exactly the
  /// expected bytes.
  bool uguale(const std::string& path) const {
    auto it = esiti_.find(path);
    return it != esiti_.end() && it->second;
  }

  bool IsRegularFile(const std::string& path) override {
    return esiti_.count(path) != 0 || MemoryFileSystem::IsRegularFile(path);
  }
  int CreateFile(const std::string& path, std::optional<std::uint32_t> permessi,
                 std::string* err) override {
    const Atteso* atteso = atteso_per_temporaneo(path);
    if (atteso == nullptr) return MemoryFileSystem::CreateFile(path, permessi, err);
    const int handle = prossimo_confronto_++;
    confronti_[handle] = {atteso, path, 0, false};
    return handle;
  }
  bool Write(int handle, std::string_view data, std::string* err) override {
    auto it = confronti_.find(handle);
    if (it == confronti_.end()) return MemoryFileSystem::Write(handle, data, err);
    Confronto& c = it->second;
    const std::string_view atteso = c.atteso->bytes;
    if (c.scritti + data.size() > atteso.size() ||
        std::memcmp(atteso.data() + c.scritti, data.data(), data.size()) != 0) {
      c.diverso = true;
    }
    c.scritti += data.size();
    return true;
  }
  bool WriteParts(int handle, const std::vector<std::string_view>& parts,
                  std::string* err) override {
    if (confronti_.count(handle) == 0) return MemoryFileSystem::WriteParts(handle, parts, err);
    for (std::string_view part : parts) Write(handle, part, err);
    return true;
  }
  bool Flush(int handle, std::string* err) override {
    return confronti_.count(handle) != 0 || MemoryFileSystem::Flush(handle, err);
  }
  bool Close(int handle, std::string* err) override {
    auto it = confronti_.find(handle);
    if (it == confronti_.end()) return MemoryFileSystem::Close(handle, err);
    const Confronto& c = it->second;
    chiusi_[c.temporaneo] = {c.atteso, !c.diverso && c.scritti == c.atteso->bytes.size()};
    confronti_.erase(it);
    return true;
  }
  bool Rename(const std::string& from, const std::string& to, std::string* err) override {
    auto it = chiusi_.find(from);
    if (it == chiusi_.end()) return MemoryFileSystem::Rename(from, to, err);
    esiti_[to] = it->second.uguale && it->second.atteso->path == to;
    chiusi_.erase(it);
    return true;
  }

 private:
  struct Atteso {
    std::string path;
    std::string_view bytes;
  };
  struct Confronto {
    const Atteso* atteso;
    std::string temporaneo;
    std::size_t scritti;
    bool diverso;
  };
  struct Chiuso {
    const Atteso* atteso;
    bool uguale;
  };

  /// The expected file that `path`, a temporary ".NAME.XXXXXXXX.tmp" in the
  /// same folder, is written for; null for any other file.
  const Atteso* atteso_per_temporaneo(const std::string& path) const {
    const std::size_t barra = path.rfind('/');
    const std::string cartella = path.substr(0, barra == std::string::npos ? 0 : barra);
    const std::string nome = path.substr(barra == std::string::npos ? 0 : barra + 1);
    for (const auto& [finale, atteso] : attesi_) {
      const std::size_t b = finale.rfind('/');
      if (finale.substr(0, b == std::string::npos ? 0 : b) != cartella) continue;
      std::string prefisso(1, '.');
      prefisso += finale.substr(b == std::string::npos ? 0 : b + 1);
      prefisso += '.';
      if (nome.size() > prefisso.size() + 4 && nome.compare(0, prefisso.size(), prefisso) == 0 &&
          nome.compare(nome.size() - 4, 4, ".tmp") == 0) {
        return &atteso;
      }
    }
    return nullptr;
  }

  std::map<std::string, Atteso> attesi_;  ///< by the final path
  std::map<int, Confronto> confronti_;    ///< open files being compared
  std::map<std::string, Chiuso> chiusi_;  ///< closed temporaries: identical or not
  std::map<std::string, bool> esiti_;     ///< files in place: identical or not
  /// Handles of the compared files, far from those of the base.
  int prossimo_confronto_ = 1 << 20;
};

/// Runs the compile of `linea` and `treno` in `fs`.
CompilazioneInMemoria compila(MemoryFileSystem& fs, const std::string& nome_percorso,
                              const std::string& numero_treno, const std::string& linea,
                              const std::string& treno, bool con_linea) {
  fs.files()[percorso_in(kCartella, nome_script_linea(nome_percorso))] = linea;
  fs.files()[percorso_in(kCartella, nome_script_treno(nome_percorso, numero_treno))] = treno;
  StatoCompilazione stato;
  stato.nome_percorso = nome_percorso;
  stato.numero_treno = numero_treno;
  const RisultatoCompilazione r = memorizza_percorso(stato, con_linea, fs, {kCartella, kCartella});
  CompilazioneInMemoria c;
  c.esito = r.esito;
  c.codice_errore = stato.codice_errore;
  c.posizione_errore = stato.posizione_errore;
  c.diagnosi = std::move(stato.diagnosi);
  return c;
}

}  // namespace

CompilazioneInMemoria compila_e_confronta(const std::string& nome_percorso,
                                          const std::string& numero_treno, const std::string& linea,
                                          const std::string& treno, const BytesScenario& attesi,
                                          bool* identici) {
  FileSystemConfronto fs;
  const std::string p_linea = percorso_in(kCartella, nome_file_linea(nome_percorso));
  const std::string p_parametri =
      percorso_in(kCartella, nome_file_parametri(nome_percorso, numero_treno));
  const std::string p_celle = percorso_in(kCartella, nome_file_celle(nome_percorso, numero_treno));
  if (attesi.con_linea) fs.attendi(p_linea, attesi.linea);
  fs.attendi(p_parametri, attesi.parametri);
  fs.attendi(p_celle, attesi.celle);
  CompilazioneInMemoria c =
      compila(fs, nome_percorso, numero_treno, linea, treno, attesi.con_linea);
  *identici = c.esito == Esito::scritto && fs.uguale(p_parametri) && fs.uguale(p_celle) &&
              (attesi.con_linea ? fs.uguale(p_linea) : !fs.IsRegularFile(p_linea));
  return c;
}

CompilazioneInMemoria compila_in_memoria(const std::string& nome_percorso,
                                         const std::string& numero_treno, const std::string& linea,
                                         const std::string& treno, bool con_linea) {
  MemoryFileSystem fs;
  CompilazioneInMemoria c = compila(fs, nome_percorso, numero_treno, linea, treno, con_linea);
  c.file.con_linea = prendi(fs, nome_file_linea(nome_percorso), &c.file.linea);
  prendi(fs, nome_file_parametri(nome_percorso, numero_treno), &c.file.parametri);
  prendi(fs, nome_file_celle(nome_percorso, numero_treno), &c.file.celle);
  return c;
}

}  // namespace scenario
