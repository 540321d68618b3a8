#include "compiler/encoders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace scenario {
namespace {

/// A compile state whose cell array covers a 103000 m route (cells 0 to
/// 2200), all cells zero.
StatoCompilazione Dimensionato() {
  StatoCompilazione stato;
  stato.lunghezza_tabella = 110000;
  stato.numero_celle = 2200;
  stato.celle.assign(2201, Cella{});
  return stato;
}

/// True when every cell outside `tranne` is still all zeros.
bool AltreVuote(const StatoCompilazione& stato, const std::set<int>& tranne) {
  for (std::size_t c = 0; c < stato.celle.size(); ++c) {
    if (tranne.count(static_cast<int>(c))) continue;
    const Cella& x = stato.celle[c];
    if (x.tipo || x.dato1 || x.dato2 || x.dato3 || x.dato4 || x.tempo || x.avvicinamento ||
        x.montagna) {
      ADD_FAILURE() << "cell " << c << " was written";
      return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// memo_montagna

TEST(MemoMontagna, BuiltInSection) {
  StatoCompilazione stato = Dimensionato();
  memo_montagna(stato, 8700, 11050, 11);
  EXPECT_EQ(stato.conta_montagne, 1);
  EXPECT_EQ(stato.montagna_inizio[1], 8700);
  EXPECT_EQ(stato.montagna_fine[1], 11050);
  std::set<int> marcatori, sezione;
  for (int c = 177; c <= 217; c += 4) marcatori.insert(c);
  EXPECT_EQ(marcatori.size(), 11u);
  for (int c = 174; c <= 220; ++c) {
    sezione.insert(c);
    EXPECT_EQ(stato.celle[c].montagna, 1) << c;
    EXPECT_EQ(stato.celle[c].tipo, marcatori.count(c) ? 11 : 0) << c;
  }
  EXPECT_TRUE(AltreVuote(stato, sezione));
}

TEST(MemoMontagna, TypeOfASectionCloseToThePreviousOne) {
  struct Caso {
    const char* nome;
    std::int32_t inizio, fine, tipo;
    std::uint8_t montagna;  ///< type stored in the section's cells
    bool marcatori;
  };
  // The previous section ends at 2000.
  const std::vector<Caso> casi = {
      {"150 m after", 2150, 3000, 2, 3, false},
      {"151 m after", 2151, 3000, 2, 2, false},
      {"overlapping", 1900, 3000, 4, 3, false},
      {"150 m after, with markers", 2150, 3000, 12, 3, true},
      {"151 m after, with markers", 2151, 3000, 12, 2, true},
      {"type 10 has no markers", 2500, 3000, 10, 10, false},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato = Dimensionato();
    memo_montagna(stato, 1000, 2000, 1);
    memo_montagna(stato, caso.inizio, caso.fine, caso.tipo);
    EXPECT_EQ(stato.conta_montagne, 2);
    EXPECT_EQ(stato.montagna_inizio[2], caso.inizio);
    EXPECT_EQ(stato.montagna_fine[2], caso.fine);
    const std::int64_t prima = std::llround(caso.inizio / 50.0);
    EXPECT_EQ(stato.celle[prima].montagna, caso.montagna);
    EXPECT_EQ(stato.celle[prima + 3].tipo, caso.marcatori ? 11 : 0);
    EXPECT_EQ(stato.celle[prima + 2].tipo, 0);
    EXPECT_EQ(stato.celle[59].montagna, caso.montagna);
    EXPECT_EQ(stato.celle[60].montagna, 0);
  }
}

TEST(MemoMontagna, CellsAndTheirLimits) {
  // Halves round to the even cell: 8725 / 50 = 174.5 gives 174, and
  // 11075 / 50 - 1 = 220.5 gives 220.
  StatoCompilazione pari = Dimensionato();
  memo_montagna(pari, 8725, 11075, 1);
  EXPECT_EQ(pari.celle[173].montagna, 0);
  EXPECT_EQ(pari.celle[174].montagna, 1);
  EXPECT_EQ(pari.celle[220].montagna, 1);
  EXPECT_EQ(pari.celle[221].montagna, 0);

  // A section shorter than a cell touches nothing, but is counted.
  StatoCompilazione corta = Dimensionato();
  memo_montagna(corta, 1000, 1000, 11);
  EXPECT_EQ(corta.conta_montagne, 1);
  EXPECT_TRUE(AltreVuote(corta, {}));

  // Cells holding an element keep it; the count of the markers still runs.
  StatoCompilazione piena = Dimensionato();
  piena.celle[177].tipo = 14;
  piena.celle[181].tipo = 1;
  memo_montagna(piena, 8700, 11050, 11);
  EXPECT_EQ(piena.celle[177].tipo, 14);
  EXPECT_EQ(piena.celle[181].tipo, 1);
  EXPECT_EQ(piena.celle[185].tipo, 11);
  EXPECT_EQ(piena.celle[177].montagna, 1);

  // A section running past the last cell marks the cells up to it only.
  StatoCompilazione lunga = Dimensionato();
  memo_montagna(lunga, 109000, 500000, 11);
  EXPECT_EQ(lunga.celle.size(), 2201u);
  for (int c = 2180; c <= 2200; ++c) EXPECT_EQ(lunga.celle[c].montagna, 1) << c;
  EXPECT_EQ(lunga.celle[2183].tipo, 11);
  EXPECT_EQ(lunga.celle[2199].tipo, 11);
  EXPECT_EQ(lunga.codice_errore, 0);
}

// ---------------------------------------------------------------------------
// memo_indicatori_v_max

TEST(MemoIndicatoriVMax, BuiltInRecord) {
  StatoCompilazione stato = Dimensionato();
  EXPECT_EQ(memo_indicatori_v_max(stato, 1550, 125, 135, 135, 0, 0, 0, 0, 0), 0);
  const Cella& c = stato.celle[32];
  EXPECT_EQ(c.tipo, 6);
  EXPECT_EQ(c.dato1, 2500);
  EXPECT_EQ(c.dato2, 2700);
  EXPECT_EQ(c.dato3, 2700);
  EXPECT_EQ(c.dato4, 0);
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_TRUE(AltreVuote(stato, {32}));
}

TEST(MemoIndicatoriVMax, Words) {
  struct Caso {
    const char* nome;
    std::int32_t vas, vad, strisces, strisced;
    std::int16_t dato1, dato4;
  };
  const std::vector<Caso> casi = {
      {"both sides", 100, 60, 1, 2, 2012, 12},
      {"a fifth rounds up", 100, 3, 0, 0, 2001, 0},
      {"a fifth rounds down", 100, 2, 0, 0, 2000, 0},
      {"negative right side", 100, -3, 0, 0, 1999, 0},
      {"highest word", 1638, 35, 0, 0, 32767, 0},
      {"lowest word", -1638, -40, 0, 0, -32768, 0},
      {"stripes keep their low 16 bits", 0, 0, 4000, 0, 0, -25536},
      {"negative stripes", 0, 0, -1, 3, 0, -7},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato = Dimensionato();
    ASSERT_EQ(memo_indicatori_v_max(stato, 5000, caso.vas, 0, 0, caso.strisces, caso.vad, 0, 0,
                                    caso.strisced),
              0);
    EXPECT_EQ(stato.celle[101].dato1, caso.dato1);
    EXPECT_EQ(stato.celle[101].dato4, caso.dato4);
  }
}

TEST(MemoIndicatoriVMax, SpeedWordOutOfRange) {
  // The cell is written in field order: `tipo`, then the three words. The
  // first word that does not fit stops the writing, and the code is left to
  // the caller's read-failure path.
  for (int parola = 0; parola < 3; ++parola) {
    for (std::int32_t vad : {40, -45}) {
      SCOPED_TRACE(std::to_string(parola) + " / " + std::to_string(vad));
      StatoCompilazione stato = Dimensionato();
      std::int32_t vs[3] = {1, 2, 3};
      std::int32_t vd[3] = {0, 0, 0};
      vs[parola] = vad > 0 ? 1638 : -1638;
      vd[parola] = vad;
      EXPECT_EQ(memo_indicatori_v_max(stato, 5000, vs[0], vs[1], vs[2], 1, vd[0], vd[1], vd[2], 1),
                25);
      EXPECT_EQ(stato.codice_errore, 0);
      const Cella& c = stato.celle[101];
      EXPECT_EQ(c.tipo, 6);
      const std::int16_t parole[3] = {c.dato1, c.dato2, c.dato3};
      for (int k = 0; k < 3; ++k) EXPECT_EQ(parole[k], k < parola ? 20 * (k + 1) : 0) << k;
      EXPECT_EQ(c.dato4, 0);
      EXPECT_TRUE(AltreVuote(stato, {101}));
    }
  }
}

TEST(MemoIndicatoriVMax, OccupiedCell) {
  StatoCompilazione stato = Dimensionato();
  stato.celle[32].tipo = 1;
  stato.celle[32].dato1 = 7;
  EXPECT_EQ(memo_indicatori_v_max(stato, 1550, 125, 135, 135, 0, 0, 0, 0, 0), 21);
  EXPECT_EQ(stato.codice_errore, 21);
  EXPECT_EQ(stato.celle[32].tipo, 1);
  EXPECT_EQ(stato.celle[32].dato1, 7);

  StatoCompilazione marcata = Dimensionato();
  marcata.celle[32].tipo = 11;
  marcata.celle[32].montagna = 1;
  EXPECT_EQ(memo_indicatori_v_max(marcata, 1550, 125, 135, 135, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(marcata.celle[32].tipo, 6);
  EXPECT_EQ(marcata.celle[32].montagna, 1);
  EXPECT_EQ(marcata.codice_errore, 0);
}

// ---------------------------------------------------------------------------
// memo_segnale

TEST(MemoSegnale, BuiltInSignals) {
  StatoCompilazione stato = Dimensionato();
  EXPECT_EQ(memo_segnale(stato, 67400, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0), 0);
  const Cella& a = stato.celle[1349];
  EXPECT_EQ(a.tipo, 1);
  EXPECT_EQ(a.dato1, 50);
  EXPECT_EQ(a.dato2, 10);
  EXPECT_EQ(a.dato3, 0);
  EXPECT_EQ(a.dato4, 3);
  EXPECT_EQ(a.tempo, 0);
  EXPECT_EQ(stato.celle[1347].avvicinamento, 31);
  EXPECT_EQ(stato.celle[1345].avvicinamento, 32);
  EXPECT_EQ(stato.celle[1343].avvicinamento, 33);
  EXPECT_EQ(stato.celle[1341].avvicinamento, 34);
  EXPECT_EQ(stato.celle[1347].tipo, 0);

  EXPECT_EQ(memo_segnale(stato, 69700, 2, 2, 4, 0, 0, 0, 0, 0, 0, 255), 0);
  const Cella& b = stato.celle[1395];
  EXPECT_EQ(b.tipo, 1);
  EXPECT_EQ(b.dato4, 6);
  EXPECT_EQ(b.dato1, 20);
  EXPECT_EQ(b.dato2, 40);
  EXPECT_EQ(b.tempo, 255);
  for (int m = 1; m <= 4; ++m) EXPECT_EQ(stato.celle[1395 - 2 * m].avvicinamento, 60 + m);
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_TRUE(AltreVuote(stato, {1349, 1347, 1345, 1343, 1341, 1395, 1393, 1391, 1389, 1387}));
}

TEST(MemoSegnale, Words) {
  // dato4 = 10 rapp + 3 sx + dx, the markers 10 (3 sx + dx) + step, the data
  // words 10 s + d in their low 16 bits.
  StatoCompilazione stato = Dimensionato();
  EXPECT_EQ(memo_segnale(stato, 5000, 1, 4000, 2, 3, 2, 2, 7, 8, 9, 0), 0);
  const Cella& c = stato.celle[101];
  EXPECT_EQ(c.dato1, -25529);  // 40007 in 16 bits
  EXPECT_EQ(c.dato2, 28);
  EXPECT_EQ(c.dato3, 39);
  EXPECT_EQ(c.dato4, 25);
  EXPECT_EQ(stato.celle[99].avvicinamento, 51);
  EXPECT_EQ(stato.celle[93].avvicinamento, 54);
}

TEST(MemoSegnale, Time) {
  struct Caso {
    std::int32_t sx, tempo;
    std::uint8_t atteso;
  };
  const std::vector<Caso> casi = {
      {2, 0, 0},   {2, 1, 101},  {2, 50, 101}, {2, 100, 101}, {2, 101, 101}, {2, 255, 255},
      {2, 256, 0}, {2, -1, 255}, {1, 50, 0},   {1, 255, 0},   {0, 200, 0},   {3, 200, 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(std::to_string(caso.sx) + " / " + std::to_string(caso.tempo));
    StatoCompilazione stato = Dimensionato();
    EXPECT_EQ(memo_segnale(stato, 5000, caso.sx, 1, 1, 1, 0, 0, 0, 0, 0, caso.tempo), 0);
    EXPECT_EQ(stato.celle[101].tempo, caso.atteso);
  }
}

TEST(MemoSegnale, CellOfThePosition) {
  // round(p / 50 + 1), halves to the even cell.
  const std::vector<std::pair<std::int32_t, int>> casi = {{325, 8}, {375, 8}, {425, 10},
                                                          {349, 8}, {351, 8}, {0, 1}};
  for (const auto& [posizione, cella] : casi) {
    SCOPED_TRACE(posizione);
    StatoCompilazione stato = Dimensionato();
    EXPECT_EQ(memo_segnale(stato, posizione, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(stato.celle[cella].tipo, 1);
  }
}

TEST(MemoSegnale, MarkersNearTheStart) {
  // Signal at 100 m: cell 3; of its markers only cell 1 exists.
  StatoCompilazione stato = Dimensionato();
  EXPECT_EQ(memo_segnale(stato, 100, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(stato.celle[3].tipo, 1);
  EXPECT_EQ(stato.celle[1].avvicinamento, 31);
  EXPECT_TRUE(AltreVuote(stato, {1, 3}));

  StatoCompilazione zero = Dimensionato();
  EXPECT_EQ(memo_segnale(zero, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(zero.celle[1].tipo, 1);
  EXPECT_TRUE(AltreVuote(zero, {1}));
}

TEST(MemoSegnale, MarkersOverwriteWhateverTheCellsHold) {
  StatoCompilazione stato = Dimensionato();
  stato.celle[1347].tipo = 14;
  stato.celle[1347].avvicinamento = 84;
  stato.celle[1345].tipo = 1;
  EXPECT_EQ(memo_segnale(stato, 67400, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(stato.celle[1347].tipo, 14);
  EXPECT_EQ(stato.celle[1347].avvicinamento, 31);
  EXPECT_EQ(stato.celle[1345].tipo, 1);
  EXPECT_EQ(stato.celle[1345].avvicinamento, 32);
}

TEST(MemoSegnale, OccupiedCell) {
  for (std::uint8_t tipo : {1, 2, 6, 10, 12, 14}) {
    SCOPED_TRACE(static_cast<int>(tipo));
    StatoCompilazione stato = Dimensionato();
    stato.celle[1349].tipo = tipo;
    EXPECT_EQ(memo_segnale(stato, 67400, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0), 16);
    EXPECT_EQ(stato.codice_errore, 16);
    EXPECT_EQ(stato.celle[1349].tipo, tipo);
    EXPECT_EQ(stato.celle[1349].dato1, 0);
    EXPECT_EQ(stato.celle[1347].avvicinamento, 0);
  }
  StatoCompilazione marcata = Dimensionato();
  marcata.celle[1349].tipo = 11;
  EXPECT_EQ(memo_segnale(marcata, 67400, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(marcata.celle[1349].tipo, 1);
  EXPECT_EQ(marcata.codice_errore, 0);
}

// ---------------------------------------------------------------------------
// memo_rallentamento

TEST(MemoRallentamento, BuiltInSlowdown) {
  StatoCompilazione stato = Dimensionato();
  EXPECT_EQ(memo_rallentamento(stato, 93800, 40, 200, 0, 1, 0), 0);
  EXPECT_EQ(stato.celle[1853].tipo, 4);
  EXPECT_EQ(stato.celle[1877].tipo, 3);
  EXPECT_EQ(stato.celle[1881].tipo, 2);
  for (int c : {1853, 1877, 1881}) {
    EXPECT_EQ(stato.celle[c].dato1, 40) << c;
    EXPECT_EQ(stato.celle[c].dato2, 0) << c;
  }
  for (int m = 0; m < 4; ++m) {
    EXPECT_EQ(stato.celle[1852 - m].tipo, 5);
    EXPECT_EQ(stato.celle[1852 - m].dato1, m + 1);
    EXPECT_EQ(stato.celle[1852 - m].dato2, 0);
  }
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_TRUE(AltreVuote(stato, {1849, 1850, 1851, 1852, 1853, 1877, 1881}));
}

TEST(MemoRallentamento, SpeedDifferenceAndTime) {
  StatoCompilazione stato = Dimensionato();
  EXPECT_EQ(memo_rallentamento(stato, 93800, 40, 200, 7, 1, 30), 0);
  for (int c : {1853, 1877, 1881}) EXPECT_EQ(stato.celle[c].dato2, 30) << c;
  EXPECT_EQ(stato.celle[1877].dato3, 7);
  EXPECT_EQ(stato.celle[1881].dato3, 7);
  EXPECT_EQ(stato.celle[1853].dato3, 0);
  for (int m = 0; m < 4; ++m) EXPECT_EQ(stato.celle[1852 - m].dato2, m + 1);
}

TEST(MemoRallentamento, WarningBoardOnlyBeyond1500) {
  struct Caso {
    const char* nome;
    std::int32_t x, f_ta;
    std::set<int> scritte;  ///< cells written
    int avviso;             ///< cell of the warning board, 0 when none
  };
  const std::vector<Caso> casi = {
      {"at 1500, no board whatever f_ta says", 1500, 1, {31, 33}, 0},
      {"at 1550 with f_ta", 1550, 1, {8, 7, 6, 5, 4, 32, 34}, 8},
      {"at 1550 without f_ta", 1550, 0, {8, 32, 34}, 8},
      // 1525: the board cell 325 / 50 + 1 = 7.5 rounds to 8, the cells
      // before it start at 325 / 50 = 6.5, which rounds to 6.
      {"off the 50 m grid", 1525, 1, {8, 6, 5, 4, 3, 32, 34}, 8},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato = Dimensionato();
    EXPECT_EQ(memo_rallentamento(stato, caso.x, 60, 100, 0, caso.f_ta, 0), 0);
    EXPECT_TRUE(AltreVuote(stato, caso.scritte));
    if (caso.avviso) {
      EXPECT_EQ(stato.celle[caso.avviso].tipo, 4);
    }
  }
}

TEST(MemoRallentamento, OccupiedCells) {
  // Cells of 93800 / 200: board 1853, start 1877, end 1881, before the
  // board 1852 to 1849.
  struct Caso {
    const char* nome;
    std::vector<int> occupate;
    std::int32_t codice;
  };
  const std::vector<Caso> casi = {
      {"board, start and end taken", {1853, 1877, 1881}, 17},
      {"start and end taken", {1877, 1881}, 18},
      {"end taken", {1881}, 19},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato = Dimensionato();
    std::set<int> occupate;
    for (int c : caso.occupate) {
      stato.celle[c].tipo = 6;
      occupate.insert(c);
    }
    EXPECT_EQ(memo_rallentamento(stato, 93800, 40, 200, 0, 1, 0), caso.codice);
    EXPECT_EQ(stato.codice_errore, caso.codice);
    for (int c : caso.occupate) EXPECT_EQ(stato.celle[c].dato1, 0);
    // Nothing is written before the checks have passed.
    for (int c : caso.occupate) stato.celle[c].tipo = 0;
    EXPECT_TRUE(AltreVuote(stato, {}));
  }
}

TEST(MemoRallentamento, OccupiedCellBeforeTheBoard) {
  StatoCompilazione stato = Dimensionato();
  stato.celle[1849].tipo = 1;
  EXPECT_EQ(memo_rallentamento(stato, 93800, 40, 200, 0, 1, 0), 20);
  EXPECT_EQ(stato.codice_errore, 20);
  EXPECT_EQ(stato.celle[1853].tipo, 4);
  EXPECT_EQ(stato.celle[1877].tipo, 3);
  EXPECT_EQ(stato.celle[1881].tipo, 2);
  for (int c = 1850; c <= 1852; ++c) EXPECT_EQ(stato.celle[c].tipo, 0) << c;

  // Without f_ta the same cell does not matter; at 1500 there is no board.
  StatoCompilazione senza = Dimensionato();
  senza.celle[1849].tipo = 1;
  EXPECT_EQ(memo_rallentamento(senza, 93800, 40, 200, 0, 0, 0), 0);
  StatoCompilazione presto = Dimensionato();
  presto.celle[7].tipo = 1;
  presto.celle[6].tipo = 1;
  EXPECT_EQ(memo_rallentamento(presto, 1500, 40, 100, 0, 1, 0), 0);
  EXPECT_EQ(presto.celle[31].tipo, 3);
}

TEST(MemoRallentamento, MountainMarkersAreReplaced) {
  StatoCompilazione stato = Dimensionato();
  for (int c : {1849, 1852, 1853, 1877, 1881}) stato.celle[c].tipo = 11;
  EXPECT_EQ(memo_rallentamento(stato, 93800, 40, 200, 0, 1, 0), 0);
  EXPECT_EQ(stato.celle[1853].tipo, 4);
  EXPECT_EQ(stato.celle[1877].tipo, 3);
  EXPECT_EQ(stato.celle[1881].tipo, 2);
  EXPECT_EQ(stato.celle[1852].tipo, 5);
  EXPECT_EQ(stato.celle[1849].tipo, 5);
  EXPECT_EQ(stato.codice_errore, 0);
}

}  // namespace
}  // namespace scenario
