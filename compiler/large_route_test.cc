// The largest route the script format allows, densely filled with every
// kind of record, compiles cleanly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/file_names.h"
#include "base/file_system.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_fixture.h"
#include "compiler/compile_state.h"
#include "compiler/output_bounds.h"

namespace scenario {
namespace {

constexpr std::int32_t kLunghezza = 1000000;
/// The route in blocks of 10 km, each laid out the same way.
constexpr std::int32_t kBlocco = 10000;
constexpr std::int32_t kBlocchi = kLunghezza / kBlocco;

std::string riga(const std::string& testo) {
  return testo + "\r\n";
}

std::string n(std::int64_t v) {
  return std::to_string(v);
}

/// The line script: a curve every 400 m, a gradient every 50 m, a mountain
/// section in every other block (80 in all), maximum-speed boards in every
/// block and an indicator board in every other block up to 80 km.
std::string script_linea_grande() {
  std::string s = riga("[generale]") + riga("lunghezza percorso,    " + n(kLunghezza)) +
                  riga("progressiva chilometrica uno,    0,    900000,    1") +
                  riga("progressiva chilometrica due,    1500,    -1500,    0") +
                  riga("progressiva chilometrica tre,    0,    0,    0") +
                  riga("sfondo uno,    1") + riga("sfondo due,    0") + riga("sfondo tre,    0") +
                  riga("ripetizione segnali 9 codici,    0    ,1000000") + riga("[curve]");
  for (std::int32_t p = 200, k = 0; p < kLunghezza; p += 400, ++k) {
    const char lato = k % 2 == 0 ? 's' : 'd';
    s += riga(std::string("curva") + lato + n(1 + k % 6) + ",  " + n(p) + ",  " + n(150));
  }
  s += riga("[pendenze]");
  for (std::int32_t p = 0, k = 0; p <= kLunghezza; p += 50, ++k) {
    s += riga("pendenza,  " + n(p) + ",   " + n(k % 21 - 10));
  }
  s += riga("[montagne]");
  for (std::int32_t b = 0; b < 80; ++b) {
    const std::int32_t base = b * kBlocco;
    if (b % 2 == 0) s += riga("montagna, " + n(base + 100) + ", " + n(base + 5000) + ", 11");
  }
  s += riga("[tabelle]");
  for (std::int32_t b = 0; b < kBlocchi; ++b) {
    s += riga("indicatori_vmax,  " + n(b * kBlocco + 2200) + ",  125,  135,  135,  0,  ,  ,  ,  0");
  }
  for (std::int32_t b = 1; b < 80; b += 2) {
    s += riga("cartello_indicatore,  " + n(b * kBlocco + 3200) + ", (diramazioni)(per  BLOCCO " +
              n(b) + ")");
  }
  return s + riga("[fine]");
}

/// The train script: a speed record every 50 m, an adhesion record every
/// 500 m, a station in every third block, a slowdown in every fifth, a
/// signal every 1000 m and a code cell in every block.
std::string script_treno_grande() {
  std::string s = riga("[generale]") + riga("numero vetture,    4") +
                  riga("percentuale massa frenata,    105") + riga("sabbia,    300") +
                  riga("orologio,    14              24            40 ") + riga("[vel_limite]");
  for (std::int32_t p = 0, k = 0; p <= kLunghezza; p += 50, ++k) {
    s += riga("velocita,  " + n(p) + ",  " + n(30 + 5 * (k % 35)));
  }
  s += riga("[aderenze]");
  for (std::int32_t p = 0, k = 0; p <= kLunghezza; p += 500, ++k) {
    s += riga("aderenza,  " + n(p) + ",  " + n(k % 2 == 0 ? 100 : 70));
  }
  s += riga("[stazioni]");
  for (std::int32_t b = 0; b < kBlocchi; b += 3) {
    s += riga("stazione,  " + n(b * kBlocco + 6000) +
              ",  4,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  14,25, 0, STAZIONE " + n(b));
  }
  s += riga("[rallentamenti]");
  for (std::int32_t b = 2; b < kBlocchi; b += 5) {
    s += riga("rallentamento,  " + n(b * kBlocco + 8000) + ",    40,  200, 0,  1,  0");
  }
  s += riga("[segnali]");
  for (std::int32_t p = 500; p < kLunghezza; p += 1000) {
    s += riga("segnale,  " + n(p) + ",   2, 2, 3,  0, 0,    0,  0,0,0, 210");
  }
  s += riga("[codici]");
  for (std::int32_t b = 0; b < kBlocchi; ++b) {
    s += riga("abbattimento,  " + n(b * kBlocco + 4500) + ",  " + n(b % 2 == 0 ? 180 : 0));
  }
  return s + riga("[fine]");
}

TEST(LargeRoute, TheLongestRouteWithDenseRecordsCompilesCleanly) {
  CartellaTemporanea cartella;
  StatoCompilazione stato;
  stato.nome_percorso = kPercorsoProva;
  stato.numero_treno = kTrenoProva;
  cartella.scrivi(nome_script_linea(stato.nome_percorso), script_linea_grande());
  cartella.scrivi(nome_script_treno(stato.nome_percorso, stato.numero_treno),
                  script_treno_grande());
  RealFileSystem fs;

  const auto inizio = std::chrono::steady_clock::now();
  const RisultatoCompilazione r =
      memorizza_percorso(stato, true, fs, {cartella.percorso(), cartella.percorso()});
  const auto durata = std::chrono::steady_clock::now() - inizio;
  std::printf("compile of the %d m route: %lld ms\n", kLunghezza,
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::milliseconds>(durata).count()));

