// The tool's command line, taken apart by CLI11: the commands with their
// options, operands and help texts, and the checks on the names the
// operands give.
#ifndef SCENARIO_TOOLS_COMMAND_LINE_H_
#define SCENARIO_TOOLS_COMMAND_LINE_H_

#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace scenario {

/// Largest value of --step.
inline constexpr long kPassoMassimo = 100000000;

/// A command line taken apart.
struct RigaComando {
  /// What the command line asks for.
  enum class Richiesta { esegui, aiuto, versione };
  Richiesta richiesta = Richiesta::esegui;
  /// The command's name ("scripts", "check", ...); "" for the tool itself.
  std::string comando;
  /// The operands, in order.
  std::vector<std::string> operandi;
  std::optional<std::string> out;          ///< --out: compile's OUTDIR, render's FILE.svg
  bool senza_linea = false;                ///< --no-line
  bool json = false;                       ///< --json
  long passo = 1;                          ///< --step
  bool forza = false;                      ///< --force
  bool parziale = false;                   ///< --partial
  bool markdown = false;                   ///< --markdown
  std::vector<std::string> avvisi_spenti;  ///< every --no-warn NAME, in order
  std::optional<std::string> percorso;     ///< --route: scripts' ROUTE
  std::optional<std::string> treno;        ///< --train: scripts' TRAIN
};

/// Takes `argomenti` (the words after the program name) apart: a command
/// and its options and operands, or the tool's --help and --version.
/// Options may stand anywhere among the operands, a value after its option
/// or after "=" ("--out=x"); a repeated option keeps its last value; "--"
/// makes every word after it an operand. False with `*err` saying what is
/// wrong (an unknown command or option, a value missing or given to a flag,
/// the wrong number of operands); `riga->comando` then names the command
/// when there is one.
bool analizza_riga(const std::vector<std::string>& argomenti, RigaComando* riga, std::string* err);

/// The help text of `comando` ("" for the tool's own).
std::string testo_aiuto(const std::string& comando);

/// The first line of that text: "usage: scenario_tool ...".
std::string sinossi(const std::string& comando);

/// Checks a route identifier or train number (`cosa` names which, for the
/// message): it must be non-empty printable ASCII (blank to "~") without
/// "/", so that the file names built from it stay inside their folder.
/// False with `*err` saying why.
bool nome_valido(const std::string& cosa, const std::string& nome, std::string* err);

/// Checks ROUTE and TRAIN with `nome_valido`, and that TRAIN is not
/// "linea" nor ends in "_linea", which would give the cell file the name of
/// a line file (its own route's, or that of route ROUTE_X for TRAIN X_linea).
bool percorso_e_treno_validi(const std::string& percorso, const std::string& treno,
                             std::string* err);

/// Checks that the longest of the scenario's file names (scripts and binary
/// files) for ROUTE and TRAIN fits folder `cartella` (FileSystem::NameLimit),
/// so that a name too long stops a command before anything is written.
/// False with `*err` giving the name, its length and the limit.
bool nomi_entro_limite(FileSystem& fs, const std::string& cartella, const std::string& percorso,
                       const std::string& treno, std::string* err);

/// Reads a whole number from 1 to `massimo` for option `nome`; false with
/// `*err` set when `testo` is anything else.
bool intero_positivo(const std::string& nome, const std::string& testo, long massimo, long* valore,
                     std::string* err);

/// A folder as the user gave it, without the "/" it may end with (a lone
/// "/" stays): names are joined to it with `percorso_in`, one separator
/// between them.
std::string cartella_indicata(std::string cartella);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_COMMAND_LINE_H_
