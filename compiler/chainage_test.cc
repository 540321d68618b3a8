#include "compiler/chainage.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

#include "compiler/compile_fixture.h"

namespace scenario {
namespace {

/// One chainage record as three values.
struct Terna {
  std::int32_t inizio, fine, posizione;
};

bool operator==(const Terna& a, const Terna& b) {
  return a.inizio == b.inizio && a.fine == b.fine && a.posizione == b.posizione;
}

void PrintTo(const Terna& t, std::ostream* os) {
  *os << "(" << t.inizio << ", " << t.fine << ", " << t.posizione << ")";
}

constexpr Terna kZero = {0, 0, 0};

/// The records "tre", "due" and "uno" as the reader stores them, and the
/// content of entries 81, 82 and 83 after the ordering.
struct Caso {
  const char* nome;
  Terna tre, due, uno;
  Terna e81, e82, e83;
};

void Imposta(Parametro& p, const Terna& t) {
  p.inizio = t.inizio;
  p.fine = t.fine;
  p.posizione = t.posizione;
}

Terna Leggi(const Parametro& p) {
  return {p.inizio, p.fine, p.posizione};
}

TEST(ProgressiveOrdina, Arrangements) {
  const std::vector<Caso> casi = {
      {"built-in: due greatest, uno and tre tie at 0",
       {0, 0, 0},
       {1500, -1500, 0},
       {0, 90000, 1},
       {1500, -1500, 0},
       {0, 90100, 1},
       {0, 0, 0}},
      {"only uno, starting at 0: arranged by fine",
       kZero,
       kZero,
       {0, 90000, 1},
       {0, 90100, 1},
       kZero,
       kZero},
      {"only uno, starting at 2000",
       kZero,
       kZero,
       {2000, 90000, 0},
       {2000, 90000, 0},
       kZero,
       kZero},
      {"no record at all", kZero, kZero, kZero, kZero, kZero, kZero},
      {"two records share the greatest start",
       {1500, 10, 1},
       {1500, 20, 0},
       {0, 30, 0},
       kZero,
       kZero,
       kZero},
      {"three records share the start",
       {700, 10, 0},
       {700, 20, 0},
       {700, 30, 1},
       kZero,
       kZero,
       kZero},
      {"starts adding up to 0 are arranged by fine",
       {0, 500, 0},
       {1500, 0, 0},
       {-1500, 0, 0},
       {0, 500, 0},
       {1500, 0, 0},
       {-1500, 0, 0}},
      // Every order of three distinct starts.
      {"T > D > U", {3, 30, 0}, {2, 20, 0}, {1, 10, 0}, {3, 30, 0}, {2, 20, 0}, {1, 10, 0}},
      {"T > U > D", {3, 30, 0}, {1, 10, 0}, {2, 20, 0}, {3, 30, 0}, {2, 20, 0}, {1, 10, 0}},
      {"D > T > U", {2, 20, 0}, {3, 30, 0}, {1, 10, 0}, {3, 30, 0}, {2, 20, 0}, {1, 10, 0}},
      {"D > U > T", {1, 10, 0}, {3, 30, 0}, {2, 20, 0}, {3, 30, 0}, {2, 20, 0}, {1, 10, 0}},
      {"U > T > D", {2, 20, 0}, {1, 10, 0}, {3, 30, 0}, {3, 30, 0}, {2, 20, 0}, {1, 10, 0}},
      {"U > D > T", {1, 10, 0}, {2, 20, 0}, {3, 30, 0}, {3, 30, 0}, {2, 20, 0}, {1, 10, 0}},
      // Ties below the greatest: the record from the higher entry comes first.
      {"T greatest, D and U tie", {9, 1, 0}, {5, 2, 0}, {5, 3, 0}, {9, 1, 0}, {5, 3, 0}, {5, 2, 0}},
      {"D greatest, T and U tie", {5, 1, 0}, {9, 2, 0}, {5, 3, 0}, {9, 2, 0}, {5, 3, 0}, {5, 1, 0}},
      {"U greatest, T and D tie", {5, 1, 0}, {5, 2, 0}, {9, 3, 0}, {9, 3, 0}, {5, 2, 0}, {5, 1, 0}},
      // Negative starts compare as signed values.
      {"negative starts",
       {-100, 1, 0},
       {-50, 2, 0},
       {-200, 3, 0},
       {-50, 2, 0},
       {-100, 1, 0},
       {-200, 3, 0}},
      // Zero sum: the first record with a positive fine, U before D before T.
      {"zero sum, U's fine positive",
       {0, 5, 0},
       {0, 6, 0},
       {0, 7, 0},
       {0, 7, 0},
       {0, 6, 0},
       {0, 5, 0}},
      {"zero sum, D's fine positive",
       {0, 5, 0},
       {0, 6, 0},
       {0, -7, 0},
       {0, 6, 0},
       {0, 5, 0},
       {0, -7, 0}},
      {"zero sum, only T's fine positive",
       {0, 5, 0},
       {0, 0, 0},
       {0, -7, 0},
       {0, 5, 0},
       {0, 0, 0},
       {0, -7, 0}},
      {"zero sum, no fine positive", {0, -5, 1}, {0, 0, 1}, {0, -7, 2}, kZero, kZero, kZero},
      // The 100 goes with posizione 1 only, once, wherever the record lands.
      {"posizione 1 in every record",
       {3, 30, 1},
       {2, 20, 1},
       {1, 10, 1},
       {3, 130, 1},
       {2, 120, 1},
       {1, 110, 1}},
      {"posizione 2 and 0 keep their fine",
       {3, 30, 2},
       {2, 20, 0},
       {1, 10, 1},
       {3, 30, 2},
       {2, 20, 0},
       {1, 110, 1}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    StatoCompilazione stato;
    Imposta(stato.parametri[voce::progressiva_tre], caso.tre);
    Imposta(stato.parametri[voce::progressiva_due], caso.due);
    Imposta(stato.parametri[voce::progressiva_uno], caso.uno);
    stato.parametri[voce::progressiva_tre].nome = "invariato";
    stato.parametri[voce::treno].fine = 103000;
    EXPECT_TRUE(progressive_ordina(stato));
    EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_tre]), caso.e81);
    EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_due]), caso.e82);
    EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_uno]), caso.e83);
    // Only the nine values move.
    EXPECT_EQ(stato.parametri[voce::progressiva_tre].nome, "invariato");
    EXPECT_EQ(stato.parametri[voce::treno].fine, 103000);
  }
}

