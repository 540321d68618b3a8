#include "tools/code_cell_recovery.h"

#include <algorithm>

#include "compiler/compile_state.h"
#include "compiler/rounding.h"
#include "compiler/script_reader.h"
#include "compiler/signal_codes.h"

namespace scenario {

namespace {

/// Tries of the post-pass before the search settles for the best so far.
constexpr long kProveMassime = 4096;
/// How far before a differing cell a record may have changed what the
/// post-pass did there: it looks back up to 20 cells from a slowdown's
/// start or warning board, with two more candidates, and walks a slowdown
/// 8 cells at a time.
constexpr std::int64_t kIndietro = 24;

bool codice(const Cella& x) {
  return x.tipo == tipo_cella::codice || x.tipo == tipo_cella::codice_senza_valore;
}

/// The value of the record behind code cell `x`: 0 without value, else the
/// value whose low 16 bits the cell holds.
std::int32_t valore(const Cella& x) {
  if (x.tipo == tipo_cella::codice_senza_valore) return 0;
  return x.dato1 >= 1 ? x.dato1 : x.dato1 + 65536;
}

class Ricerca {
 public:
  explicit Ricerca(const std::vector<Cella>& celle)
      : file_(celle),
        base_(celle),
        record_(celle.size(), false),
        ultima_record_(ultima_cella_record(celle.size())) {
    for (std::size_t c = 0; c < celle.size(); ++c) {
      if (!codice(celle[c])) continue;
      if (celle[c].tipo == tipo_cella::codice && celle[c].dato1 == kValoreCodice) {
        ambigua_.push_back(c);
        base_[c].tipo = tipo_cella::vuota;
        base_[c].dato1 = 0;
      } else {
        record_[c] = true;
      }
    }
  }

  std::map<std::size_t, std::int32_t> esegui() {
    if (!ambigua_.empty()) {
      migliore_ = record_;
      const std::size_t d = prova();
      migliore_fin_dove_ = d;
      if (!cerca(d)) record_ = migliore_;
      ultime_non_piazzate();
    }
    std::map<std::size_t, std::int32_t> r;
    for (std::size_t c = 0; c < record_.size(); ++c) {
      if (record_[c]) r[c] = valore(file_[c]);
    }
    return r;
  }

 private:
  bool ambigua(std::int64_t c) const {
    return c >= 0 && c <= ultima_record_ &&
           std::binary_search(ambigua_.begin(), ambigua_.end(), static_cast<std::size_t>(c));
  }

  /// Runs the post-pass with the records chosen so far; the first cell
  /// whose code differs from the files, or where the post-pass records a
  /// code (the number of cells when none).
  std::size_t prova() {
    --prove_;
    stato_.celle = base_;
    for (std::size_t c : ambigua_) {
      if (!record_[c]) continue;
      stato_.celle[c].tipo = tipo_cella::codice;
      stato_.celle[c].dato1 = kValoreCodice;
    }
    stato_.codice_errore = 0;
    stato_.diagnosi.clear();
    piazza_codici(stato_);
    std::size_t d = file_.size();
    for (const Diagnosi& x : stato_.diagnosi) {
      d = std::min(d, static_cast<std::size_t>(std::max(x.posizione, 0) / kMetriCella));
    }
    for (std::size_t c = 0; c < d; ++c) {
      const Cella& a = file_[c];
      const Cella& b = stato_.celle[c];
      if (codice(a) != codice(b) || (codice(a) && (a.tipo != b.tipo || a.dato1 != b.dato1))) {
        return c;
      }
    }
    return d;
  }

  /// Takes for records the code cells of 180 past the last a record
  /// reaches that the post-pass, run with the records chosen, does not
  /// place: no script gives them, and the caller reports them.
  void ultime_non_piazzate() {
    if (static_cast<std::int64_t>(ambigua_.back()) <= ultima_record_) return;
    prova();
    for (std::size_t c : ambigua_) {
      if (static_cast<std::int64_t>(c) <= ultima_record_) continue;
      const Cella& b = stato_.celle[c];
      if (b.tipo != tipo_cella::codice || b.dato1 != kValoreCodice) record_[c] = true;
    }
  }

  /// Depth-first from a first difference at `d`.
  bool cerca(std::size_t d) {
    if (d >= file_.size()) return true;
    if (d > migliore_fin_dove_) {
      migliore_ = record_;
      migliore_fin_dove_ = d;
    }
    // The cell itself and the two after it, then back from it the cells
    // where the post-pass put a code cell of 180 just as the files have
    // one: a record there would have moved it elsewhere and changed what it
    // did after, up to the farthest it looks back.
    std::vector<std::size_t> modi;
    const auto di = static_cast<std::int64_t>(d);
    auto aggiungi = [&](std::int64_t c) {
      if (ambigua(c) && !record_[static_cast<std::size_t>(c)]) {
        modi.push_back(static_cast<std::size_t>(c));
      }
    };
    for (std::int64_t c = di; c <= di + 2; ++c) aggiungi(c);
    for (std::int64_t c = di - 1; c >= di - kIndietro && c >= 0; --c) {
      if (codice(stato_.celle[static_cast<std::size_t>(c)])) aggiungi(c);
    }
    for (std::size_t c : modi) {
      if (prove_ <= 0) return false;
      record_[c] = true;
      const std::size_t dopo = prova();
      if (dopo > d && cerca(dopo)) return true;
      record_[c] = false;
    }
    return false;
  }

  const std::vector<Cella>& file_;
  std::vector<Cella> base_;           ///< the cells without the code cells of 180
  std::vector<std::size_t> ambigua_;  ///< cells holding a code of 180, ascending
  std::vector<bool> record_;          ///< cells taken as records
  std::vector<bool> migliore_;
  std::size_t migliore_fin_dove_ = 0;
  std::int64_t ultima_record_;  ///< no record reaches a cell after this one
  StatoCompilazione stato_;
  long prove_ = kProveMassime;
};

}  // namespace

std::int64_t ultima_cella_record(std::size_t numero) {
  if (numero == 0) return -1;
  const std::int64_t ultima = static_cast<std::int64_t>(numero) - 1;
  return cella_di(metri_cella(ultima, 0) - kMargineRecord, 0);
}

std::map<std::size_t, std::int32_t> recupera_abbattimenti(const std::vector<Cella>& celle) {
  return Ricerca(celle).esegui();
}

}  // namespace scenario
