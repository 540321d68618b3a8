#include "tools/decompile_command.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

#include "base/file_names.h"
#include "compiler/error_codes.h"
#include "compiler/output_bounds.h"
#include "tools/decompiler.h"
#include "tools/file_difference.h"
#include "tools/memory_compile.h"
#include "tools/script_writer.h"
#include "tools/text_encoding.h"

namespace scenario {

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

/// Reads and decodes input file `percorso` of kind `tipo`; false with the
/// message on `err`.
template <typename Decodifica>
bool leggi(FileSystem& fs, const std::string& percorso, TipoFile tipo, std::string* bytes,
           Decodifica decodifica, std::ostream& err) {
  std::string motivo;
  if (!leggi_file_compilato(fs, percorso, tipo, bytes, &motivo)) {
    err << kComando << motivo << "\n";
    return false;
  }
  ErroreDecodifica errore;
  if (!decodifica(*bytes, &errore)) {
    err << kComando << percorso << ": byte " << errore.offset << ": " << errore.messaggio << "\n";
    return false;
  }
  return true;
}

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

/// One decompile: the files read, the records recovered, the check of
/// their scripts, and what was written.
class Decompile {
 public:
  Decompile(const OpzioniDecompile& opzioni, FileSystem& fs, std::ostream& err)
      : o_(opzioni),
        fs_(fs),
        err_(err),
        p_linea_(percorso_in(o_.dir, nome_file_linea(o_.route))),
        p_parametri_(percorso_in(o_.dir, nome_file_parametri(o_.route, o_.train))),
        p_celle_(percorso_in(o_.dir, nome_file_celle(o_.route, o_.train))) {}

  /// Reads and decodes the files; false (reported) when one cannot be.
  bool leggi_file();
  /// Recovers the records and compiles their scripts against the files.
  void decompila_e_verifica();
  /// Tells on `err` what was recovered and how the check went.
  void riferisci();
  /// Writes the scripts when the check holds or with --force; the status.
  int scrivi_script();
  /// The summary as one line of JSON.
  std::string json() const;

 private:
  bool identica() const { return compilazione_.pulita() && !differenza_; }
  std::string nome(TipoFile t) const {
    return t == TipoFile::linea ? p_linea_ : t == TipoFile::parametri ? p_parametri_ : p_celle_;
  }
  /// The files read, in order.
  std::vector<std::string> letti() const {
    std::vector<std::string> da;
    if (file_.con_linea) da.push_back(p_linea_);
    da.push_back(p_parametri_);
    da.push_back(p_celle_);
    return da;
  }

