#include "compiler/signal_codes.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "compiler/compile_state.h"
#include "compiler/error_codes.h"

namespace scenario {
namespace {

/// An element put into a cell by hand before the pass.
struct Elemento {
  int cella;
  std::uint8_t tipo;
  std::int16_t dato1 = 0;
};

constexpr std::uint8_t kSegnale = tipo_cella::segnale;
constexpr std::uint8_t kFine = tipo_cella::fine_rallentamento;
constexpr std::uint8_t kInizio = tipo_cella::inizio_rallentamento;
constexpr std::uint8_t kAvviso = tipo_cella::avviso_rallentamento;
constexpr std::uint8_t kOccupata = tipo_cella::indicatori_v_max;  ///< any element that is not free
constexpr std::uint8_t kMontagna = tipo_cella::marcatore_montagna;
constexpr std::uint8_t kCodice = tipo_cella::codice;

/// Cells 0 to `numero_celle`, empty but for `elementi`.
StatoCompilazione celle_con(int numero_celle, const std::vector<Elemento>& elementi) {
  StatoCompilazione stato;
  stato.numero_celle = numero_celle;
  stato.celle.assign(static_cast<std::size_t>(numero_celle) + 1, Cella{});
  for (const Elemento& e : elementi) {
    Cella& c = stato.celle[static_cast<std::size_t>(e.cella)];
    c.tipo = e.tipo;
    c.dato1 = e.dato1;
  }
  return stato;
}

/// Every code cell of `stato` with its value.
std::map<int, int> codici(const StatoCompilazione& stato) {
  std::map<int, int> m;
  for (std::size_t c = 0; c < stato.celle.size(); ++c) {
    if (stato.celle[c].tipo == tipo_cella::codice) m[static_cast<int>(c)] = stato.celle[c].dato1;
  }
  return m;
}

/// Cells before the pass and the code cells after it.
struct Caso {
  const char* nome;
  int numero_celle;
  std::vector<Elemento> elementi;
  std::map<int, int> codici;
  std::int32_t codice = 0;
  std::int32_t posizione = 0;
};

TEST(SignalCodes, WarningBoards) {
  const std::vector<Caso> casi = {
      {"two signals before a board",
       100,
       {{50, kAvviso}, {40, kSegnale}, {45, kSegnale}},
       {{39, 180}, {44, 180}}},
      {"a signal 20 cells before the board", 100, {{50, kAvviso}, {30, kSegnale}}, {{29, 180}}},
      {"a signal 21 cells before the board", 100, {{50, kAvviso}, {29, kSegnale}}, {}},
      {"a signal after the board", 100, {{50, kAvviso}, {51, kSegnale}}, {}},
      {"board in cell 3 looks at no cell", 100, {{3, kAvviso}, {2, kSegnale}}, {}},
      {"board in cell 5 looks at cell 4",
       100,
       {{5, kAvviso}, {4, kSegnale}, {2, kSegnale}},
       {{3, 180}}},
      {"board in cell 5 looks at cell 3", 100, {{5, kAvviso}, {3, kSegnale}}, {{2, 180}}},
      {"a mountain marker is free",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kMontagna}},
       {{39, 180}}},
      {"two cells before when the cell before is taken",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kOccupata}},
       {{38, 180}}},
      {"a second board sees the same signal",
       100,
       {{50, kAvviso}, {52, kAvviso}, {40, kSegnale}},
       {{38, 180}, {39, 180}}},
      {"a third board finds both cells coded",
       100,
       {{50, kAvviso}, {52, kAvviso}, {54, kAvviso}, {40, kSegnale}},
       {{38, 180}, {39, 180}}},
      {"an existing code above 180 is capped",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kCodice, 250}, {38, kOccupata}},
       {{39, 180}}},
      {"an existing code below 180 stays",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kCodice, 100}, {38, kOccupata}},
       {{39, 100}}},
      {"a free cell two before wins over a code cell before",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kCodice, 250}},
       {{38, 180}, {39, 250}}},
      {"the code two cells before is capped",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kOccupata}, {38, kCodice, 250}},
       {{38, 180}}},
      {"no room before the signal",
       100,
       {{50, kAvviso}, {40, kSegnale}, {39, kOccupata}, {38, kOccupata}},
       {},
       codice::segnale_prima_avviso,
       2000},
      {"a board in the second-last cell is not seen", 30, {{29, kAvviso}, {25, kSegnale}}, {}},
      {"a board in cell U - 2 is seen", 30, {{28, kAvviso}, {25, kSegnale}}, {{24, 180}}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato = celle_con(caso.numero_celle, caso.elementi);
    piazza_codici(stato);
    EXPECT_EQ(codici(stato), caso.codici);
    EXPECT_EQ(stato.codice_errore, caso.codice);
    EXPECT_EQ(stato.posizione_errore, caso.posizione);
  }
}

