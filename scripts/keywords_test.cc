#include "scripts/keywords.h"

#include <gtest/gtest.h>

namespace scenario {

namespace {

/// The test of `record` in `tabella`.
template <typename Record, std::size_t N>
ParolaChiave Parola(const std::array<VoceTabella<Record>, N>& tabella, Record record) {
  for (const VoceTabella<Record>& voce : tabella)
    if (voce.record == record) return voce.parola;
  ADD_FAILURE() << "record missing from its table";
  return {};
}

struct Caso {
  ParolaChiave parola;
  std::string_view campo;
  bool atteso;
};

TEST(Keywords, TestsOnKeywordFields) {
  const ParolaChiave lunghezza = Parola(kTabellaGenerale, RecordGenerale::lunghezza);
  const ParolaChiave uno = Parola(kTabellaGenerale, RecordGenerale::progressiva_uno);
  const ParolaChiave tre = Parola(kTabellaGenerale, RecordGenerale::progressiva_tre);
  const ParolaChiave sfondo_uno = Parola(kTabellaGenerale, RecordGenerale::sfondo_uno);
  const ParolaChiave sfondo_due = Parola(kTabellaGenerale, RecordGenerale::sfondo_due);
  const ParolaChiave ripetizione = Parola(kTabellaGenerale, RecordGenerale::ripetizione);
  const ParolaChiave pendenza = Parola(kTabellaLinea, RecordLinea::pendenza);
  const ParolaChiave curva = Parola(kTabellaLinea, RecordLinea::curva);
  const ParolaChiave montagna = Parola(kTabellaLinea, RecordLinea::montagna);
  const ParolaChiave v_max = Parola(kTabellaLinea, RecordLinea::indicatori_v_max);
  const ParolaChiave cartello = Parola(kTabellaLinea, RecordLinea::cartello);
  const ParolaChiave massa = Parola(kTabellaTreno, RecordTreno::massa_frenata);
  const ParolaChiave velocita = Parola(kTabellaTreno, RecordTreno::velocita);
  const ParolaChiave aderenza = Parola(kTabellaTreno, RecordTreno::aderenza);
  const ParolaChiave segnale = Parola(kTabellaTreno, RecordTreno::segnale);
  const ParolaChiave stazione = Parola(kTabellaTreno, RecordTreno::stazione);

  const Caso casi[] = {
      // General section: the length in any case, the rest exact-case.
      {lunghezza, "lunghezza percorso", true},
      {lunghezza, "LUNGHEZZA Percorso", true},
      {lunghezza, "lunghezza", false},
      {uno, "progressiva chilometrica uno", true},
      {uno, "Progressiva chilometrica uno", false},
      {uno, "progressiva chilometrica UNO", false},
      {tre, "progressiva chilometrica uno", false},
      {sfondo_uno, "sfondo uno", true},
      {sfondo_uno, "Sfondo uno", false},
      {sfondo_due, "sfondo uno", false},
      {ripetizione, "ripetizione segnali 4 codici", true},
      {ripetizione, "Ripetizione segnali 4 codici", false},
      {ripetizione, "ripetizione", false},
      // Line body: any case; the section headers match nothing.
      {pendenza, "PENDENZA", true},
      {pendenza, "[pendenze]", false},
      {curva, "curvaS4", true},
      {curva, "[curve]", false},
      {montagna, "[montagne]", false},
      {v_max, "indicatori_vmax", true},
      {v_max, "cartello_indicatore", false},
      {cartello, "Cartello_Indicatore", true},
      {cartello, "indicatori_vmax", false},
      {cartello, "[cartelli]", false},
      // Train script: any case; the section headers match nothing.
      {massa, "percentuale massa frenata", true},
      {massa, "MASSA FRENATA", true},
      {massa, "frenata", false},
      {velocita, "VELOCITA", true},
      {velocita, "[vel_limite]", false},
      {aderenza, "[aderenze]", false},
      {segnale, "segnale", true},
      {segnale, "[segnali]", false},
      {stazione, "Stazione", true},
      {stazione, "[stazioni]", false},
  };
  for (const Caso& caso : casi) {
    EXPECT_EQ(caso.parola.corrisponde(caso.campo), caso.atteso)
        << "\"" << caso.campo << "\" against \"" << caso.parola.testo << "\"";
  }
}

TEST(Keywords, Contains) {
  EXPECT_TRUE(contiene("  [GENERALE]", kGenerale));
  EXPECT_FALSE(contiene("  [GENERALE]", kGenerale, true));
  EXPECT_FALSE(contiene("seg", "segnale"));
  EXPECT_TRUE(contiene("curvad3", "3"));
}

}  // namespace
}  // namespace scenario
