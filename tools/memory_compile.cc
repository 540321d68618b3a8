#include "tools/memory_compile.h"

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

}  // namespace

CompilazioneInMemoria compila_in_memoria(const std::string& nome_percorso,
                                         const std::string& numero_treno, const std::string& linea,
                                         const std::string& treno, bool con_linea) {
  MemoryFileSystem fs;
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
  c.file.con_linea = prendi(fs, nome_file_linea(nome_percorso), &c.file.linea);
  prendi(fs, nome_file_parametri(nome_percorso, numero_treno), &c.file.parametri);
  prendi(fs, nome_file_celle(nome_percorso, numero_treno), &c.file.celle);
  return c;
}

}  // namespace scenario
