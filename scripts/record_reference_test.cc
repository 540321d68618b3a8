#include "scripts/record_reference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace scenario {
namespace {

TEST(RecordReference, OneEntryPerKeywordInTestOrder) {
  const auto records = riferimento_record();
  const std::size_t per_sezione[] = {kTabellaGenerale.size(), kTabellaLinea.size(),
                                     kTabellaTreno.size()};
  std::size_t i = 0;
  for (int s = 0; s < 3; ++s) {
    for (std::size_t ordine = 0; ordine < per_sezione[s]; ++ordine, ++i) {
      ASSERT_LT(i, records.size());
      EXPECT_EQ(records[i].sezione, static_cast<Sezione>(s)) << records[i].nome;
      EXPECT_EQ(records[i].ordine, ordine) << records[i].nome;
    }
  }
  EXPECT_EQ(i, records.size());
  EXPECT_EQ(&riferimento(RecordGenerale::ripetizione), &records[7]);
  EXPECT_EQ(riferimento(RecordLinea::indicatori_v_max).nome, "indicatori_vmax");
  EXPECT_EQ(riferimento(RecordTreno::stazione).nome, "stazione");
  // The outline's record kinds name the same entries.
  EXPECT_EQ(&riferimento(TipoRecord::lunghezza), &records[0]);
  EXPECT_EQ(&riferimento(TipoRecord::pendenza), &riferimento(RecordLinea::pendenza));
  EXPECT_EQ(&riferimento(TipoRecord::stazione), &riferimento(RecordTreno::stazione));
}

// The keyword shown for each record, and the first field of its example
// line, are taken by the readers for that record and no other.
TEST(RecordReference, NamesAndExamplesMatchTheirOwnKeywordTest) {
  for (const RecordRiferimento& r : riferimento_record()) {
    SCOPED_TRACE(std::string(r.nome));
    const std::string_view chiave = r.esempio.substr(0, r.esempio.find(','));
    for (std::string_view campo : {r.nome, chiave}) {
      const std::vector<const RecordRiferimento*> trovati = record_per_chiave(campo);
      ASSERT_EQ(trovati.size(), 1u) << campo;
      EXPECT_EQ(trovati[0], &r) << campo;
    }
  }
  EXPECT_TRUE(record_per_chiave("-- segnale --").empty());
  EXPECT_TRUE(record_per_chiave("Progressiva chilometrica uno").empty());
  EXPECT_EQ(record_per_chiave("pendenza montagna").size(), 2u);
}

// The record lengths the language fixes and the names an author reads in the
// documents: the station's 17 fields, the signal's 11, the boards' 9.
TEST(RecordReference, FieldsInOrder) {
  struct Caso {
    const RecordRiferimento& record;
    std::vector<std::string_view> nomi;
  } casi[] = {
      {riferimento(RecordTreno::segnale),
       {"posizione", "sx", "s1", "s2", "s3", "rapp", "dx", "d1", "d2", "d3", "tempo"}},
      {riferimento(RecordTreno::rallentamento), {"x", "v", "l", "f_tt", "f_ta", "d_v"}},
      {riferimento(RecordLinea::indicatori_v_max),
       {"posizione", "vas", "vbs", "vcs", "strisces", "vad", "vbd", "vcd", "strisced"}},
      {riferimento(RecordLinea::montagna), {"inizio", "fine", "tipo"}},
      {riferimento(RecordTreno::stazione),
       {"posizione", "tipo", "lunghezza", "opzione", "flag4", "flag3", "valore1", "valore2",
        "flag1", "valore3", "valore4", "valore5", "flag2", "ore", "minuti", "secondi", "nome"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.record.nome));
    ASSERT_EQ(c.record.campi.size(), c.nomi.size());
    for (std::size_t k = 0; k < c.nomi.size(); ++k) EXPECT_EQ(c.record.campi[k].nome, c.nomi[k]);
  }
  for (const RecordRiferimento& r : riferimento_record()) {
    std::set<std::string_view> visti;
    for (const CampoRecord& c : r.campi) {
      EXPECT_TRUE(visti.insert(c.nome).second) << r.nome << " repeats " << c.nome;
      EXPECT_FALSE(c.titolo.empty()) << r.nome << " " << c.nome;
      EXPECT_FALSE(testo_regola(r, c).empty()) << r.nome << " " << c.nome;
      // A formula names only fields of its own record.
      for (const Termine& t : c.formula.termini) {
        EXPECT_LT(t.campo, static_cast<int>(r.campi.size())) << r.nome << " " << c.nome;
      }
    }
  }
}

/// One value as a hover shows it.
struct Memorizzato {
  const RecordRiferimento& record;
  std::string_view campo;
  std::vector<std::int64_t> valori;
  std::int64_t valore;
  bool esatto;
  std::string testo;
};

// Worked examples of the format: the built-in signal at 67400 m in cell
// 1349, its boards at 1550 m in cell 32, the slowdown at 93800 m, a
// gradient of -7 as the byte 93, the NOVARA station at 14:25.
TEST(RecordReference, StoredValuesAsTheCompilerStoresThem) {
  const RecordRiferimento& segnale = riferimento(RecordTreno::segnale);
  const RecordRiferimento& tavole = riferimento(RecordLinea::indicatori_v_max);
  const RecordRiferimento& rallentamento = riferimento(RecordTreno::rallentamento);
  const RecordRiferimento& velocita = riferimento(RecordTreno::velocita);
  const RecordRiferimento& pendenza = riferimento(RecordLinea::pendenza);
  const RecordRiferimento& montagna = riferimento(RecordLinea::montagna);
  const RecordRiferimento& stazione = riferimento(RecordTreno::stazione);
  const std::vector<std::int64_t> s67400 = {67400, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<std::int64_t> s69700 = {69700, 2, 2, 4, 0, 0, 0, 0, 0, 0, 255};
  const std::vector<std::int64_t> s_tempo50 = {69700, 2, 2, 4, 0, 0, 0, 0, 0, 0, 50};
  const std::vector<std::int64_t> b1550 = {1550, 125, 135, 135, 0, 0, 0, 0, 0};
  const std::vector<std::int64_t> novara = {66600, 4, 500, 1, 0,  0,  4, 1, 0,
                                            2,     1, 1,   1, 14, 25, 0, 0};
  const Memorizzato casi[] = {
      {segnale, "posizione", s67400, 1349, true, "cell 1349 = round(67400 / 50 + 1)"},
      {segnale, "s1", s67400, 50, true, "50 = 10 × 5 + 0, in `dato1` of the signal's cell"},
      {segnale, "d2", s67400, 10, true, "10 = 10 × 1 + 0, in `dato2` of the signal's cell"},
      {segnale, "sx", s67400, 3, true, "3 = 10 × 0 + 3 × 1 + 0, in `dato4` of the signal's cell"},
      {segnale, "tempo", s67400, 0, true, "0, in `tempo` of the signal's cell"},
      {segnale, "tempo", s69700, 255, true, "255, in `tempo` of the signal's cell"},
      {segnale, "tempo", s_tempo50, 101, false, "101, in `tempo` of the signal's cell"},
      {segnale, "posizione", {325}, 8, false, "cell 8 = round(325 / 50 + 1)"},
      {segnale, "posizione", {375}, 8, false, "cell 8 = round(375 / 50 + 1)"},
      {tavole, "posizione", b1550, 32, true, "cell 32 = round(1550 / 50 + 1)"},
      {tavole, "vas", b1550, 2500, true,
       "2500 = round((0 + 100 × 125) / 5), in `dato1` of the boards' cell"},
      {tavole, "vcd", b1550, 2700, true,
       "2700 = round((0 + 100 × 135) / 5), in `dato3` of the boards' cell"},
      {rallentamento,
       "x",
       {93800, 40, 200, 0, 1, 0},
       1877,
       true,
       "cell 1877 = round(93800 / 50 + 1)"},
      {rallentamento,
       "l",
       {93800, 40, 200, 0, 1, 0},
       1881,
       true,
       "cell 1881 = round((93800 + 200) / 50 + 1)"},
      {velocita,
       "velocita",
       {1500, 135},
       27,
       true,
       "27 = round(135 / 5), in `velocita` of the cells up to the next speed record"},
      {velocita,
       "velocita",
       {1500, 133},
       27,
       false,
       "27 = round(133 / 5), in `velocita` of the cells up to the next speed record"},
      {pendenza,
       "pendenza",
       {1500, -7},
       93,
       true,
       "93 = (-7) + 100, in `pendenza` of the cells up to the next gradient record"},
      {pendenza,
       "pendenza",
       {1500, 200},
       44,
       false,
       "44 = 200 + 100, in `pendenza` of the cells up to the next gradient record"},
      {montagna, "inizio", {8700, 11050, 11}, 174, true, "cell 174 = round(8700 / 50)"},
      {montagna, "fine", {8700, 11050, 11}, 220, true, "cell 220 = round(11050 / 50 - 1)"},
      {montagna, "tipo", {8700, 11050, 11}, 1, true, "1, in `montagna` of the section's cells"},
      {stazione, "minuti", novara, 51900, true,
       "51900 = 3600 × 14 + 60 × 25 + 0, in the station's `orario`, seconds after midnight"},
      {stazione, "flag2", novara, 1, true, "1, in the station's `flag2`"},
  };
  for (const Memorizzato& c : casi) {
    SCOPED_TRACE(std::string(c.record.nome) + " " + std::string(c.campo));
    const CampoRecord* campo = campo_per_nome(c.record, c.campo);
    ASSERT_NE(campo, nullptr);
    const std::size_t k = static_cast<std::size_t>(campo - c.record.campi.data());
    const ValoreMemorizzato v = valore_memorizzato(c.record, k, c.valori);
    EXPECT_TRUE(v.presente);
    EXPECT_FALSE(v.fallisce);
    EXPECT_EQ(v.valore, c.valore);
    EXPECT_EQ(v.esatto, c.esatto);
    EXPECT_EQ(testo_memorizzato(c.record, k, c.valori), c.testo);
  }
}

TEST(RecordReference, ValuesThatCannotBeStored) {
  const RecordRiferimento& velocita = riferimento(RecordTreno::velocita);
  EXPECT_TRUE(valore_memorizzato(velocita, 1, std::vector<std::int64_t>{0, 1277}).esatto == false);
  EXPECT_FALSE(valore_memorizzato(velocita, 1, std::vector<std::int64_t>{0, 1277}).fallisce);
  EXPECT_TRUE(valore_memorizzato(velocita, 1, std::vector<std::int64_t>{0, 1280}).fallisce);
  EXPECT_EQ(testo_memorizzato(velocita, 1, std::vector<std::int64_t>{0, 1280}),
            "round(1280 / 5) does not fit, one byte: 0 to 255 (code 25)");
  const RecordRiferimento& tavole = riferimento(RecordLinea::indicatori_v_max);
  EXPECT_TRUE(valore_memorizzato(tavole, 1, std::vector<std::int64_t>{0, 2000, 0, 0, 0, 0, 0, 0, 0})
                  .fallisce);
  // Too few values, a text, a code cell without value: nothing of its own.
  EXPECT_FALSE(
      valore_memorizzato(riferimento(RecordTreno::segnale), 1, std::vector<std::int64_t>{67400})
          .presente);
  EXPECT_FALSE(
      valore_memorizzato(riferimento(RecordLinea::cartello), 1, std::vector<std::int64_t>{7150, 0})
          .presente);
  EXPECT_FALSE(valore_memorizzato(riferimento(RecordTreno::abbattimento), 1,
                                  std::vector<std::int64_t>{5000, 0})
                   .presente);
  EXPECT_EQ(
      valore_memorizzato(riferimento(RecordTreno::segnale), 99, std::vector<std::int64_t>{67400})
          .presente,
      false);
}

TEST(RecordReference, RangesInWords) {
  struct Caso {
    const RecordRiferimento& record;
    std::string_view campo;
    std::string testo;
  } casi[] = {
      {riferimento(RecordGenerale::lunghezza), "lunghezza", "0 to 1000000 (code 1)"},
      {riferimento(RecordTreno::stazione), "posizione",
       "0 to about the route length + 6200 m (code 15); a multiple of 50 (code 8)"},
      {riferimento(RecordTreno::stazione), "lunghezza",
       "0 or more (not checked); a multiple of 100 (code 9)"},
      {riferimento(RecordTreno::stazione), "tipo", "0 to 255 (code 25)"},
      {riferimento(RecordTreno::stazione), "valore1", "-32768 to 32767 (code 25)"},
      {riferimento(RecordTreno::segnale), "posizione",
       "0 to about the route length + 6900 m (code 15); a multiple of 50 (not checked: "
       "rounded)"},
      {riferimento(RecordTreno::velocita), "velocita",
       "0 to 1277 (code 25); a multiple of 5 (not checked: rounded)"},
      {riferimento(RecordTreno::orologio), "ore", "0 to 23 (not checked)"},
      {riferimento(RecordLinea::pendenza), "pendenza", "-100 to 155 (not checked)"},
      {riferimento(RecordGenerale::sfondo_uno), "sfondo", "any whole number"},
      {riferimento(RecordTreno::abbattimento), "valore", "at most 32767 (not checked)"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.record.nome) + " " + std::string(c.campo));
    const CampoRecord* campo = campo_per_nome(c.record, c.campo);
    ASSERT_NE(campo, nullptr);
    EXPECT_EQ(testo_intervallo(*campo), c.testo);
  }
  // 103000 m: cells 0 to 2200, so 109900 m is the last position.
  const CampoRecord& p = riferimento(RecordTreno::segnale).campi[0];
  EXPECT_EQ(massimo_per(p, 2200), 109900);
  EXPECT_EQ(massimo_per(riferimento(RecordTreno::stazione).campi[0], 2200), 109200);
}

TEST(RecordReference, KeywordRulesInWords) {
  EXPECT_EQ(testo_chiave(riferimento(RecordGenerale::lunghezza)),
            "contains both \"percorso\" and \"lunghezza\" (any case)");
  EXPECT_EQ(testo_chiave(riferimento(RecordGenerale::sfondo_due)),
            "contains both \"sfondo\" and \"due\" (exact case)");
  const std::string curva = testo_chiave(riferimento(RecordLinea::curva));
  EXPECT_NE(curva.find("1 = 0.0001 (radius 10000 m)"), std::string::npos) << curva;
  EXPECT_NE(curva.find("6 = 0.003 (radius 333 m)"), std::string::npos) << curva;
}

}  // namespace
}  // namespace scenario
