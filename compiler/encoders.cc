#include "compiler/encoders.h"

#include <algorithm>

#include "compiler/error_codes.h"
#include "compiler/rounding.h"

namespace scenario {

namespace {

/// True when `c` is a cell index of the array.
bool esiste(const StatoCompilazione& stato, std::int64_t c) {
  return c >= 0 && c < static_cast<std::int64_t>(stato.celle.size());
}

/// True when cell `c` exists and is free.
bool libera_in(const StatoCompilazione& stato, std::int64_t c) {
  return esiste(stato, c) && libera(stato.celle[static_cast<std::size_t>(c)]);
}

Cella& cella(StatoCompilazione& stato, std::int64_t c) {
  return stato.celle[static_cast<std::size_t>(c)];
}

/// Rounds a board speed word; false when it does not fit 16 bits.
bool parola_velocita(std::int32_t destra, std::int32_t sinistra, std::int16_t* out) {
  const std::int64_t v = arrotonda(destra / 5.0 + 20.0 * sinistra);
  if (v < INT16_MIN || v > INT16_MAX) return false;
  *out = static_cast<std::int16_t>(v);
  return true;
}

}  // namespace

void memo_montagna(StatoCompilazione& stato, std::int32_t inizio, std::int32_t fine,
                   std::int32_t tipo) {
  bool marcatore = false;
  std::int64_t tipo_sezione = tipo;
  if (tipo_sezione > 10) {
    marcatore = true;
    tipo_sezione -= 10;
  }
  stato.conta_montagne += 1;
  const std::size_t n = static_cast<std::size_t>(stato.conta_montagne);
  stato.montagna_inizio[n] = inizio;
  stato.montagna_fine[n] = fine;
  if (n > 1 && static_cast<std::int64_t>(inizio) - stato.montagna_fine[n - 1] <= 150) {
    tipo_sezione = 3;
  }
  const std::int64_t prima = cella_di(inizio, 0);
  const std::int64_t ultima = cella_di(fine, -1);
  const std::int64_t da = std::max<std::int64_t>(prima, 0);
  const std::int64_t a =
      std::min<std::int64_t>(ultima, static_cast<std::int64_t>(stato.celle.size()) - 1);
  for (std::int64_t c = da; c <= a; ++c) {
    Cella& x = cella(stato, c);
    x.montagna = bassi8(tipo_sezione);
    const std::int64_t conteggio = c - prima + 1;
    if (marcatore && conteggio % 4 == 0 && x.tipo == tipo_cella::vuota) {
      x.tipo = tipo_cella::marcatore_montagna;
      segna_origine(stato, c);
    }
  }
}

std::int32_t memo_indicatori_v_max(StatoCompilazione& stato, std::int32_t posizione,
                                   std::int32_t vas, std::int32_t vbs, std::int32_t vcs,
                                   std::int32_t strisces, std::int32_t vad, std::int32_t vbd,
                                   std::int32_t vcd, std::int32_t strisced) {
  const std::int64_t c = cella_di(posizione, 1);
  if (!libera_in(stato, c)) {
    registra_codice(stato, codice::indicatori_occupato);
    segna_cella_diagnosi(stato, c);
    return codice::indicatori_occupato;
  }
  // The cell is written field by field: a speed word that does not fit
  // stops the writing there, with the fields before it already stored.
  Cella& x = cella(stato, c);
  x.tipo = tipo_cella::indicatori_v_max;
  segna_origine(stato, c);
  if (!parola_velocita(vad, vas, &x.dato1) || !parola_velocita(vbd, vbs, &x.dato2) ||
      !parola_velocita(vcd, vcs, &x.dato3)) {
    return codice::lettura_fallita;
  }
  x.dato4 = bassi16(10 * static_cast<std::int64_t>(strisces) + strisced);
  return 0;
}

std::int32_t memo_segnale(StatoCompilazione& stato, std::int32_t posizione, std::int32_t sx,
                          std::int32_t s1, std::int32_t s2, std::int32_t s3, std::int32_t rapp,
                          std::int32_t dx, std::int32_t d1, std::int32_t d2, std::int32_t d3,
                          std::int32_t tempo) {
  const std::int64_t c = cella_di(posizione, 1);
  if (!libera_in(stato, c)) {
    registra_codice(stato, codice::segnale_occupato);
    segna_cella_diagnosi(stato, c);
    return codice::segnale_occupato;
  }
  Cella& x = cella(stato, c);
  x.tipo = tipo_cella::segnale;
  segna_origine(stato, c);
  x.dato4 = bassi16(10 * static_cast<std::int64_t>(rapp) + 3 * static_cast<std::int64_t>(sx) + dx);
  x.dato1 = bassi16(10 * static_cast<std::int64_t>(s1) + d1);
  x.dato2 = bassi16(10 * static_cast<std::int64_t>(s2) + d2);
  x.dato3 = bassi16(10 * static_cast<std::int64_t>(s3) + d3);
  const std::int32_t tempo_segnale = (tempo >= 1 && tempo <= 100) ? 101 : tempo;
  x.tempo = sx == 2 ? bassi8(tempo_segnale) : 0;
  const std::int64_t tipo_lati = 3 * static_cast<std::int64_t>(sx) + dx;
  for (int m = 1; m <= 4; ++m) {
    const std::int64_t prima = c - 2 * m;
    if (esiste(stato, prima)) cella(stato, prima).avvicinamento = bassi8(10 * tipo_lati + m);
  }
  return 0;
}

std::int32_t memo_rallentamento(StatoCompilazione& stato, std::int32_t x, std::int32_t v,
                                std::int32_t l, std::int32_t f_tt, std::int32_t f_ta,
                                std::int32_t d_v) {
  const std::int64_t x64 = x;
  const std::int64_t a = cella_di(x64 - 1200, 1);
  const std::int64_t s = cella_di(x64, 1);
  const std::int64_t e = cella_di(x64 + l, 1);
  const std::int64_t b = cella_di(x64 - 1200, 0);
  const bool con_avviso = x > 1500;
  if (con_avviso) {
    if (!libera_in(stato, a)) {
      registra_codice(stato, codice::avviso_occupato);
      segna_cella_diagnosi(stato, a);
      return codice::avviso_occupato;
    }
  } else {
    f_ta = 0;
  }
  if (!libera_in(stato, s)) {
    registra_codice(stato, codice::inizio_occupato);
    segna_cella_diagnosi(stato, s);
    return codice::inizio_occupato;
  }
  if (!libera_in(stato, e)) {
    registra_codice(stato, codice::fine_occupato);
    segna_cella_diagnosi(stato, e);
    return codice::fine_occupato;
  }
  Cella& fine = cella(stato, e);
  fine.tipo = tipo_cella::fine_rallentamento;
  segna_origine(stato, e);
  if (d_v != 0) fine.dato2 = bassi16(d_v);
  Cella& inizio = cella(stato, s);
  inizio.tipo = tipo_cella::inizio_rallentamento;
  segna_origine(stato, s);
  if (d_v != 0) inizio.dato2 = bassi16(d_v);
  if (con_avviso) {
    Cella& avviso = cella(stato, a);
    avviso.tipo = tipo_cella::avviso_rallentamento;
    segna_origine(stato, a);
    if (d_v != 0) avviso.dato2 = bassi16(d_v);
    avviso.dato1 = bassi16(v);
  }
  for (std::int64_t c : {s, e}) {
    cella(stato, c).dato1 = bassi16(v);
    cella(stato, c).dato3 = bassi16(f_tt);
  }
  if (f_ta != 0) {
    for (int m = 0; m < 4; ++m) {
      if (!libera_in(stato, b - m)) {
        registra_codice(stato, codice::prima_avviso_occupato);
        segna_cella_diagnosi(stato, b - m);
        return codice::prima_avviso_occupato;
      }
    }
    for (int m = 0; m < 4; ++m) {
      Cella& prima = cella(stato, b - m);
      prima.tipo = tipo_cella::prima_dell_avviso;
      segna_origine(stato, b - m);
      prima.dato1 = static_cast<std::int16_t>(m + 1);
      if (d_v != 0) prima.dato2 = static_cast<std::int16_t>(m + 1);
    }
  }
  return 0;
}

}  // namespace scenario
