#include "tools/scenario_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

/// An entry and the use it must be given.
struct CasoVoce {
  const char* nome;
  int voce;
  Parametro parametro;
  UsoVoce uso;
};

Parametro con_nome(const char* nome) {
  Parametro p;
  p.nome = nome;
  return p;
}

Parametro stazione(const char* nome, std::int32_t posizione) {
  Parametro p = con_nome(nome);
  p.posizione = posizione;
  p.inizio = posizione - 250;
  p.fine = posizione + 250;
  return p;
}

TEST(UsoVoce, StationsCarryNumbersSignBoardsOnlyTheirText) {
  Parametro solo_orario;
  solo_orario.orario = 3600;
  const CasoVoce casi[] = {
      {"station", 1, stazione("PIANO", 1000), UsoVoce::stazione},
      {"station at the top", 80, stazione("COLLE", 11000), UsoVoce::stazione},
      {"station without a name", 3, stazione("", 1000), UsoVoce::stazione},
      {"a number alone", 4, solo_orario, UsoVoce::stazione},
      {"board text", 80, con_nome("(ponte)(fiume)"), UsoVoce::cartello},
      {"board text low down", 2, con_nome("(PL km)(3+000)"), UsoVoce::cartello},
      {"nothing", 40, Parametro{}, UsoVoce::vuota},
      {"entry 0", 0, stazione("X", 1000), UsoVoce::inutilizzata},
      {"chainage", voce::progressiva_due, Parametro{}, UsoVoce::progressiva},
      {"train", voce::treno, Parametro{}, UsoVoce::treno},
      {"route", voce::percorso, con_nome("R"), UsoVoce::percorso},
      {"train number", voce::ripetizione, con_nome("1"), UsoVoce::numero_treno},
  };
  for (const CasoVoce& caso : casi) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(uso_voce(caso.voce, caso.parametro), caso.uso);
  }
  EXPECT_STREQ(nome_uso(UsoVoce::cartello), "sign board");
  EXPECT_TRUE(parametro_vuoto(Parametro{}));
  EXPECT_FALSE(parametro_vuoto(con_nome("x")));
}

TEST(StazioniDi, EntryOrderWithNameAndTime) {
  Parametri p;
  p[1] = stazione("A", 1000);
  p[1].orario = 8 * 3600 + 20 * 60;
  p[2] = stazione("B", 5000);
  p[80] = con_nome("(board)");
  p[voce::treno].fine = 6000;
  const std::vector<Stazione> st = stazioni_di(p);
  ASSERT_EQ(st.size(), 2u);
  EXPECT_EQ(st[0].voce, 1);
  EXPECT_EQ(st[0].nome, "A");
  EXPECT_EQ(st[0].orario, 30000);
  EXPECT_EQ(st[1].inizio, 4750);
  EXPECT_EQ(st[1].fine, 5250);
  EXPECT_EQ(lunghezza_percorso(p), 6000);
}

TEST(Celle, MetresAndProfileValues) {
  // An element at position p stands in cell p / 50 + 1; profile values hold
  // from the start of their cell.
  EXPECT_EQ(metri_elemento(1349), 67400);
  EXPECT_EQ(metri_elemento(0), -50);
  EXPECT_EQ(inizio_cella(30), 1500);
  Cella c;
  c.velocita = 27;
  c.pendenza = 95;
  EXPECT_EQ(velocita_kmh(c), 135);
  EXPECT_EQ(pendenza_per_mille(c), -5);
}

TEST(Celle, SlowdownsPairEachStartWithTheNextEnd) {
  std::vector<Cella> celle(12);
  celle[2].tipo = tipo_cella::fine_rallentamento;  // an end without a start
  celle[3].tipo = tipo_cella::inizio_rallentamento;
  celle[3].dato1 = 60;
  celle[6].tipo = tipo_cella::fine_rallentamento;
  celle[8].tipo = tipo_cella::inizio_rallentamento;  // a start without an end
  celle[9].tipo = tipo_cella::segnale;
  celle[10].tipo = tipo_cella::codice;
  celle[11].tipo = tipo_cella::codice_senza_valore;
  const std::vector<Rallentamento> r = rallentamenti_di(celle);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].da, 100);
  EXPECT_EQ(r[0].a, 250);
  EXPECT_EQ(r[0].velocita, 60);
  const ConteggioElementi n = conta_elementi(celle);
  EXPECT_EQ(n.rallentamenti, 2);
  EXPECT_EQ(n.segnali, 1);
  EXPECT_EQ(n.codici, 2);
  EXPECT_EQ(n.cartelli, 0);
}

}  // namespace
}  // namespace scenario
