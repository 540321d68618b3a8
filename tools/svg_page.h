// An SVG page being drawn: its elements, each given one of the page's
// styles, which the page writes once as a style sheet; XML escaping of the
// texts; and the width a text takes in its style.
#ifndef SCENARIO_TOOLS_SVG_PAGE_H_
#define SCENARIO_TOOLS_SVG_PAGE_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

/// The styles of the page, one per kind of thing drawn.
enum class Stile {
  // Texts.
  titolo,                  ///< the page's title
  riassunto,               ///< the line under the title
  sezione,                 ///< the heading of a section
  nota,                    ///< a note beside a heading
  avviso,                  ///< a message in place of a drawing
  etichetta,               ///< a label on the plan
  etichetta_alone,         ///< a label on the plan, over the lines it crosses
  etichetta_km,            ///< a kilometre point on the plan
  stazione_pianta,         ///< a station's name on the plan
  testo_scala,             ///< the length of the scale bar
  nome_stazione,           ///< a station's name above the lanes
  nome_corsia,             ///< a lane's name
  velocita_rallentamento,  ///< a slowdown's speed beside its band
  valore_pannello,         ///< a value on a panel's side
  nome_pannello,           ///< a panel's name, along its side
  km_asse,                 ///< a kilometre of the axis
  titolo_asse,             ///< the axis' name
  titolo_legenda,          ///< the legend's heading
  voce_legenda,            ///< the text of a legend entry
  // Shapes.
  sfondo,                ///< the page
  cornice_pianta,        ///< the frame of the plan
  binario,               ///< the track from start to end
  oltre,                 ///< the track's run-out beyond the end
  estremo,               ///< the start and end of the track
  barra_scala,           ///< the scale bar
  punto_km,              ///< a kilometre point on the track
  punto_stazione,        ///< a station on the track
  guida_stazione,        ///< the leader from a station's name to its lane
  fondo_nome,            ///< the background of a station's name
  corsia_pari,           ///< lanes 0, 2, 4 ...
  corsia_dispari,        ///< lanes 1, 3, 5 ...
  griglia_corsie,        ///< the kilometre grid over the lanes
  cornice_corsie,        ///< the frame of the lanes
  area_stazione,         ///< a station's area
  segnale,               ///< a signal
  cartello,              ///< a sign board
  tabelle,               ///< a pair of maximum-speed boards
  avviso_rallentamento,  ///< a slowdown warning board
  rallentamento,         ///< a slowdown's stretch
  codice,                ///< a code cell
  montagna,              ///< a mountain section
  cornice_pannello,      ///< the frame of a panel
  griglia,               ///< a panel's grid
  tacca_pannello,        ///< a tick on a panel's side
  linea_velocita,        ///< the speed limit
  linea_rallentamento,   ///< a slowdown's speed
  zero_pendenza,         ///< the level line of the gradient panel
  linea_pendenza,        ///< the gradient
  linea_aderenza,        ///< the adhesion
  tacca_asse,            ///< a tick of the kilometre axis
  tratto_legenda,        ///< added to a line's style in the legend: a wider stroke
};

/// The style of an element, and optionally a second one that changes part
/// of it.
struct Classi {
  /// One style; implicit, as most elements have just one.
  Classi(Stile s) : stile(s) {}
  /// A style and the one that changes part of it.
  Classi(Stile s, Stile in_piu) : stile(s), anche(in_piu) {}
  Stile stile;
  std::optional<Stile> anche;
};

/// A point of the page.
using Punto = std::pair<double, double>;

/// A UTF-8 text made safe as XML character data or attribute value: the
/// five markup characters escaped, control characters that XML forbids
/// dropped, invalid UTF-8 bytes taken as Latin-1.
std::string xml_testo(std::string_view utf8);

/// A coordinate for the page: one decimal at most, "0" for what is not a
/// finite number.
std::string num(double v);

/// The width a UTF-8 text takes in text style `stile`; generous, to keep
/// labels apart.
double larghezza_testo(std::string_view utf8, Stile stile);

/// The font size of text style `stile`.
double corpo(Stile stile);

/// Collects the page's elements. Texts are given in UTF-8 and escaped here.
class Pagina {
 public:
  /// A straight line from (x1, y1) to (x2, y2).
  void linea(double x1, double y1, double x2, double y2, Classi c);
  /// A rectangle from (x, y), `w` wide and `h` tall (a negative size as 0).
  void rettangolo(double x, double y, double w, double h, Classi c);
  /// A circle about (x, y).
  void cerchio(double x, double y, double r, Classi c);
  /// A closed shape through the points.
  void poligono(const std::vector<Punto>& punti, Classi c);
  /// A line through the points; nothing for fewer than two.
  void polilinea(const std::vector<Punto>& punti, Classi c);
  /// A text with its anchor (as the style aligns it) on baseline `y`.
  void testo(double x, double y, std::string_view testo, Classi c);
  /// A text turned a quarter left about its anchor.
  void testo_verticale(double x, double y, std::string_view testo, Classi c);
  /// Opens a group whose tooltip is `titolo`.
  void apri_gruppo(std::string_view titolo);
  /// Opens a group whose elements are drawn shifted by (x, y).
  void apri_spostato(double x, double y);
  /// Closes the group opened last.
  void chiudi_gruppo();

  /// The SVG document: the page's width, `altezza` tall, titled `titolo`,
  /// with the style sheet and the elements drawn so far.
  std::string documento(double larghezza, double altezza, std::string_view titolo) const;

 private:
  std::string svg_;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_SVG_PAGE_H_
