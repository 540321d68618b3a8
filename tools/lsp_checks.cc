#include "tools/lsp_checks.h"

#include <algorithm>
#include <tuple>

#include "base/file_names.h"
#include "compiler/error_codes.h"
#include "tools/lsp_uri.h"

namespace scenario {

namespace {

/// The error a train script shows when its line script cannot be read.
Problema linea_mancante(const std::string& uri_treno, const std::string& motivo) {
  Problema p;
  p.uri = uri_treno;
  p.codice = codice::script_linea_mancante;
  p.messaggio = std::string(significato_codice(p.codice)) + ": " + motivo;
  return p;
}

/// What tells two problems apart when the line script's are gathered.
auto chiave_problema(const Problema& p) {
  return std::tie(p.riga, p.colonna, p.colonna_fine, p.gravita, p.codice, p.nome, p.messaggio);
}

}  // namespace

std::vector<Pubblicazione> Verifiche::dopo_modifica(const std::string& uri) {
  const NomeScript n = riconosci_script(percorso_da_uri(uri));
  if (!n.tipo) return {};
  const Chiave chiave{n.cartella, n.nome_percorso};
  if (n.tipo == TipoScript::treno && gruppi_.count(chiave) != 0) {
    return verifica_coppia(chiave, uri);
  }
  return verifica_gruppo(chiave);
}

std::vector<Pubblicazione> Verifiche::dopo_chiusura(const std::string& uri) {
  const NomeScript n = riconosci_script(percorso_da_uri(uri));
  const Chiave chiave{n.cartella, n.nome_percorso};
  auto it = gruppi_.find(chiave);
  if (!n.tipo || it == gruppi_.end()) return {};
  for (const std::string& aperto : documenti_.aperti()) {
    const NomeScript altro = riconosci_script(percorso_da_uri(aperto));
    if (altro.tipo && Chiave{altro.cartella, altro.nome_percorso} == chiave) {
      return verifica_gruppo(chiave);
    }
  }
  std::vector<Pubblicazione> uscita;
  for (const std::string& mostrato : it->second.mostrati) uscita.push_back({mostrato, {}});
  gruppi_.erase(it);
  return uscita;
}

std::vector<Pubblicazione> Verifiche::verifica_gruppo(const Chiave& chiave) {
  Gruppo& gruppo = gruppi_[chiave];
  gruppo.problemi_linea.clear();
  std::vector<Pubblicazione> uscita;
  const std::string linea = uri_linea(chiave);
  std::string testo_linea, motivo;
  const std::vector<std::string> treni = uri_treni(chiave);
  if (!documenti_.testo(linea, &testo_linea, &motivo)) {
    for (const std::string& treno : treni) {
      if (documenti_.aperto(treno)) uscita.push_back({treno, {linea_mancante(treno, motivo)}});
    }
  } else {
    if (treni.empty()) verifica(gruppo, linea, testo_linea, "", &uscita);
    for (const std::string& treno : treni) verifica(gruppo, linea, testo_linea, treno, &uscita);
    uscita.push_back(problemi_linea(gruppo, linea));
  }
  chiudi_turno(gruppo, true, &uscita);
  return uscita;
}

std::vector<Pubblicazione> Verifiche::verifica_coppia(const Chiave& chiave,
                                                      const std::string& uri_treno) {
  Gruppo& gruppo = gruppi_[chiave];
  const std::string linea = uri_linea(chiave);
  std::string testo_linea, motivo;
  // Without its line script the whole group says so.
  if (!documenti_.testo(linea, &testo_linea, &motivo)) return verifica_gruppo(chiave);
  std::vector<Pubblicazione> uscita;
  gruppo.problemi_linea.erase("");
  verifica(gruppo, linea, testo_linea, uri_treno, &uscita);
  uscita.push_back(problemi_linea(gruppo, linea));
  chiudi_turno(gruppo, false, &uscita);
  return uscita;
}

void Verifiche::verifica(Gruppo& gruppo, const std::string& uri_linea,
                         const std::string& testo_linea, const std::string& uri_treno,
                         std::vector<Pubblicazione>* uscita) {
  std::string testo_treno, motivo;
  if (!uri_treno.empty() && !documenti_.testo(uri_treno, &testo_treno, &motivo)) {
    Problema p;
    p.uri = uri_treno;
    p.codice = codice::lettura_fallita;
    p.messaggio = std::string(significato_codice(p.codice)) + ": " + motivo;
    uscita->push_back({uri_treno, {p}});
    return;
  }
  std::vector<Problema>& della_linea = gruppo.problemi_linea[uri_treno];
  della_linea.clear();
  Pubblicazione del_treno{uri_treno, {}};
  for (Problema& p : analizzatore_.problemi(testo_linea, testo_treno, uri_linea, uri_treno)) {
    if (p.uri == uri_linea) {
      della_linea.push_back(std::move(p));
    } else if (!uri_treno.empty() && p.uri == uri_treno) {
      del_treno.problemi.push_back(std::move(p));
    }
  }
  if (!uri_treno.empty()) uscita->push_back(std::move(del_treno));
}

Pubblicazione Verifiche::problemi_linea(const Gruppo& gruppo, const std::string& uri_linea) const {
  Pubblicazione linea{uri_linea, {}};
  for (const auto& [treno, problemi] : gruppo.problemi_linea) {
    linea.problemi.insert(linea.problemi.end(), problemi.begin(), problemi.end());
  }
  // A fault of the line script is found again with every train script.
  auto prima = [](const Problema& a, const Problema& b) {
    return chiave_problema(a) < chiave_problema(b);
  };
  auto uguali = [](const Problema& a, const Problema& b) {
    return chiave_problema(a) == chiave_problema(b);
  };
  std::stable_sort(linea.problemi.begin(), linea.problemi.end(), prima);
  linea.problemi.erase(std::unique(linea.problemi.begin(), linea.problemi.end(), uguali),
                       linea.problemi.end());
  return linea;
}

std::string Verifiche::uri_linea(const Chiave& chiave) const {
  return documenti_.uri_di(percorso_in(chiave.first, nome_script_linea(chiave.second)));
}

std::vector<std::string> Verifiche::uri_treni(const Chiave& chiave) const {
  std::vector<std::string> uri;
  for (const std::string& nome : documenti_.file_in(chiave.first)) {
    const std::string percorso = percorso_in(chiave.first, nome);
    const NomeScript n = riconosci_script(percorso);
    if (n.tipo == TipoScript::treno && n.nome_percorso == chiave.second) {
      uri.push_back(documenti_.uri_di(percorso));
    }
  }
  return uri;
}

void Verifiche::chiudi_turno(Gruppo& gruppo, bool completo,
                             std::vector<Pubblicazione>* uscita) const {
  std::set<std::string> ora;
  for (const Pubblicazione& p : *uscita) ora.insert(p.uri);
  if (completo) {
    for (const std::string& mostrato : gruppo.mostrati) {
      if (ora.count(mostrato) == 0) uscita->push_back({mostrato, {}});
    }
    gruppo.mostrati = std::move(ora);
  } else {
    gruppo.mostrati.insert(ora.begin(), ora.end());
  }
}

}  // namespace scenario
