#include "tools/checked_script.h"

#include <algorithm>
#include <utility>

namespace scenario {

ScriptControllato::ScriptControllato(TipoScript t, std::string f, std::string b)
    : tipo(t), file(std::move(f)), testo(std::move(b)), schema(MakeOutline(testo, tipo)) {}

const RecordScript* ScriptControllato::record_a(std::size_t inizio) const {
  const auto it =
      std::lower_bound(schema.record.begin(), schema.record.end(), inizio,
                       [](const RecordScript& r, std::size_t x) { return r.chiave.inizio < x; });
  return it != schema.record.end() && it->chiave.inizio == inizio ? &*it : nullptr;
}

Diagnostica ScriptControllato::al_campo(const CampoScript& c, Gravita gravita,
                                        std::string messaggio) const {
  Diagnostica d;
  d.file = file;
  d.riga = std::max(c.riga, 1);
  d.colonna = std::max(c.colonna, 1);
  d.colonna_fine = d.colonna + static_cast<int>(std::max<std::size_t>(c.testo.size(), 1));
  d.gravita = gravita;
  d.messaggio = std::move(messaggio);
  d.sorgente = std::string(schema.riga(testo, d.riga));
  return d;
}

Diagnostica ScriptControllato::a_fine_riga(int riga, Gravita gravita, std::string messaggio) const {
  Diagnostica d;
  d.file = file;
  d.riga = std::max(riga, 1);
  d.sorgente = std::string(schema.riga(testo, d.riga));
  d.colonna = static_cast<int>(d.sorgente.size()) + 1;
  d.colonna_fine = d.colonna + 1;
  d.gravita = gravita;
  d.messaggio = std::move(messaggio);
  return d;
}

Nota ScriptControllato::nota(const CampoScript& c, std::string messaggio) const {
  Nota n;
  n.file = file;
  n.riga = std::max(c.riga, 1);
  n.colonna = std::max(c.colonna, 1);
  n.colonna_fine = n.colonna + static_cast<int>(std::max<std::size_t>(c.testo.size(), 1));
  n.messaggio = std::move(messaggio);
  n.sorgente = std::string(schema.riga(testo, n.riga));
  return n;
}

bool e_di(const RecordScript& r, TipoRecord tipo) {
  return std::find(r.tipi.begin(), r.tipi.end(), tipo) != r.tipi.end();
}

const CampoScript* campo(const RecordScript& r, TipoRecord tipo, std::size_t i) {
  std::size_t base = 0;
  for (TipoRecord t : r.tipi) {
    if (t == tipo) {
      if (i >= campi_di(t).size() || base + i >= r.valori.size()) return nullptr;
      return &r.valori[base + i];
    }
    base += campi_di(t).size();
  }
  return nullptr;
}

std::size_t campi_attesi(const RecordScript& r) {
  std::size_t n = 0;
  for (TipoRecord t : r.tipi) n += campi_di(t).size();
  return n;
}

}  // namespace scenario
