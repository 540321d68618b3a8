#include "compiler/chainage.h"

#include <cstdint>

#include "compiler/rounding.h"

namespace scenario {

namespace {

/// One chainage record: the three values that travel together.
struct Terna {
  std::int32_t inizio = 0;
  std::int32_t fine = 0;
  std::int32_t posizione = 0;
};

Terna leggi(const Parametro& p) {
  return {p.inizio, p.fine, p.posizione};
}

void scrivi(Parametro& p, const Terna& t) {
  p.inizio = t.inizio;
  p.fine = t.fine;
  p.posizione = t.posizione;
}

}  // namespace

bool progressive_ordina(StatoCompilazione& stato) {
  Parametro& e81 = stato.parametri[voce::progressiva_tre];
  Parametro& e82 = stato.parametri[voce::progressiva_due];
  Parametro& e83 = stato.parametri[voce::progressiva_uno];
  const Terna t = leggi(e81);
  const Terna d = leggi(e82);
  const Terna u = leggi(e83);
  const Terna zero;
  Terna primo = zero, secondo = zero, terzo = zero;

  const std::int64_t somma = static_cast<std::int64_t>(t.inizio) + d.inizio + u.inizio;
  if (somma != 0) {
    if (t.inizio > d.inizio && t.inizio > u.inizio) {
      primo = t;
      secondo = d.inizio > u.inizio ? d : u;
      terzo = d.inizio > u.inizio ? u : d;
    } else if (d.inizio > t.inizio && d.inizio > u.inizio) {
      primo = d;
      secondo = t.inizio > u.inizio ? t : u;
      terzo = t.inizio > u.inizio ? u : t;
    } else if (u.inizio > t.inizio && u.inizio > d.inizio) {
      primo = u;
      secondo = t.inizio > d.inizio ? t : d;
      terzo = t.inizio > d.inizio ? d : t;
    }
  } else if (u.fine > 0) {
    primo = u, secondo = d, terzo = t;
  } else if (d.fine > 0) {
    primo = d, secondo = t, terzo = u;
  } else if (t.fine > 0) {
    primo = t, secondo = d, terzo = u;
  }

  scrivi(e81, primo);
  scrivi(e82, secondo);
  scrivi(e83, terzo);
  // Entries 81, 82 and 83 take their hundred in turn; one that cannot take it
  // is the failure, and the entries after it keep their values.
  for (Parametro* e : {&e81, &e82, &e83}) {
    if (e->posizione != 1) continue;
    if (!assegna_long(&e->fine, static_cast<std::int64_t>(e->fine) + 100)) return false;
  }
  return true;
}

}  // namespace scenario
