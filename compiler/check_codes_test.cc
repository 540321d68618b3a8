#include "compiler/check_codes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_state.h"

namespace scenario {
namespace {

/// A state whose identity entries hold `treno` and `percorso`.
StatoCompilazione identita(const std::string& treno, const std::string& percorso) {
  StatoCompilazione stato;
  stato.parametri[voce::ripetizione].nome = treno;
  stato.parametri[voce::percorso].nome = percorso;
  return stato;
}

/// An identity and the codes it gives.
struct Caso {
  const char* treno;
  const char* percorso;
  std::int16_t og;
  std::int32_t st;
  const char* riga;  ///< the padded text left in `riga`
};

TEST(CheckCodes, Identities) {
  const std::vector<Caso> casi = {
      {"47716", "Zembrastina_Dervo", 2380, 33296,
       "47716zembrastina_dervoaabbccddeeffgghhiillmmnnoo"},
      {"47716", "ZEMBRASTINA_DERVO", 2380, 33296,
       "47716zembrastina_dervoaabbccddeeffgghhiillmmnnoo"},
      {"1", "A", 2508, 33907, "1aaabbccddeeffgghhiillmmnnoo"},
      {"1", "a", 2508, 33907, "1aaabbccddeeffgghhiillmmnnoo"},
      {"", "", 2583, 34355, "aabbccddeeffgghhiillmmnnoo"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(std::string(caso.treno) + " / " + caso.percorso);
    StatoCompilazione stato = identita(caso.treno, caso.percorso);
    EXPECT_EQ(codice_gara_st(stato), caso.st);
    EXPECT_EQ(stato.riga, caso.riga);
    stato.riga.clear();
    EXPECT_EQ(codice_gara_og(stato), caso.og);
    EXPECT_EQ(stato.riga, caso.riga);
    // The same codes from the identity alone.
    EXPECT_EQ(codice_gara_og(caso.percorso, caso.treno), caso.og);
    EXPECT_EQ(codice_gara_st(caso.percorso, caso.treno), caso.st);
  }
}

TEST(CheckCodes, OnlyTheFirst25CharactersCount) {
  // "47716zembrastina_dervo_lu" are the first 25 characters of both.
  StatoCompilazione a = identita("47716", "Zembrastina_Dervo_Lunga");
  StatoCompilazione b = identita("47716", "Zembrastina_Dervo_LuXXXXXXXX");
  EXPECT_EQ(codice_gara_og(a), 2408);
  EXPECT_EQ(codice_gara_og(b), 2408);
  EXPECT_EQ(codice_gara_st(a), 33989);
  EXPECT_EQ(codice_gara_st(b), 33989);
  // The 25th character itself counts.
  StatoCompilazione c = identita("47716", "Zembrastina_Dervo_Lv");
  EXPECT_EQ(codice_gara_og(c), 2409);
  EXPECT_EQ(codice_gara_st(c), 34014);
}

TEST(CheckCodes, TrainNumberComesFirst) {
  // The same characters in the other order: og is the same, st is not.
  StatoCompilazione scambiata = identita("Zembrastina_Dervo", "47716");
  EXPECT_EQ(codice_gara_og(scambiata), 2380);
  EXPECT_EQ(codice_gara_st(scambiata), 28686);
}

TEST(CheckCodes, CharacterCodesAreUnsigned) {
  // 0xE8 counts 232, not -24.
  StatoCompilazione stato = identita("\xE8", "");
  EXPECT_EQ(codice_gara_og(stato), 2704);
  EXPECT_EQ(codice_gara_st(stato), 34284);
}

}  // namespace
}  // namespace scenario
