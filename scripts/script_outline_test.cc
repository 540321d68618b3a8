#include "scripts/script_outline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripts/builtin_scripts.h"

namespace scenario {
namespace {

const char* nome(Difetto d) {
  switch (d) {
    case Difetto::nessuno:
      return "";
    case Difetto::mancante:
      return " missing";
    case Difetto::non_numero:
      return " not-a-number";
    case Difetto::fuori_misura:
      return " too-large";
    case Difetto::testo_lungo:
      return " too-long";
  }
  return "?";
}

/// One line per record: "line:column keyword #kinds [G] [C] [+] value@line:column...
/// fault@index", with G for the general section, C for a comment and + for
/// a keyword that does not open its line.
std::vector<std::string> sommario(const ScriptOutline& o) {
  std::vector<std::string> righe;
  for (const RecordScript& r : o.record) {
    std::string s = std::to_string(r.chiave.riga) + ":" + std::to_string(r.chiave.colonna) + " " +
                    r.chiave.testo + " #" + std::to_string(r.tipi.size());
    if (r.sezione == ParteScript::generale) s += " G";
    if (r.commento) s += " C";
    if (!r.a_capo) s += " +";
    for (const CampoScript& c : r.valori) {
      s += " " + c.testo + "@" + std::to_string(c.riga) + ":" + std::to_string(c.colonna);
    }
    if (r.difetto != Difetto::nessuno) {
      s += std::string(nome(r.difetto)) + "@" + std::to_string(r.campo_difettoso);
    }
    righe.push_back(s);
  }
  return righe;
}

struct Caso {
  const char* nome;
  TipoScript tipo;
  const char* testo;
  std::vector<std::string> atteso;
};

TEST(ScriptOutline, CutsRecordsAsTheReaderReadsThem) {
  const std::vector<Caso> casi = {
      {"general section and body, columns in bytes",
       TipoScript::linea,
       "intro\r\n[generale]\r\nlunghezza percorso,  9000\r\npendenza, 1, 2\r\n[curve]\r\n"
       "  pendenza ,  7000,   -5\r\n[fine]\r\n",
       {"3:1 lunghezza percorso #1 G 9000@3:22", "4:1 pendenza #0 G", "4:11 1 #0 G +",
        "4:14 2 #0 G +", "5:1 [curve] #0 G", "6:3 pendenza #1 7000@6:15 -5@6:23"}},
      {"numbers split by blanks, empty numbers, a text to the line end",
       TipoScript::treno,
       "[generale]\r\norologio,    14   24  40 \r\nindicatori, 1,  ,\r\n"
       "cartello_indicatore, 5\r\nstazione, 100, 4, 400, 1,0,0, 4,1,0, 2,1,1, 1, 8,20,0, LA "
       "SPEZIA\r\n[fine]\r\n",
       {"2:1 orologio #1 14@2:14 24@2:19 40@2:23", "3:1 indicatori #0", "3:13 1 #0 +", "3:17  #0 +",
        "3:18  #0 +", "4:1 cartello_indicatore #0", "4:22 5 #0 +",
        "5:1 stazione #1 100@5:11 4@5:16 400@5:19 1@5:24 0@5:26 0@5:28 4@5:31 1@5:33 0@5:35 "
        "2@5:38 1@5:40 1@5:42 1@5:45 8@5:48 20@5:50 0@5:53 LA SPEZIA@5:56"}},
      {"a field missing: the next line cannot lend it",
       TipoScript::linea,
       "[generale]\r\nlunghezza percorso, 9000\r\n[c]\r\npendenza, 1500\r\npendenza, 2100, 0\r\n"
       "[fine]\r\n",
       {"2:1 lunghezza percorso #1 G 9000@2:21", "3:1 [c] #0 G",
        "4:1 pendenza #1 1500@4:11 "
        "missing@1",
        "5:1 pendenza #1 2100@5:11 0@5:17"}},
      {"a field lent by the next line",
       TipoScript::treno,
       "[generale]\r\nvelocita, 1500\r\n  135\r\nsabbia, 3\r\n[fine]\r\n",
       {"2:1 velocita #1 1500@2:11 135@3:3", "4:1 sabbia #1 3@4:9"}},
      {"faulty numbers: the cutting goes on at the next line",
       TipoScript::treno,
       "[generale]\r\nvelocita, 1500, 120.5, x\r\nstazione, 1, 300\r\nsegnale, "
       "99999999999\r\nsabbia, 3\r\n[fine]\r\n",
       {"2:1 velocita #1 1500@2:11 120.5@2:17 not-a-number@1",
        "3:1 stazione #1 1@3:11 300@3:14 too-large@1",
        "4:1 segnale #1 99999999999@4:10 too-large@0", "5:1 sabbia #1 3@5:9"}},
      {"exact-case tests, several matches, extra fields",
       TipoScript::linea,
       "[generale]\r\nSfondo uno, 1\r\nsfondo uno, 2, 7\r\n[x]\r\npendenza montagna, 1, 2, 3, "
       "4, 5\r\n[fine]\r\n",
       {"2:1 Sfondo uno #0 G", "2:13 1 #0 G +", "3:1 sfondo uno #1 G 2@3:13", "3:16 7 #0 G +",
        "4:1 [x] #0 G", "5:1 pendenza montagna #2 1@5:20 2@5:23 3@5:26 4@5:29 5@5:32"}},
      {"comments: two skipped in the body, the third read as a keyword",
       TipoScript::treno,
       "[generale]\r\n-- a\r\n-- b\r\n-- c\r\nsabbia, 1\r\n[fine]\r\n",
       {"2:1 -- a #0 C", "3:1 -- b #0 C", "4:1 -- c #0", "5:1 sabbia #1 1@5:9"}},
      {"a last field is not interpreted; no [generale], no records",
       TipoScript::treno,
       "sabbia, 1\r\n",
       {}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(sommario(MakeOutline(c.testo, c.tipo)), c.atteso);
  }
}

TEST(ScriptOutline, BuiltinScriptsAreAllSoundRecords) {
  for (TipoScript tipo : {TipoScript::linea, TipoScript::treno}) {
    std::string testo;
    if (tipo == TipoScript::linea) {
      for (std::string_view r : kScriptLinea) testo += std::string(r) + "\r\n";
    } else {
      for (std::string_view r : kScriptTreno) testo += std::string(r) + "\r\n";
    }
    const ScriptOutline o = MakeOutline(testo, tipo);
    EXPECT_EQ(o.riga_generale, 1);
    int record = 0;
    for (const RecordScript& r : o.record) {
      SCOPED_TRACE(r.chiave.testo);
      EXPECT_EQ(r.difetto, Difetto::nessuno);
      EXPECT_TRUE(r.a_capo);
      EXPECT_EQ(r.ultima_riga, r.chiave.riga);
      if (r.tipi.empty()) {
        EXPECT_EQ(r.chiave.testo.front(), '[');
        continue;
      }
      ++record;
      EXPECT_EQ(r.tipi.size(), 1u);
      EXPECT_EQ(r.valori.size(), campi_di(r.tipi[0]).size());
    }
    // Every line but the headers and "[fine]" is one record.
    EXPECT_EQ(record, tipo == TipoScript::linea ? 150 : 45);
  }
}

}  // namespace
}  // namespace scenario
