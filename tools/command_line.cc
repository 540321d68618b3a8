#include "tools/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "base/file_names.h"

namespace scenario {

namespace {

constexpr const char* kAiutoStrumento =
    "usage: scenario_tool COMMAND [OPTIONS] ARGUMENTS\n"
    "       scenario_tool --help | --version\n"
    "\n"
    "The scenario authors' tool: write, compile, inspect and draw scenarios.\n"
    "\n"
    "commands:\n"
    "  scripts DIR                  write the built-in line and train scripts into DIR\n"
    "  check DIR ROUTE TRAIN        report every problem of the two scripts, writing nothing\n"
    "  compile DIR ROUTE TRAIN      compile DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt\n"
    "  explain CODE|RECORD          what an error code means, or every field of a record\n"
    "  decompile DIR ROUTE TRAIN    recover the scripts from a scenario's binary files\n"
    "  dump FILE                    decode a .dat or .sim file and check its check code\n"
    "  render DIR ROUTE TRAIN       draw the compiled scenario in DIR as an SVG page\n"
    "  lsp                          serve an editor the scripts' problems as they are typed\n"
    "\n"
    "'scenario_tool COMMAND --help' describes each command and its options.\n";

constexpr const char* kAiutoScripts =
    "usage: scenario_tool scripts [--route NAME] [--train NUMBER] [--force] DIR\n"
    "\n"
    "Writes the built-in scenario's line script and train script into DIR\n"
    "(created when missing), a starting point for new scenarios: by default\n"
    "as \"Zembrastina_Dervo_linea.txt\" and \"Zembrastina_Dervo_47716-.txt\",\n"
    "with --route and --train as \"NAME_linea.txt\" and \"NAME_NUMBER-.txt\".\n"
    "\n"
    "options:\n"
    "  --route NAME    the route identifier the scripts are named after\n"
    "  --train NUMBER  the train number the train script is named after\n"
    "  --force         replace scripts that already exist; without it, an\n"
    "                  existing script stops the command before anything is\n"
    "                  written (exit status 2)\n"
    "\n"
    "exit status: 0 when both scripts were written, 2 otherwise.\n";

constexpr const char* kAiutoCompile =
    "usage: scenario_tool compile [--out OUTDIR] [--no-line] [--partial] [--json] DIR ROUTE "
    "TRAIN\n"
    "\n"
    "Checks DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt as 'scenario_tool\n"
    "check' does, printing the same diagnostics, then compiles them exactly as\n"
    "the built-in run compiles its own scripts and writes ROUTE_linea.dat,\n"
    "ROUTE_TRAIN.sim and ROUTE_TRAIN.dat into OUTDIR (default DIR). The\n"
    "scripts are compiled from a temporary copy and left as they are.\n"
    "\n"
    "When the check finds an error nothing is written and the files already\n"
    "in OUTDIR stay as they are. With --partial the files are written from\n"
    "what was compiled up to the first recorded code, as the built-in run\n"
    "does, except after error 1250 or 1251 or when the reader stopped before\n"
    "a route length.\n"
    "\n"
    "options:\n"
    "  --out OUTDIR  folder for the binary files (created when missing)\n"
    "  --no-line     do not build the line geometry nor write the line file\n"
    "  --partial     write the files even when an error was found\n"
    "  --json        print a one-line JSON report on standard output, with the\n"
    "                diagnostics as its \"diagnostics\" array\n"
    "  --help        show this text\n"
    "\n"
    "ROUTE and TRAIN are printable ASCII without '/'; TRAIN is not \"linea\"\n"
    "and does not end in \"_linea\".\n"
    "exit status: 0 clean (warnings allowed), 1 an error was found or nothing\n"
    "was written, 2 wrong usage, a script that cannot be read, or a file that\n"
    "cannot be written.\n";

constexpr const char* kAiutoCheck =
    "usage: scenario_tool check [--json] [--no-warn NAME]... DIR ROUTE TRAIN\n"
    "\n"
    "Reads DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt, writes nothing, and\n"
    "reports every problem in one run on standard error, as\n"
    "  FILE:LINE:COL: error: MESSAGE [CODE]\n"
    "  FILE:LINE:COL: warning: MESSAGE [NAME]\n"
    "each followed by the source line with a caret under the field, and by\n"
    "FILE:LINE:COL: note: lines pointing at the other record involved. After\n"
    "an error the check goes on as if that record were not there.\n"
    "'scenario_tool explain CODE' says more about each error.\n"
    "\n"
    "options:\n"
    "  --json          print one JSON document with a \"diagnostics\" array on\n"
    "                  standard output instead\n"
    "  --no-warn NAME  silence the warnings named NAME (may be repeated)\n"
    "  --help          show this text\n"
    "\n"
    "exit status: 0 no error (warnings allowed), 1 errors, 2 wrong usage or a\n"
    "script that cannot be read.\n";

constexpr const char* kAiutoExplain =
    "usage: scenario_tool explain CODE | NAME | RECORD\n"
    "       scenario_tool explain --markdown\n"
    "\n"
    "Explains an error code (\"16\") or its name (\"signal-cell-taken\"): what it\n"
    "means, what causes it, how to fix it, with an example. Explains a record\n"
    "(\"stazione\", \"curvas4\"): its keyword and every field in order, with unit,\n"
    "width, range and how the value is stored.\n"
    "\n"
    "options:\n"
    "  --markdown  print the whole language reference, as committed in\n"
    "              docs/script-language.md\n"
    "  --help      show this text\n"
    "\n"
    "exit status: 0 explained, 2 wrong usage or an argument that names nothing.\n";

constexpr const char* kAiutoDecompile =
    "usage: scenario_tool decompile [--out OUTDIR] [--force] [--json] DIR ROUTE TRAIN\n"
    "\n"
    "Reads DIR/ROUTE_linea.dat (when there is one), DIR/ROUTE_TRAIN.sim and\n"
    "DIR/ROUTE_TRAIN.dat and writes ROUTE_linea.txt and ROUTE_TRAIN-.txt into\n"
    "OUTDIR (default DIR): scripts that compile to the same bytes (with\n"
    "--no-line when there was no line file). Before writing, the scripts are\n"
    "compiled in memory and compared with the files; when they differ, the\n"
    "report names the file, its first differing byte and what no script can\n"
    "express, and nothing is written.\n"
    "\n"
    "options:\n"
    "  --out OUTDIR  folder for the scripts (created when missing)\n"
    "  --force       replace existing scripts, and write the scripts even when\n"
    "                they do not compile to the same bytes\n"
    "  --json        print a one-line JSON summary on standard output\n"
    "  --help        show this text\n"
    "\n"
    "ROUTE and TRAIN are printable ASCII without '/'; TRAIN is not \"linea\"\n"
    "and does not end in \"_linea\".\n"
    "exit status: 0 same bytes and written, 1 not the same bytes, 2 wrong usage,\n"
    "a file that cannot be read or is malformed, or a script that cannot be\n"
    "written or exists already without --force.\n";

constexpr const char* kAiutoDump =
    "usage: scenario_tool dump [--json] [--step N] FILE\n"
    "\n"
    "Decodes a compiled scenario file, told by its name:\n"
    "  ROUTE_linea.dat   line file: metre, x, y for every metre (or every N)\n"
    "  ROUTE_TRAIN.sim   parameter file: the 87 entries, every field named;\n"
    "                    check code st recomputed from entries 85 and 86\n"
    "  ROUTE_TRAIN.dat   cell file: every cell holding an element or marker,\n"
    "                    the speed, gradient and adhesion profile where it\n"
    "                    changes; check code og in cell 1 compared with the\n"
    "                    identity in ROUTE_TRAIN.sim beside it, when there is one\n"
    "\n"
    "options:\n"
    "  --json      print JSON instead of text\n"
    "  --step N    line file: print every N-th metre (and the last)\n"
    "  --help      show this text\n"
    "\n"
    "exit status: 0 decoded, 1 a check code does not match, 2 wrong usage,\n"
    "a file that cannot be read, or a malformed file.\n";

constexpr const char* kAiutoRender =
    "usage: scenario_tool render [--out FILE.svg] [--force] DIR ROUTE TRAIN\n"
    "\n"
    "Draws the scenario compiled in DIR (ROUTE_linea.dat, ROUTE_TRAIN.sim and\n"
    "ROUTE_TRAIN.dat) as one SVG page: the plan of the track with its\n"
    "stations, and the profile along the route with the speed limit, the\n"
    "gradient and the adhesion, and the signals, stations, boards, slowdowns,\n"
    "code cells and mountain sections marked. Without a line file the page\n"
    "has no plan.\n"
    "\n"
    "options:\n"
    "  --out FILE.svg  where to write the page (default DIR/ROUTE_TRAIN.svg);\n"
    "                  '-' writes it on standard output. It must be a regular\n"
    "                  file or missing, and never one of the scenario's scripts\n"
    "                  or binary files\n"
    "  --force         write a page whose name does not end in \".svg\"\n"
    "  --help          show this text\n"
    "\n"
    "exit status: 0 drawn, 2 wrong usage, a file that cannot be read or\n"
    "written, or a malformed file.\n";

constexpr const char* kAiutoLsp =
    "usage: scenario_tool lsp\n"
    "\n"
    "Serves an editor with the Language Server Protocol on standard input and\n"
    "output: the problems of the line and train scripts as they are typed,\n"
    "what the field under the cursor is, the record keywords, and the\n"
    "stations, signals and boards of a script. A train script ROUTE_TRAIN-.txt\n"
    "is checked with ROUTE_linea.txt in its folder, a line script with every\n"
    "train script of its route there; scripts the editor has not open are read\n"
    "from disk. Nothing is written to disk. Messages it cannot use are logged\n"
    "on standard error and skipped.\n"
    "\n"
    "exit status: 0 after the editor's shutdown and exit, 1 when the session\n"
    "ended without shutdown.\n";

/// One command of the tool and what its command line holds.
struct DefinizioneComando {
  const char* nome;
  const char* aiuto;
  std::size_t operandi;   ///< how many operands it takes
  const char* attesi;     ///< the operands, for the message when the count is wrong
  bool out;               ///< takes --out
  bool senza_linea;       ///< takes --no-line
  bool json;              ///< takes --json
  bool passo;             ///< takes --step
  bool avvisi = false;    ///< takes --no-warn
  bool markdown = false;  ///< takes --markdown, and then no operand
  bool forza = false;     ///< takes --force
  bool parziale = false;  ///< takes --partial
  bool nomi = false;      ///< takes --route and --train
};

constexpr DefinizioneComando kComandi[] = {
    {"scripts", kAiutoScripts, 1, "one folder", false, false, false, false, false, false, true,
     false, true},
    {"check", kAiutoCheck, 3, "DIR ROUTE TRAIN", false, false, true, false, true},
    {"compile", kAiutoCompile, 3, "DIR ROUTE TRAIN", true, true, true, false, false, false, false,
     true},
    {"explain", kAiutoExplain, 1, "one CODE or RECORD", false, false, false, false, false, true},
    {"decompile", kAiutoDecompile, 3, "DIR ROUTE TRAIN", true, false, true, false, false, false,
     true},
    {"dump", kAiutoDump, 1, "one FILE", false, false, true, true},
    {"render", kAiutoRender, 3, "DIR ROUTE TRAIN", true, false, false, false, false, false, true},
    {"lsp", kAiutoLsp, 0, "no operands", false, false, false, false},
};

const DefinizioneComando* trova(const std::string& nome) {
  for (const DefinizioneComando& c : kComandi) {
    if (nome == c.nome) return &c;
  }
  return nullptr;
}

/// The option an unknown word names: the word up to any "=".
std::string nome_opzione(const std::string& parola) {
  return parola.substr(0, parola.find('='));
}

/// What is wrong, for a parse error of CLI11. Its messages start with the
/// option's name (without dashes for a flag given a value).
std::string motivo(const CLI::ParseError& e) {
  const std::string testo = e.what();
  std::string nome = testo.substr(0, testo.find_first_of(": "));
  if (nome.rfind('-', 0) != 0) nome = "--" + nome;
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
    if (testo.find("flag override") != std::string::npos) {
      return "option '" + nome + "' takes no value";
    }
    if (testo.find("missing") != std::string::npos) return "option '" + nome + "' needs a value";
  }
  // A validator's message already names the option.
  if (dynamic_cast<const CLI::ValidationError*>(&e)) return testo.substr(testo.find(": ") + 2);
  return testo;
}

/// Adds command `c`'s options and operands to `app`, to be stored in `*riga`.
void dichiara(CLI::App& app, const DefinizioneComando& c, RigaComando* riga) {
  CLI::App* comando = app.add_subcommand(c.nome);
  // Unknown options are left over for a message of our own.
  comando->allow_extras();
  if (c.out) {
    comando->add_option("--out", riga->out)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  if (c.senza_linea) comando->add_flag("--no-line", riga->senza_linea)->disable_flag_override();
  if (c.json) comando->add_flag("--json", riga->json)->disable_flag_override();
  if (c.passo) {
    // Digits only, read as a decimal number and handed on in that form.
    const CLI::Validator intero(
        [](std::string& testo) {
          long valore = 0;
          std::string err;
          if (!intero_positivo("--step", testo, kPassoMassimo, &valore, &err)) return err;
          testo = std::to_string(valore);
          return std::string();
        },
        "N");
    comando->add_option("--step", riga->passo)
        ->transform(intero)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  if (c.avvisi) comando->add_option("--no-warn", riga->avvisi_spenti)->allow_extra_args(false);
  if (c.markdown) comando->add_flag("--markdown", riga->markdown)->disable_flag_override();
  if (c.forza) comando->add_flag("--force", riga->forza)->disable_flag_override();
  if (c.parziale) comando->add_flag("--partial", riga->parziale)->disable_flag_override();
  if (c.nomi) {
    comando->add_option("--route", riga->percorso)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    comando->add_option("--train", riga->treno)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  comando->add_option("operandi", riga->operandi);
}

/// Why a command line without a command is wrong: nothing given, or the
/// first word left over names no command or option.
std::string senza_comando(const std::vector<std::string>& resto) {
  if (resto.empty()) return "no command given";
  if (resto[0].size() > 1 && resto[0][0] == '-') {
    return "unknown option '" + nome_opzione(resto[0]) + "'";
  }
  return "unknown command '" + resto[0] + "'";
}

/// Checks what command `c` was given: no unknown option left over (`resto`)
/// and the right number of operands (none with --markdown).
bool controlla_comando(const DefinizioneComando& c, const std::vector<std::string>& resto,
                       const RigaComando& riga, std::string* err) {
  if (!resto.empty()) {
    *err = "unknown option '" + nome_opzione(resto[0]) + "'";
    return false;
  }
  const std::size_t dati = riga.operandi.size();
  if (riga.markdown && dati != 0) {
    *err = "--markdown takes no operand, got " + std::to_string(dati);
    return false;
  }
  if (!riga.markdown && dati != c.operandi) {
    *err = std::string("expected ") + c.attesi + ", got " + std::to_string(dati) + " operands";
    return false;
  }
  return true;
}

}  // namespace

bool analizza_riga(const std::vector<std::string>& argomenti, RigaComando* riga, std::string* err) {
  *riga = RigaComando{};
  CLI::App app("scenario_tool");
  // At most one command: a command's operands may then be command names.
  app.require_subcommand(0, 1);
  app.allow_extras();
  app.set_version_flag("--version", "");
  for (const DefinizioneComando& c : kComandi) dichiara(app, c, riga);
  std::vector<std::string> comando_aiuto;
  app.add_subcommand("help")->add_option("comando", comando_aiuto);

  // Words after "--" are operands whatever they look like; CLI11 hands a
  // command's "--" back to the tool once the command has an operand, so the
  // words are set aside here and added to the operands.
  const auto separatore = std::find(argomenti.begin(), argomenti.end(), "--");
  std::vector<std::string> parole(argomenti.begin(), separatore);
  std::reverse(parole.begin(), parole.end());
  auto scelto = [&app] {
    const std::vector<CLI::App*> scelti = app.get_subcommands();
    return scelti.empty() ? std::string() : scelti[0]->get_name();
  };
  try {
    app.parse(parole);
  } catch (const CLI::CallForHelp&) {
    riga->richiesta = RigaComando::Richiesta::aiuto;
    riga->comando = scelto();
    return true;
  } catch (const CLI::CallForVersion&) {
    riga->richiesta = RigaComando::Richiesta::versione;
    return true;
  } catch (const CLI::ParseError& e) {
    riga->comando = scelto();
    *err = motivo(e);
    return false;
  }
  riga->comando = scelto();
  if (riga->comando == "help") {
    riga->richiesta = RigaComando::Richiesta::aiuto;
    const bool noto = comando_aiuto.size() == 1 && trova(comando_aiuto[0]);
    riga->comando = noto ? comando_aiuto[0] : std::string();
    return true;
  }
  const DefinizioneComando* c = trova(riga->comando);
  if (!c) {
    *err = senza_comando(app.remaining());
    return false;
  }
  if (separatore != argomenti.end()) {
    riga->operandi.insert(riga->operandi.end(), separatore + 1, argomenti.end());
  }
  return controlla_comando(*c, app.get_subcommand(c->nome)->remaining(), *riga, err);
}

std::string testo_aiuto(const std::string& comando) {
  const DefinizioneComando* c = trova(comando);
  return c ? c->aiuto : kAiutoStrumento;
}

std::string sinossi(const std::string& comando) {
  const std::string testo = testo_aiuto(comando);
  return testo.substr(0, testo.find('\n'));
}

bool nome_valido(const std::string& cosa, const std::string& nome, std::string* err) {
  if (nome.empty()) {
    *err = cosa + " is empty";
    return false;
  }
  for (std::size_t i = 0; i < nome.size(); ++i) {
    const auto c = static_cast<unsigned char>(nome[i]);
    if (c == '/') {
      *err =
          cosa + " '" + nome + "' contains '/': file names built from it must stay in their folder";
      return false;
    }
    if (c < 0x20 || c > 0x7E) {
      char codice[8];
      std::snprintf(codice, sizeof codice, "0x%02X", c);
      *err = cosa + " contains the byte " + codice + " at position " + std::to_string(i + 1) +
             ": only printable ASCII characters are allowed";
      return false;
    }
  }
  return true;
}

bool percorso_e_treno_validi(const std::string& percorso, const std::string& treno,
                             std::string* err) {
  if (!nome_valido("ROUTE", percorso, err) || !nome_valido("TRAIN", treno, err)) return false;
  if (treno == "linea") {
    *err = "TRAIN 'linea' would give the cell file the name of the line file";
    return false;
  }
  if (treno.ends_with("_linea")) {
    const std::string altro = percorso + "_" + treno.substr(0, treno.size() - 6);
    *err = "TRAIN '" + treno + "' ends in \"_linea\": its cell file " +
           nome_file_celle(percorso, treno) + " would have the name of the line file of route '" +
           altro + "'";
    return false;
  }
  return true;
}

bool nomi_entro_limite(FileSystem& fs, const std::string& cartella, const std::string& percorso,
                       const std::string& treno, std::string* err) {
  std::string piu_lungo;
  for (const std::string& nome : nomi_file_scenario(percorso, treno)) {
    if (nome.size() > piu_lungo.size()) piu_lungo = nome;
  }
  const std::size_t limite = fs.NameLimit(cartella);
  if (piu_lungo.size() <= limite) return true;
  *err = "ROUTE and TRAIN make the file name " + piu_lungo + " " +
         std::to_string(piu_lungo.size()) + " bytes long; " + cartella + " takes at most " +
         std::to_string(limite);
  return false;
}

bool intero_positivo(const std::string& nome, const std::string& testo, long massimo, long* valore,
                     std::string* err) {
  long v = 0;
  bool valido = !testo.empty() && testo.size() <= 10;
  for (char c : testo) {
    if (c < '0' || c > '9') {
      valido = false;
      break;
    }
    v = v * 10 + (c - '0');
  }
  if (!valido || v < 1 || v > massimo) {
    *err = "option '" + nome + "' needs a whole number from 1 to " + std::to_string(massimo) +
           ", not '" + testo + "'";
    return false;
  }
  *valore = v;
  return true;
}

std::string cartella_indicata(std::string cartella) {
  while (cartella.size() > 1 && cartella.back() == '/') cartella.pop_back();
  return cartella;
}

}  // namespace scenario
