#include "tools/command_line.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(AnalizzaRiga, OptionsValuesAndOperands) {
  RigaComando r;
  std::string err;
  ASSERT_TRUE(analizza_riga(
      {"compile", "a", "--out", "x", "--json", "b", "--out=y", "--", "--json"}, &r, &err))
      << err;
  EXPECT_EQ(r.comando, "compile");
  EXPECT_EQ(r.richiesta, RigaComando::Richiesta::esegui);
  EXPECT_EQ(r.operandi, (std::vector<std::string>{"a", "b", "--json"}));
  EXPECT_EQ(r.out, "y");
  EXPECT_TRUE(r.json);
  EXPECT_FALSE(r.senza_linea);

  ASSERT_TRUE(analizza_riga({"dump", "-"}, &r, &err)) << err;
  EXPECT_EQ(r.operandi, (std::vector<std::string>{"-"}));

  // A command's operands may be the names of other commands.
  ASSERT_TRUE(analizza_riga({"render", "help", "dump", "--", "compile"}, &r, &err)) << err;
  EXPECT_EQ(r.operandi, (std::vector<std::string>{"help", "dump", "compile"}));

  RigaComando h;
  ASSERT_TRUE(analizza_riga({"compile", "-h"}, &h, &err));
  EXPECT_EQ(h.richiesta, RigaComando::Richiesta::aiuto);
  EXPECT_EQ(h.comando, "compile");

  for (const auto& [argomenti, messaggio] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"compile", "--outx"}, "unknown option '--outx'"},
           {{"compile", "-o"}, "unknown option '-o'"},
           {{"compile", "--out"}, "option '--out' needs a value"},
           {{"compile", "--json=1"}, "option '--json' takes no value"},
           {{"compile", "--fast=3", "a", "b", "c"}, "unknown option '--fast'"},
           {{"dump", "--step", "010x", "f.dat"},
            "option '--step' needs a whole number from 1 to 100000000, not '010x'"},
           {{"dump", "a.dat", "--", "b.dat"}, "expected one FILE, got 2 operands"},
           {{}, "no command given"},
           {{"--", "compile"}, "no command given"}}) {
    SCOPED_TRACE(messaggio);
    RigaComando x;
    EXPECT_FALSE(analizza_riga(argomenti, &x, &err));
    EXPECT_EQ(err, messaggio);
  }
}

TEST(AnalizzaRiga, StepIsDecimal) {
  RigaComando r;
  std::string err;
  ASSERT_TRUE(analizza_riga({"dump", "--step", "010", "f_linea.dat"}, &r, &err)) << err;
  EXPECT_EQ(r.passo, 10);
  ASSERT_TRUE(analizza_riga({"dump", "f_linea.dat"}, &r, &err)) << err;
  EXPECT_EQ(r.passo, 1);
}

TEST(AnalizzaRiga, HelpAndVersion) {
  struct Caso {
    std::vector<std::string> argomenti;
    RigaComando::Richiesta richiesta;
    const char* comando;
  };
  const Caso casi[] = {
      {{"--help"}, RigaComando::Richiesta::aiuto, ""},
      {{"help"}, RigaComando::Richiesta::aiuto, ""},
      {{"help", "dump"}, RigaComando::Richiesta::aiuto, "dump"},
      {{"help", "build"}, RigaComando::Richiesta::aiuto, ""},
      {{"--help", "render"}, RigaComando::Richiesta::aiuto, "render"},
      {{"scripts", "--help", "a", "b"}, RigaComando::Richiesta::aiuto, "scripts"},
      {{"--version"}, RigaComando::Richiesta::versione, ""},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.argomenti.empty() ? "" : caso.argomenti[0] + " " + caso.comando);
    RigaComando r;
    std::string err;
    ASSERT_TRUE(analizza_riga(caso.argomenti, &r, &err)) << err;
    EXPECT_EQ(r.richiesta, caso.richiesta);
    EXPECT_EQ(r.comando, caso.comando);
  }
  EXPECT_EQ(sinossi("dump"), "usage: scenario_tool dump [--json] [--step N] FILE");
  EXPECT_EQ(testo_aiuto("").rfind("usage: scenario_tool COMMAND", 0), 0u);
}

TEST(CartellaIndicata, NoTrailingSeparator) {
  EXPECT_EQ(cartella_indicata("dir/"), "dir");
  EXPECT_EQ(cartella_indicata("a/b//"), "a/b");
  EXPECT_EQ(cartella_indicata("dir"), "dir");
  EXPECT_EQ(cartella_indicata("/"), "/");
  EXPECT_EQ(cartella_indicata(""), "");
}

TEST(NomeValido, PrintableAsciiWithoutSlash) {
  std::string err;
  for (const char* buono : {"Zembrastina_Dervo", "47716", "a b", "~!", "..", "-x"}) {
    EXPECT_TRUE(nome_valido("ROUTE", buono, &err)) << buono << ": " << err;
  }
  const std::pair<std::string, std::string> cattivi[] = {
      {"", "ROUTE is empty"},
      {"a/b", "ROUTE 'a/b' contains '/': file names built from it must stay in their folder"},
      {"/", "ROUTE '/' contains '/': file names built from it must stay in their folder"},
      {"a\nb",
       "ROUTE contains the byte 0x0A at position 2: only printable ASCII characters are "
       "allowed"},
      {"\x7f",
       "ROUTE contains the byte 0x7F at position 1: only printable ASCII characters are "
       "allowed"},
      {"\xc3\xa0",
       "ROUTE contains the byte 0xC3 at position 1: only printable ASCII characters "
       "are allowed"},
  };
  for (const auto& [nome, messaggio] : cattivi) {
    EXPECT_FALSE(nome_valido("ROUTE", nome, &err)) << nome;
    EXPECT_EQ(err, messaggio);
  }
}

TEST(PercorsoETrenoValidi, TrainLineaWouldClashWithTheLineFile) {
  std::string err;
  EXPECT_TRUE(percorso_e_treno_validi("R", "Linea", &err));
  EXPECT_FALSE(percorso_e_treno_validi("R", "linea", &err));
  EXPECT_EQ(err, "TRAIN 'linea' would give the cell file the name of the line file");
  for (const char* treno : {"7_linea", "_linea"}) {
    EXPECT_FALSE(percorso_e_treno_validi("R", treno, &err)) << treno;
    EXPECT_NE(err.find("ends in \"_linea\""), std::string::npos) << err;
  }
  EXPECT_TRUE(percorso_e_treno_validi("R", "7_lineare", &err));
  EXPECT_FALSE(percorso_e_treno_validi("R/", "1", &err));
  EXPECT_FALSE(percorso_e_treno_validi("R", "", &err));
  EXPECT_EQ(err, "TRAIN is empty");
}

TEST(InteroPositivo, RangeAndDigitsOnly) {
  long v = 0;
  std::string err;
  EXPECT_TRUE(intero_positivo("--step", "250", 1000, &v, &err));
  EXPECT_EQ(v, 250);
  for (const char* t : {"", "0", "1001", "-1", "1e3", " 5", "99999999999"}) {
    EXPECT_FALSE(intero_positivo("--step", t, 1000, &v, &err)) << t;
  }
  EXPECT_EQ(err, "option '--step' needs a whole number from 1 to 1000, not '99999999999'");
}

}  // namespace
}  // namespace scenario
