#include "tools/tool.h"

#include <unistd.h>

#include <cstring>
#include <iostream>

#include "base/program_guard.h"
#include "scripts/builtin_scripts.h"
#include "tools/check_command.h"
#include "tools/command_line.h"
#include "tools/compile_command.h"
#include "tools/decompile_command.h"
#include "tools/descriptor_output.h"
#include "tools/dump_command.h"
#include "tools/explain_command.h"
#include "tools/lsp_command.h"
#include "tools/render_command.h"
#include "tools/scripts_command.h"

namespace scenario {

const char* const kVersioneStrumento = "scenario_tool 1.0.0";

namespace {

/// Where a command takes a route identifier and a train number from.
enum class NomiScenario {
  nessuno,   ///< it takes none
  operandi,  ///< the second and third operands: DIR ROUTE TRAIN
  opzioni,   ///< --route and --train, the built-in names when not given
};

/// One command: its name, the function that runs it and where it takes
/// ROUTE and TRAIN from.
struct Comando {
  const char* nome;
  int (*esegui)(const RigaComando&, FileSystem&, std::ostream&, std::ostream&);
  NomiScenario nomi = NomiScenario::nessuno;
};

/// `check`, its options taken from the command line.
int esegui_check(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err) {
  OpzioniCheck opzioni;
  opzioni.cartella = riga.operandi[0];
  opzioni.percorso = riga.operandi[1];
  opzioni.treno = riga.operandi[2];
  opzioni.json = riga.json;
  opzioni.avvisi_spenti = riga.avvisi_spenti;
  return comando_check(opzioni, fs, out, err);
}

/// `explain`: one argument, or the whole reference with --markdown.
int esegui_explain(const RigaComando& riga, FileSystem&, std::ostream& out, std::ostream& err) {
  return spiega(riga.markdown ? "--markdown" : riga.operandi[0], out, err);
}

/// `decompile`: ROUTE and TRAIN checked and the --out folder made as for
/// `compile`.
int esegui_decompile(const RigaComando& riga, FileSystem& fs, std::ostream& out,
                     std::ostream& err) {
  OpzioniDecompile opzioni;
  opzioni.dir = cartella_indicata(riga.operandi[0]);
  opzioni.route = riga.operandi[1];
  opzioni.train = riga.operandi[2];
  opzioni.force = riga.forza;
  opzioni.json = riga.json;
  std::string motivo;
  if (riga.out) {
    opzioni.out_dir = cartella_indicata(*riga.out);
    if (opzioni.out_dir.empty()) {
      err << "scenario_tool decompile: the output folder is empty\n";
      return 2;
    }
    if (!fs.MakeFolders(opzioni.out_dir, &motivo)) {
      err << "scenario_tool decompile: cannot create output folder " << motivo << "\n";
      return 2;
    }
  }
  if (!nomi_entro_limite(fs, opzioni.out_dir.empty() ? opzioni.dir : opzioni.out_dir, opzioni.route,
                         opzioni.train, &motivo)) {
    err << "scenario_tool decompile: " << motivo << "\n";
    return 2;
  }
  return decompila_scenario(opzioni, fs, out, err);
}

constexpr Comando kComandi[] = {
    {"scripts", comando_scripts, NomiScenario::opzioni},
    {"check", esegui_check, NomiScenario::operandi},
    {"compile", comando_compile, NomiScenario::operandi},
    {"explain", esegui_explain},
    {"decompile", esegui_decompile, NomiScenario::operandi},
    {"dump", comando_dump},
    {"render", comando_render, NomiScenario::operandi},
    // The editor speaks the protocol on the process's own standard input.
    {"lsp", [](const RigaComando&, FileSystem& fs, std::ostream& out,
               std::ostream& err) { return comando_lsp(std::cin, out, err, fs); }},
};

/// "scenario_tool" or "scenario_tool COMMAND", as messages start.
std::string chi(const std::string& comando) {
  return comando.empty() ? "scenario_tool" : "scenario_tool " + comando;
}

/// Why writing `out` failed: ": REASON" when its buffer kept the
/// system's reason, else "".
std::string motivo_uscita(const std::ostream& out) {
  const auto* descrittore = dynamic_cast<const UscitaDescrittore*>(out.rdbuf());
  if (!descrittore || descrittore->errore() == 0) return "";
  return std::string(": ") + std::strerror(descrittore->errore());
}

/// Runs the command line `argomenti`, putting the command's name in
/// `*comando` once it is known; returns the exit status.
int esegui_riga(const std::vector<std::string>& argomenti, FileSystem& fs, std::ostream& out,
                std::ostream& err, std::string* comando) {
  RigaComando riga;
  std::string motivo;
  if (!analizza_riga(argomenti, &riga, &motivo)) {
    err << chi(riga.comando) << ": " << motivo << "; " << sinossi(riga.comando) << "\n";
    return 2;
  }
  *comando = riga.comando;
  switch (riga.richiesta) {
    case RigaComando::Richiesta::aiuto:
      out << testo_aiuto(riga.comando);
      return 0;
    case RigaComando::Richiesta::versione:
      out << kVersioneStrumento << "\n";
      return 0;
    case RigaComando::Richiesta::esegui:
      break;
  }
  for (const Comando& c : kComandi) {
    if (riga.comando != c.nome) continue;
    // Every file name is built from ROUTE and TRAIN: they are checked here,
    // once, before any command looks at a file.
    if (c.nomi != NomiScenario::nessuno) {
      const bool operandi = c.nomi == NomiScenario::operandi;
      const std::string percorso =
          operandi ? riga.operandi[1] : riga.percorso.value_or(kNomePercorso);
      const std::string treno = operandi ? riga.operandi[2] : riga.treno.value_or(kNumeroTreno);
      if (!percorso_e_treno_validi(percorso, treno, &motivo)) {
        err << chi(riga.comando) << ": " << motivo << "\n";
        return 2;
      }
    }
    return c.esegui(riga, fs, out, err);
  }
  err << chi("") << ": unknown command '" << riga.comando << "'\n";
  return 2;
}

}  // namespace

int esegui_comando(const std::vector<std::string>& argomenti, FileSystem& fs, std::ostream& out,
                   std::ostream& err) {
  std::string comando;
  const int stato = esegui_riga(argomenti, fs, out, err, &comando);
  // Output that did not reach standard output is a failed run, whatever
  // the command made of it.
  out.flush();
  if (out.fail()) {
    err << chi(comando) << ": cannot write standard output" << motivo_uscita(out) << "\n";
    return kExitSystemFailure;
  }
  return stato;
}

int esegui_comando(const std::vector<std::string>& argomenti, std::ostream& out,
                   std::ostream& err) {
  RealFileSystem fs;
  return esegui_comando(argomenti, fs, out, err);
}

int esegui_strumento(int argc, char** argv) {
  // A file-size limit then fails a write like any other reason.
  IgnoreFileSizeSignal();
  return RunGuardingMemory("scenario_tool", [argc, argv] {
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    // Standard output through a buffer that keeps why a write failed.
    UscitaDescrittore uscita(STDOUT_FILENO);
    std::ostream out(&uscita);
    return esegui_comando(argomenti, out, std::cerr);
  });
}

}  // namespace scenario
