#include "tools/svg_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/text_encoding.h"

namespace scenario {

namespace {

// The palette.
constexpr const char* kNero = "#111827";
constexpr const char* kGrigio700 = "#374151";
constexpr const char* kGrigio600 = "#4b5563";
constexpr const char* kGrigio500 = "#6b7280";
constexpr const char* kGrigio400 = "#9ca3af";
constexpr const char* kGrigio300 = "#d1d5db";
constexpr const char* kGrigio200 = "#e5e7eb";
constexpr const char* kGrigio100 = "#f3f4f6";
constexpr const char* kGrigio50 = "#f9fafb";  // the plan's background
constexpr const char* kBianco = "#ffffff";
constexpr const char* kColoreBinario = "#1f2933";
constexpr const char* kColoreStazione = "#1d4ed8";
constexpr const char* kColoreSegnale = "#dc2626";
constexpr const char* kColoreCartello = "#6b7280";
constexpr const char* kColoreTabelle = "#ea580c";
constexpr const char* kColoreRallentamento = "#b91c1c";
constexpr const char* kColoreCodice = "#059669";
constexpr const char* kColoreMontagna = "#92400e";
constexpr const char* kColoreVelocita = "#2563eb";
constexpr const char* kColorePendenza = "#a16207";
constexpr const char* kColoreAderenza = "#16a34a";

constexpr const char* kFamiglia = "DejaVu Sans, Verdana, Arial, sans-serif";

/// Average advance of a character of the page's sans-serif font, per pixel
/// of font size, regular and bold.
constexpr double kAvanzamento = 0.62;
constexpr double kAvanzamentoGrassetto = 0.74;

/// One style: its class on the page, its font (texts only) and the rest.
struct VoceStile {
  const char* classe;
  double corpo;  ///< font size; 0 for shapes
  bool grassetto;
  std::string regole;  ///< CSS declarations besides the font
};

std::string riempi(const char* colore) {
  return std::string("fill:") + colore;
}
std::string tratto(const char* colore, const char* larghezza = nullptr) {
  std::string s = std::string("stroke:") + colore;
  if (larghezza) s += std::string(";stroke-width:") + larghezza;
  return s;
}

/// A halo in the plan's background colour behind a text drawn over lines.
const std::string kAlone = std::string(";stroke:") + kGrigio50 +
                           ";stroke-width:3;stroke-linejoin:round;paint-order:stroke";

/// The last style: the style sheet holds every style up to it, in order, so
/// that a later rule overrides an earlier one where an element has both.
constexpr Stile kUltimoStile = Stile::tratto_legenda;

/// The page's styles.
VoceStile voce_stile(Stile s) {
  switch (s) {
    case Stile::titolo:
      return {"titolo", 24, true, riempi(kNero)};
    case Stile::riassunto:
      return {"riassunto", 13, false, riempi(kGrigio600)};
    case Stile::sezione:
      return {"sezione", 16, true, riempi(kNero)};
    case Stile::nota:
      return {"nota", 12, false, riempi(kGrigio500)};
    case Stile::avviso:
      return {"avviso", 14, false, riempi(kGrigio500) + ";text-anchor:middle"};
    case Stile::etichetta:
      return {"etichetta", 11, false, riempi(kNero)};
    case Stile::etichetta_alone:
      return {"etichetta_alone", 11, false, riempi(kNero) + kAlone};
    case Stile::etichetta_km:
      return {"etichetta_km", 10, false, riempi(kGrigio600) + kAlone};
    case Stile::stazione_pianta:
      return {"stazione_pianta", 12, true, riempi(kColoreStazione) + kAlone};
    case Stile::testo_scala:
      return {"testo_scala", 11, false, riempi(kNero) + ";text-anchor:middle"};
    case Stile::nome_stazione:
      return {"nome_stazione", 12, true, riempi(kColoreStazione) + ";text-anchor:middle"};
    case Stile::nome_corsia:
      return {"nome_corsia", 12, false, riempi(kGrigio700) + ";text-anchor:end"};
    case Stile::velocita_rallentamento:
      return {"velocita_rallentamento", 11, false, riempi(kColoreRallentamento)};
    case Stile::valore_pannello:
      return {"valore_pannello", 11, false, riempi(kGrigio700) + ";text-anchor:end"};
    case Stile::nome_pannello:
      return {"nome_pannello", 12, false, riempi(kNero) + ";text-anchor:middle"};
    case Stile::km_asse:
      return {"km_asse", 11, false, riempi(kGrigio700) + ";text-anchor:middle"};
    case Stile::titolo_asse:
      return {"titolo_asse", 13, false, riempi(kNero) + ";text-anchor:middle"};
    case Stile::titolo_legenda:
      return {"titolo_legenda", 13, true, riempi(kNero)};
    case Stile::voce_legenda:
      return {"voce_legenda", 12, false, riempi(kNero)};
    case Stile::sfondo:
      return {"sfondo", 0, false, riempi(kBianco)};
    case Stile::cornice_pianta:
      return {"cornice_pianta", 0, false, riempi(kGrigio50) + ";" + tratto(kGrigio300)};
    case Stile::binario:
      return {"binario", 0, false,
              "fill:none;" + tratto(kColoreBinario, "2.2") + ";stroke-linejoin:round"};
    case Stile::oltre:
      return {"oltre", 0, false,
              "fill:none;" + tratto(kGrigio400, "1.6") + ";stroke-dasharray:6 4"};
    case Stile::estremo:
      return {"estremo", 0, false, riempi(kNero)};
    case Stile::barra_scala:
      return {"barra_scala", 0, false, tratto(kNero, "2")};
    case Stile::punto_km:
      return {"punto_km", 0, false, riempi(kBianco) + ";" + tratto(kGrigio700)};
    case Stile::punto_stazione:
      return {"punto_stazione", 0, false, riempi(kColoreStazione) + ";" + tratto(kBianco, "1.5")};
    case Stile::guida_stazione:
      return {"guida_stazione", 0, false, tratto(kColoreStazione, "0.8") + ";stroke-dasharray:2 2"};
    case Stile::fondo_nome:
      return {"fondo_nome", 0, false, riempi(kBianco) + ";fill-opacity:0.85"};
    case Stile::corsia_pari:
      return {"corsia_pari", 0, false, riempi(kGrigio100)};
    case Stile::corsia_dispari:
      return {"corsia_dispari", 0, false, riempi(kBianco)};
    case Stile::griglia_corsie:
      return {"griglia_corsie", 0, false, tratto(kGrigio300, "0.6")};
    case Stile::cornice_corsie:
      return {"cornice_corsie", 0, false, "fill:none;" + tratto(kGrigio400)};
    case Stile::area_stazione:
      return {"area_stazione", 0, false, riempi(kColoreStazione) + ";fill-opacity:0.75"};
    case Stile::segnale:
      return {"segnale", 0, false, riempi(kColoreSegnale)};
    case Stile::cartello:
      return {"cartello", 0, false, riempi(kColoreCartello)};
    case Stile::tabelle:
      return {"tabelle", 0, false, riempi(kColoreTabelle)};
    case Stile::avviso_rallentamento:
      return {"avviso_rallentamento", 0, false,
              riempi(kBianco) + ";" + tratto(kColoreRallentamento, "1.5")};
    case Stile::rallentamento:
      return {"rallentamento", 0, false, riempi(kColoreRallentamento)};
    case Stile::codice:
      return {"codice", 0, false, riempi(kColoreCodice)};
    case Stile::montagna:
      return {"montagna", 0, false, riempi(kColoreMontagna) + ";fill-opacity:0.6"};
    case Stile::cornice_pannello:
      return {"cornice_pannello", 0, false, riempi(kBianco) + ";" + tratto(kGrigio400)};
    case Stile::griglia:
      return {"griglia", 0, false, tratto(kGrigio200)};
    case Stile::tacca_pannello:
      return {"tacca_pannello", 0, false, tratto(kGrigio500)};
    case Stile::linea_velocita:
      return {"linea_velocita", 0, false, "fill:none;" + tratto(kColoreVelocita, "1.8")};
    case Stile::linea_rallentamento:
      return {"linea_rallentamento", 0, false,
              tratto(kColoreRallentamento, "2.5") + ";stroke-dasharray:4 2"};
    case Stile::zero_pendenza:
      return {"zero_pendenza", 0, false, tratto(kGrigio500, "0.8")};
    case Stile::linea_pendenza:
      return {"linea_pendenza", 0, false, "fill:none;" + tratto(kColorePendenza, "1.8")};
    case Stile::linea_aderenza:
      return {"linea_aderenza", 0, false, "fill:none;" + tratto(kColoreAderenza, "1.8")};
    case Stile::tacca_asse:
      return {"tacca_asse", 0, false, tratto(kGrigio700)};
    case Stile::tratto_legenda:
      return {"tratto_legenda", 0, false, "stroke-width:2.5"};
  }
  return {"", 0, false, ""};
}

/// The class attribute of an element.
std::string classe(const Classi& c) {
  std::string s = std::string("class=\"") + voce_stile(c.stile).classe;
  if (c.anche) s += std::string(" ") + voce_stile(*c.anche).classe;
  return s + "\"";
}

std::string punti_testo(const std::vector<Punto>& punti) {
  std::string s;
  for (const auto& [x, y] : punti) s += num(x) + "," + num(y) + " ";
  if (!s.empty()) s.pop_back();
  return s;
}

/// The style sheet: one rule per style, in table order, so that a second
/// class overrides the first.
std::string foglio_stile() {
  std::string s = std::string("<style>\ntext{font-family:") + kFamiglia + "}\n";
  for (int i = 0; i <= static_cast<int>(kUltimoStile); ++i) {
    const VoceStile v = voce_stile(static_cast<Stile>(i));
    s += std::string(".") + v.classe + "{";
    if (v.corpo > 0) {
      s += "font-size:" + num(v.corpo) + "px;";
      if (v.grassetto) s += "font-weight:bold;";
    }
    s += v.regole + "}\n";
  }
  return s + "</style>\n";
}

}  // namespace

std::string xml_testo(std::string_view utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t c = prossimo_carattere(utf8, &pos);
    switch (c) {
      case '&':
        out += "&amp;";
        continue;
      case '<':
        out += "&lt;";
        continue;
      case '>':
        out += "&gt;";
        continue;
      case '"':
        out += "&quot;";
        continue;
      case '\'':
        out += "&apos;";
        continue;
      default:
        break;
    }
    // XML 1.0 allows no control character but tab, line feed and return.
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
    if (c == 0xFFFE || c == 0xFFFF) continue;
    aggiungi_utf8(c, &out);
  }
  return out;
}

