// Test support: random scenarios whose scripts compile cleanly, with every
// kind of record, for checking that the decompiler gives back the same
// bytes. The choices come from a source of numbers, so a seeded generator
// and a fuzzer's bytes drive the same builder.
#ifndef SCENARIO_TOOLS_TESTING_RANDOM_SCENARIO_H_
#define SCENARIO_TOOLS_TESTING_RANDOM_SCENARIO_H_

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// Where the builder's choices come from.
class SorgenteCasuale {
 public:
  virtual ~SorgenteCasuale() = default;
  /// A number from 0 to `n` - 1 (0 when `n` is 0).
  virtual std::uint32_t numero(std::uint32_t n) = 0;

  /// A number from `da` to `a`, both included.
  std::int64_t tra(std::int64_t da, std::int64_t a) {
    return da + numero(static_cast<std::uint32_t>(a - da + 1));
  }
  /// True `su` times out of `di`.
  bool caso(std::uint32_t su, std::uint32_t di) { return numero(di) < su; }
};

/// Choices from a seeded Mersenne Twister.
class SorgenteSeme : public SorgenteCasuale {
 public:
  explicit SorgenteSeme(std::uint32_t seme) : g_(seme) {}
  std::uint32_t numero(std::uint32_t n) override {
    return n == 0 ? 0 : std::uniform_int_distribution<std::uint32_t>(0, n - 1)(g_);
  }

 private:
  std::mt19937 g_;
};

/// Choices from a fuzzer's bytes, two at a time; 0 once they run out.
class SorgenteByte : public SorgenteCasuale {
 public:
  SorgenteByte(const std::uint8_t* dati, std::size_t n) : dati_(dati), n_(n) {}
  std::uint32_t numero(std::uint32_t n) override {
    if (n == 0) return 0;
    std::uint32_t v = 0;
    for (int k = 0; k < 2 && pos_ < n_; ++k) v = v << 8 | dati_[pos_++];
    return v % n;
  }

 private:
  const std::uint8_t* dati_;
  std::size_t n_;
  std::size_t pos_ = 0;
};

/// The scripts of one random scenario.
struct ScenarioCasuale {
  std::string linea;
  std::string treno;
  bool con_linea = true;  ///< compile it with the line geometry
};

namespace casuale {

inline std::int64_t cella(double v) {
  return static_cast<std::int64_t>(std::nearbyint(v));
}

/// A text for a board or a station name: no comma, no line break, no blank
/// at either end; some Windows-1252 letters.
inline std::string testo(SorgenteCasuale& r) {
  static constexpr std::string_view kLettere =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789()+.-[]/ \xE8\xE0\xF9\x80";
  const std::int64_t n = r.tra(0, 24);
  std::string t;
  for (std::int64_t i = 0; i < n; ++i) t += kLettere[r.numero(kLettere.size())];
  while (!t.empty() && t.back() == ' ') t.pop_back();
  while (!t.empty() && t.front() == ' ') t.erase(0, 1);
  return t;
}

/// The cells the elements already take, as the compiler tests them.
class Occupazione {
 public:
  explicit Occupazione(std::int64_t numero_celle)
      : occupata_(static_cast<std::size_t>(numero_celle) + 1, false) {}
  std::int64_t ultima() const { return static_cast<std::int64_t>(occupata_.size()) - 1; }
  /// True when every cell of `celle` exists, is not cell 0 or 1, and is free.
  bool libere(std::initializer_list<std::int64_t> celle) const {
    for (std::int64_t c : celle) {
      if (c < 2 || c > ultima() || occupata_[static_cast<std::size_t>(c)]) return false;
    }
    return true;
  }
  void prendi(std::initializer_list<std::int64_t> celle) {
    for (std::int64_t c : celle) {
      if (c >= 0 && c <= ultima()) occupata_[static_cast<std::size_t>(c)] = true;
    }
  }