TEST(SignalCodes, Slowdowns) {
  const std::vector<Caso> casi = {
      {"110 km/h or more: look-back groups, none inside",
       100,
       {{50, kInizio, 120}, {54, kFine}},
       {{32, 180}, {39, 180}, {45, 180}}},
      {"110 km/h exactly",
       100,
       {{50, kInizio, 110}, {70, kFine}},
       {{32, 180}, {39, 180}, {45, 180}}},
      {"start in cell 7: no look-back", 100, {{7, kInizio, 120}, {9, kFine}}, {}},
      {"start in cell 8: nearest group only", 100, {{8, kInizio, 120}, {10, kFine}}, {{3, 180}}},
      {"start in cell 14: two groups",
       100,
       {{14, kInizio, 120}, {16, kFine}},
       {{3, 180}, {9, 180}}},
      {"start in cell 21: three groups",
       100,
       {{21, kInizio, 120}, {23, kFine}},
       {{3, 180}, {10, 180}, {16, 180}}},
      {"look-back candidates nearest first",
       100,
       {{50, kInizio, 120}, {54, kFine}, {45, kOccupata}, {39, kOccupata}, {38, kOccupata}},
       {{32, 180}, {37, 180}, {44, 180}}},
      {"a look-back group without room",
       100,
       {{50, kInizio, 120}, {54, kFine}, {45, kOccupata}, {44, kOccupata}, {43, kOccupata}},
       {{32, 180}, {39, 180}},
       codice::codici_prima_inizio,
       2500},
      {"every 8 cells inside a slow slowdown",
       100,
       {{10, kInizio, 40}, {40, kFine}},
       {{5, 180}, {18, 180}, {26, 180}, {34, 180}}},
      {"one cell earlier, then 8 cells after the cell used",
       100,
       {{10, kInizio, 40}, {40, kFine}, {18, kOccupata}},
       {{5, 180}, {17, 180}, {25, 180}, {33, 180}}},
      {"one cell later when both are taken",
       100,
       {{10, kInizio, 40}, {40, kFine}, {18, kOccupata}, {17, kOccupata}},
       {{5, 180}, {19, 180}, {27, 180}, {35, 180}}},
      {"no room inside ends the codes inside",
       100,
       {{10, kInizio, 40}, {40, kFine}, {18, kOccupata}, {17, kOccupata}, {19, kOccupata}},
       {{5, 180}},
       codice::codici_rallentamento,
       900},
      {"the end in the 8th step", 100, {{10, kInizio, 40}, {18, kFine}}, {{5, 180}, {17, 180}}},
      {"a signal after the end",
       100,
       {{10, kInizio, 40}, {20, kFine}, {25, kSegnale}},
       {{5, 180}, {18, 180}, {24, 180}}},
      {"a signal 12 cells after the end",
       100,
       {{10, kInizio, 40}, {20, kFine}, {32, kSegnale}},
       {{5, 180}, {18, 180}, {31, 180}}},
      {"a signal 13 cells after the end",
       100,
       {{10, kInizio, 40}, {20, kFine}, {33, kSegnale}},
       {{5, 180}, {18, 180}}},
      {"only the first signal after the end",
       100,
       {{10, kInizio, 40}, {20, kFine}, {25, kSegnale}, {28, kSegnale}},
       {{5, 180}, {18, 180}, {24, 180}}},
      {"after the end: one cell earlier",
       100,
       {{10, kInizio, 40}, {20, kFine}, {25, kSegnale}, {24, kOccupata}},
       {{5, 180}, {18, 180}, {23, 180}}},
      {"after the end: no room",
       100,
       {{10, kInizio, 40}, {20, kFine}, {25, kSegnale}, {24, kOccupata}, {23, kOccupata}},
       {{5, 180}, {18, 180}},
       codice::codici_rallentamento,
       1000},
      {"fast slowdown: the search after starts at its own end",
       100,
       {{10, kInizio, 40}, {20, kFine}, {50, kInizio, 120}, {54, kFine}, {66, kSegnale}},
       {{5, 180}, {18, 180}, {32, 180}, {39, 180}, {45, 180}, {65, 180}}},
      {"fast slowdown: a signal 13 cells after its end",
       100,
       {{50, kInizio, 120}, {54, kFine}, {67, kSegnale}},
       {{32, 180}, {39, 180}, {45, 180}}},
      {"a slow slowdown without end stops at the last cell",
       30,
       {{21, kInizio, 40}},
       {{3, 180}, {10, 180}, {16, 180}, {29, 180}}},
      {"a fast slowdown without end stops at the last cell",
       30,
       {{21, kInizio, 120}},
       {{3, 180}, {10, 180}, {16, 180}}},
      {"a candidate beyond the last cell is never free",
       28,
       {{20, kInizio, 40}, {28, kFine}, {27, kOccupata}},
       {{9, 180}, {15, 180}},
       codice::codici_rallentamento,
       1400},
      {"a later cell sees the codes placed before it",
       100,
       {{10, kInizio, 40}, {40, kFine}, {30, kAvviso}, {19, kSegnale}},
       {{5, 180}, {17, 180}, {18, 180}, {26, 180}, {34, 180}}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato = celle_con(caso.numero_celle, caso.elementi);
    piazza_codici(stato);
    EXPECT_EQ(codici(stato), caso.codici);
    EXPECT_EQ(stato.codice_errore, caso.codice);
    EXPECT_EQ(stato.posizione_errore, caso.posizione);
  }
}

TEST(SignalCodes, LaterErrorReplacesEarlier) {
  StatoCompilazione stato = celle_con(100, {{50, kAvviso},
                                            {40, kSegnale},
                                            {39, kOccupata},
                                            {38, kOccupata},
                                            {70, kInizio, 120},
                                            {72, kFine},
                                            {65, kOccupata},
                                            {64, kOccupata},
                                            {63, kOccupata}});
  stato.codice_errore = codice::stazione_posizione;
  stato.posizione_errore = 66620;
  piazza_codici(stato);
  EXPECT_EQ(stato.codice_errore, codice::codici_prima_inizio);
  EXPECT_EQ(stato.posizione_errore, 3500);
  EXPECT_EQ(codici(stato), (std::map<int, int>{{52, 180}, {59, 180}}));
}

TEST(SignalCodes, Minimo) {
  EXPECT_EQ(minimo(180, 250), 180);
  EXPECT_EQ(minimo(180, 100), 100);
  EXPECT_EQ(minimo(180, 180), 180);
  EXPECT_EQ(minimo(180, -5), -5);
  EXPECT_EQ(minimo(-7, 3), -7);
}

}  // namespace
}  // namespace scenario
