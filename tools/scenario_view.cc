#include "tools/scenario_view.h"

#include "output/record_fields.h"

namespace scenario {

namespace {

/// True when some number of the record is not zero.
bool ha_numeri(const Parametro& p) {
  for (const Campo<Parametro>& campo : kCampiParametro) {
    if (valore_numerico(campo, p).value_or(0) != 0) return true;
  }
  return false;
}

}  // namespace

bool parametro_vuoto(const Parametro& p) {
  return p.nome.empty() && !ha_numeri(p);
}

UsoVoce uso_voce(int e, const Parametro& p) {
  switch (e) {
    case 0:
      return UsoVoce::inutilizzata;
    case voce::progressiva_tre:
    case voce::progressiva_due:
    case voce::progressiva_uno:
      return UsoVoce::progressiva;
    case voce::treno:
      return UsoVoce::treno;
    case voce::percorso:
      return UsoVoce::percorso;
    case voce::ripetizione:
      return UsoVoce::numero_treno;
    default:
      break;
  }
  if (ha_numeri(p)) return UsoVoce::stazione;
  return p.nome.empty() ? UsoVoce::vuota : UsoVoce::cartello;
}

const char* nome_uso(UsoVoce uso) {
  switch (uso) {
    case UsoVoce::inutilizzata:
      return "unused";
    case UsoVoce::vuota:
      return "empty";
    case UsoVoce::stazione:
      return "station";
    case UsoVoce::cartello:
      return "sign board";
    case UsoVoce::progressiva:
      return "chainage";
    case UsoVoce::treno:
      return "train";
    case UsoVoce::percorso:
      return "route";
    case UsoVoce::numero_treno:
      return "train number";
  }
  return "";
}

std::vector<Stazione> stazioni_di(const Parametri& parametri) {
  std::vector<Stazione> out;
  for (int e = voce::prima_stazione; e <= voce::ultimo_cartello; ++e) {
    const Parametro& p = parametri[static_cast<std::size_t>(e)];
    if (uso_voce(e, p) != UsoVoce::stazione) continue;
    out.push_back({e, p.inizio, p.fine, p.posizione, p.nome, p.orario});
  }
  return out;
}

std::int32_t lunghezza_percorso(const Parametri& parametri) {
  return parametri[voce::treno].fine;
}

std::int64_t metri_elemento(std::size_t cella) {
  return (static_cast<std::int64_t>(cella) - 1) * kMetriCella;
}

std::int64_t inizio_cella(std::size_t cella) {
  return static_cast<std::int64_t>(cella) * kMetriCella;
}

std::int32_t velocita_kmh(const Cella& c) {
  return c.velocita * kKmhPassoVelocita;
}

std::int32_t pendenza_per_mille(const Cella& c) {
  return c.pendenza - kPendenzaPiana;
}

std::vector<Rallentamento> rallentamenti_di(const std::vector<Cella>& celle) {
  std::vector<Rallentamento> out;
  bool aperto = false;
  Rallentamento r{};
  for (std::size_t c = 0; c < celle.size(); ++c) {
    if (celle[c].tipo == tipo_cella::inizio_rallentamento) {
      r = {metri_elemento(c), 0, celle[c].dato1};
      aperto = true;
    } else if (celle[c].tipo == tipo_cella::fine_rallentamento && aperto) {
      r.a = metri_elemento(c);
      out.push_back(r);
      aperto = false;
    }
  }
  return out;
}

ConteggioElementi conta_elementi(const std::vector<Cella>& celle) {
  ConteggioElementi n;
  for (const Cella& c : celle) {
    n.segnali += c.tipo == tipo_cella::segnale;
    n.rallentamenti += c.tipo == tipo_cella::inizio_rallentamento;
    n.cartelli += c.tipo == tipo_cella::cartello;
    n.tabelle += c.tipo == tipo_cella::indicatori_v_max;
    n.codici += c.tipo == tipo_cella::codice || c.tipo == tipo_cella::codice_senza_valore;
  }
  return n;
}

}  // namespace scenario
