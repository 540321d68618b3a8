#include "tools/compile_command.h"

#include <algorithm>

#include "base/file_names.h"
#include "base/scratch_folder.h"
#include "compiler/error_codes.h"
#include "tools/check_command.h"
#include "tools/diagnostic_printer.h"
#include "tools/json_output.h"
#include "tools/scenario_view.h"
#include "tools/wording.h"

namespace scenario {

namespace {

/// Copies script `nome` from `da` into `a` when it exists; false with
/// `*err` set when it exists but cannot be copied.
bool copia_script(FileSystem& fs, const std::string& da, const std::string& a,
                  const std::string& nome, std::string* err) {
  const std::string sorgente = percorso_in(da, nome);
  switch (fs.KindOf(sorgente)) {
    case FileSystem::PathKind::kMissing:
      return true;
    case FileSystem::PathKind::kFile:
      break;
    case FileSystem::PathKind::kFolder:
    case FileSystem::PathKind::kOther:
      *err = sorgente + " is not a regular file";
      return false;
  }
  std::string testo, motivo;
  if (!fs.ReadFile(sorgente, &testo, &motivo)) {
    *err = "cannot read " + motivo;
    return false;
  }
  return ReplaceFile(fs, percorso_in(a, nome), testo, err);
}

/// The script a diagnostic came from, as it lies in `cartella`; "" for the
/// post-pass.
std::string file_di(const Diagnosi& d, const std::string& cartella,
                    const std::string& nome_percorso, const std::string& numero_treno) {
  switch (d.sorgente) {
    case Sorgente::script_linea:
      return percorso_in(cartella, nome_script_linea(nome_percorso));
    case Sorgente::script_treno:
      return percorso_in(cartella, nome_script_treno(nome_percorso, numero_treno));
    case Sorgente::nessuna:
    case Sorgente::post_pass:
      break;
  }
  return "";
}

std::string elenco(const std::vector<std::string>& nomi) {
  std::string s;
  for (const std::string& n : nomi) s += (s.empty() ? "" : ", ") + n;
  return s;
}

/// The one-line summary of a clean compile.
std::string riassunto(const StatoCompilazione& stato, const RisultatoCompilazione& risultato,
                      const std::string& cartella, const std::string& uscita) {
  const ConteggioElementi n = conta_elementi(stato.celle);
  return percorso_in(cartella, nome_script_linea(stato.nome_percorso)) + ", " +
         percorso_in(cartella, nome_script_treno(stato.nome_percorso, stato.numero_treno)) +
         ": route " + std::to_string(lunghezza_percorso(stato.parametri)) + " m, " +
         plurale(static_cast<std::int64_t>(stato.celle.size()), "cell", "cells") + ", " +
         plurale(stato.numero_stazioni, "station", "stations") + ", " +
         plurale(n.segnali, "signal", "signals") + ", " +
         plurale(n.rallentamenti, "slowdown", "slowdowns") + ", " +
         plurale(stato.numero_cartelli, "sign board", "sign boards") + ", " +
         plurale(n.tabelle, "speed board pair", "speed board pairs") + "; wrote " +
         elenco(risultato.scritti) + " in " + uscita;
}

/// Checks that `cartella` is a folder and makes the output folder.
bool prepara_cartelle(FileSystem& fs, const std::string& cartella, const std::string& uscita,
                      std::string* err) {
  if (fs.KindOf(cartella) != FileSystem::PathKind::kFolder) {
    *err = cartella + " is not a folder";
    return false;
  }
  if (uscita.empty()) {
    *err = "the output folder is empty";
    return false;
  }
  if (!fs.MakeFolders(uscita, err)) {
    *err = "cannot create output folder " + *err;
    return false;
  }
  return true;
}

/// Takes `*lock` on the output folder `uscita`, waiting for another run
/// that holds it and saying so when that takes more than a second.
bool blocca_uscita(FileSystem& fs, const std::string& uscita, FolderLock* lock, std::string* err) {
  if (fs.LockFolder(uscita, "scenario_tool compile: waiting for another run writing " + uscita,
                    lock, err)) {
    return true;
  }
  *err = "cannot lock " + *err;
  return false;
}

/// Compiles the scripts of `nome_percorso` / `numero_treno` in `cartella`
/// into `uscita`, or, when `uscita` is empty, into the scratch folder that
/// is removed afterwards (a compile whose files are not to be kept). The
/// reader deletes what it reads: it gets copies in a scratch folder. False
/// with `*err` set when a file step before the compile fails.
bool compila(FileSystem& fs, const std::string& cartella, const std::string& uscita,
             const std::string& nome_percorso, const std::string& numero_treno, bool con_linea,
             StatoCompilazione* stato, RisultatoCompilazione* risultato, std::string* err) {
  stato->nome_percorso = nome_percorso;
  stato->numero_treno = numero_treno;
  ScratchFolder lavoro(fs, "scenario_tool_");
  if (lavoro.path().empty()) {
    *err = "cannot make a temporary folder: " + lavoro.error();
    return false;
  }
  if (!copia_script(fs, cartella, lavoro.path(), nome_script_linea(nome_percorso), err) ||
      !copia_script(fs, cartella, lavoro.path(), nome_script_treno(nome_percorso, numero_treno),
                    err)) {
    return false;
  }
  *risultato = memorizza_percorso(*stato, con_linea, fs,
                                  {lavoro.path(), uscita.empty() ? lavoro.path() : uscita});
  if (uscita.empty()) risultato->scritti.clear();
  return true;
}

/// Reports how the compile ended on `err`, after the check's diagnostics
/// (`esito`); a recorded code the check did not report is reported by
/// itself. Returns the exit status.
int riferisci(const StatoCompilazione& stato, const RisultatoCompilazione& risultato,
              const EsitoControllo& esito, bool scrivi, const std::string& cartella,
              const std::string& uscita, std::ostream& err) {
  if (esito.errori == 0) {
    for (const Diagnosi& d : stato.diagnosi) {
      err << riga_diagnosi(d, cartella, stato.nome_percorso, stato.numero_treno) << "\n";
    }
  }
  if (!scrivi) {
    err << "scenario_tool compile: no files written because of the errors above (--partial "
           "writes what was compiled)\n";
    return 1;
  }
  switch (risultato.esito) {
    case Esito::errore_1250:
    case Esito::errore_1251: {
      const std::int32_t c = codice_fatale(risultato, stato);
      err << "error " << c << ": " << significato_codice(c) << "\n"
          << "scenario_tool compile: no files written\n";
      return 1;
    }
    case Esito::senza_celle:
      err << "scenario_tool compile: no files written: the reader stopped before a route length, "
             "so there is no cell array\n";
      return 1;
    case Esito::scrittura_fallita:
      err << "scenario_tool compile: " << risultato.errore_scrittura << "\n";
      return 2;
    case Esito::scritto:
      break;
  }
  if (stato.diagnosi.empty()) {
    err << riassunto(stato, risultato, cartella, uscita) << "\n";
    return 0;
  }
  err << "scenario_tool compile: wrote " << elenco(risultato.scritti) << " in " << uscita
      << ", from what was compiled when the code was recorded\n";
  return 1;
}

}  // namespace

std::string riga_diagnosi(const Diagnosi& d, const std::string& cartella,
                          const std::string& nome_percorso, const std::string& numero_treno) {
  std::string s;
  if (d.sorgente == Sorgente::post_pass) {
    s = "post-pass";
  } else {
    s = file_di(d, cartella, nome_percorso, numero_treno);
    if (s.empty()) s = "scenario_tool";
    if (d.riga > 0) s += ":" + std::to_string(d.riga);
  }
  s += ": error " + std::to_string(d.codice) + ": " + significato_codice(d.codice);
  if (d.con_posizione) s += " (position " + std::to_string(d.posizione) + " m)";
  return s;
}

std::string rapporto_json(const StatoCompilazione& stato, const RisultatoCompilazione& risultato,
                          const std::string& cartella,
                          const std::vector<Diagnostica>& diagnostiche) {
  std::vector<std::string> scritti = risultato.scritti;
  std::sort(scritti.begin(), scritti.end());
  Json rapporto = {
      {"codice_errore", stato.codice_errore},
      {"posizione_errore", stato.posizione_errore},
      {"written", Json::array()},
  };
  for (const std::string& nome : scritti) rapporto["written"].push_back(json_testo(nome));
  // 1250 or 1251 when those stopped the compile, "no-cells" when the reader
  // left no cell array; null when the files were written.
  switch (risultato.esito) {
    case Esito::errore_1250:
    case Esito::errore_1251:
      rapporto["fatal"] = codice_fatale(risultato, stato);
      break;
    case Esito::senza_celle:
      rapporto["fatal"] = "no-cells";
      break;
    case Esito::scritto:
    case Esito::scrittura_fallita:
      rapporto["fatal"] = nullptr;
      break;
  }
  // The record where the reader stopped: the last code from a script.
  const Diagnosi* ultima = nullptr;
  for (const Diagnosi& d : stato.diagnosi) {
    if (d.sorgente == Sorgente::script_linea || d.sorgente == Sorgente::script_treno) ultima = &d;
  }
  rapporto["file"] = nullptr;
  rapporto["line"] = nullptr;
  if (ultima) {
    rapporto["file"] =
        json_testo(file_di(*ultima, cartella, stato.nome_percorso, stato.numero_treno));
    if (ultima->riga > 0) rapporto["line"] = ultima->riga;
  }
  rapporto["diagnostics"] = Json::parse(json_diagnostiche(diagnostiche).dump());
  return testo_json(rapporto);
}

int comando_compile(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err) {
  const std::string cartella = cartella_indicata(riga.operandi[0]);
  const std::string uscita = riga.out ? cartella_indicata(*riga.out) : cartella;
  std::string motivo;
  StatoCompilazione stato;
  RisultatoCompilazione risultato;
  EsitoControllo esito;
  // One compile at a time writes the output folder, from the check to the
  // last file: a second one waits here, so the folder ends with one whole
  // set of files. The check reads both scripts first: a missing one stops
  // here, before anything is written.
  FolderLock lock;
  if (!prepara_cartelle(fs, cartella, uscita, &motivo) ||
      !nomi_entro_limite(fs, uscita, riga.operandi[1], riga.operandi[2], &motivo) ||
      !blocca_uscita(fs, uscita, &lock, &motivo) ||
      !controlla_cartella(fs, cartella, riga.operandi[1], riga.operandi[2], {}, &esito, &motivo)) {
    err << "scenario_tool compile: " << motivo << "\n";
    return 2;
  }
  stampa_esito(esito, err);
  // With errors the files are kept only on request; the compile still runs,
  // into its scratch folder, for the report.
  const bool scrivi = esito.errori == 0 || riga.parziale;
  if (!compila(fs, cartella, scrivi ? uscita : "", riga.operandi[1], riga.operandi[2],
               !riga.senza_linea, &stato, &risultato, &motivo)) {
    err << "scenario_tool compile: " << motivo << "\n";
    return 2;
  }
  const int uscita_stato = riferisci(stato, risultato, esito, scrivi, cartella, uscita, err);
  if (riga.json) {
    out << rapporto_json(stato, risultato, cartella, esito.diagnostiche) << "\n";
  }
  return uscita_stato;
}

}  // namespace scenario