  std::string codici;
  for (const Diagnosi& d : stato.diagnosi) {
    codici += " code " + n(d.codice) + " at script line " + n(d.riga) + ";";
  }
  ASSERT_EQ(r.esito, Esito::scritto) << codici;
  EXPECT_EQ(stato.codice_errore, 0) << codici;
  EXPECT_EQ(stato.numero_stazioni, 34);
  EXPECT_EQ(stato.numero_cartelli, 40);
  EXPECT_EQ(stato.conta_montagne, 40);
  EXPECT_EQ(stato.lunghezza_tabella, 1007000);
  ASSERT_EQ(stato.numero_celle, 20140);

  // Every record reached the cell array up to the end of the route.
  const std::vector<Cella>& celle = stato.celle;
  EXPECT_EQ(celle[999500 / 50 + 1].tipo, tipo_cella::segnale);
  EXPECT_EQ(celle[99 * kBlocco / 50 + 2200 / 50 + 1].tipo, tipo_cella::indicatori_v_max);
  EXPECT_EQ(celle[99 * kBlocco / 50 + 6250 / 50 - 1].tipo, tipo_cella::fine_stazione);
  EXPECT_EQ(celle[97 * kBlocco / 50 + 8000 / 50 + 1].tipo, tipo_cella::inizio_rallentamento);
  // The last gradient (1000000 m, record 20000) and the last speed.
  EXPECT_EQ(celle[20137].pendenza, 20000 % 21 - 10 + 100);
  EXPECT_EQ(celle[20137].velocita, (30 + 5 * (20000 % 35)) / 5);
  EXPECT_EQ(celle[20140].pendenza, 0);

  // The geometry reaches its last computed row.
  EXPECT_EQ(stato.tabella_linea.tipo(1006998, 0), TipoVariante::doppio);
  EXPECT_EQ(stato.tabella_linea.tipo(1006999, 0), TipoVariante::vuoto);

  const auto dimensione = [&](const std::string& nome) {
    return std::filesystem::file_size(cartella.file(nome));
  };
  EXPECT_EQ(dimensione(nome_file_celle(kPercorsoProva, kTrenoProva)), 20141u * 15u);
  // Per coordinate: two Integer rows, 1006997 Double rows, two empty rows.
  EXPECT_EQ(dimensione(nome_file_linea(kPercorsoProva)), 2u * (2 * 4 + 1006997u * 10 + 2 * 2));
  // The largest files the readers take are these, and their shapes pass.
  EXPECT_EQ(dimensione(nome_file_celle(kPercorsoProva, kTrenoProva)),
            dimensione_massima(TipoFile::celle));
  EXPECT_LE(dimensione(nome_file_linea(kPercorsoProva)), dimensione_massima(TipoFile::linea));
  EXPECT_LE(dimensione(nome_file_parametri(kPercorsoProva, kTrenoProva)),
            dimensione_massima(TipoFile::parametri));
  ErroreDecodifica errore;
  EXPECT_TRUE(celle_ammesse(celle, &errore)) << errore.messaggio;
  EXPECT_TRUE(linea_ammessa(stato.tabella_linea, &errore)) << errore.messaggio;
  EXPECT_FALSE(cartella.esiste(nome_script_linea(kPercorsoProva)));
  EXPECT_FALSE(cartella.esiste(nome_script_treno(kPercorsoProva, kTrenoProva)));
}

}  // namespace
}  // namespace scenario
