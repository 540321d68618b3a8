#include "tools/tool.h"

#include <iostream>

#include "tools/command_line.h"
#include "tools/compile_command.h"
#include "tools/dump_command.h"
#include "tools/lsp_command.h"
#include "tools/render_command.h"
#include "tools/scripts_command.h"

namespace scenario {

const char* const kVersioneStrumento = "scenario_tool 1.0.0";

namespace {

/// One command: its name and the function that runs it.
struct Comando {
  const char* nome;
  int (*esegui)(const RigaComando&, FileSystem&, std::ostream&, std::ostream&);
};

constexpr Comando kComandi[] = {
    {"scripts", comando_scripts},
    {"compile", comando_compile},
    {"dump", comando_dump},
    {"render", comando_render},
    // The editor speaks the protocol on the process's own standard streams.
    {"lsp", [](const RigaComando&, FileSystem& fs, std::ostream&,
               std::ostream&) { return comando_lsp(std::cin, std::cout, std::cerr, fs); }},
};

/// "scenario_tool" or "scenario_tool COMMAND", as messages start.
std::string chi(const std::string& comando) {
  return comando.empty() ? "scenario_tool" : "scenario_tool " + comando;
}

}  // namespace

int esegui_comando(const std::vector<std::string>& argomenti, FileSystem& fs, std::ostream& out,
                   std::ostream& err) {
  RigaComando riga;
  std::string motivo;
  if (!analizza_riga(argomenti, &riga, &motivo)) {
    err << chi(riga.comando) << ": " << motivo << "; " << sinossi(riga.comando) << "\n";
    return 2;
  }
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
    if (riga.comando == c.nome) return c.esegui(riga, fs, out, err);
  }
  err << chi("") << ": unknown command '" << riga.comando << "'\n";
  return 2;
}

int esegui_comando(const std::vector<std::string>& argomenti, std::ostream& out,
                   std::ostream& err) {
  RealFileSystem fs;
  return esegui_comando(argomenti, fs, out, err);
}

int esegui_strumento(int argc, char** argv) {
  const std::vector<std::string> argomenti(argv + 1, argv + argc);
  const int stato = esegui_comando(argomenti, std::cout, std::cerr);
  std::cout.flush();
  return stato;
}

}  // namespace scenario