 private:
  std::vector<bool> occupata_;
};

inline void riga(std::string* t, const std::string& r) {
  *t += r;
  *t += "\r\n";
}

inline std::string n(std::int64_t v) {
  return std::to_string(v);
}

/// The fields of a record joined by ", ". The fields of a braced list are
/// worked out from left to right, so that the random values they draw come
/// in the same order whatever the compiler (the operands of `+` have no
/// order).
inline std::string campi(std::initializer_list<std::string> parti) {
  std::string t;
  for (const std::string& p : parti) {
    if (!t.empty()) t += ", ";
    t += p;
  }
  return t;
}

}  // namespace casuale

/// A random scenario: a route of 2 to 12 km; three chainage systems, scenery
/// values and cab signalling; curves of every class to both sides, some
/// touching; gradients; mountain sections of many types, marked or not,
/// some closer than 150 m; maximum-speed boards and indicator boards (some
/// of whose cells a station end later takes); make-up, sand, clock,
/// adhesion and speed profiles; stations of every type; slowdowns with and
/// without warning cells; signals; code cells with and without value, 180
/// among them. The records stand in the order and sections of the built-in
/// scripts and avoid each other's cells, so that the compile records no
/// code in most cases (the post-pass may still find no room).
inline ScenarioCasuale scenario_casuale(SorgenteCasuale& r) {
  using casuale::campi;
  using casuale::n;
  using casuale::riga;
  ScenarioCasuale s;
  s.con_linea = !r.caso(1, 10);
  const std::int64_t lunghezza = r.tra(2000, 12000);
  const std::int64_t tabella = lunghezza + 7000;
  const std::int64_t numero_celle = casuale::cella(tabella / 50.0);
  const std::int64_t limite = 50 * numero_celle - 100;  // last position inside
  casuale::Occupazione occ(numero_celle);

  std::string& l = s.linea;
  if (r.caso(1, 2)) riga(&l, "a preamble, with commas, that the reader skips");
  riga(&l, "[generale]");
  riga(&l, "Lunghezza Percorso, " + n(lunghezza));
  for (const char* quale : {"uno", "due", "tre"}) {
    if (r.caso(1, 4)) continue;
    riga(&l, campi({std::string("progressiva chilometrica ") + quale, n(50 * r.tra(-100, 2000)),
                    n(50 * r.tra(-2000, 2000)), n(r.tra(0, 2))}));
  }
  riga(&l, "sfondo uno, " + n(r.tra(-3, 9)));
  riga(&l, "sfondo due, " + n(r.tra(-3, 9)));
  riga(&l, "sfondo tre, " + n(r.tra(-3, 9)));
  const char* ripetizione = r.caso(1, 2) ? "4" : "9";
  riga(&l, campi({std::string("ripetizione segnali ") + ripetizione + " codici",
                  n(50 * r.tra(-10, 400)), n(r.caso(1, 3) ? 0 : 50 * r.tra(-10, 400))}));

  riga(&l, "[curve]");
  for (std::int64_t m = r.tra(1, 400); m < tabella - 200;) {
    const std::int64_t lung = r.tra(1, 900);
    if (m + lung > tabella - 2 || m > limite) break;
    const std::string lato = r.caso(1, 2) ? "curvaS" : "curvad";
    const std::int64_t classe = r.tra(1, 6);
    riga(&l, lato + n(classe) + ",  " + n(m) + ",  " + n(lung));
    m += lung + (r.caso(1, 4) ? 0 : r.tra(1, 2000));
  }

  riga(&l, "[pendenze]");
  for (std::int64_t c = r.caso(1, 3) ? 0 : r.tra(0, 40); 50 * c <= limite; c += r.tra(1, 60)) {
    riga(&l, "pendenza, " + n(50 * c) + ", " + n(r.tra(-100, 155)));
  }

  riga(&l, "[montagne]");
  std::int64_t montagne = 0;
  for (std::int64_t p = r.tra(0, 5000); montagne < 78; ++montagne) {
    const std::int64_t fine = p + r.tra(60, 3000);
    if (fine > limite) break;
    static constexpr std::int32_t kTipi[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 15, 20, 200, -5};
    riga(&l, "montagna, " + n(p) + ", " + n(fine) + ", " + n(kTipi[r.numero(std::size(kTipi))]));
    p = fine + (r.caso(1, 3) ? r.tra(0, 200) : r.tra(0, 8000));
  }

  riga(&l, "[cartelli]");
  for (std::int64_t p = r.tra(100, 3000); p <= limite; p += r.tra(100, 6000)) {
    const std::int64_t c = casuale::cella(p / 50.0 + 1);
    if (!occ.libere({c})) continue;
    occ.prendi({c});
    riga(&l, campi({"indicatori_vmax", n(p), n(r.tra(0, 300)), n(r.tra(0, 300)), n(r.tra(0, 300)),
                    n(r.tra(0, 9)), n(r.tra(0, 200)), n(r.tra(0, 200)), n(r.tra(0, 200)),
                    n(r.tra(0, 9))}));
  }
  riga(&l, "[indicazioni]");
  std::int64_t cartelli = 0;
  for (std::int64_t p = r.tra(100, 2000); p <= limite && cartelli < 30; p += r.tra(50, 3000)) {
    const std::int64_t c = casuale::cella(p / 50.0 + 1);
    if (!occ.libere({c})) continue;
    occ.prendi({c});
    ++cartelli;
    riga(&l, "cartello_indicatore, " + n(p) + ", " + casuale::testo(r));
  }
  riga(&l, "[fine]");

  std::string& t = s.treno;
  riga(&t, "[generale]");
  riga(&t, "numero vetture, " + n(r.tra(0, 20)));
  riga(&t, "percentuale massa frenata, " + n(r.tra(0, 200)));
  riga(&t, "sabbia, " + n(r.tra(-100, 3000)));
  const std::int64_t ore = r.tra(0, 23), minuti = r.tra(0, 59), secondi = r.tra(0, 59);
  riga(&t, "orologio, " + n(ore) + " " + n(minuti) + " " + n(secondi));
  riga(&t, "[aderenze]");
  for (std::int64_t c = r.caso(1, 3) ? 0 : r.tra(0, 40); 50 * c <= limite; c += r.tra(1, 200)) {
    riga(&t, "aderenza, " + n(50 * c) + ", " + n(r.tra(0, 255)));
  }
  riga(&t, "[vel_limite]");
  for (std::int64_t c = r.caso(1, 3) ? 0 : r.tra(0, 40); 50 * c <= limite; c += r.tra(1, 100)) {
    riga(&t, "VELOCITA, " + n(50 * c) + ", " + n(r.tra(0, 1277)));
  }

  riga(&t, "[stazioni]");
  std::int64_t fine_precedente = -1000000;
  for (std::int64_t numero = 1; numero <= 8; ++numero) {
    static constexpr std::int32_t kTipi[] = {1, 4, 5, 6, 7, 8, 12, 22, 24, 25, 26, 28, 0};
    const std::int32_t tipo = kTipi[r.numero(std::size(kTipi))];
    const std::int64_t lung = 100 * r.tra(0, 12);
    const std::int64_t flag3 = r.caso(1, 3) ? r.tra(1, 9) : 0;
    const std::int64_t flag4 = r.caso(1, 3) ? r.tra(1, 9) : 0;
    std::int64_t pos =
        50 * ((std::max<std::int64_t>(fine_precedente, 0) + 350 + lung) / 50 + r.tra(2, 60));
    std::int64_t inizio, fine;
    if (tipo == 5 || tipo == 6) {
      inizio = pos - lung;
      fine = pos + 150;
    } else if (tipo == 7 || tipo == 8) {
      inizio = pos - lung;
      fine = pos + lung;
    } else {
      inizio = pos - lung / 2;
      fine = pos + lung / 2 + (flag3 != 0 && numero > 1 ? 50 : 0);
    }
    const bool ordinaria = tipo < 25;
    if (pos + 800 > 50 * numero_celle || inizio - 350 < fine_precedente ||
        (ordinaria && (fine / 50.0 - 1 <= 1 || casuale::cella(fine / 50.0 - 1) > numero_celle))) {
      break;
    }
    riga(&t, campi({"stazione", n(pos), n(tipo), n(lung), n(r.tra(0, 255)), n(flag4), n(flag3),
                    n(r.tra(-30000, 30000)), n(r.tra(0, 9)), n(r.tra(0, 255)), n(r.tra(0, 9)),
                    n(r.tra(-5, 5)), n(r.tra(0, 9)), n(r.tra(0, 1)), n(r.tra(0, 30)),
                    n(r.tra(0, 59)), n(r.tra(0, 59)), casuale::testo(r)}));
    // The end mark takes its cell whatever stood there.
    if (ordinaria) occ.prendi({casuale::cella(fine / 50.0 - 1)});
    fine_precedente = fine;
  }

  riga(&t, "[rallentamenti]");
  for (std::int64_t x = r.tra(200, 4000); x <= limite - 1000; x += r.tra(800, 6000)) {
    const std::int64_t lung = r.caso(1, 8) ? r.tra(0, 20) : 50 * r.tra(1, 30);
    const bool f_ta = r.caso(1, 2);
    const std::int64_t a = casuale::cella((x - 1200) / 50.0 + 1);
    const std::int64_t si = casuale::cella(x / 50.0 + 1);
    const std::int64_t e = casuale::cella((x + lung) / 50.0 + 1);
    const std::int64_t b = casuale::cella((x - 1200) / 50.0);
    const bool avviso = x > 1500;
    if (x + lung > limite || !occ.libere({si, e}) || (avviso && !occ.libere({a})) ||
        (avviso && f_ta && !occ.libere({b, b - 1, b - 2, b - 3}))) {
      continue;
    }
    occ.prendi({si, e});
    if (avviso) occ.prendi({a});
    if (avviso && f_ta) occ.prendi({b, b - 1, b - 2, b - 3});
    riga(&t, campi({"rallentamento", n(x), n(r.tra(10, 160)), n(lung), n(r.tra(0, 3)),
                    n(f_ta ? 1 : 0), n(r.caso(1, 2) ? 0 : r.tra(1, 90))}));
  }

  riga(&t, "[segnali]");
  for (std::int64_t p = r.tra(200, 3000); p <= limite; p += r.tra(50, 2500)) {
    const std::int64_t c = casuale::cella(p / 50.0 + 1);
    if (c < 5 || !occ.libere({c})) continue;
    occ.prendi({c});
    riga(&t, campi({"segnale", n(p), n(r.tra(0, 2)), n(r.tra(0, 9)), n(r.tra(0, 9)), n(r.tra(0, 9)),
                    n(r.tra(0, 9)), n(r.tra(0, 2)), n(r.tra(0, 9)), n(r.tra(0, 9)), n(r.tra(0, 9)),
                    n(r.caso(1, 3) ? 0 : r.tra(-10, 400))}));
  }

  riga(&t, "[codici]");
  for (std::int64_t p = r.tra(200, 5000); p <= limite; p += r.tra(50, 2000)) {
    const std::int64_t c = casuale::cella(p / 50.0);
    if (!occ.libere({c})) continue;
    occ.prendi({c});
    static constexpr std::int32_t kValori[] = {0, -3, 1, 90, 179, 180, 181, 250, 40000};
    riga(&t, "abbattimento, " + n(p) + ", " + n(kValori[r.numero(std::size(kValori))]));
  }
  riga(&t, "[fine]");
  return s;
}

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TESTING_RANDOM_SCENARIO_H_
