#include "tools/command_line.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(AnalizzaRiga, OptionsValuesAndOperands) {
  const std::vector<Opzione> opzioni = {{"--out", true}, {"--json", false}};
  RigaComando r;
  std::string err;
  ASSERT_TRUE(analizza_riga({"a", "--out", "x", "--json", "b", "--out=y", "--", "--json", "-"},
                            opzioni, &r, &err))
      << err;
  EXPECT_EQ(r.operandi, (std::vector<std::string>{"a", "b", "--json", "-"}));
  EXPECT_EQ(r.opzioni["--out"], "y");
  EXPECT_TRUE(r.ha("--json"));
  EXPECT_FALSE(r.aiuto);

  RigaComando h;
  ASSERT_TRUE(analizza_riga({"-h"}, opzioni, &h, &err));
  EXPECT_TRUE(h.aiuto);

  for (const auto& [argomenti, messaggio] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--outx"}, "unknown option '--outx'"},
           {{"-o"}, "unknown option '-o'"},
           {{"--out"}, "option '--out' needs a value"},
           {{"--json=1"}, "option '--json' takes no value"}}) {
    RigaComando x;
    EXPECT_FALSE(analizza_riga(argomenti, opzioni, &x, &err)) << messaggio;
    EXPECT_EQ(err, messaggio);
  }
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
