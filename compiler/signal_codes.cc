#include "compiler/signal_codes.h"

#include <algorithm>
#include <initializer_list>

#include "compiler/error_codes.h"
#include "output/cell_file.h"

namespace scenario {

namespace {

/// The cell array seen by the post-pass: indices outside it are never free.
class Celle {
 public:
  explicit Celle(StatoCompilazione& stato)
      : stato_(stato), ultima_(static_cast<std::int32_t>(stato.celle.size()) - 1) {}

  std::int32_t ultima() const { return ultima_; }
  bool esiste(std::int32_t x) const { return x >= 0 && x <= ultima_; }
  Cella& operator()(std::int32_t x) { return stato_.celle[static_cast<std::size_t>(x)]; }
  std::uint8_t tipo(std::int32_t x) const {
    return esiste(x) ? stato_.celle[static_cast<std::size_t>(x)].tipo : tipo_cella::vuota;
  }
  bool libera_in(std::int32_t x) const {
    return esiste(x) && libera(stato_.celle[static_cast<std::size_t>(x)]);
  }
  /// Places a code cell at `x`.
  void piazza(std::int32_t x) {
    (*this)(x).tipo = tipo_cella::codice;
    (*this)(x).dato1 = kValoreCodice;
    segna_origine(stato_, x, origine_di(stato_, per_));
  }
  /// Reporting only: the code cells placed from now on are placed for the
  /// element of cell `x`.
  void per(std::int32_t x) { per_ = x; }

  /// Caps the value of the code cell at `x` at 180.
  void limita(std::int32_t x) {
    (*this)(x).dato1 = static_cast<std::int16_t>(minimo(kValoreCodice, (*this)(x).dato1));
  }

 private:
  StatoCompilazione& stato_;
  std::int32_t ultima_;
  std::int32_t per_ = 0;
};

/// Records `codice` with the position where cell `cella` begins.
void registra_alla_cella(StatoCompilazione& stato, std::int32_t codice, std::int32_t cella) {
  registra_codice(stato, codice, static_cast<std::int32_t>(metri_cella(cella, 0)));
}

/// Reporting only: the cells of the code recorded last: the element it
/// concerns, the element that asked for the code, the candidates found
/// taken.
void segna_celle(StatoCompilazione& stato, std::initializer_list<std::int32_t> celle) {
  for (std::int32_t x : celle) segna_cella_diagnosi(stato, x);
}

/// Block A: codes before every signal within 20 cells before the warning
/// board in cell `i`.
void prima_dei_segnali(StatoCompilazione& stato, Celle& c, std::int32_t i) {
  c.per(i);
  for (std::int32_t k = 1; k <= 20; ++k) {
    const std::int32_t d = i - k;
    if (d < 3) break;
    if (c.tipo(d) != tipo_cella::segnale) continue;
    if (c.libera_in(d - 1)) {
      c.piazza(d - 1);
    } else if (c.libera_in(d - 2)) {
      c.piazza(d - 2);
    } else if (c.tipo(d - 1) == tipo_cella::codice) {
      c.limita(d - 1);
    } else if (c.tipo(d - 2) == tipo_cella::codice) {
      c.limita(d - 2);
    } else {
      registra_alla_cella(stato, codice::segnale_prima_avviso, d);
      segna_celle(stato, {d, i, d - 1, d - 2});
    }
  }
}

/// Block B: codes before, inside and after the slowdown starting in cell `i`.
void intorno_al_rallentamento(StatoCompilazione& stato, Celle& c, std::int32_t i) {
  c.per(i);
  struct Gruppo {
    std::int32_t sopra;   ///< the group applies when i is above this
    std::int32_t vicino;  ///< nearest candidate is i - vicino
  };
  for (const Gruppo g : {Gruppo{7, 5}, Gruppo{13, 11}, Gruppo{20, 18}}) {
    if (i <= g.sopra) continue;
    bool piazzato = false;
    for (std::int32_t x = i - g.vicino; x >= i - g.vicino - 2; --x) {
      if (c.libera_in(x)) {
        c.piazza(x);
        piazzato = true;
        break;
      }
    }
    if (!piazzato) {
      registra_alla_cella(stato, codice::codici_prima_inizio, i);
      segna_celle(stato, {i, i, i - g.vicino, i - g.vicino - 1, i - g.vicino - 2});
    }
  }

  std::int32_t k = i;
  if (c(i).dato1 < 110) {
    // Every 8 cells inside the slowdown, counted from the cell actually used.
    std::int32_t conta = 0;
    for (;;) {
      if (k >= c.ultima()) break;
      ++k;
      ++conta;
      if (conta == 8) {
        if (c.libera_in(k)) {
          c.piazza(k);
          conta = 0;
        } else if (c.libera_in(k - 1)) {
          c.piazza(k - 1);
          conta = 1;
        } else if (c.libera_in(k + 1)) {
          c.piazza(k + 1);
          conta = -1;
        } else {
          registra_alla_cella(stato, codice::codici_rallentamento, k);
          segna_celle(stato, {i, i, k, k - 1, k + 1});
        }
      }
      if (c.tipo(k) == tipo_cella::fine_rallentamento) break;
    }
  } else {
    // No walk inside: the search after the slowdown starts from its own end.
    while (k < c.ultima()) {
      ++k;
      if (c.tipo(k) == tipo_cella::fine_rallentamento) break;
    }
  }

  // Before the first signal within 12 cells after the end.
  std::int32_t conta = 0;
  const std::int32_t fino = std::min(k + 12, c.ultima());
  for (std::int32_t indice = k; indice <= fino; ++indice) {
    if (c.tipo(indice) == tipo_cella::segnale) {
      conta = indice - 1;
      break;
    }
  }
  if (conta > 0) {
    if (c.libera_in(conta)) {
      c.piazza(conta);
    } else if (c.libera_in(conta - 1)) {
      c.piazza(conta - 1);
    } else {
      registra_alla_cella(stato, codice::codici_rallentamento, k);
      segna_celle(stato, {i, i, conta, conta - 1});
    }
  }
}

}  // namespace

std::int32_t minimo(std::int32_t x, std::int32_t y) {
  return x > y ? y : x;
}

void piazza_codici(StatoCompilazione& stato) {
  Celle c(stato);
  for (std::int32_t i = 1; i <= c.ultima() - 2; ++i) {
    if (c.tipo(i) == tipo_cella::avviso_rallentamento) prima_dei_segnali(stato, c, i);
    if (c.tipo(i) == tipo_cella::inizio_rallentamento) intorno_al_rallentamento(stato, c, i);
  }
}

}  // namespace scenario
