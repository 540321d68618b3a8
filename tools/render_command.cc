#include "tools/render_command.h"

#include <filesystem>
#include <system_error>

#include "base/file_names.h"
#include "compiler/output_bounds.h"
#include "tools/render.h"
#include "tools/scenario_view.h"

namespace scenario {

namespace {

/// Checks that a decoded file has a shape the compiler gives it.
template <typename Decodificato>
using Verifica = bool (*)(const Decodificato&, ErroreDecodifica*);

/// Any parameter file that decodes could come from the compiler.
bool parametri_ammessi(const Parametri&, ErroreDecodifica*) {
  return true;
}

/// Reads file `percorso` of kind `tipo`, when it is no larger than the
/// compiler writes, and decodes it with `decodifica` and `ammesso`; false
/// with a message in `*err` naming the file and, for a malformed one, the
/// byte.
template <typename Decodificato>
bool leggi(FileSystem& fs, const std::string& percorso, TipoFile tipo,
           bool (*decodifica)(std::string_view, Decodificato*, ErroreDecodifica*),
           Verifica<Decodificato> ammesso, Decodificato* dati, std::string* err) {
  std::string bytes;
  if (!leggi_file_compilato(fs, percorso, tipo, &bytes, err)) return false;
  ErroreDecodifica e;
  if (!decodifica(bytes, dati, &e) || !ammesso(*dati, &e)) {
    *err = percorso + ": byte " + std::to_string(e.offset) + ": " + e.messaggio;
    return false;
  }
  return true;
}

/// The page's output, standard output when it is this.
constexpr const char* kUscitaStandard = "-";

/// True when `a` and `b` name one file: the same path once links and ".."
/// are resolved, or, when both exist, the same file by device and inode.
bool stesso_file(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code ec_a, ec_b;
  const fs::path pa = fs::weakly_canonical(a, ec_a);
  const fs::path pb = fs::weakly_canonical(b, ec_b);
  if (!ec_a && !ec_b && pa == pb) return true;
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

/// Checks that the page may go to `uscita`: not one of the scenario's own
/// scripts or binary files in `cartella`, and, unless `forza`, a name
/// ending in ".svg". False with `*err` saying why.
bool uscita_ammessa(const std::string& uscita, const std::string& cartella,
                    const ScenarioDecodificato& s, bool forza, std::string* err) {
  for (const std::string& nome : nomi_file_scenario(s.nome_percorso, s.numero_treno)) {
    const std::string proprio = percorso_in(cartella, nome);
    if (stesso_file(uscita, proprio)) {
      *err = "will not write the page over " + proprio + ", one of the scenario's own files" +
             (uscita == proprio ? "" : " (the output " + uscita + " is that file)");
      return false;
    }
  }
  if (!forza && !uscita.ends_with(".svg")) {
    *err = "the output " + uscita + " does not end in \".svg\" (--force writes it all the same)";
    return false;
  }
  return true;
}

}  // namespace

int comando_render(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err) {
  const std::string cartella = cartella_indicata(riga.operandi[0]);
  ScenarioDecodificato s;
  s.nome_percorso = riga.operandi[1];
  s.numero_treno = riga.operandi[2];
  std::string motivo;
  const std::string uscita =
      riga.out ? *riga.out : percorso_in(cartella, s.nome_percorso + "_" + s.numero_treno + ".svg");
  if (uscita.empty()) {
    err << "scenario_tool render: the output file name is empty\n";
    return 2;
  }
  const bool a_uscita_standard = uscita == kUscitaStandard;
  if (!a_uscita_standard && !uscita_ammessa(uscita, cartella, s, riga.forza, &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  const std::string file_linea = percorso_in(cartella, nome_file_linea(s.nome_percorso));
  // A scenario compiled without the line geometry has no line file.
  s.con_linea = fs.KindOf(file_linea) != FileSystem::PathKind::kMissing;
  if (!leggi(fs, percorso_in(cartella, nome_file_parametri(s.nome_percorso, s.numero_treno)),
             TipoFile::parametri, decodifica_parametri, parametri_ammessi, &s.parametri, &motivo) ||
      !leggi(fs, percorso_in(cartella, nome_file_celle(s.nome_percorso, s.numero_treno)),
             TipoFile::celle, decodifica_celle, celle_ammesse, &s.celle, &motivo) ||
      (s.con_linea && !leggi(fs, file_linea, TipoFile::linea, decodifica_linea, linea_ammessa,
                             &s.linea, &motivo))) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  if (a_uscita_standard) {
    out << disegna_scenario(s);
    return 0;
  }
  if (!ReplaceFile(fs, uscita, disegna_scenario(s), &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  out << uscita << "\n";
  return 0;
}

}  // namespace scenario
