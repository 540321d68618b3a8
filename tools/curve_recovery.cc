#include "tools/curve_recovery.h"

#include <cstdint>
#include <cstring>

#include "scripts/keywords.h"

namespace scenario {

namespace {

/// A turn per metre: 0 straight, else the class and its side.
struct Svolta {
  int classe = 0;  ///< 0 for a straight step
  bool sinistra = false;

  bool operator==(const Svolta&) const = default;
  /// The signed turn per metre the compiler applies.
  double curvatura() const {
    const double c = kClassiCurva[static_cast<std::size_t>(classe - 1)].second;
    return sinistra ? -c : c;
  }
};

bool stessi_bit(double a, double b) {
  std::uint64_t ua, ub;
  std::memcpy(&ua, &a, sizeof ua);
  std::memcpy(&ub, &b, sizeof ub);
  return ua == ub;
}

/// One metre of the geometry and the step it continues.
struct Passo {
  double x1, y1, dx, dy;  ///< the metre before and the step that led to it
  double x, y;            ///< the metre itself

  /// True when turning the step by `s` gives exactly this metre, with the
  /// same operations in the same order as the compiler.
  bool e(const Svolta& s) const {
    if (s.classe == 0) return stessi_bit(x, x1 + dx) && stessi_bit(y, y1 + dy);
    const double c = s.curvatura();
    return stessi_bit(x, x1 + (dx + c * dy)) && stessi_bit(y, y1 + (dy - c * dx));
  }
};

/// The turn that gives `p`, trying `probabile` first; false when none does.
bool trova_svolta(const Passo& p, const Svolta& probabile, Svolta* trovata) {
  if (p.e(probabile)) {
    *trovata = probabile;
    return true;
  }
  if (p.e(Svolta{})) {
    *trovata = Svolta{};
    return true;
  }
  for (int classe = 1; classe <= static_cast<int>(kClassiCurva.size()); ++classe) {
    for (bool sinistra : {false, true}) {
      const Svolta s{classe, sinistra};
      if (p.e(s)) {
        *trovata = s;
        return true;
      }
    }
  }
  return false;
}

bool intero(const TabellaLinea& t, std::int32_t m, int c, double v) {
  return t.tipo(m, c) == TipoVariante::intero && t.valore(m, c) == v;
}

}  // namespace

std::vector<RecordCurva> recupera_curve(const TabellaLinea& linea,
                                        std::vector<std::string>* inesprimibili) {
  std::vector<RecordCurva> curve;
  const std::int32_t ultima = linea.ultima_riga();
  bool segnalato = false;
  auto difetto = [&](const std::string& cosa) {
    if (!segnalato) inesprimibili->push_back("line file: " + cosa);
    segnalato = true;
  };
  if (ultima < 3) {
    difetto("only " + std::to_string(ultima + 1) + " metres, no route has fewer than 7001");
    return curve;
  }
  if (!intero(linea, 0, 0, 0) || !intero(linea, 0, 1, 0) || !intero(linea, 1, 0, 0) ||
      !intero(linea, 1, 1, 1)) {
    difetto("metres 0 and 1 are not the integers (0, 0) and (0, 1) every geometry starts with");
  }
  // The rows a compile computes; the last two stay empty.
  const std::int32_t fino = ultima - 2;
  for (int c = 0; c < 2; ++c) {
    for (std::int32_t m : {ultima - 1, ultima}) {
      if (linea.tipo(m, c) != TipoVariante::vuoto) {
        difetto("metre " + std::to_string(m) + " is not empty as the last two metres are");
      }
    }
  }

  Svolta corrente;
  std::int32_t inizio_curva = 0;
  auto chiudi = [&](std::int32_t m) {
    // Metres inizio_curva + 1 to m - 1 turned by `corrente`.
    if (corrente.classe != 0) {
      curve.push_back({inizio_curva, m - 1 - inizio_curva, corrente.sinistra, corrente.classe});
    }
  };
  double x2 = linea.valore(0, 0), y2 = linea.valore(0, 1);
  double x1 = linea.valore(1, 0), y1 = linea.valore(1, 1);
  for (std::int32_t m = 2; m <= fino; ++m) {
    if (linea.tipo(m, 0) != TipoVariante::doppio || linea.tipo(m, 1) != TipoVariante::doppio) {
      difetto("metre " + std::to_string(m) + " does not hold two doubles as computed metres do");
    }
    const Passo p{x1, y1, x1 - x2, y1 - y2, linea.valore(m, 0), linea.valore(m, 1)};
    Svolta s;
    if (!trova_svolta(p, corrente, &s)) {
      difetto("metre " + std::to_string(m) +
              " is neither a straight step nor a turn of any curve class");
      s = Svolta{};
    }
    if (!(s == corrente)) {
      chiudi(m);
      corrente = s;
      inizio_curva = m - 1;
    }
    x2 = x1;
    y2 = y1;
    x1 = p.x;
    y1 = p.y;
  }
  chiudi(fino + 1);
  return curve;
}

}  // namespace scenario
