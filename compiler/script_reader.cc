#include "compiler/script_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/file_names.h"
#include "compiler/chainage.h"
#include "compiler/encoders.h"
#include "compiler/error_codes.h"
#include "compiler/rounding.h"
#include "compiler/script_stage.h"
#include "compiler/train_reader.h"
#include "output/cell_file.h"
#include "scripts/field_reader.h"
#include "scripts/keywords.h"

namespace scenario {

namespace {

/// Metres of line geometry and cells beyond the end of the route.
constexpr std::int32_t kProlungamento = 7000;
/// Consecutive comment fields skipped in the general section.
constexpr int kCommentiGenerale = 10;
/// Consecutive comment fields skipped in the body.
constexpr int kCommentiCorpo = 2;

/// The line stage: the line script held in memory and its working variables.
class StadioLinea : public StadioScript {
 public:
  StadioLinea(StatoCompilazione& stato, FileSystem& fs, std::string percorso, std::string testo)
      : StadioScript(stato, fs, std::move(percorso), std::move(testo)) {}

  /// Runs the stage; on `normale` the train stage follows.
  FineStadio esegui();
  /// The board entry the next indicator board would take.
  std::int32_t indice_cartello() const { return indice_cartello_; }

 private:
  Passo sezione_generale();
  Passo record_generale(RecordGenerale record);
  Passo corpo();
  Passo record_corpo(RecordLinea record);
  Passo pendenza();
  Passo curva();
  Passo montagna();
  Passo indicatori();
  Passo cartello();
  /// Computes the geometry rows from `metro_` to `fino`, with straight
  /// steps or, when `curvo`, turning steps of `curvatura` per metre, leaving
  /// `metro_` at the row after them.
  void passi(std::int64_t fino, bool curvo, double curvatura);
  void scrivi_pendenza();

