#include "tools/explain_command.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "scripts/keywords.h"
#include "scripts/nearest_word.h"
#include "tools/command_line.h"

namespace scenario {

namespace {

/// Text for a markdown table cell: "|" escaped.
std::string cella_tabella(std::string_view testo) {
  std::string s;
  for (char c : testo) {
    if (c == '|') s += '\\';
    s += c;
  }
  return s;
}

/// The lines of `testo` indented by four blanks: a markdown code block.
std::string blocco_codice(std::string_view testo) {
  std::string s = "    ";
  for (char c : testo) {
    s += c;
    if (c == '\n') s += "    ";
  }
  return s + "\n";
}

std::string_view nome_luogo(LuogoEsempio luogo) {
  switch (luogo) {
    case LuogoEsempio::script_linea:
      return "line script";
    case LuogoEsempio::corpo_linea:
      return "line script, body";
    case LuogoEsempio::corpo_treno:
      return "train script";
    case LuogoEsempio::senza_script_linea:
    case LuogoEsempio::solo_testo:
      return "";
  }
  return "";
}

/// The title of the document part holding `sezione`.
std::string_view titolo_sezione(Sezione sezione) {
  switch (sezione) {
    case Sezione::generale_linea:
      return "Line script: general section";
    case Sezione::corpo_linea:
      return "Line script: body";
    case Sezione::treno:
      return "Train script";
  }
  return "";
}

/// True when `testo` is a whole number of at most nine digits.
bool e_numero(std::string_view testo) {
  if (testo.empty() || testo.size() > 9) return false;
  for (char c : testo) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string_view senza_spazi(std::string_view s) {
  const std::size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  const std::size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

/// The record named exactly `nome` (any case), or null.
const RecordRiferimento* record_per_nome(std::string_view nome) {
  for (const RecordRiferimento& r : riferimento_record()) {
    if (r.nome.size() == nome.size() && contiene(r.nome, nome)) return &r;
  }
  return nullptr;
}

std::string elenco_codici() {
  std::string s;
  for (const SpiegazioneCodice& c : spiegazioni_codici()) {
    if (!s.empty()) s += ", ";
    s += std::to_string(c.codice);
  }
  return s;
}

}  // namespace

std::string markdown_record(const RecordRiferimento& record) {
  std::string s = "### `" + std::string(record.nome) + "`: " + std::string(record.titolo) + "\n\n";
  std::string chiave = testo_chiave(record);
  if (chiave.back() != '.') chiave += '.';
  s += "In the " + std::string(nome_sezione(record.sezione)) + ". Keyword: the field " + chiave +
       "\n\n";
  s += blocco_codice(record.esempio) + "\n";
  s += std::string(record.effetto) + "\n\n";
  s += "| No. | Field | Unit | Width | Range | Stored as |\n";
  s += "|---|---|---|---|---|---|\n";
  int n = 0;
  for (const CampoRecord& c : record.campi) {
    s += "| " + std::to_string(++n) + " | `" + std::string(c.nome) +
         "`: " + cella_tabella(c.titolo) + " | " + std::string(nome_unita(c.unita)) + " | " +
         std::string(nome_larghezza(c.larghezza)) + " | " + cella_tabella(testo_intervallo(c)) +
         " | " + cella_tabella(testo_regola(record, c)) + " |\n";
  }
  std::string effetti;
  n = 0;
  for (const CampoRecord& c : record.campi) {
    ++n;
    if (c.effetto.empty()) continue;
    effetti += "- Field " + std::to_string(n) + ", `" + std::string(c.nome) +
               "`: " + std::string(c.effetto) + "\n";
  }
  if (!effetti.empty()) s += "\n" + effetti;
  return s;
}

std::string markdown_codice(const SpiegazioneCodice& c) {
  std::string s = "### " + std::to_string(c.codice) + " `" + std::string(c.nome) +
                  "`: " + std::string(c.significato) + "\n\n";
  s += std::string(c.causa) + "\n\n";
  s += "How to fix: " + std::string(c.rimedio) + "\n\n";
  const std::string_view luogo = nome_luogo(c.luogo);
  if (luogo.empty()) {
    s += "Example: " + std::string(c.esempio) + "\n";
  } else {
    s += "Example (" + std::string(luogo) + "):\n\n" + blocco_codice(c.esempio);
  }
  return s;
}

std::string riferimento_markdown() {
  std::string s =
      "<!-- Generated from scripts/record_reference.cc and compiler/error_codes.cc; do not\n"
      "     edit by hand. Regenerate with\n"
      "       scenario_tool explain --markdown > docs/script-language.md\n"
      "     or, from a build folder,\n"
      "       SCENARIO_AGGIORNA_DOCS=1 ./scenario_tests --gtest_filter='Explain.*'\n"
      "     A test fails while this file and the tables differ. -->\n"
      "# The script language\n\n"
      "A scenario is written in two text scripts, a line script and a train script, which "
      "`scenario_tool compile` turns into the simulator's binary files. This reference lists "
      "every record of both scripts with its fields in order, and every error code the "
      "compile reports. `scenario_tool explain RECORD` and `scenario_tool explain CODE` print "
      "the same sections.\n\n";
  s += "## Rules of both scripts\n\n";
  for (const NotaLinguaggio& nota : note_linguaggio()) {
    s += "### " + std::string(nota.titolo) + "\n\n" + std::string(nota.testo) + "\n\n";
  }
  bool prima = true;
  Sezione sezione = Sezione::generale_linea;
  for (const RecordRiferimento& r : riferimento_record()) {
    if (prima || r.sezione != sezione) {
      s += "## " + std::string(titolo_sezione(r.sezione)) + "\n\n";
      s += "The records in the order the reader tests their keywords.\n\n";
      sezione = r.sezione;
      prima = false;
    }
    s += markdown_record(r) + "\n";
  }
  s += "## Error codes\n\n"
       "The compile records a code where a script breaks a rule; the two codes 1250 and 1251 "
       "end it without writing any file. The examples assume a line of 20000 m.\n\n";
  for (const SpiegazioneCodice& c : spiegazioni_codici()) s += markdown_codice(c) + "\n";
  // One newline at the end of the file.
  while (s.size() > 1 && s[s.size() - 1] == '\n' && s[s.size() - 2] == '\n') s.pop_back();
  return s;
}

int spiega(const std::string& argomento, std::ostream& out, std::ostream& err) {
  const std::string_view arg = senza_spazi(argomento);
  if (arg == "--markdown") {
    out << riferimento_markdown();
    return 0;
  }
  if (arg == "--help" || arg == "-h") {
    out << testo_aiuto("explain");
    return 0;
  }
  if (arg.empty()) {
    err << "scenario_tool explain: expected an error code, a code name or a record keyword\n"
        << testo_aiuto("explain");
    return 2;
  }
  if (e_numero(arg)) {
    const std::int32_t n = std::stoi(std::string(arg));
    if (const SpiegazioneCodice* c = spiegazione_codice(n)) {
      out << markdown_codice(*c);
      return 0;
    }
    err << "scenario_tool explain: no error code " << n << "; the codes are " << elenco_codici()
        << "\n";
    return 2;
  }
  if (const SpiegazioneCodice* c = spiegazione_per_nome(arg)) {
    out << markdown_codice(*c);
    return 0;
  }
  std::vector<const RecordRiferimento*> record;
  if (const RecordRiferimento* r = record_per_nome(arg)) {
    record.push_back(r);
  } else {
    record = record_per_chiave(arg);
  }
  if (!record.empty()) {
    for (std::size_t i = 0; i < record.size(); ++i) {
      if (i > 0) out << "\n";
      out << markdown_record(*record[i]);
    }
    return 0;
  }

  std::vector<std::string_view> candidati;
  for (const RecordRiferimento& r : riferimento_record()) candidati.push_back(r.nome);
  for (const SpiegazioneCodice& c : spiegazioni_codici()) candidati.push_back(c.nome);
  err << "scenario_tool explain: \"" << arg
      << "\" is neither an error code, a code name nor a record keyword";
  // Every name is short: a long argument is near none of them.
  const std::string_view vicina =
      arg.size() <= 64 ? parola_piu_vicina(arg, candidati) : std::string_view();
  if (!vicina.empty()) err << "; did you mean \"" << vicina << "\"?";
  err << "\n";
  return 2;
}

}  // namespace scenario
