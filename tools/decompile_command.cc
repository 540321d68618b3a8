#include "tools/decompile_command.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

#include "base/file_names.h"
#include "compiler/error_codes.h"
#include "tools/decompiler.h"
#include "tools/file_difference.h"
#include "tools/memory_compile.h"
#include "tools/script_writer.h"
#include "tools/text_encoding.h"

namespace scenario {

const char* const kUsoDecompile =
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
    "  --out OUTDIR  folder for the scripts\n"
    "  --force       replace existing scripts, and write the scripts even when\n"
    "                they do not compile to the same bytes\n"
    "  --json        print a one-line JSON summary on standard output\n"
    "  --help        show this text\n"
    "\n"
    "exit status: 0 same bytes and written, 1 not the same bytes, 2 wrong usage,\n"
    "a file that cannot be read or is malformed, or a script that cannot be\n"
    "written or exists already without --force.\n";

namespace {

constexpr const char* kComando = "scenario_tool decompile: ";
/// The notes of what cannot be expressed shown on the terminal; the JSON
/// summary carries them all.
constexpr std::size_t kNoteMostrate = 10;

/// The records of each kind, named by their keyword.
std::vector<std::pair<std::string, std::size_t>> conteggi(const ScenarioDecompilato& s) {
  std::size_t sezioni = 0;
  for (const RecordMontagna& m : s.montagne) sezioni += m.separatore ? 0 : 1;
  return {{"curva", s.curve.size()},
          {"pendenza", s.pendenze.size()},
          {"montagna", sezioni},
          {"indicatori_vmax", s.indicatori.size()},
          {"cartello_indicatore", s.cartelli.size()},
          {"aderenza", s.aderenze.size()},
          {"velocita", s.velocita.size()},
          {"stazione", s.stazioni.size()},
          {"rallentamento", s.rallentamenti.size()},
          {"segnale", s.segnali.size()},
          {"abbattimento", s.abbattimenti.size()}};
}

/// Reads and decodes one input file; false with the message on `err`.
template <typename Decodifica>
bool leggi(FileSystem& fs, const std::string& percorso, std::string* bytes, Decodifica decodifica,
           std::ostream& err) {
  std::string motivo;
  if (!fs.IsRegularFile(percorso)) {
    err << kComando << "cannot read " << percorso << ": no such file\n";
    return false;
  }
  if (!fs.ReadFile(percorso, bytes, &motivo)) {
    err << kComando << "cannot read " << motivo << "\n";
    return false;
  }
  ErroreDecodifica errore;
  if (!decodifica(*bytes, &errore)) {
    err << kComando << percorso << ": byte " << errore.offset << ": " << errore.messaggio << "\n";
    return false;
  }
  return true;
}

/// The outcome of the check: the recompile's codes and first difference.
struct Verifica {
  CompilazioneInMemoria compilazione;
  std::optional<Differenza> differenza;
  bool identica() const { return compilazione.pulita() && !differenza; }
};

/// The comment lines that head both scripts.
std::vector<std::string> intestazione(const std::string& cosa, const std::vector<std::string>& da,
                                      bool con_linea, bool identica) {
  // No commas: the lines stay comment lines wherever an author moves them.
  std::string origine;
  for (std::size_t i = 0; i < da.size(); ++i) origine += (i == 0 ? "" : " and ") + da[i];
  std::vector<std::string> righe = {
      "- " + cosa + " recovered by scenario_tool decompile", "- from " + origine,
      identica ? "- compiling both scripts gives the same bytes as those files"
               : "- compiling both scripts does NOT give the same bytes as those files"};
  if (!con_linea) righe.push_back("- there was no line file: compile them with --no-line");
  return righe;
}

std::string descrizione_codice(const Diagnosi& d) {
  std::string s = "error " + std::to_string(d.codice) + ": " + significato_codice(d.codice);
  if (d.con_posizione) s += " (position " + std::to_string(d.posizione) + " m)";
  return s;
}

std::string nome_file(TipoFile t, const std::string& linea, const std::string& parametri,
                      const std::string& celle) {
  return t == TipoFile::linea ? linea : t == TipoFile::parametri ? parametri : celle;
}

}  // namespace

int decompila_scenario(const OpzioniDecompile& opzioni, FileSystem& fs, std::ostream& out,
                       std::ostream& err) {
  const std::string& route = opzioni.route;
  const std::string& train = opzioni.train;
  const std::string p_linea = percorso_in(opzioni.dir, nome_file_linea(route));
  const std::string p_parametri = percorso_in(opzioni.dir, nome_file_parametri(route, train));
  const std::string p_celle = percorso_in(opzioni.dir, nome_file_celle(route, train));

  BytesScenario originali;
  FileDecodificati file;
  originali.con_linea = file.con_linea = fs.IsRegularFile(p_linea);
  if (file.con_linea && !leggi(
                            fs, p_linea, &originali.linea,
                            [&](const std::string& b, ErroreDecodifica* e) {
                              return decodifica_linea(b, &file.linea, e);
                            },
                            err)) {
    return 2;
  }
  if (!leggi(
          fs, p_parametri, &originali.parametri,
          [&](const std::string& b, ErroreDecodifica* e) {
            return decodifica_parametri(b, &file.parametri, e);
          },
          err) ||
      !leggi(
          fs, p_celle, &originali.celle,
          [&](const std::string& b, ErroreDecodifica* e) {
            return decodifica_celle(b, &file.celle, e);
          },
          err)) {
    return 2;
  }

  const Decompilazione d = decompila(file, route, train);
  const std::string linea_da_provare = testo_script_linea(d.scenario, {});
  const std::string treno_da_provare = testo_script_treno(d.scenario, {});
  Verifica verifica;
  bool identici = false;
  verifica.compilazione =
      compila_e_confronta(route, train, linea_da_provare, treno_da_provare, originali, &identici);
  if (!identici) {
    // Compiled again, keeping the files this time, to say where they part.
    verifica.compilazione =
        compila_in_memoria(route, train, linea_da_provare, treno_da_provare, file.con_linea);
    verifica.differenza = prima_differenza(originali, verifica.compilazione.file);
  }
  const bool identica = verifica.identica();

  std::vector<std::string> da;
  if (file.con_linea) da.push_back(p_linea);
  da.push_back(p_parametri);
  da.push_back(p_celle);
  const std::string cartella = opzioni.out_dir.empty() ? opzioni.dir : opzioni.out_dir;
  const std::string s_linea = percorso_in(cartella, nome_script_linea(route));
  const std::string s_treno = percorso_in(cartella, nome_script_treno(route, train));

  // The report.
  std::string conti;
  for (const auto& [nome, n] : conteggi(d.scenario)) {
    conti += (conti.empty() ? "" : ", ") + std::to_string(n) + " " + nome;
  }
  std::string origine;
  for (const std::string& f : da) origine += (origine.empty() ? "" : ", ") + f;
  err << origine << ": recovered " << conti << "\n";
  for (const Diagnosi& c : verifica.compilazione.diagnosi) {
    err << kComando << "compiling the recovered scripts records " << descrizione_codice(c) << "\n";
  }
  switch (verifica.compilazione.esito) {
    case Esito::errore_1250:
    case Esito::errore_1251: {
      const std::int32_t c = verifica.compilazione.esito == Esito::errore_1250
                                 ? codice::marcatore_cella_1
                                 : codice::codice_cella_1;
      err << kComando << "compiling the recovered scripts writes no files: error " << c << ": "
          << significato_codice(c) << "\n";
      break;
    }
    case Esito::senza_celle:
      err << kComando
          << "compiling the recovered scripts writes no files: the reader stopped before a route "
             "length\n";
      break;
    case Esito::scritto:
    case Esito::scrittura_fallita:
      break;
  }
  if (!verifica.differenza && !verifica.compilazione.diagnosi.empty()) {
    err << kComando << "the recovered scripts give the same bytes, but only with error "
        << verifica.compilazione.codice_errore
        << " recorded: no clean compile writes these files\n";
  }
  if (verifica.differenza) {
    const Differenza& x = *verifica.differenza;
    err << kComando << "the recovered scripts do not give "
        << nome_file(x.file, p_linea, p_parametri, p_celle) << ": first difference at byte "
        << x.offset << ", " << x.dove << "\n";
  }
  for (std::size_t i = 0; i < d.inesprimibili.size() && i < kNoteMostrate; ++i) {
    err << kComando << "cannot express: " << d.inesprimibili[i] << "\n";
  }
  if (d.inesprimibili.size() > kNoteMostrate) {
    err << kComando << "cannot express " << d.inesprimibili.size() - kNoteMostrate
        << " more things (--json lists them all)\n";
  }

  // The scripts.
  std::vector<std::string> scritti;
  int stato = identica ? 0 : 1;
  if (!identica && !opzioni.force) {
    err << kComando << "no scripts written (--force writes them anyway)\n";
  } else {
    const std::string linea = testo_script_linea(
        d.scenario, intestazione("line script of " + route, da, file.con_linea, identica));
    const std::string treno = testo_script_treno(
        d.scenario,
        intestazione("train script of " + route + " " + train, da, file.con_linea, identica));
    bool esistono = false;
    for (const std::string* p : {&s_linea, &s_treno}) {
      if (!opzioni.force && fs.IsRegularFile(*p)) {
        err << kComando << *p << " exists already (--force replaces it)\n";
        esistono = true;
      }
    }
    if (esistono) {
      stato = 2;
    } else {
      std::string motivo;
      for (const auto& [p, testo] : {std::pair{&s_linea, &linea}, std::pair{&s_treno, &treno}}) {
        if (!ReplaceFile(fs, *p, *testo, &motivo)) {
          err << kComando << motivo << "\n";
          stato = 2;
          break;
        }
        scritti.push_back(*p);
      }
    }
    if (!scritti.empty()) {
      err << kComando << (identica ? "the scripts compile to the same bytes" : "written anyway")
          << "; wrote " << scritti.front() << (scritti.size() > 1 ? " and " + scritti[1] : "")
          << (file.con_linea ? "" : " (compile them with --no-line)") << "\n";
    }
  }

  if (opzioni.json) {
    nlohmann::json j;
    j["files"] = {{"line", file.con_linea ? nlohmann::json(p_linea) : nlohmann::json(nullptr)},
                  {"parameters", p_parametri},
                  {"cells", p_celle}};
    nlohmann::json record = nlohmann::json::object();
    for (const auto& [nome, n] : conteggi(d.scenario)) record[nome] = n;
    j["records"] = record;
    nlohmann::json codici = nlohmann::json::array();
    for (const Diagnosi& c : verifica.compilazione.diagnosi) {
      codici.push_back(
          {{"code", c.codice},
           {"position", c.con_posizione ? nlohmann::json(c.posizione) : nlohmann::json(nullptr)}});
    }
    nlohmann::json differenza = nullptr;
    if (verifica.differenza) {
      const Differenza& x = *verifica.differenza;
      differenza = {{"file", nome_file(x.file, p_linea, p_parametri, p_celle)},
                    {"offset", x.offset},
                    {"where", utf8_da_cp1252(x.dove)}};
    }
    j["round_trip"] = {
        {"identical", identica}, {"codes", codici}, {"first_difference", differenza}};
    nlohmann::json note = nlohmann::json::array();
    for (const std::string& n : d.inesprimibili) note.push_back(utf8_da_cp1252(n));
    j["cannot_express"] = note;
    j["written"] = scritti;
    // Paths are passed through as given; a byte that is not UTF-8 is
    // replaced rather than failing the summary.
    out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  }
  return stato;
}

}  // namespace scenario
