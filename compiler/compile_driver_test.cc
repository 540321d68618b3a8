#include "compiler/compile_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_names.h"
#include "base/file_system.h"
#include "compiler/compile_fixture.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "scripts/builtin_scripts.h"

namespace scenario {
namespace {

/// A compile and the state it left.
struct Compilazione {
  StatoCompilazione stato;
  RisultatoCompilazione risultato;
};

/// Compiles `linea` and `treno` (a script is missing when its text is null)
/// in `cartella` under route `percorso` and train `numero`.
Compilazione compila_in(const CartellaTemporanea& cartella, const std::string& percorso,
                        const std::string& numero, const char* linea, const char* treno,
                        bool j = true) {
  Compilazione c;
  c.stato.nome_percorso = percorso;
  c.stato.numero_treno = numero;
  if (linea) cartella.scrivi(nome_script_linea(percorso), linea);
  if (treno) cartella.scrivi(nome_script_treno(percorso, numero), treno);
  RealFileSystem fs;
  c.risultato = memorizza_percorso(c.stato, j, fs, {cartella.percorso(), cartella.percorso()});
  return c;
}

/// Names of the files in `cartella`, sorted.
std::vector<std::string> contenuto(const CartellaTemporanea& cartella) {
  std::vector<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso())) {
    nomi.push_back(voce.path().filename().string());
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

/// The little-endian 16-bit value at `offset` of `bytes`.
std::int32_t u16(const std::string& bytes, std::size_t offset) {
  return static_cast<unsigned char>(bytes[offset]) |
         (static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

/// The little-endian signed 32-bit value at `offset` of `bytes`.
std::int32_t i32(const std::string& bytes, std::size_t offset) {
  std::uint32_t u = 0;
  for (int b = 3; b >= 0; --b) u = (u << 8) | static_cast<unsigned char>(bytes[offset + b]);
  return static_cast<std::int32_t>(u);
}

/// Offset of parameter record `voce` in a parameter file: walks the records
/// before it, each 34 bytes plus its text.
std::size_t offset_voce(const std::string& bytes, int voce) {
  std::size_t offset = 0;
  for (int e = 0; e < voce; ++e) offset += 34 + static_cast<std::size_t>(u16(bytes, offset + 14));
  return offset;
}

/// The built-in script of `righe`, each line ended by CR LF.
template <std::size_t N>
std::string testo(const std::array<std::string_view, N>& righe) {
  std::string s;
  for (std::string_view r : righe) s += std::string(r) + "\r\n";
  return s;
}

TEST(CompileDriver, WritesMarkersAndCheckCodes) {
  CartellaTemporanea cartella;
  const Compilazione c =
      compila_in(cartella, "A", "1", script_linea(10000).c_str(), script_treno().c_str());
  ASSERT_EQ(c.risultato.esito, Esito::scritto);
  EXPECT_EQ(c.stato.codice_errore, 0);
  EXPECT_EQ(c.risultato.scritti, (std::vector<std::string>{"A_linea.dat", "A_1.sim", "A_1.dat"}));
  EXPECT_EQ(contenuto(cartella), (std::vector<std::string>{"A_1.dat", "A_1.sim", "A_linea.dat"}));

  EXPECT_EQ(c.stato.celle[1].dato1, 5121);
  EXPECT_EQ(c.stato.celle[1].dato2, 2508);
  const Parametro& p85 = c.stato.parametri[voce::percorso];
  EXPECT_EQ(p85.valore1, 610);
  EXPECT_EQ(p85.orario, 33907);
  EXPECT_EQ(p85.nome, "A");
  EXPECT_EQ(c.stato.parametri[voce::ripetizione].nome, "1");

  const std::string celle = cartella.leggi("A_1.dat");
  ASSERT_EQ(celle.size(), 341u * 15);
  EXPECT_EQ(u16(celle, 16), 5121);
  EXPECT_EQ(u16(celle, 18), 2508);

  const std::string parametri = cartella.leggi("A_1.sim");
  const std::size_t o = offset_voce(parametri, voce::percorso);
  ASSERT_EQ(o, 85u * 34);
  EXPECT_EQ(u16(parametri, o + 14), 1);
  EXPECT_EQ(parametri[o + 16], 'A');
  EXPECT_EQ(u16(parametri, o + 17), 610);
  EXPECT_EQ(i32(parametri, o + 31), 33907);
}

TEST(CompileDriver, WithoutGeometryNoLineFile) {
  CartellaTemporanea cartella;
  cartella.scrivi("A_linea.dat", "older");
  const Compilazione c =
      compila_in(cartella, "A", "1", script_linea(10000).c_str(), script_treno().c_str(), 0);
  ASSERT_EQ(c.risultato.esito, Esito::scritto);
  EXPECT_EQ(c.stato.crea_linea, 0);
  EXPECT_EQ(c.risultato.scritti, (std::vector<std::string>{"A_1.sim", "A_1.dat"}));
  EXPECT_EQ(cartella.leggi("A_linea.dat"), "older");
}

/// A train script that makes the driver stop before writing.
struct CasoArresto {
  const char* nome;
  std::string treno;
  Esito esito;
};

TEST(CompileDriver, Cell1AlreadyTakenWritesNothing) {
  const std::vector<CasoArresto> casi = {
      {"signal in the first 25 m", script_treno(righe({"segnale, 0, 1, 5, 1, 0, 0, 0, 0,0,0, 0"})),
       Esito::errore_1250},
      {"code cell in cell 1", script_treno(righe({"abbattimento, 50, 7"})), Esito::errore_1250},
      {"signal with only a second data word",
       script_treno(righe({"segnale, 0, 1, 0, 1, 0, 0, 0, 0,0,0, 0"})), Esito::errore_1251},
  };
  for (const CasoArresto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    CartellaTemporanea cartella;
    cartella.scrivi("A_1.sim", "older");
    cartella.scrivi("A_1.dat", "older");
    const Compilazione c =
        compila_in(cartella, "A", "1", script_linea(10000).c_str(), caso.treno.c_str());
    EXPECT_EQ(c.risultato.esito, caso.esito);
    EXPECT_TRUE(c.risultato.scritti.empty());
    EXPECT_EQ(contenuto(cartella), (std::vector<std::string>{"A_1.dat", "A_1.sim"}));
    EXPECT_EQ(cartella.leggi("A_1.sim"), "older");
    EXPECT_EQ(cartella.leggi("A_1.dat"), "older");
  }
}

TEST(CompileDriver, CodeCellWithoutValueInCell1IsAccepted) {
  CartellaTemporanea cartella;
  const Compilazione c = compila_in(cartella, "A", "1", script_linea(10000).c_str(),
                                    script_treno(righe({"abbattimento, 50, 0"})).c_str());
  EXPECT_EQ(c.risultato.esito, Esito::scritto);
  EXPECT_EQ(c.stato.celle[1].tipo, tipo_cella::codice_senza_valore);
  EXPECT_EQ(c.stato.celle[1].dato1, 5121);
}

TEST(CompileDriver, WithoutCellsWritesNothing) {
  struct Caso {
    const char* nome;
    const char* linea;
    std::int32_t codice;
  };
  const std::vector<Caso> casi = {
      {"line script missing", nullptr, codice::script_linea_mancante},
      {"no route length", "[generale]\r\n[curve]\r\n[fine]\r\n", codice::lettura_fallita},
      {"no [generale]", "lunghezza percorso, 10000\r\n", codice::generale_mancante},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    CartellaTemporanea cartella;
    const Compilazione c = compila_in(cartella, "A", "1", caso.linea, script_treno().c_str());
    EXPECT_EQ(c.risultato.esito, Esito::senza_celle);
    EXPECT_EQ(c.stato.codice_errore, caso.codice);
    EXPECT_TRUE(c.risultato.scritti.empty());
    for (const std::string& nome : contenuto(cartella)) {
      EXPECT_EQ(nome.find(".dat"), std::string::npos) << nome;
      EXPECT_EQ(nome.find(".sim"), std::string::npos) << nome;
    }
  }
}

TEST(CompileDriver, NothingOfAnEarlierCompileOnTheSameStateIsReused) {
  CartellaTemporanea cartella;
  StatoCompilazione stato;
  stato.nome_percorso = "A";
  stato.numero_treno = "1";
  RealFileSystem fs;
  cartella.scrivi(nome_script_linea("A"), script_linea(10000));
  cartella.scrivi(nome_script_treno("A", "1"), script_treno());
  ASSERT_EQ(memorizza_percorso(stato, true, fs, {cartella.percorso(), cartella.percorso()}).esito,
            Esito::scritto);
  // The scripts are gone now: the second compile finds no line script and
  // must not run the post-pass or write over the cells of the first.
  const RisultatoCompilazione r =
      memorizza_percorso(stato, true, fs, {cartella.percorso(), cartella.percorso()});
  EXPECT_EQ(r.esito, Esito::senza_celle);
  EXPECT_EQ(stato.codice_errore, codice::script_linea_mancante);
  EXPECT_FALSE(stato.celle_dimensionate());
  ASSERT_EQ(stato.diagnosi.size(), 1u);
  EXPECT_EQ(stato.diagnosi[0].codice, codice::script_linea_mancante);
}

TEST(CompileDriver, RecordedCodesDoNotStopWriting) {
  CartellaTemporanea cartella;
  const Compilazione c = compila_in(
      cartella, "A", "1", script_linea(10000).c_str(),
      script_treno(righe({"stazione, 5020, 4, 300, 0,0,0, 0,0,0, 0,0,0, 0, 14,0,0, X"})).c_str());
  EXPECT_EQ(c.risultato.esito, Esito::scritto);
  EXPECT_EQ(c.stato.codice_errore, codice::stazione_posizione);
  EXPECT_EQ(c.stato.posizione_errore, 5020);
  EXPECT_EQ(contenuto(cartella), (std::vector<std::string>{"A_1.dat", "A_1.sim", "A_linea.dat"}));
  EXPECT_EQ(c.stato.celle[1].dato1, 5121);
}

TEST(CompileDriver, ResetsParametersAndCodeButNotPosition) {
  CartellaTemporanea cartella;
  RealFileSystem fs;
  StatoCompilazione stato;
  stato.nome_percorso = "A";
  stato.numero_treno = "1";
  stato.codice_errore = 99;
  stato.posizione_errore = 1234;
  stato.parametri[5].nome = "left over";
  stato.parametri[5].orario = 7;
  stato.parametri[voce::percorso].valore1 = 610;
  stato.parametri[voce::percorso].orario = 33907;
  cartella.scrivi(nome_script_linea("A"), script_linea(10000));
  cartella.scrivi(nome_script_treno("A", "1"), script_treno());
  const RisultatoCompilazione r =
      memorizza_percorso(stato, true, fs, {cartella.percorso(), cartella.percorso()});
  EXPECT_EQ(r.esito, Esito::scritto);
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(stato.posizione_errore, 1234);
  EXPECT_EQ(stato.parametri[5].nome, "");
  EXPECT_EQ(stato.parametri[5].orario, 0);
}

TEST(CompileDriver, PostPassCodeReplacesReaderCode) {
  // Signals fill the three cells 250 to 350 m before the slowdown start
  // (cell 201); the station then stops the reading with code 8, and the
  // post-pass records 12 over it.
  CartellaTemporanea cartella;
  const Compilazione c =
      compila_in(cartella, "A", "1", script_linea(20000).c_str(),
                 script_treno(righe({"segnale, 9650, 1, 5, 1, 0, 0, 0, 0,0,0, 0",
                                     "segnale, 9700, 1, 5, 1, 0, 0, 0, 0,0,0, 0",
                                     "segnale, 9750, 1, 5, 1, 0, 0, 0, 0,0,0, 0",
                                     "rallentamento, 10000, 120, 200, 0, 0, 0",
                                     "stazione, 5020, 4, 300, 0,0,0, 0,0,0, 0,0,0, 0, 14,0,0, X"}))
                     .c_str());
  EXPECT_EQ(c.risultato.esito, Esito::scritto);
  EXPECT_EQ(c.stato.codice_errore, codice::codici_prima_inizio);
  EXPECT_EQ(c.stato.posizione_errore, 201 * 50);
  EXPECT_EQ(c.stato.celle[190].tipo, tipo_cella::codice);
  EXPECT_EQ(c.stato.celle[183].tipo, tipo_cella::codice);
}

TEST(CompileDriver, BuiltInScenario) {
  CartellaTemporanea cartella;
  const Compilazione c = compila_in(cartella, "Zembrastina_Dervo", "47716",
                                    testo(kScriptLinea).c_str(), testo(kScriptTreno).c_str());
  ASSERT_EQ(c.risultato.esito, Esito::scritto);
  EXPECT_EQ(c.stato.codice_errore, 0);
  const std::vector<Cella>& celle = c.stato.celle;
  ASSERT_EQ(celle.size(), 2201u);
  EXPECT_EQ(celle[1].dato1, 5121);
  EXPECT_EQ(celle[1].dato2, 2380);
  EXPECT_EQ(c.stato.parametri[voce::percorso].valore1, 610);
  EXPECT_EQ(c.stato.parametri[voce::percorso].orario, 33296);

  // The slowdown at 93800 m, 40 km/h, 200 m: start 1877, end 1881, no code
  // inside, one code in each look-back group and one before the signal at
  // 94200 m (cell 1885).
  EXPECT_EQ(celle[1877].tipo, tipo_cella::inizio_rallentamento);
  EXPECT_EQ(celle[1881].tipo, tipo_cella::fine_rallentamento);
  for (int x = 1878; x <= 1880; ++x) EXPECT_NE(celle[x].tipo, tipo_cella::codice) << x;
  for (int vicino : {5, 11, 18}) {
    int n = 0;
    for (int x = 1877 - vicino - 2; x <= 1877 - vicino; ++x)
      n += celle[x].tipo == tipo_cella::codice;
    EXPECT_EQ(n, 1) << "group " << vicino;
  }
  EXPECT_EQ(celle[1885].tipo, tipo_cella::segnale);
  EXPECT_EQ(celle[1884].tipo, tipo_cella::codice);
  EXPECT_EQ(celle[1884].dato1, 180);
  // The warning board (cell 1853) sees the signal at 91750 m (cell 1836).
  EXPECT_EQ(celle[1853].tipo, tipo_cella::avviso_rallentamento);
  EXPECT_EQ(celle[1836].tipo, tipo_cella::segnale);
  EXPECT_EQ(celle[1835].tipo, tipo_cella::codice);
  EXPECT_EQ(contenuto(cartella),
            (std::vector<std::string>{"Zembrastina_Dervo_47716.dat", "Zembrastina_Dervo_47716.sim",
                                      "Zembrastina_Dervo_linea.dat"}));
}

}  // namespace
}  // namespace scenario
