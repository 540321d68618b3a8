#include "tools/svg_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace scenario {
namespace {

TEST(XmlTesto, EscapesMarkupAndDropsForbiddenControls) {
  EXPECT_EQ(xml_testo("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
  EXPECT_EQ(xml_testo("x\x01y\tz"), "xy\tz");
  EXPECT_EQ(xml_testo("\xff"), "\xc3\xbf");
  EXPECT_EQ(xml_testo("Citt\xc3\xa0"), "Citt\xc3\xa0");
}

TEST(Num, OneDecimalAtMost) {
  EXPECT_EQ(num(12), "12");
  EXPECT_EQ(num(12.25), "12.2");
  EXPECT_EQ(num(-0.01), "0");
  EXPECT_EQ(num(NAN), "0");
}

TEST(LarghezzaTesto, CountsCharactersInTheStylesFont) {
  // Characters, not bytes; bold is wider.
  EXPECT_DOUBLE_EQ(larghezza_testo("Citt\xc3\xa0", Stile::voce_legenda),
                   larghezza_testo("Citta", Stile::voce_legenda));
  EXPECT_GT(larghezza_testo("abc", Stile::nome_stazione),
            larghezza_testo("abc", Stile::voce_legenda));
  EXPECT_EQ(corpo(Stile::voce_legenda), 12);
}

TEST(Pagina, ElementsTakeTheirClassesFromOneStyleSheet) {
  Pagina p;
  p.linea(0, 0, 20, 0, {Stile::linea_velocita, Stile::tratto_legenda});
  p.testo(1, 2, "a<b", Stile::titolo);
  const std::string svg = p.documento(100, 50.5, "R & T");
  EXPECT_NE(svg.find("<line x1=\"0\" y1=\"0\" x2=\"20\" y2=\"0\" "
                     "class=\"linea_velocita tratto_legenda\"/>"),
            std::string::npos);
  EXPECT_NE(svg.find("<text x=\"1\" y=\"2\" class=\"titolo\">a&lt;b</text>"), std::string::npos);
  EXPECT_NE(svg.find("<title>R &amp; T</title>"), std::string::npos);
  EXPECT_NE(svg.find("height=\"50.5\""), std::string::npos);
  // Each class has one rule, and the modifier's comes after the line's.
  const std::size_t linea = svg.find(".linea_velocita{");
  const std::size_t tratto = svg.find(".tratto_legenda{");
  ASSERT_NE(linea, std::string::npos);
  ASSERT_NE(tratto, std::string::npos);
  EXPECT_LT(linea, tratto);
  EXPECT_EQ(svg.find(".linea_velocita{", linea + 1), std::string::npos);
  EXPECT_NE(svg.find(".titolo{font-size:24px;font-weight:bold;"), std::string::npos);
  // No inline presentation attributes.
  EXPECT_EQ(svg.find(" fill=\""), std::string::npos);
  EXPECT_EQ(svg.find(" stroke=\""), std::string::npos);
}

}  // namespace
}  // namespace scenario