  std::int32_t indice_cartello_ = voce::ultimo_cartello;
  std::int32_t indice_pendenza_ = 0;
  std::int32_t pendenza_precedente_ = 0;
  std::int32_t metro_ = 2;
  /// Set once this script's route length has dimensioned the cell array.
  bool lunghezza_letta_ = false;
};

FineStadio StadioLinea::esegui() {
  // The preamble: everything up to the first field holding "[generale]".
  for (;;) {
    if (campi_.AtEnd()) {
      return esci(codice::generale_mancante) == Passo::uscita ? FineStadio::uscita
                                                              : FineStadio::fallimento;
    }
    if (!leggi_chiave()) return FineStadio::fallimento;
    if (campi_.AtEnd()) {
      return esci(codice::generale_mancante) == Passo::uscita ? FineStadio::uscita
                                                              : FineStadio::fallimento;
    }
    if (contiene(stato_.riga, kGenerale)) break;
  }

  Passo passo = sezione_generale();
  if (passo == Passo::uscita) return FineStadio::uscita;
  if (passo == Passo::fallimento) return FineStadio::fallimento;

  // Between the sections.
  if (!progressive_ordina(stato_)) return FineStadio::fallimento;
  stato_.conta_montagne = 0;
  // Without a route length there is no cell array and no line geometry for
  // anything from here on (one left from an earlier compile does not count).
  if (!lunghezza_letta_) return FineStadio::fallimento;
  if (stato_.crea_linea != 0) {
    TabellaLinea& t = stato_.tabella_linea;
    t.imposta_intero(0, 0, 0);
    t.imposta_intero(0, 1, 0);
    t.imposta_intero(1, 0, 0);
    t.imposta_intero(1, 1, 1);
  }

  passo = corpo();
  if (passo == Passo::uscita) return FineStadio::uscita;
  if (passo == Passo::fallimento) return FineStadio::fallimento;

  // End of the stage, reached at the end of the file or after a code 15.
  if (!elimina_script()) return FineStadio::fallimento;
  const std::int32_t limite = stato_.numero_celle - 2;
  do {
    scrivi_pendenza();
  } while (indice_pendenza_ < limite);
  if (stato_.crea_linea != 0) {
    passi(stato_.lunghezza_tabella - 2, false, 0);
  }
  return FineStadio::normale;
}

StadioLinea::Passo StadioLinea::sezione_generale() {
  for (;;) {
    const Passo prossimo = prossimo_record(0);
    if (prossimo != Passo::avanti) return prossimo;
    // Here the comments are read with no test for the end of the script.
    for (int volte = 0; volte < kCommentiGenerale; ++volte) {
      if (contiene(stato_.riga, "-") && !leggi_chiave()) return Passo::fallimento;
    }
    for (const auto& voce : kTabellaGenerale) {
      if (!voce.parola.corrisponde(stato_.riga)) continue;
      const Passo passo = record_generale(voce.record);
      if (passo != Passo::avanti) return passo;
    }
    const std::size_t primo = stato_.riga.find_first_not_of(" \t");
    const bool commento = primo != std::string::npos && stato_.riga[primo] == '-';
    if (!commento && contiene(stato_.riga, "[") && contiene(stato_.riga, "]")) {
      return Passo::avanti;
    }
  }
}

StadioLinea::Passo StadioLinea::record_generale(RecordGenerale record) {
  std::array<Parametro, voce::numero_voci>& par = stato_.parametri;
  switch (record) {
    case RecordGenerale::lunghezza: {
      Parametro& treno = par[voce::treno];
      if (!campi_.ReadLong(&treno.fine)) return Passo::fallimento;
      const std::int32_t lunghezza = treno.fine;
      if (lunghezza > kLunghezzaMassima || lunghezza < 0) {
        return esci(codice::lunghezza_eccessiva);
      }
      stato_.lunghezza_tabella = lunghezza + kProlungamento;
      stato_.numero_celle = static_cast<std::int32_t>(cella_di(stato_.lunghezza_tabella, 0));
      stato_.celle.assign(static_cast<std::size_t>(stato_.numero_celle) + 1, Cella{});
      if (stato_.crea_linea != 0) stato_.tabella_linea.dimensiona(stato_.lunghezza_tabella);
      lunghezza_letta_ = true;
      return Passo::avanti;
    }
    case RecordGenerale::progressiva_tre:
    case RecordGenerale::progressiva_due:
    case RecordGenerale::progressiva_uno: {
      const int n = record == RecordGenerale::progressiva_tre   ? voce::progressiva_tre
                    : record == RecordGenerale::progressiva_due ? voce::progressiva_due
                                                                : voce::progressiva_uno;
      Parametro& p = par[n];
      if (!campi_.ReadLong(&p.inizio) || !campi_.ReadLong(&p.fine) ||
          !campi_.ReadLong(&p.posizione)) {
        return Passo::fallimento;
      }
      return Passo::avanti;
    }
    case RecordGenerale::sfondo_uno:
      return campi_.ReadLong(&par[voce::percorso].inizio) ? Passo::avanti : Passo::fallimento;
    case RecordGenerale::sfondo_due:
      return campi_.ReadLong(&par[voce::percorso].posizione) ? Passo::avanti : Passo::fallimento;
    case RecordGenerale::sfondo_tre:
      return campi_.ReadLong(&par[voce::percorso].fine) ? Passo::avanti : Passo::fallimento;
    case RecordGenerale::ripetizione: {
      Parametro& r = par[voce::ripetizione];
      if (!campi_.ReadLong(&r.inizio) || !campi_.ReadLong(&r.fine)) return Passo::fallimento;
      if (r.inizio % kMetriCella != 0) return esci(codice::ripetizione_inizio);
      if (r.fine % kMetriCella != 0) return esci(codice::ripetizione_fine);
      if (contiene(stato_.riga, "4")) {
        r.posizione = 4;
      } else if (contiene(stato_.riga, "9")) {
        r.posizione = 9;
      } else {
        return esci(codice::ripetizione_codici);
      }
      if (r.fine == 0) r.posizione = 0;
      return Passo::avanti;
    }
  }
  return Passo::avanti;
}

StadioLinea::Passo StadioLinea::corpo() {
  for (;;) {
    const Passo prossimo = prossimo_record(kCommentiCorpo);
    if (prossimo != Passo::avanti) return prossimo;
    for (const auto& voce : kTabellaLinea) {
      if (voce.record == RecordLinea::curva && stato_.crea_linea == 0) continue;
      if (!voce.parola.corrisponde(stato_.riga)) continue;
      const Passo passo = record_corpo(voce.record);
      if (passo != Passo::avanti) return passo;
    }
  }
}

StadioLinea::Passo StadioLinea::record_corpo(RecordLinea record) {
  switch (record) {
    case RecordLinea::pendenza:
      return pendenza();
    case RecordLinea::curva:
      return curva();
    case RecordLinea::montagna:
      return montagna();
    case RecordLinea::indicatori_v_max:
      return indicatori();
    case RecordLinea::cartello:
      return cartello();
  }
  return Passo::avanti;
}

void StadioLinea::scrivi_pendenza() {
  if (indice_pendenza_ >= 0 && indice_pendenza_ <= stato_.numero_celle) {
    stato_.celle[static_cast<std::size_t>(indice_pendenza_)].pendenza =
        bassi8(static_cast<std::int64_t>(pendenza_precedente_) + 100);
  }
  ++indice_pendenza_;
}

StadioLinea::Passo StadioLinea::pendenza() {
  std::int32_t p, g;
  if (!campi_.ReadLong(&p) || !campi_.ReadLong(&g)) return Passo::fallimento;
  if (!dentro_celle(stato_, p)) return fuori(p);
  const std::int64_t n = cella_di(p, 0);
  if (n > 0) {
    do {
      scrivi_pendenza();
    } while (indice_pendenza_ < n);
  }
  pendenza_precedente_ = g;
  return Passo::avanti;
}

// Each row continues the step vector of the two rows before it, turned by
// `curvatura` on a curve. Those two rows are carried from one step to the
// next instead of being read back, with the same operations in the same
// order, so every value is the same.
void StadioLinea::passi(std::int64_t fino, bool curvo, double curvatura) {
  if (metro_ > fino) return;
  TabellaLinea& t = stato_.tabella_linea;
  double x2 = t.valore(metro_ - 2, 0), x1 = t.valore(metro_ - 1, 0);
  double y2 = t.valore(metro_ - 2, 1), y1 = t.valore(metro_ - 1, 1);
  for (; metro_ <= fino; ++metro_) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    x2 = x1;
    y2 = y1;
    if (curvo) {
      x1 = x1 + (dx + curvatura * dy);
      y1 = y1 + (dy - curvatura * dx);
    } else {
      x1 = x1 + dx;
      y1 = y1 + dy;
    }
    t.imposta_doppio(metro_, 0, x1);
    t.imposta_doppio(metro_, 1, y1);
  }
}

StadioLinea::Passo StadioLinea::curva() {
  std::int32_t s, l;
  if (!campi_.ReadLong(&s) || !campi_.ReadLong(&l)) return Passo::fallimento;
  if (!dentro_celle(stato_, s)) return fuori(s);
  // The last two rows of the geometry are never computed.
  const std::int64_t fine = static_cast<std::int64_t>(s) + l;
  if (fine > static_cast<std::int64_t>(stato_.lunghezza_tabella) - 2) return fuori(s);
  double curvatura = 0;
  for (const auto& [cifra, svolta] : kClassiCurva) {
    if (stato_.riga.find(cifra) != std::string::npos) {
      curvatura = svolta;
      break;
    }
  }
  if (curvatura == 0) return esci(codice::curva_non_valida);
  if (contiene(stato_.riga, "s")) curvatura = -curvatura;
  // Computing the row at the metre limit is already the fault: the rows
  // stop there.
  passi(std::min<std::int64_t>(s, kLunghezzaMassima), false, 0);
  if (metro_ > kLunghezzaMassima) return esci(codice::curva_non_valida);
  passi(std::min<std::int64_t>(fine, kLunghezzaMassima), true, curvatura);
  if (metro_ > kLunghezzaMassima) return esci(codice::curva_non_valida);
  return Passo::avanti;
}

StadioLinea::Passo StadioLinea::montagna() {
  std::int32_t inizio, fine, tipo;
  if (!campi_.ReadLong(&inizio) || !campi_.ReadLong(&fine) || !campi_.ReadLong(&tipo)) {
    return Passo::fallimento;
  }
  if (!dentro_celle(stato_, inizio) || !dentro_celle(stato_, fine)) return fuori(inizio);
  // The section arrays are full; one more cannot be stored.
  if (stato_.conta_montagne >= kMassimoMontagne) return Passo::fallimento;
  memo_montagna(stato_, inizio, fine, tipo);
  return Passo::avanti;
}

StadioLinea::Passo StadioLinea::indicatori() {
  std::int32_t v[9];
  for (std::int32_t& x : v) {
    if (!campi_.ReadLong(&x)) return Passo::fallimento;
  }
  if (!dentro_celle(stato_, v[0])) return fuori(v[0]);
  const std::int32_t esito =
      memo_indicatori_v_max(stato_, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
  if (esito == codice::lettura_fallita) return Passo::fallimento;
  if (esito > 0) {
    if (!elimina_script()) return Passo::fallimento;
    imposta_posizione_errore(stato_, v[0]);
    return Passo::uscita;
  }
  return Passo::avanti;
}

StadioLinea::Passo StadioLinea::cartello() {
  std::int32_t p;
  if (!campi_.ReadLong(&p) || !campi_.ReadText(&stato_.riga)) return Passo::fallimento;
  if (!dentro_celle(stato_, p)) return fuori(p);
  // Board texts count down from entry 80 to the first station entry; entry
  // 0 is never one of them.
  if (indice_cartello_ < voce::prima_stazione) return esci(codice::tabella_piena);
  const std::int64_t n = cella_di(p, 1);
  Cella& c = stato_.celle[static_cast<std::size_t>(n)];
  if (!libera(c)) {
    const Passo passo = esci(codice::cartello_occupato, p);
    if (passo == Passo::uscita) segna_cella_diagnosi(stato_, n);
    return passo;
  }
  c.tipo = tipo_cella::cartello;
  segna_origine(stato_, n);
  c.dato1 = static_cast<std::int16_t>(indice_cartello_);
  stato_.parametri[static_cast<std::size_t>(indice_cartello_)].nome = stato_.riga;
  --indice_cartello_;
  ++stato_.numero_cartelli;
  return Passo::avanti;
}

/// Records the read failure: both scripts deleted where they exist, code 25.
void fallimento_lettura(StatoCompilazione& stato, FileSystem& fs, const std::string& linea,
                        const std::string& treno) {
  std::string err;
  for (const std::string* percorso : {&linea, &treno}) {
    if (fs.IsRegularFile(*percorso)) fs.RemoveFile(*percorso, &err);
  }
  registra_codice(stato, codice::lettura_fallita);
}

}  // namespace

bool dentro_celle(const StatoCompilazione& stato, std::int64_t p, std::int32_t margine) {
  return p >= 0 && p + margine <= metri_cella(stato.numero_celle, 0);
}

void memorizza_dati(StatoCompilazione& stato, FileSystem& fs, const std::string& cartella) {
  stato.parametri[voce::percorso].nome = stato.nome_percorso;
  stato.parametri[voce::ripetizione].nome = stato.numero_treno;
  const std::string linea = percorso_in(cartella, nome_script_linea(stato.nome_percorso));
  const std::string treno =
      percorso_in(cartella, nome_script_treno(stato.nome_percorso, stato.numero_treno));

  stato.sorgente_corrente = Sorgente::script_linea;
  stato.riga_corrente = 0;
  if (!fs.IsRegularFile(linea)) {
    registra_codice(stato, codice::script_linea_mancante);
    return;
  }
  std::string testo, err;
  if (!fs.ReadFile(linea, &testo, &err)) {
    fallimento_lettura(stato, fs, linea, treno);
    return;
  }
  StadioLinea stadio(stato, fs, linea, std::move(testo));
  FineStadio fine = stadio.esegui();
  if (fine == FineStadio::normale) {
    stato.sorgente_corrente = Sorgente::script_treno;
    stato.riga_corrente = 0;
    fine = leggi_script_treno(stato, fs, treno, stadio.indice_cartello());
  }
  if (fine == FineStadio::fallimento) fallimento_lettura(stato, fs, linea, treno);
}

}  // namespace scenario
