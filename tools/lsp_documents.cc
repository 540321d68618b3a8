#include "tools/lsp_documents.h"

#include <algorithm>
#include <string_view>

#include "tools/lsp_uri.h"

namespace scenario {

namespace {

constexpr std::string_view kFineLinea = "_linea.txt";
constexpr std::string_view kFineTreno = "-.txt";

bool finisce_con(std::string_view s, std::string_view fine) {
  return s.size() >= fine.size() && s.substr(s.size() - fine.size()) == fine;
}

}  // namespace

NomeScript riconosci_script(const std::string& percorso) {
  NomeScript n;
  const std::size_t barra = percorso.rfind('/');
  const std::string_view nome = barra == std::string::npos
                                    ? std::string_view(percorso)
                                    : std::string_view(percorso).substr(barra + 1);
  n.cartella = barra == std::string::npos ? "." : percorso.substr(0, barra);
  if (finisce_con(nome, kFineLinea) && nome.size() > kFineLinea.size()) {
    n.tipo = TipoScript::linea;
    n.nome_percorso = nome.substr(0, nome.size() - kFineLinea.size());
  } else if (finisce_con(nome, kFineTreno)) {
    const std::string_view radice = nome.substr(0, nome.size() - kFineTreno.size());
    const std::size_t trattino = radice.rfind('_');
    if (trattino != std::string_view::npos && trattino > 0 && trattino + 1 < radice.size()) {
      n.tipo = TipoScript::treno;
      n.nome_percorso = radice.substr(0, trattino);
      n.numero_treno = radice.substr(trattino + 1);
    }
  }
  return n;
}

void Documenti::imposta(const std::string& uri, std::string testo) {
  testi_[uri] = std::move(testo);
  const std::string percorso = percorso_da_uri(uri);
  if (!percorso.empty()) per_percorso_[percorso] = uri;
}

void Documenti::chiudi(const std::string& uri) {
  testi_.erase(uri);
  const std::string percorso = percorso_da_uri(uri);
  auto it = per_percorso_.find(percorso);
  if (it != per_percorso_.end() && it->second == uri) per_percorso_.erase(it);
}

const std::string* Documenti::aperto(const std::string& uri) const {
  auto it = testi_.find(uri);
  return it == testi_.end() ? nullptr : &it->second;
}

std::vector<std::string> Documenti::aperti() const {
  std::vector<std::string> uri;
  for (const auto& [u, testo] : testi_) uri.push_back(u);
  return uri;
}

bool Documenti::testo(const std::string& uri, std::string* out, std::string* err) const {
  if (const std::string* t = aperto(uri)) {
    *out = *t;
    return true;
  }
  const std::string percorso = percorso_da_uri(uri);
  if (percorso.empty()) {
    *err = uri + ": not open and not a file";
    return false;
  }
  // Checked first: reading a pipe or a device could wait for ever.
  if (fs_.KindOf(percorso) != FileSystem::PathKind::kFile) {
    *err = percorso + ": no such file, or not a regular file";
    return false;
  }
  return fs_.ReadFile(percorso, out, err);
}

std::string Documenti::uri_di(const std::string& percorso) const {
  auto it = per_percorso_.find(percorso);
  return it != per_percorso_.end() ? it->second : uri_da_percorso(percorso);
}

std::vector<std::string> Documenti::file_in(const std::string& cartella) const {
  std::vector<std::string> nomi;
  std::string err;
  // A folder that cannot be listed still has the editor's documents.
  fs_.ListFolder(cartella, &nomi, &err);
  for (const auto& [percorso, uri] : per_percorso_) {
    const NomeScript n = riconosci_script(percorso);
    if (n.cartella == cartella) nomi.push_back(percorso.substr(percorso.rfind('/') + 1));
  }
  std::sort(nomi.begin(), nomi.end());
  nomi.erase(std::unique(nomi.begin(), nomi.end()), nomi.end());
  return nomi;
}

}  // namespace scenario