std::string num(double v) {
  if (!std::isfinite(v)) v = 0;
  char b[32];
  std::snprintf(b, sizeof b, "%.1f", v);
  std::string s = b;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
  return s;
}

double corpo(Stile stile) {
  return voce_stile(stile).corpo;
}

double larghezza_testo(std::string_view utf8, Stile stile) {
  const VoceStile v = voce_stile(stile);
  return static_cast<double>(numero_caratteri(utf8)) * v.corpo *
         (v.grassetto ? kAvanzamentoGrassetto : kAvanzamento);
}

void Pagina::linea(double x1, double y1, double x2, double y2, Classi c) {
  svg_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
          num(y2) + "\" " + classe(c) + "/>\n";
}

void Pagina::rettangolo(double x, double y, double w, double h, Classi c) {
  svg_ += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(std::max(w, 0.0)) +
          "\" height=\"" + num(std::max(h, 0.0)) + "\" " + classe(c) + "/>\n";
}

void Pagina::cerchio(double x, double y, double r, Classi c) {
  svg_ += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" + num(r) + "\" " + classe(c) +
          "/>\n";
}

void Pagina::poligono(const std::vector<Punto>& punti, Classi c) {
  svg_ += "<polygon points=\"" + punti_testo(punti) + "\" " + classe(c) + "/>\n";
}

