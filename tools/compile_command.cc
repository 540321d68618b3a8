#include "tools/compile_command.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/file_names.h"
#include "base/file_system.h"
#include "compiler/error_codes.h"
#include "tools/command_line.h"
#include "tools/text_encoding.h"

namespace scenario {

const char* const kUsoCompile =
    "usage: scenario_tool compile [--out OUTDIR] [--no-line] [--json] DIR ROUTE TRAIN\n"
    "\n"
    "Compiles DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt exactly as the\n"
    "built-in run compiles its own scripts, and writes ROUTE_linea.dat,\n"
    "ROUTE_TRAIN.sim and ROUTE_TRAIN.dat into OUTDIR (default DIR). The\n"
    "scripts are compiled from a temporary copy and left as they are.\n"
    "\n"
    "Every recorded code is reported on standard error as\n"
    "  FILE:LINE: error CODE: MEANING (position P m)\n"
    "A recorded code stops the reading, but the files are still written from\n"
    "what was compiled up to there, except after error 1250 or 1251 or when\n"
    "the reader stopped before a route length.\n"
    "\n"
    "options:\n"
    "  --out OUTDIR  folder for the binary files (created when missing)\n"
    "  --no-line     do not build the line geometry nor write the line file\n"
    "  --json        print a one-line JSON report on standard output\n"
    "  --help        show this text\n"
    "\n"
    "ROUTE and TRAIN are printable ASCII without '/'; TRAIN is not \"linea\".\n"
    "exit status: 0 clean, 1 a code was recorded or nothing was written,\n"
    "2 wrong usage or a file that cannot be read or written.\n";

namespace {

/// Path of `nome` in `cartella`, without doubling a trailing separator.
std::string in_cartella(const std::string& cartella, const std::string& nome) {
  if (!cartella.empty() && cartella.back() == '/') return cartella + nome;
  return percorso_in(cartella, nome);
}

/// A folder made with mkdtemp, removed with its contents at the end.
class CartellaLavoro {
 public:
  CartellaLavoro() {
    std::error_code ec;
    std::string base = std::filesystem::temp_directory_path(ec).string();
    if (ec || base.empty()) base = "/tmp";
    std::string modello = in_cartella(base, "scenario_tool_XXXXXX");
    if (::mkdtemp(modello.data())) percorso_ = modello;
  }
  ~CartellaLavoro() {
    if (percorso_.empty()) return;
    std::error_code ignorato;
    std::filesystem::remove_all(percorso_, ignorato);
  }
  CartellaLavoro(const CartellaLavoro&) = delete;
  CartellaLavoro& operator=(const CartellaLavoro&) = delete;

  /// The folder, or "" when it could not be made.
  const std::string& percorso() const { return percorso_; }

