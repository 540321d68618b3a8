#include "tools/render.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "compiler/compile_fixture.h"
#include "output/scenario_files.h"
#include "scripts/builtin_scripts.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

/// Checks that `xml` is well-formed as far as this page needs: a prolog,
/// properly nested elements, quoted attributes, and character data with
/// no bare "<" or "&". Returns "" or what is wrong.
std::string ben_formato(const std::string& xml) {
  std::vector<std::string> aperti;
  std::size_t i = 0;
  if (xml.rfind("<?xml ", 0) == 0) i = xml.find("?>") + 2;
  bool radice = false;
  while (i < xml.size()) {
    if (xml[i] != '<') {
      if (xml[i] == '&') {
        const std::size_t fine = xml.find(';', i);
        const std::string entita = xml.substr(i, fine == std::string::npos ? 1 : fine - i + 1);
        if (entita != "&amp;" && entita != "&lt;" && entita != "&gt;" && entita != "&quot;" &&
            entita != "&apos;") {
          return "bad entity at " + std::to_string(i);
        }
      } else if (!std::isspace(static_cast<unsigned char>(xml[i])) && aperti.empty()) {
        return "text outside the root at " + std::to_string(i);
      }
      ++i;
      continue;
    }
    const std::size_t fine = xml.find('>', i);
    if (fine == std::string::npos) return "unclosed tag at " + std::to_string(i);
    std::string tag = xml.substr(i + 1, fine - i - 1);
    i = fine + 1;
    if (tag.empty()) return "empty tag";
    if (tag[0] == '/') {
      if (aperti.empty() || aperti.back() != tag.substr(1)) return "mismatched </" + tag + ">";
      aperti.pop_back();
      continue;
    }
    const bool vuoto = tag.back() == '/';
    if (vuoto) tag.pop_back();
    const std::string nome = tag.substr(0, tag.find_first_of(" \n"));
    // Attributes: name="value", values without "<" or a bare quote.
    std::size_t q = nome.size();
    while (q < tag.size()) {
      if (std::isspace(static_cast<unsigned char>(tag[q]))) {
        ++q;
        continue;
      }
      const std::size_t uguale = tag.find('=', q);
      if (uguale == std::string::npos || uguale + 1 >= tag.size() || tag[uguale + 1] != '"') {
        return "bad attribute in <" + nome + ">";
      }
      const std::size_t chiusa = tag.find('"', uguale + 2);
      if (chiusa == std::string::npos) return "unclosed attribute in <" + nome + ">";
      if (tag.substr(uguale + 2, chiusa - uguale - 2).find('<') != std::string::npos) {
        return "'<' in an attribute of <" + nome + ">";
      }
      q = chiusa + 1;
    }
    if (aperti.empty() && radice) return "second root element <" + nome + ">";
    radice = true;
    if (!vuoto) aperti.push_back(nome);
  }
  return aperti.empty() && radice ? "" : "unclosed elements";
}

bool ha_rsvg() {
  return std::system("command -v rsvg-convert > /dev/null 2>&1") == 0;
}

TEST(BenFormato, CatchesTheFaultsItLooksFor) {
  EXPECT_EQ(ben_formato("<svg><g><title>a &amp; b</title></g></svg>"), "");
  EXPECT_NE(ben_formato("<svg><g></svg>"), "");
  EXPECT_NE(ben_formato("<svg><text>a & b</text></svg>"), "");
  EXPECT_NE(ben_formato("<svg x=\"<\"/>"), "");
  EXPECT_NE(ben_formato("<svg/><svg/>"), "");
}

