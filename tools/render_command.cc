#include "tools/render_command.h"

#include "base/file_names.h"
#include "base/file_system.h"
#include "tools/command_line.h"
#include "tools/dump.h"
#include "tools/render.h"

namespace scenario {

const char* const kUsoRender =
    "usage: scenario_tool render [--out FILE.svg] DIR ROUTE TRAIN\n"
    "\n"
    "Draws the scenario compiled in DIR (ROUTE_linea.dat, ROUTE_TRAIN.sim and\n"
    "ROUTE_TRAIN.dat) as one SVG page: the plan of the track with its\n"
    "stations, and the profile along the route with the speed limit, the\n"
    "gradient and the adhesion, and the signals, stations, boards, slowdowns,\n"
    "code cells and mountain sections marked. Without a line file the page\n"
    "has no plan.\n"
    "\n"
    "options:\n"
    "  --out FILE.svg  where to write the page (default DIR/ROUTE_TRAIN.svg)\n"
    "  --help          show this text\n"
    "\n"
    "exit status: 0 drawn, 2 wrong usage, a file that cannot be read or\n"
    "written, or a malformed file.\n";

namespace {

/// Reads `percorso` into `*bytes`; false with a message in `*err`.
bool leggi(FileSystem& fs, const std::string& percorso, std::string* bytes, std::string* err) {
  std::string motivo;
  if (!fs.IsRegularFile(percorso) || !fs.ReadFile(percorso, bytes, &motivo)) {
    *err = "cannot read " + percorso;
    return false;
  }
  return true;
}

std::string errore_in(const std::string& file, const ErroreDecodifica& e) {
  return file + ": byte " + std::to_string(e.offset) + ": " + e.messaggio;
}

}  // namespace

int comando_render(const std::vector<std::string>& argomenti, std::ostream& out,
                   std::ostream& err) {
  RigaComando riga;
  std::string motivo;
  if (!analizza_riga(argomenti, {{"--out", true}}, &riga, &motivo)) {
    err << "scenario_tool render: " << motivo << "\n" << kUsoRender;
    return 2;
  }
  if (riga.aiuto) {
    out << kUsoRender;
    return 0;
  }
  if (riga.operandi.size() != 3) {
    err << "scenario_tool render: expected DIR ROUTE TRAIN, got " << riga.operandi.size()
        << " operands\n"
        << kUsoRender;
    return 2;
  }
  const std::string& cartella = riga.operandi[0];
  ScenarioDecodificato s;
  s.nome_percorso = riga.operandi[1];
  s.numero_treno = riga.operandi[2];
  if (!percorso_e_treno_validi(s.nome_percorso, s.numero_treno, &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  const std::string uscita =
      riga.ha("--out") ? riga.opzioni["--out"]
                       : percorso_in(cartella, s.nome_percorso + "_" + s.numero_treno + ".svg");
  if (uscita.empty()) {
    err << "scenario_tool render: the output file name is empty\n";
    return 2;
  }

  RealFileSystem fs;
  const std::string file_linea = percorso_in(cartella, nome_file_linea(s.nome_percorso));
  const std::string file_parametri =
      percorso_in(cartella, nome_file_parametri(s.nome_percorso, s.numero_treno));
  const std::string file_celle =
      percorso_in(cartella, nome_file_celle(s.nome_percorso, s.numero_treno));
  std::string bytes;
  ErroreDecodifica errore;
  if (!leggi(fs, file_parametri, &bytes, &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  if (!decodifica_parametri(bytes, &s.parametri, &errore)) {
    err << "scenario_tool render: " << errore_in(file_parametri, errore) << "\n";
    return 2;
  }
  if (!leggi(fs, file_celle, &bytes, &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  if (!decodifica_celle(bytes, &s.celle, &errore)) {
    err << "scenario_tool render: " << errore_in(file_celle, errore) << "\n";
    return 2;
  }
  // A scenario compiled without the line geometry has no line file.
  if (fs.IsRegularFile(file_linea)) {
    if (!leggi(fs, file_linea, &bytes, &motivo)) {
      err << "scenario_tool render: " << motivo << "\n";
      return 2;
    }
    if (!decodifica_linea(bytes, &s.linea, &errore)) {
      err << "scenario_tool render: " << errore_in(file_linea, errore) << "\n";
      return 2;
    }
    s.con_linea = true;
  }

  if (!ReplaceFile(fs, uscita, disegna_scenario(s), &motivo)) {
    err << "scenario_tool render: " << motivo << "\n";
    return 2;
  }
  out << uscita << "\n";
  return 0;
}

}  // namespace scenario
