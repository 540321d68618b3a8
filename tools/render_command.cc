#include "tools/render_command.h"

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
  std::string bytes, motivo;
  if (!dimensione_ammessa(fs, percorso, tipo, err)) return false;
  if (!fs.IsRegularFile(percorso) || !fs.ReadFile(percorso, &bytes, &motivo)) {
    *err = "cannot read " + percorso;
    return false;
  }
  ErroreDecodifica e;
  if (!decodifica(bytes, dati, &e) || !ammesso(*dati, &e)) {
    *err = percorso + ": byte " + std::to_string(e.offset) + ": " + e.messaggio;
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
  if (!percorso_e_treno_validi(s.nome_percorso, s.numero_treno, &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  const std::string uscita =
      riga.out ? *riga.out : percorso_in(cartella, s.nome_percorso + "_" + s.numero_treno + ".svg");
  if (uscita.empty()) {
    err << "scenario_tool render: the output file name is empty\n";
    return 2;
  }
  const std::string file_linea = percorso_in(cartella, nome_file_linea(s.nome_percorso));
  // A scenario compiled without the line geometry has no line file.
  s.con_linea = fs.IsRegularFile(file_linea);
  if (!leggi(fs, percorso_in(cartella, nome_file_parametri(s.nome_percorso, s.numero_treno)),
             TipoFile::parametri, decodifica_parametri, parametri_ammessi, &s.parametri, &motivo) ||
      !leggi(fs, percorso_in(cartella, nome_file_celle(s.nome_percorso, s.numero_treno)),
             TipoFile::celle, decodifica_celle, celle_ammesse, &s.celle, &motivo) ||
      (s.con_linea && !leggi(fs, file_linea, TipoFile::linea, decodifica_linea, linea_ammessa,
                             &s.linea, &motivo)) ||
      !ReplaceFile(fs, uscita, disegna_scenario(s), &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  out << uscita << "\n";
  return 0;
}

}  // namespace scenario
