// The command line of one tool command: its options, its operands, and the
// checks on the route identifier and train number it names.
#ifndef SCENARIO_TOOLS_COMMAND_LINE_H_
#define SCENARIO_TOOLS_COMMAND_LINE_H_

#include <map>
#include <string>
#include <vector>

namespace scenario {

/// One option a command accepts.
struct Opzione {
  const char* nome;  ///< the long form, as "--out"
  bool con_valore;   ///< true when the option takes a value
};

/// A command line taken apart.
struct RigaComando {
  /// The options given, by name; a flag maps to "". A repeated option
  /// keeps its last value.
  std::map<std::string, std::string> opzioni;
  /// The operands, in order.
  std::vector<std::string> operandi;
  /// True when "--help" or "-h" was given.
  bool aiuto = false;

  /// True when option `nome` was given.
  bool ha(const std::string& nome) const { return opzioni.count(nome) != 0; }
};

/// Takes `argomenti` (the words after the command name) apart by the
/// options in `opzioni`. Values follow their option as the next word or
/// after "=" ("--out=x"); "--" ends the options. False with `*err` set for
/// an unknown option, a value missing, or a value given to a flag.
bool analizza_riga(const std::vector<std::string>& argomenti, const std::vector<Opzione>& opzioni,
                   RigaComando* riga, std::string* err);

/// Checks a route identifier or train number (`cosa` names which, for the
/// message): it must be non-empty printable ASCII (blank to "~") without
/// "/", so that the file names built from it stay inside their folder.
/// False with `*err` saying why.
bool nome_valido(const std::string& cosa, const std::string& nome, std::string* err);

/// Checks ROUTE and TRAIN with `nome_valido`, and that TRAIN is not
/// "linea", which would give the cell file the line file's name.
bool percorso_e_treno_validi(const std::string& percorso, const std::string& treno,
                             std::string* err);

/// Reads a whole number from 1 to `massimo` for option `nome`; false with
/// `*err` set when `testo` is anything else.
bool intero_positivo(const std::string& nome, const std::string& testo, long massimo, long* valore,
                     std::string* err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_COMMAND_LINE_H_