TEST(Render, BuiltinScenarioIsAReadablePage) {
  CartellaTemporanea cartella;
  ASSERT_EQ(strumento({"scripts", cartella.percorso()}).stato, 0);
  ASSERT_EQ(strumento({"compile", cartella.percorso(), kNomePercorso, kNumeroTreno}).stato, 0);
  const Esecuzione e = strumento({"render", cartella.percorso(), kNomePercorso, kNumeroTreno});
  ASSERT_EQ(e.stato, 0) << e.err;
  const std::string svg_file =
      cartella.file(std::string(kNomePercorso) + "_" + kNumeroTreno + ".svg");
  EXPECT_EQ(e.out, svg_file + "\n");
  const std::string svg = contenuto(svg_file);
  EXPECT_EQ(ben_formato(svg), "");
  for (const char* nome :
       {"NOVARA", "VIGNALE", "P. M. CAMERI", "BELLINZAGO", "OLEGGIO", "MARANO TICINO",
        "VARALLO POMBIA", "BORGO TICINO", "DORMELLETTO PAESE", "DERVO"}) {
    EXPECT_NE(svg.find(std::string(">") + nome + "</text>"), std::string::npos) << nome;
  }
  for (const char* testo : {"Plan of the track", "Profile along the route", "route position (km)",
                            "speed limit (km/h)", "Legend", "(ponte fiume)(T A N A R O)"}) {
    EXPECT_NE(svg.find(testo), std::string::npos) << testo;
  }
  EXPECT_EQ(svg.find("nan"), std::string::npos);

  if (!ha_rsvg()) GTEST_SKIP() << "rsvg-convert is not installed";
  const std::string png = cartella.file("route.png");
  const std::string comando = "rsvg-convert -o '" + png + "' '" + svg_file + "' 2>&1";
  ASSERT_EQ(std::system(comando.c_str()), 0);
  const std::string byte = contenuto(png);
  ASSERT_GT(byte.size(), 24u);
  EXPECT_EQ(byte.substr(1, 3), "PNG");
  const auto intero = [&byte](std::size_t o) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(byte[o])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(byte[o + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(byte[o + 2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(byte[o + 3]));
  };
  EXPECT_EQ(intero(16), 1600u);
  EXPECT_GT(intero(20), 1000u);
  // A page of lines, marks and text compresses far less than a blank one.
  EXPECT_GT(byte.size(), 60000u);
}

TEST(Render, WithoutLineFileThePageHasNoPlan) {
  CartellaTemporanea cartella;
  ASSERT_EQ(strumento({"compile", "--no-line", "--out", cartella.percorso(), cartella_esempio(),
                       kPercorsoEsempio, kTrenoEsempio})
                .stato,
            0);
  const std::string svg_file = cartella.file("page.svg");
  const Esecuzione e = strumento(
      {"render", "--out", svg_file, cartella.percorso(), kPercorsoEsempio, kTrenoEsempio});
  ASSERT_EQ(e.stato, 0) << e.err;
  const std::string svg = contenuto(svg_file);
  EXPECT_EQ(ben_formato(svg), "");
  EXPECT_NE(svg.find("no line file"), std::string::npos);
  EXPECT_NE(svg.find(">PIANO</text>"), std::string::npos);
  EXPECT_NE(svg.find(">COLLE</text>"), std::string::npos);
}

TEST(Render, OddTextsAndValuesKeepThePageWellFormed) {
  ScenarioDecodificato s;
  s.nome_percorso = "R<&>";
  s.numero_treno = "\"1\"";
  s.parametri[1].nome = std::string("A&B <C> \x01 Citt\xe0");
  s.parametri[1].posizione = 500;
  s.parametri[1].inizio = 300;
  s.parametri[1].fine = 700;
  s.parametri[voce::treno].fine = 1000;
  s.celle.resize(3);
  s.celle[2].tipo = tipo_cella::cartello;
  s.celle[2].dato1 = 80;
  s.parametri[80].nome = "\"quoted\" & <angled>";
  s.con_linea = true;
  s.linea.dimensiona(4);
  s.linea.imposta_intero(0, 0, 0);
  s.linea.imposta_intero(0, 1, 0);
  s.linea.imposta_doppio(1, 0, NAN);
  s.linea.imposta_doppio(1, 1, INFINITY);
  s.linea.imposta_doppio(2, 0, 3);
  s.linea.imposta_doppio(2, 1, 4);
  const std::string svg = disegna_scenario(s);
  EXPECT_EQ(ben_formato(svg), "");
  EXPECT_NE(svg.find("A&amp;B &lt;C&gt;  Citt\xc3\xa0"), std::string::npos);
  EXPECT_NE(svg.find("R&lt;&amp;&gt; \xe2\x80\x94 train &quot;1&quot;"), std::string::npos);
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);

  // Nothing at all: one empty cell, no line, no stations.
  ScenarioDecodificato vuoto;
  vuoto.celle.resize(1);
  EXPECT_EQ(ben_formato(disegna_scenario(vuoto)), "");
}

TEST(Render, AStationFarBeyondTheRouteKeepsTheAxisShort) {
  // The kilometres labelled stay about 25 however far the axis reaches.
  ScenarioDecodificato s;
  s.parametri[12].inizio = 0;
  s.parametri[12].fine = INT32_MAX;
  s.parametri[12].posizione = 26935360;
  s.celle.resize(141);
  const std::string svg = disegna_scenario(s);
  EXPECT_EQ(ben_formato(svg), "");
  EXPECT_LT(svg.size(), 100000u);
  EXPECT_NE(svg.find(">2000000</text>"), std::string::npos);
}

TEST(Render, MissingOrMalformedFilesAreStatusTwo) {
  CartellaTemporanea cartella;
  Esecuzione e = strumento({"render", cartella.percorso(), "R", "1"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.err.find("cannot read " + cartella.file("R_1.sim")), std::string::npos) << e.err;

  std::array<Parametro, voce::numero_voci> p;
  cartella.scrivi("R_1.sim", serializza_parametri(p));
  cartella.scrivi("R_1.dat", std::string(20, '\0'));
  e = strumento({"render", cartella.percorso(), "R", "1"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.err.find("R_1.dat: byte 15: truncated cell 1"), std::string::npos) << e.err;

  e = strumento({"render", cartella.percorso(), "../R", "1"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.err.find("contains '/'"), std::string::npos);
  EXPECT_FALSE(cartella.esiste("R_1.svg"));
}

}  // namespace
}  // namespace scenario
