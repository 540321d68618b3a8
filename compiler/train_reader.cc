#include "compiler/train_reader.h"

#include <cstdint>
#include <string>

#include "compiler/encoders.h"
#include "compiler/error_codes.h"
#include "compiler/rounding.h"
#include "compiler/script_reader.h"
#include "compiler/script_stage.h"
#include "output/cell_file.h"
#include "output/parameter_file.h"
#include "scripts/field_reader.h"
#include "scripts/keywords.h"

namespace scenario {

namespace {

/// Consecutive comment fields skipped anywhere in the train script.
constexpr int kCommenti = 2;

// The station record's rules.

/// Station lengths are multiples of this, in metres.
constexpr std::int32_t kPassoLunghezza = 100;
/// Where a station of types 5 and 6 ends, in metres beyond its position.
constexpr std::int32_t kFineOltrePosizione = 150;
/// How far a non-zero `flag3` moves an ordinary station's end, in metres.
constexpr std::int32_t kAllungamentoFlag3 = 50;
/// Shortest station, in metres, that keeps its `flag4`.
constexpr std::int32_t kLunghezzaFlag4 = 600;
/// Least distance, in metres, from the end of a station to the start of the
/// next.
constexpr std::int32_t kDistanzaStazioni = 350;
/// Cells before the end mark that get an approach mark.
constexpr int kSegniAvvicinamento = 4;
/// First station type without cell marks.
constexpr std::uint8_t kPrimoTipoSenzaSegni = 25;

/// Types 5 and 6: the end a fixed distance beyond the position, the start a
/// whole length before it, no approach marks.
bool fine_fissa(std::uint8_t tipo) {
  return tipo == 5 || tipo == 6;
}

/// Types 7 and 8: a whole length on both sides of the position.
bool lunghezza_per_lato(std::uint8_t tipo) {
  return tipo == 7 || tipo == 8;
}

/// Ordinary stations (types below 25) get an end mark and, unless their end
/// is fixed, approach marks.
bool ordinaria(std::uint8_t tipo) {
  return tipo < kPrimoTipoSenzaSegni;
}

/// The train stage: the train script held in memory and its working
/// variables.
class StadioTreno : public StadioScript {
 public:
  StadioTreno(StatoCompilazione& stato, FileSystem& fs, std::string percorso, std::string testo,
              std::int32_t indice_cartello)
      : StadioScript(stato, fs, std::move(percorso), std::move(testo)),
        indice_cartello_(indice_cartello) {}

  /// Runs the stage.
  FineStadio esegui();

 private:
  Passo record(RecordTreno record);
  Passo velocita();
  Passo aderenza();
  Passo segnale();
  Passo rallentamento();
  Passo abbattimento();
  Passo stazione();
  /// Writes the speed of cell `indice_velocita_` and advances; false when
  /// the speed does not fit a byte.
  bool scrivi_velocita();
  void scrivi_aderenza();