void Pagina::polilinea(const std::vector<Punto>& punti, Classi c) {
  if (punti.size() < 2) return;
  svg_ += "<polyline points=\"" + punti_testo(punti) + "\" " + classe(c) + "/>\n";
}

void Pagina::testo(double x, double y, std::string_view testo, Classi c) {
  svg_ += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" " + classe(c) + ">" + xml_testo(testo) +
          "</text>\n";
}

void Pagina::testo_verticale(double x, double y, std::string_view testo, Classi c) {
  svg_ += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" " + classe(c) +
          " transform=\"rotate(-90 " + num(x) + " " + num(y) + ")\">" + xml_testo(testo) +
          "</text>\n";
}

void Pagina::apri_gruppo(std::string_view titolo) {
  svg_ += "<g><title>" + xml_testo(titolo) + "</title>\n";
}

void Pagina::apri_spostato(double x, double y) {
  svg_ += "<g transform=\"translate(" + num(x) + " " + num(y) + ")\">\n";
}

void Pagina::chiudi_gruppo() {
  svg_ += "</g>\n";
}

std::string Pagina::documento(double larghezza, double altezza, std::string_view titolo) const {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         num(larghezza) + "\" height=\"" + num(altezza) + "\" viewBox=\"0 0 " + num(larghezza) +
         " " + num(altezza) + "\">\n<title>" + xml_testo(titolo) + "</title>\n" + foglio_stile() +
         "<rect width=\"100%\" height=\"100%\" " + classe(Stile::sfondo) + "/>\n" + svg_ +
         "</svg>\n";
}

}  // namespace scenario
