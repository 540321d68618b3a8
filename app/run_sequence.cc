#include "app/run_sequence.h"

#include <cstdio>
#include <string>

#include "base/file_names.h"
#include "base/folder_lock.h"
#include "base/transient_files.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "documents/crew_documents.h"
#include "scripts/builtin_scripts.h"

namespace scenario {

namespace {

int fallimento_file(Interfaccia& interfaccia, const std::string& err) {
  std::fprintf(stderr, "genera_scenario: %s\n", err.c_str());
  interfaccia.chiudi();
  return 2;
}

}  // namespace

int avvia(FileSystem& fs, const std::string& cartella, Interfaccia& interfaccia) {
  StatoCompilazione stato;
  stato.nome_percorso = kNomePercorso;
  stato.numero_treno = kNumeroTreno;
  interfaccia.mostra_attesa();

  // One run at a time in the folder, from the first script written to the
  // last binary file: a second run waits here, so the folder always ends
  // with one whole set of files.
  std::string err;
  FolderLock lock;
  if (!fs.LockFolder(cartella, "genera_scenario: waiting for another run in " + cartella, &lock,
                     &err)) {
    return fallimento_file(interfaccia, "cannot lock " + err);
  }
  // The scripts live only until the compile has read them; a run that stops
  // before (a failed step, out of memory) removes them.
  TransientFiles script(fs);
  if (!dati_linea(fs, cartella, stato.nome_percorso, &err)) {
    return fallimento_file(interfaccia, err);
  }
  script.Add(percorso_in(cartella, nome_script_linea(stato.nome_percorso)));
  if (!dati_treno(fs, cartella, stato.nome_percorso, stato.numero_treno, &err)) {
    return fallimento_file(interfaccia, err);
  }
  script.Add(percorso_in(cartella, nome_script_treno(stato.nome_percorso, stato.numero_treno)));
  if (!dati_note(fs, cartella, stato.nome_percorso, stato.numero_treno, &err) ||
      !dati_rallentamenti(fs, cartella, stato.nome_percorso, stato.numero_treno, &err) ||
      !dati_scheda(fs, cartella, stato.nome_percorso, stato.numero_treno, &err)) {
    return fallimento_file(interfaccia, err);
  }

  const RisultatoCompilazione risultato =
      memorizza_percorso(stato, /*crea_linea=*/true, fs, {cartella, cartella});
  // From here the scripts are the reader's, which deletes each one it reads.
  script.Keep();
  if (risultato.esito == Esito::scrittura_fallita) {
    return fallimento_file(interfaccia, risultato.errore_scrittura);
  }
  if (risultato.esito != Esito::scritto) {
    // 1250, 1251, or a compile that left no cell array: the box, then the end.
    errore(std::to_string(codice_fatale(risultato, stato)), interfaccia);
  }
  if (stato.codice_errore != 0) {
    std::fprintf(stderr, "genera_scenario: compile recorded error %d: %s (position %d m)\n",
                 stato.codice_errore, significato_codice(stato.codice_errore),
                 stato.posizione_errore);
  }
  interfaccia.chiudi();
  return 0;
}

}  // namespace scenario