 private:
  std::string percorso_;
};

/// Copies script `nome` from `da` into `a` when it exists; false with
/// `*err` set when it exists but cannot be copied.
bool copia_script(FileSystem& fs, const std::string& da, const std::string& a,
                  const std::string& nome, std::string* err) {
  const std::string sorgente = in_cartella(da, nome);
  std::error_code ec;
  const auto stato = std::filesystem::status(sorgente, ec);
  if (stato.type() == std::filesystem::file_type::not_found) return true;
  if (!ec && stato.type() != std::filesystem::file_type::regular) {
    *err = sorgente + " is not a regular file";
    return false;
  }
  std::string testo, motivo;
  if (!fs.ReadFile(sorgente, &testo, &motivo)) {
    *err = "cannot read " + motivo;
    return false;
  }
  if (!ReplaceFile(fs, in_cartella(a, nome), testo, &motivo)) {
    *err = motivo;
    return false;
  }
  return true;
}

/// Number of cells holding element `tipo`.
std::int32_t conta_celle(const std::vector<Cella>& celle, std::uint8_t tipo) {
  return static_cast<std::int32_t>(
      std::count_if(celle.begin(), celle.end(), [tipo](const Cella& c) { return c.tipo == tipo; }));
}

/// The script a diagnostic came from, as it lies in `cartella`; "" for the
/// post-pass.
std::string file_di(const Diagnosi& d, const std::string& cartella,
                    const std::string& nome_percorso, const std::string& numero_treno) {
  switch (d.sorgente) {
    case Sorgente::script_linea:
      return in_cartella(cartella, nome_script_linea(nome_percorso));
    case Sorgente::script_treno:
      return in_cartella(cartella, nome_script_treno(nome_percorso, numero_treno));
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

std::string plurale(std::int32_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

/// The one-line summary of a clean compile.
std::string riassunto(const StatoCompilazione& stato, const RisultatoCompilazione& risultato,
                      const std::string& cartella, const std::string& uscita) {
  return in_cartella(cartella, nome_script_linea(stato.nome_percorso)) + ", " +
         in_cartella(cartella, nome_script_treno(stato.nome_percorso, stato.numero_treno)) +
         ": route " + std::to_string(stato.parametri[voce::treno].fine) + " m, " +
         plurale(static_cast<std::int32_t>(stato.celle.size()), "cell", "cells") + ", " +
         plurale(stato.numero_stazioni, "station", "stations") + ", " +
         plurale(conta_celle(stato.celle, tipo_cella::segnale), "signal", "signals") + ", " +
         plurale(conta_celle(stato.celle, tipo_cella::inizio_rallentamento), "slowdown",
                 "slowdowns") +
         ", " + plurale(stato.numero_cartelli, "sign board", "sign boards") + ", " +
         plurale(conta_celle(stato.celle, tipo_cella::indicatori_v_max), "speed board pair",
                 "speed board pairs") +
         "; wrote " + elenco(risultato.scritti) + " in " + uscita;
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
                          const std::string& cartella) {
  std::vector<std::string> scritti = risultato.scritti;
  std::sort(scritti.begin(), scritti.end());
  std::string s = "{\"codice_errore\": " + std::to_string(stato.codice_errore) +
                  ", \"posizione_errore\": " + std::to_string(stato.posizione_errore) +
                  ", \"written\": [";
  for (std::size_t i = 0; i < scritti.size(); ++i) {
    s += (i ? ", " : "") + json_stringa(scritti[i]);
  }
  s += "], \"fatal\": ";
  switch (risultato.esito) {
    case Esito::errore_1250:
      s += std::to_string(codice::marcatore_cella_1);
      break;
    case Esito::errore_1251:
      s += std::to_string(codice::codice_cella_1);
      break;
    case Esito::senza_celle:
      s += "\"no-cells\"";
      break;
    case Esito::scritto:
    case Esito::scrittura_fallita:
      s += "null";
      break;
  }
  // The record where the reader stopped: the last code from a script.
  const Diagnosi* ultima = nullptr;
  for (const Diagnosi& d : stato.diagnosi) {
    if (d.sorgente == Sorgente::script_linea || d.sorgente == Sorgente::script_treno) ultima = &d;
  }
  if (ultima) {
    s += ", \"file\": " +
         json_stringa(file_di(*ultima, cartella, stato.nome_percorso, stato.numero_treno)) +
         ", \"line\": " + (ultima->riga > 0 ? std::to_string(ultima->riga) : "null");
  } else {
    s += ", \"file\": null, \"line\": null";
  }
  return s + "}";
}

int comando_compile(const std::vector<std::string>& argomenti, std::ostream& out,
                    std::ostream& err) {
  RigaComando riga;
  std::string motivo;
  if (!analizza_riga(argomenti, {{"--out", true}, {"--no-line", false}, {"--json", false}}, &riga,
                     &motivo)) {
    err << "scenario_tool compile: " << motivo << "\n" << kUsoCompile;
    return 2;
  }
  if (riga.aiuto) {
    out << kUsoCompile;
    return 0;
  }
  if (riga.operandi.size() != 3) {
    err << "scenario_tool compile: expected DIR ROUTE TRAIN, got " << riga.operandi.size()
        << " operands\n"
        << kUsoCompile;
    return 2;
  }
  const std::string& cartella = riga.operandi[0];
  if (!percorso_e_treno_validi(riga.operandi[1], riga.operandi[2], &motivo)) {
    err << "scenario_tool compile: " << motivo << "\n";
    return 2;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(cartella, ec)) {
    err << "scenario_tool compile: " << cartella << " is not a folder\n";
    return 2;
  }
  const std::string uscita = riga.ha("--out") ? riga.opzioni["--out"] : cartella;
  if (uscita.empty()) {
    err << "scenario_tool compile: the output folder is empty\n";
    return 2;
  }
  std::filesystem::create_directories(uscita, ec);
  if (ec || !std::filesystem::is_directory(uscita)) {
    err << "scenario_tool compile: cannot create output folder " << uscita
        << (ec ? ": " + ec.message() : std::string()) << "\n";
    return 2;
  }

  StatoCompilazione stato;
  stato.nome_percorso = riga.operandi[1];
  stato.numero_treno = riga.operandi[2];
  RealFileSystem fs;
  RisultatoCompilazione risultato;
  {
    // The reader deletes what it reads: it gets copies in a folder of its own.
    CartellaLavoro lavoro;
    if (lavoro.percorso().empty()) {
      err << "scenario_tool compile: cannot make a temporary folder\n";
      return 2;
    }
    if (!copia_script(fs, cartella, lavoro.percorso(), nome_script_linea(stato.nome_percorso),
                      &motivo) ||
        !copia_script(fs, cartella, lavoro.percorso(),
                      nome_script_treno(stato.nome_percorso, stato.numero_treno), &motivo)) {
      err << "scenario_tool compile: " << motivo << "\n";
      return 2;
    }
    const bool j = !riga.ha("--no-line");
    risultato = memorizza_percorso(stato, j, fs, {lavoro.percorso(), uscita});
  }

  for (const Diagnosi& d : stato.diagnosi) {
    err << riga_diagnosi(d, cartella, stato.nome_percorso, stato.numero_treno) << "\n";
  }
  int uscita_stato = stato.diagnosi.empty() ? 0 : 1;
  switch (risultato.esito) {
    case Esito::errore_1250:
    case Esito::errore_1251: {
      const std::int32_t c = risultato.esito == Esito::errore_1250 ? codice::marcatore_cella_1
                                                                   : codice::codice_cella_1;
      err << "error " << c << ": " << significato_codice(c) << "\n"
          << "scenario_tool compile: no files written\n";
      uscita_stato = 1;
      break;
    }
    case Esito::senza_celle:
      err << "scenario_tool compile: no files written: the reader stopped before a route length, "
             "so there is no cell array\n";
      uscita_stato = 1;
      break;
    case Esito::scrittura_fallita:
      err << "scenario_tool compile: " << risultato.errore_scrittura << "\n";
      uscita_stato = 2;
      break;
    case Esito::scritto:
      if (stato.diagnosi.empty()) {
        err << riassunto(stato, risultato, cartella, uscita) << "\n";
      } else {
        err << "scenario_tool compile: wrote " << elenco(risultato.scritti) << " in " << uscita
            << ", from what was compiled when the code was recorded\n";
      }
      break;
  }
  if (riga.ha("--json")) out << rapporto_json(stato, risultato, cartella) << "\n";
  return uscita_stato;
}

}  // namespace scenario