  std::int32_t indice_cartello_;
  std::int32_t indice_velocita_ = 0;
  std::int32_t velocita_precedente_ = 0;
  std::int32_t indice_aderenza_ = 0;
  std::int32_t aderenza_precedente_ = 0;
  std::int32_t numero_stazione_ = voce::prima_stazione;
};

FineStadio StadioTreno::esegui() {
  // The preamble; a script without "[generale]" contributes nothing.
  while (!campi_.AtEnd()) {
    if (!leggi_chiave()) return FineStadio::fallimento;
    if (contiene(stato_.riga, kGenerale)) break;
  }

  for (;;) {
    const Passo prossimo = prossimo_record(kCommenti);
    if (prossimo == Passo::fine_file) break;
    if (prossimo == Passo::fallimento) return FineStadio::fallimento;
    Passo passo = Passo::avanti;
    for (const auto& voce : kTabellaTreno) {
      if (!voce.parola.corrisponde(stato_.riga)) continue;
      passo = record(voce.record);
      if (passo != Passo::avanti) break;
    }
    if (passo == Passo::arresto) break;
    if (passo == Passo::uscita) return FineStadio::uscita;
    if (passo == Passo::fallimento) return FineStadio::fallimento;
  }

  // End of the stage, reached at the end of the file or after a code 15.
  if (!elimina_script()) return FineStadio::fallimento;
  const std::int32_t limite = stato_.numero_celle - 2;
  do {
    if (!scrivi_velocita()) return FineStadio::fallimento;
  } while (indice_velocita_ < limite);
  do {
    scrivi_aderenza();
  } while (indice_aderenza_ < limite);

  bool non_multipla = false;
  for (int e = voce::progressiva_tre; e <= voce::progressiva_uno; ++e) {
    const Parametro& p = stato_.parametri[static_cast<std::size_t>(e)];
    if (p.inizio % kMetriCella != 0 || p.fine % kMetriCella != 0) non_multipla = true;
  }
  if (non_multipla) {
    stato_.riga_corrente = 0;
    stato_.sorgente_corrente = Sorgente::script_linea;
    registra_codice(stato_, codice::progressiva_non_multipla);
  }
  return FineStadio::normale;
}

StadioTreno::Passo StadioTreno::record(RecordTreno record) {
  Parametro& treno = stato_.parametri[voce::treno];
  Parametro& ripetizione = stato_.parametri[voce::ripetizione];
  switch (record) {
    case RecordTreno::massa_frenata:
      return campi_.ReadLong(&treno.inizio) ? Passo::avanti : Passo::fallimento;
    case RecordTreno::vetture:
      return campi_.ReadLong(&treno.posizione) ? Passo::avanti : Passo::fallimento;
    case RecordTreno::velocita:
      return velocita();
    case RecordTreno::aderenza:
      return aderenza();
    case RecordTreno::orologio:
      return campi_.ReadInteger(&ripetizione.valore3) && campi_.ReadInteger(&ripetizione.valore4) &&
                     campi_.ReadInteger(&ripetizione.valore5)
                 ? Passo::avanti
                 : Passo::fallimento;
    case RecordTreno::sabbia:
      return campi_.ReadInteger(&ripetizione.valore1) ? Passo::avanti : Passo::fallimento;
    case RecordTreno::segnale:
      return segnale();
    case RecordTreno::rallentamento:
      return rallentamento();
    case RecordTreno::abbattimento:
      return abbattimento();
    case RecordTreno::stazione:
      return stazione();
  }
  return Passo::avanti;
}

bool StadioTreno::scrivi_velocita() {
  if (indice_velocita_ >= 0 && indice_velocita_ <= stato_.numero_celle) {
    const std::int64_t v = arrotonda(velocita_precedente_ / 5.0);
    if (v < 0 || v > 255) return false;
    stato_.celle[static_cast<std::size_t>(indice_velocita_)].velocita =
        static_cast<std::uint8_t>(v);
  }
  ++indice_velocita_;
  return true;
}

void StadioTreno::scrivi_aderenza() {
  if (indice_aderenza_ >= 0 && indice_aderenza_ <= stato_.numero_celle) {
    stato_.celle[static_cast<std::size_t>(indice_aderenza_)].aderenza =
        bassi8(aderenza_precedente_);
  }
  ++indice_aderenza_;
}

StadioTreno::Passo StadioTreno::velocita() {
  std::int32_t p, v;
  if (!campi_.ReadLong(&p) || !campi_.ReadLong(&v)) return Passo::fallimento;
  if (!dentro_celle(stato_, p)) return fuori(p);
  const std::int64_t n = cella_di(p, 0);
  if (n > 0 && indice_velocita_ < stato_.numero_celle) {
    do {
      if (!scrivi_velocita()) return Passo::fallimento;
    } while (indice_velocita_ < n && indice_velocita_ < stato_.numero_celle);
  }
  velocita_precedente_ = v;
  return Passo::avanti;
}

StadioTreno::Passo StadioTreno::aderenza() {
  std::int32_t p, a;
  if (!campi_.ReadLong(&p) || !campi_.ReadLong(&a)) return Passo::fallimento;
  if (!dentro_celle(stato_, p)) return fuori(p);
  const std::int64_t n = cella_di(p, 0);
  if (n > 0) {
    do {
      scrivi_aderenza();
    } while (indice_aderenza_ < n);
  }
  aderenza_precedente_ = a;
  return Passo::avanti;
}

StadioTreno::Passo StadioTreno::segnale() {
  std::int32_t v[11];
  for (std::int32_t& x : v) {
    if (!campi_.ReadLong(&x)) return Passo::fallimento;
  }
  if (!dentro_celle(stato_, v[0])) return fuori(v[0]);
  // Only a code set by this very call stops the stage: a code 15 left by the
  // line stage must not end the train stage here.
  if (memo_segnale(stato_, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]) > 0) {
    if (!elimina_script()) return Passo::fallimento;
    imposta_posizione_errore(stato_, v[0]);
    return Passo::uscita;
  }
  return Passo::avanti;
}

StadioTreno::Passo StadioTreno::rallentamento() {
  std::int32_t x, v, l, f_tt, f_ta, d_v;
  if (!campi_.ReadLong(&x) || !campi_.ReadLong(&v) || !campi_.ReadLong(&l) ||
      !campi_.ReadLong(&f_tt) || !campi_.ReadLong(&f_ta) || !campi_.ReadLong(&d_v)) {
    return Passo::fallimento;
  }
  if (!dentro_celle(stato_, x) || !dentro_celle(stato_, static_cast<std::int64_t>(x) + l)) {
    return fuori(x);
  }
  if (memo_rallentamento(stato_, x, v, l, f_tt, f_ta, d_v) > 0) {
    if (!elimina_script()) return Passo::fallimento;
    imposta_posizione_errore(stato_, x);
    return Passo::uscita;
  }
  return Passo::avanti;
}

StadioTreno::Passo StadioTreno::abbattimento() {
  std::int32_t p, w;
  if (!campi_.ReadLong(&p) || !campi_.ReadLong(&w)) return Passo::fallimento;
  if (!dentro_celle(stato_, p)) return fuori(p);
  const std::int64_t n = cella_di(p, 0);
  Cella& c = stato_.celle[static_cast<std::size_t>(n)];
  if (!libera(c)) {
    const Passo passo = esci(codice::abbattimento_occupato, p);
    if (passo == Passo::uscita) segna_cella_diagnosi(stato_, n);
    return passo;
  }
  segna_origine(stato_, n);
  if (w > 0) {
    c.tipo = tipo_cella::codice;
    c.dato1 = bassi16(w);
  } else {
    c.tipo = tipo_cella::codice_senza_valore;
  }
  return Passo::avanti;
}

StadioTreno::Passo StadioTreno::stazione() {
  // With 80 indicator boards even entry 1 holds a board's text; a station
  // there would overwrite it.
  if (numero_stazione_ > indice_cartello_) return esci(codice::tabella_piena);
  Parametro& e = stato_.parametri[static_cast<std::size_t>(numero_stazione_)];
  if (!campi_.ReadLong(&e.posizione)) return Passo::fallimento;
  const std::int64_t posizione = e.posizione;
  if (!dentro_celle(stato_, posizione, kMargineStazione)) return fuori(e.posizione);
  if (posizione % kMetriCella != 0) return esci(codice::stazione_posizione, e.posizione);

  std::int32_t lunghezza;
  if (!campi_.ReadByte(&e.tipo) || !campi_.ReadLong(&lunghezza)) return Passo::fallimento;
  if (lunghezza % kPassoLunghezza != 0) return esci(codice::stazione_lunghezza, e.posizione);

  std::int32_t ore, minuti, secondi;
  if (!campi_.ReadByte(&e.opzione) || !campi_.ReadByte(&e.flag4) || !campi_.ReadByte(&e.flag3) ||
      !campi_.ReadInteger(&e.valore1) || !campi_.ReadInteger(&e.valore2) ||
      !campi_.ReadByte(&e.flag1) || !campi_.ReadInteger(&e.valore3) ||
      !campi_.ReadInteger(&e.valore4) || !campi_.ReadInteger(&e.valore5) ||
      !campi_.ReadByte(&e.flag2) || !campi_.ReadLong(&ore) || !campi_.ReadLong(&minuti) ||
      !campi_.ReadLong(&secondi)) {
    return Passo::fallimento;
  }
  // The time is stored before the name is read: a time that does not fit
  // leaves the name unread, a name missing at the end of the script leaves
  // the time stored.
  if (!assegna_long(&e.orario, (static_cast<std::int64_t>(ore) * 60 + minuti) * 60 + secondi) ||
      !campi_.ReadText(&e.nome)) {
    return Passo::fallimento;
  }

  // The station's extent, one value at a time: a value that does not fit
  // stops the record with the values before it stored and `flag3` as read.
  const std::int64_t l = lunghezza;
  if (fine_fissa(e.tipo)) {
    if (!assegna_long(&e.fine, posizione + kFineOltrePosizione) ||
        !assegna_long(&e.inizio, posizione - l)) {
      return Passo::fallimento;
    }
    e.flag3 = 0;
  } else if (lunghezza_per_lato(e.tipo)) {
    if (!assegna_long(&e.inizio, posizione - l) || !assegna_long(&e.fine, posizione + l)) {
      return Passo::fallimento;
    }
    e.flag3 = 0;
  } else {
    // Half a length beside a position inside the cell array always fits.
    if (!assegna_long(&e.inizio, arrotonda(static_cast<double>(posizione) - l / 2.0)) ||
        !assegna_long(&e.fine, arrotonda(static_cast<double>(posizione) + l / 2.0) +
                                   (e.flag3 != 0 ? kAllungamentoFlag3 : 0))) {
      return Passo::fallimento;
    }
  }
  const bool con_segni = ordinaria(e.tipo);
  // The end mark goes one cell before the end, and must fall inside the
  // cell array.
  const double segno_fine = in_celle(e.fine, -1);
  if (con_segni && arrotonda(segno_fine) > stato_.numero_celle) return fuori(e.posizione);

  if (lunghezza < kLunghezzaFlag4) e.flag4 = 0;
  if (numero_stazione_ == voce::prima_stazione) {
    e.flag3 = 0;
    e.flag4 = 0;
  }
  if (con_segni && !fine_fissa(e.tipo)) {
    for (int k = 1; k <= kSegniAvvicinamento; ++k) {
      const double q = in_celle(e.fine, -(k + 1));
      if (q > 1) {
        stato_.celle[static_cast<std::size_t>(arrotonda(q))].avvicinamento =
            bassi8(kAvvicinamentoStazione + k);
      }
    }
  }
  if (con_segni) {
    if (segno_fine <= 1) return esci(codice::stazione_troppo_presto);
    Cella& c = stato_.celle[static_cast<std::size_t>(arrotonda(segno_fine))];
    c.tipo = tipo_cella::fine_stazione;
    segna_origine(stato_, arrotonda(segno_fine));
    c.dato1 = bassi16(numero_stazione_);
  }
  if (numero_stazione_ > voce::prima_stazione &&
      static_cast<std::int64_t>(e.inizio) - kDistanzaStazioni <
          stato_.parametri[static_cast<std::size_t>(numero_stazione_ - 1)].fine) {
    return esci(codice::stazioni_vicine, e.posizione);
  }
  ++numero_stazione_;
  ++stato_.numero_stazioni;
  if (numero_stazione_ >= indice_cartello_) return esci(codice::tabella_piena);
  return Passo::avanti;
}

}  // namespace

FineStadio leggi_script_treno(StatoCompilazione& stato, FileSystem& fs, const std::string& percorso,
                              std::int32_t indice_cartello) {
  std::string testo, err;
  if (!fs.ReadFile(percorso, &testo, &err)) return FineStadio::fallimento;
  StadioTreno stadio(stato, fs, percorso, std::move(testo), indice_cartello);
  return stadio.esegui();
}

}  // namespace scenario
