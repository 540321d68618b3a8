#include "tools/lsp_script_analyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/testing/text_lines.h"
#include "compiler/error_codes.h"
#include "scripts/builtin_scripts.h"
#include "tools/lsp_positions.h"

namespace scenario {
namespace {

const std::string kLinea = testo_crlf(kScriptLinea);
const std::string kTreno = testo_crlf(kScriptTreno);

/// `testo` with the first `da` replaced by `a`.
std::string con(std::string testo, const std::string& da, const std::string& a) {
  testo.replace(testo.find(da), da.size(), a);
  return testo;
}

TEST(AnalizzatoreScript, TheChecksProblemsWithTheirLines) {
  AnalizzatoreScript a;
  // The built-in scenario compiles; the check warns about its timetable.
  const std::vector<Problema> pulito = a.problemi(kLinea, kTreno, "L", "T");
  ASSERT_EQ(pulito.size(), 1u);
  EXPECT_EQ(pulito[0].gravita, Gravita::avviso);
  EXPECT_EQ(pulito[0].nome, "timetable-order");
  EXPECT_TRUE(a.problemi(kLinea, "", "L", "").empty()) << "the line script alone";

  struct Caso {
    const char* nome;
    std::string linea, treno;
    const char* uri;
    int riga;
    std::int32_t codice;
  };
  const Caso casi[] = {
      {"station off the 50 m grid", kLinea, con(kTreno, "66600", "66620"), "T", 27, 8},
      {"a comma for a number", kLinea, con(kTreno, "sabbia,    300", "sabbia,    3x0"), "T", 4, 25},
      {"route too long", con(kLinea, "103000", "2000000"), kTreno, "L", 2, 1},
      {"curve without class", con(kLinea, "curvad3,  5100", "curvad,  5100"), kTreno, "L", 13, 103},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::vector<Problema> p = a.problemi(c.linea, c.treno, "L", "T");
    std::erase_if(p, [](const Problema& x) { return x.gravita == Gravita::avviso; });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].uri, c.uri);
    EXPECT_EQ(p[0].riga, c.riga);
    EXPECT_EQ(p[0].codice, c.codice);
    EXPECT_EQ(p[0].nome, nome_codice(c.codice)) << "the code's name, as `check` gives it";
    EXPECT_EQ(p[0].gravita, Gravita::errore);
  }
}

