#include "tools/tool.h"

#include <iostream>

#include "tools/compile_command.h"
#include "tools/dump_command.h"
#include "tools/render_command.h"
#include "tools/scripts_command.h"

namespace scenario {

const char* const kVersioneStrumento = "scenario_tool 1.0.0";

namespace {

constexpr const char* kUso =
    "usage: scenario_tool COMMAND [OPTIONS] ARGUMENTS\n"
    "       scenario_tool --help | --version\n"
    "\n"
    "The scenario authors' tool: write, compile, inspect and draw scenarios.\n"
    "\n"
    "commands:\n"
    "  scripts DIR                  write the built-in line and train scripts into DIR\n"
    "  compile DIR ROUTE TRAIN      compile DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt\n"
    "  dump FILE                    decode a .dat or .sim file and check its check code\n"
    "  render DIR ROUTE TRAIN       draw the compiled scenario in DIR as an SVG page\n"
    "\n"
    "'scenario_tool COMMAND --help' describes each command and its options.\n";

/// One command: its name and the function that runs it.
struct Comando {
  const char* nome;
  int (*esegui)(const std::vector<std::string>&, std::ostream&, std::ostream&);
};

constexpr Comando kComandi[] = {
    {"scripts", comando_scripts},
    {"compile", comando_compile},
    {"dump", comando_dump},
    {"render", comando_render},
};

}  // namespace

int esegui_comando(const std::vector<std::string>& argomenti, std::ostream& out,
                   std::ostream& err) {
  if (argomenti.empty()) {
    err << "scenario_tool: no command given\n" << kUso;
    return 2;
  }
  const std::string& primo = argomenti[0];
  if (primo == "--help" || primo == "-h" || primo == "help") {
    if (argomenti.size() == 2) {
      for (const Comando& c : kComandi) {
        if (argomenti[1] == c.nome) return c.esegui({"--help"}, out, err);
      }
    }
    out << kUso;
    return 0;
  }
  if (primo == "--version") {
    out << kVersioneStrumento << "\n";
    return 0;
  }
  for (const Comando& c : kComandi) {
    if (primo == c.nome) {
      return c.esegui(std::vector<std::string>(argomenti.begin() + 1, argomenti.end()), out, err);
    }
  }
  if (!primo.empty() && primo[0] == '-') {
    err << "scenario_tool: unknown option '" << primo << "'\n" << kUso;
  } else {
    err << "scenario_tool: unknown command '" << primo << "'\n" << kUso;
  }
  return 2;
}

int esegui_strumento(int argc, char** argv) {
  std::vector<std::string> argomenti(argv + 1, argv + argc);
  const int stato = esegui_comando(argomenti, std::cout, std::cerr);
  std::cout.flush();
  return stato;
}

}  // namespace scenario