  const OpzioniDecompile& o_;
  FileSystem& fs_;
  std::ostream& err_;
  const std::string p_linea_, p_parametri_, p_celle_;
  BytesScenario originali_;
  FileDecodificati file_;
  Decompilazione d_;
  CompilazioneInMemoria compilazione_;
  std::optional<Differenza> differenza_;
  std::vector<std::string> scritti_;
};

bool Decompile::leggi_file() {
  // Anything at the line file's name is read: a FIFO there is an error, not
  // a scenario without a line file.
  originali_.con_linea = file_.con_linea = fs_.KindOf(p_linea_) != FileSystem::PathKind::kMissing;
  if (file_.con_linea && !leggi(
                             fs_, p_linea_, TipoFile::linea, &originali_.linea,
                             [&](const std::string& b, ErroreDecodifica* e) {
                               return decodifica_linea(b, &file_.linea, e);
                             },
                             err_)) {
    return false;
  }
  return leggi(
             fs_, p_parametri_, TipoFile::parametri, &originali_.parametri,
             [&](const std::string& b, ErroreDecodifica* e) {
               return decodifica_parametri(b, &file_.parametri, e);
             },
             err_) &&
         leggi(
             fs_, p_celle_, TipoFile::celle, &originali_.celle,
             [&](const std::string& b, ErroreDecodifica* e) {
               return decodifica_celle(b, &file_.celle, e);
             },
             err_);
}

void Decompile::decompila_e_verifica() {
  d_ = decompila(file_, o_.route, o_.train);
  const std::string linea = testo_script_linea(d_.scenario, {});
  const std::string treno = testo_script_treno(d_.scenario, {});
  bool identici = false;
  compilazione_ = compila_e_confronta(o_.route, o_.train, linea, treno, originali_, &identici);
  if (!identici) {
    // Compiled again, keeping the files this time, to say where they part.
    compilazione_ = compila_in_memoria(o_.route, o_.train, linea, treno, file_.con_linea);
    differenza_ = prima_differenza(originali_, compilazione_.file);
  }
}

void Decompile::riferisci() {
  std::string conti;
  for (const auto& [nome, n] : conteggi(d_.scenario)) {
    conti += (conti.empty() ? "" : ", ") + std::to_string(n) + " " + nome;
  }
  std::string origine;
  for (const std::string& f : letti()) origine += (origine.empty() ? "" : ", ") + f;
  err_ << origine << ": recovered " << conti << "\n";
  for (const Diagnosi& c : compilazione_.diagnosi) {
    err_ << kComando << "compiling the recovered scripts records " << descrizione_codice(c) << "\n";
  }
  switch (compilazione_.esito) {
    case Esito::errore_1250:
    case Esito::errore_1251: {
      const std::int32_t c = compilazione_.esito == Esito::errore_1250 ? codice::marcatore_cella_1
                                                                       : codice::codice_cella_1;
      err_ << kComando << "compiling the recovered scripts writes no files: error " << c << ": "
           << significato_codice(c) << "\n";
      break;
    }
    case Esito::senza_celle:
      err_ << kComando
           << "compiling the recovered scripts writes no files: the reader stopped before a "
              "route length\n";
      break;
    case Esito::scritto:
    case Esito::scrittura_fallita:
      break;
  }
  if (!differenza_ && !compilazione_.diagnosi.empty()) {
    err_ << kComando << "the recovered scripts give the same bytes, but only with error "
         << compilazione_.codice_errore << " recorded: no clean compile writes these files\n";
  }
  if (differenza_) {
    err_ << kComando << "the recovered scripts do not give " << nome(differenza_->file)
         << ": first difference at byte " << differenza_->offset << ", " << differenza_->dove
         << "\n";
  }
  const std::vector<std::string>& note = d_.inesprimibili;
  for (std::size_t i = 0; i < note.size() && i < kNoteMostrate; ++i) {
    err_ << kComando << "cannot express: " << note[i] << "\n";
  }
  if (note.size() > kNoteMostrate) {
    err_ << kComando << "cannot express " << note.size() - kNoteMostrate
         << " more things (--json lists them all)\n";
  }
}

int Decompile::scrivi_script() {
  if (!identica() && !o_.force) {
    err_ << kComando << "no scripts written (--force writes them anyway)\n";
    return 1;
  }
  const std::string cartella = o_.out_dir.empty() ? o_.dir : o_.out_dir;
  const std::string s_linea = percorso_in(cartella, nome_script_linea(o_.route));
  const std::string s_treno = percorso_in(cartella, nome_script_treno(o_.route, o_.train));
  bool esistono = false;
  for (const std::string* p : {&s_linea, &s_treno}) {
    if (!o_.force && fs_.IsRegularFile(*p)) {
      err_ << kComando << *p << " exists already (--force replaces it)\n";
      esistono = true;
    }
  }
  if (esistono) return 2;
  const std::string linea = testo_script_linea(
      d_.scenario,
      intestazione("line script of " + o_.route, letti(), file_.con_linea, identica()));
  const std::string treno =
      testo_script_treno(d_.scenario, intestazione("train script of " + o_.route + " " + o_.train,
                                                   letti(), file_.con_linea, identica()));
  int stato = identica() ? 0 : 1;
  std::string motivo;
  for (const auto& [p, testo] : {std::pair{&s_linea, &linea}, std::pair{&s_treno, &treno}}) {
    if (!ReplaceFile(fs_, *p, *testo, &motivo)) {
      err_ << kComando << motivo << "\n";
      stato = 2;
      break;
    }
    scritti_.push_back(*p);
  }
  if (!scritti_.empty()) {
    err_ << kComando << (identica() ? "the scripts compile to the same bytes" : "written anyway")
         << "; wrote " << scritti_.front() << (scritti_.size() > 1 ? " and " + scritti_[1] : "")
         << (file_.con_linea ? "" : " (compile them with --no-line)") << "\n";
  }
  return stato;
}

std::string Decompile::json() const {
  using nlohmann::json;
  json j;
  j["files"] = {{"line", file_.con_linea ? json(p_linea_) : json(nullptr)},
                {"parameters", p_parametri_},
                {"cells", p_celle_}};
  json record = json::object();
  for (const auto& [nome, n] : conteggi(d_.scenario)) record[nome] = n;
  j["records"] = record;
  json codici = json::array();
  for (const Diagnosi& c : compilazione_.diagnosi) {
    codici.push_back(
        {{"code", c.codice}, {"position", c.con_posizione ? json(c.posizione) : json(nullptr)}});
  }
  json differenza = nullptr;
  if (differenza_) {
    differenza = {{"file", nome(differenza_->file)},
                  {"offset", differenza_->offset},
                  {"where", utf8_da_cp1252(differenza_->dove)}};
  }
  j["round_trip"] = {
      {"identical", identica()}, {"codes", codici}, {"first_difference", differenza}};
  json note = json::array();
  for (const std::string& n : d_.inesprimibili) note.push_back(utf8_da_cp1252(n));
  j["cannot_express"] = note;
  j["written"] = scritti_;
  // Paths are passed through as given; a byte that is not UTF-8 is replaced
  // rather than failing the summary.
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

int decompila_scenario(const OpzioniDecompile& opzioni, FileSystem& fs, std::ostream& out,
                       std::ostream& err) {
  Decompile d(opzioni, fs, err);
  if (!d.leggi_file()) return 2;
  d.decompila_e_verifica();
  d.riferisci();
  const int stato = d.scrivi_script();
  if (opzioni.json) out << d.json() << "\n";
  return stato;
}

}  // namespace scenario