TEST(AnalizzatoreScript, HoverNamesTheFieldItsUnitRangeAndStoredValue) {
  AnalizzatoreScript a;
  struct Caso {
    int riga;
    const char* campo;  ///< the field's text on the line
    std::vector<std::string> attesi;
  };
  const Caso casi[] = {
      {27, "stazione", {"Record `stazione` (station), train script: 17 value fields"}},
      {27,
       "66600",
       {"Record `stazione` (station), field 1 of 17: `66600`", "**`posizione`** (m)",
        "Range: ", "(code 15)", "Stored: 66600, in the station's `posizione`"}},
      {27, "500", {"field 3 of 17: `500`", "**`lunghezza`** (m)", "Stored as: "}},
      {27, "NOVARA", {"field 17 of 17: `NOVARA`", "**`nome`**: station name"}},
      // A speed goes in divided by 5, a signal to its cell.
      {11, "135", {"field 2 of 2: `135`", "(km/h)", "Stored: 27 = round(135 / 5)"}},
      {40, "67400", {"field 1 of 11: `67400`", "Stored: cell 1349 = round(67400 / 50 + 1)"}},
      // The clock's numbers stand apart by blanks alone.
      {5, "24", {"Record `orologio` (start time), field 2 of 3: `24`"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.campo);
    const std::string_view riga = kScriptTreno[static_cast<std::size_t>(c.riga - 1)];
    const int colonna = static_cast<int>(riga.find(c.campo)) + 1;
    // On the field's first byte and right after its last.
    for (int dove : {colonna, colonna + static_cast<int>(std::string_view(c.campo).size())}) {
      const std::optional<Descrizione> d = a.descrizione(kTreno, TipoScript::treno, c.riga, dove);
      ASSERT_TRUE(d);
      for (const std::string& atteso : c.attesi) {
        EXPECT_NE(d->testo.find(atteso), std::string::npos) << atteso << " in\n" << d->testo;
      }
      EXPECT_EQ(d->colonna, colonna);
      EXPECT_EQ(d->colonna_fine, colonna + static_cast<int>(std::string_view(c.campo).size()));
    }
  }
  EXPECT_FALSE(a.descrizione(kTreno, TipoScript::treno, 1, 2)) << "the opening header";
  EXPECT_FALSE(a.descrizione(kTreno, TipoScript::treno, 26, 2)) << "a header";
  EXPECT_FALSE(a.descrizione(kTreno, TipoScript::treno, 27, 10)) << "between fields";
}

TEST(AnalizzatoreScript, KeywordsOfTheScriptsLanguageWithTheirFields) {
  AnalizzatoreScript a;
  const Proposte linea = a.proposte("  pen", TipoScript::linea, 1, 6);
  EXPECT_EQ(linea.colonna, 3);
  EXPECT_EQ(linea.colonna_fine, 6);
  std::vector<std::string> parole;
  for (const Proposta& p : linea.voci) parole.push_back(p.etichetta);
  EXPECT_EQ(parole, (std::vector<std::string>{
                        "lunghezza percorso", "progressiva chilometrica tre",
                        "progressiva chilometrica due", "progressiva chilometrica uno",
                        "sfondo uno", "sfondo due", "sfondo tre", "ripetizione segnali", "pendenza",
                        "curvas4", "montagna", "indicatori_vmax", "cartello_indicatore"}));
  const Proposte treno = a.proposte("", TipoScript::treno, 1, 1);
  ASSERT_EQ(treno.voci.size(), 10u);
  const Proposta& velocita = treno.voci[2];
  EXPECT_EQ(velocita.etichetta, "velocita");
  EXPECT_EQ(velocita.dettaglio, "posizione, velocita");
  EXPECT_NE(velocita.documentazione.find("**line speed**"), std::string::npos)
      << velocita.documentazione;
  EXPECT_EQ(a.proposte("segnale, 1", TipoScript::treno, 1, 11).voci.size(), 0u)
      << "not in the keyword field";
}

TEST(AnalizzatoreScript, OutlineOfStationsSignalsAndBoards) {
  AnalizzatoreScript a;
  const std::vector<Simbolo> treno = a.simboli(kTreno, TipoScript::treno);
  ASSERT_EQ(treno.size(), 22u);  // ten stations, twelve signals
  EXPECT_EQ(treno[0].nome, "NOVARA");
  EXPECT_EQ(treno[0].dettaglio, "station, 66600 m");
  EXPECT_EQ(treno[0].riga, 27);
  EXPECT_EQ(treno[0].colonna, 73);  // the name
  EXPECT_EQ(treno[9].nome, "DERVO");
  EXPECT_EQ(treno[9].tipo, TipoSimbolo::stazione);
  EXPECT_EQ(treno[10].nome, "signal at 67400 m");
  EXPECT_EQ(treno[10].tipo, TipoSimbolo::segnale);
  EXPECT_EQ(treno[21].nome, "signal at 101450 m");
  const std::vector<Simbolo> linea = a.simboli(kLinea, TipoScript::linea);
  const auto cartello = std::find_if(linea.begin(), linea.end(), [](const Simbolo& s) {
    return s.dettaglio == "indicator board, 350 m";
  });
  ASSERT_NE(cartello, linea.end());
  EXPECT_EQ(cartello->nome, "(ponte fiume)(T A N A R O)");
  EXPECT_EQ(cartello->tipo, TipoSimbolo::cartello);
  // A station whose record stops short still shows, by its position.
  const std::vector<Simbolo> corto =
      a.simboli("[generale]\r\nstazione, 500, 4, 500\r\n[fine]\r\n", TipoScript::treno);
  ASSERT_EQ(corto.size(), 1u);
  EXPECT_EQ(corto[0].nome, "station at 500 m");
}

TEST(AnalizzatoreScript, AnyPlaceOfABrokenScriptIsAnsweredWithinItsLine) {
  AnalizzatoreScript a;
  // The built-in train script cut inside a station, with a line of stray
  // bytes and a record that runs onto the next line.
  const std::string treno = kTreno.substr(0, kTreno.find("NOVARA") + 2) +
                            "\r\n\xff,\x01,,-\r\nsegnale, 100,\r\n 2, x\rstazione";
  for (const std::string& t : {treno, std::string("\r\r,\n"), std::string()}) {
    const RigheTesto righe(t);
    for (int riga = 0; riga <= righe.numero() + 1; ++riga) {
      const int lunga = static_cast<int>(righe.riga(riga).size());
      for (int colonna = 0; colonna <= lunga + 2; ++colonna) {
        SCOPED_TRACE(std::to_string(riga) + ":" + std::to_string(colonna));
        if (const std::optional<Descrizione> d =
                a.descrizione(t, TipoScript::treno, riga, colonna)) {
          EXPECT_LE(1, d->colonna);
          EXPECT_LE(d->colonna, colonna);
          EXPECT_LE(colonna, d->colonna_fine);
          EXPECT_LE(d->colonna_fine, lunga + 1);
        }
        const Proposte p = a.proposte(t, TipoScript::linea, riga, colonna);
        EXPECT_LE(1, p.colonna);
        EXPECT_LE(p.colonna, p.colonna_fine);
        EXPECT_LE(p.colonna_fine, lunga + 1);
      }
    }
    for (const Simbolo& s : a.simboli(t, TipoScript::treno)) {
      EXPECT_LE(1, s.colonna);
      EXPECT_LE(s.colonna_fine, static_cast<int>(righe.riga(s.riga).size()) + 1);
    }
  }
}

}  // namespace
}  // namespace scenario