TEST(ProgressiveOrdina, FineThatCannotTakeItsHundred) {
  StatoCompilazione stato;
  Imposta(stato.parametri[voce::progressiva_uno], {0, INT32_MAX - 100, 1});
  EXPECT_TRUE(progressive_ordina(stato));
  EXPECT_EQ(stato.parametri[voce::progressiva_tre].fine, INT32_MAX);

  StatoCompilazione troppo;
  Imposta(troppo.parametri[voce::progressiva_uno], {0, INT32_MAX - 99, 1});
  EXPECT_FALSE(progressive_ordina(troppo));
}

TEST(ProgressiveOrdina, OverflowStopsAtItsEntry) {
  // Arranged as tre, due, uno; entry 81 takes its hundred, entry 82 cannot,
  // and entry 83 keeps its fine though its posizione is 1.
  StatoCompilazione stato;
  Imposta(stato.parametri[voce::progressiva_tre], {3, 30, 1});
  Imposta(stato.parametri[voce::progressiva_due], {2, INT32_MAX - 50, 1});
  Imposta(stato.parametri[voce::progressiva_uno], {1, 10, 1});
  EXPECT_FALSE(progressive_ordina(stato));
  EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_tre]), (Terna{3, 130, 1}));
  EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_due]), (Terna{2, INT32_MAX - 50, 1}));
  EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_uno]), (Terna{1, 10, 1}));
}

TEST(ProgressiveOrdina, ThroughTheLineScript) {
  // The records as the reader meets them, in any order, then the ordering
  // right after the general section; a fine that overflows is code 25.
  const std::string generale =
      "[generale]\r\n"
      "progressiva chilometrica tre,    0,    0,    0\r\n"
      "progressiva chilometrica uno,    0,    90000,    1\r\n"
      "lunghezza percorso,    103000\r\n"
      "progressiva chilometrica due,    1500,    -1500,    0\r\n"
      "[curve]\r\n[fine]\r\n";
  StatoCompilazione stato = leggi(generale, script_treno());
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_tre]), (Terna{1500, -1500, 0}));
  EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_due]), (Terna{0, 90100, 1}));
  EXPECT_EQ(Leggi(stato.parametri[voce::progressiva_uno]), kZero);

  CartellaTemporanea cartella;
  cartella.scrivi(nome_script_linea(kPercorsoProva),
                  "[generale]\r\nlunghezza percorso, 1000\r\n"
                  "progressiva chilometrica uno, 0, 2147483600, 1\r\n[curve]\r\n[fine]\r\n");
  cartella.scrivi(nome_script_treno(kPercorsoProva, kTrenoProva), script_treno());
  EXPECT_EQ(leggi_in(cartella).codice_errore, 25);
  EXPECT_FALSE(cartella.esiste(nome_script_linea(kPercorsoProva)));
  EXPECT_FALSE(cartella.esiste(nome_script_treno(kPercorsoProva, kTrenoProva)));
}

}  // namespace
}  // namespace scenario
