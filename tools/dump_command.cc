#include "tools/dump_command.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

#include "compiler/check_codes.h"
#include "compiler/output_bounds.h"
#include "output/record_fields.h"
#include "output/scenario_files.h"
#include "tools/json_output.h"
#include "tools/scenario_view.h"
#include "tools/text_encoding.h"
#include "tools/wording.h"

namespace scenario {

namespace {

/// The fields of a cell record that describe its element, and those that
/// give its profile (from `montagna` on).
constexpr std::size_t kNumeroCampiElemento = 7;
static_assert(std::string_view(kCampiCella[kNumeroCampiElemento].nome) == "montagna");
constexpr std::span<const Campo<Cella>> kCampiElemento(kCampiCella.data(), kNumeroCampiElemento);
constexpr std::span<const Campo<Cella>> kCampiProfilo(kCampiCella.data() + kNumeroCampiElemento,
                                                      kCampiCella.size() - kNumeroCampiElemento);

/// The identity of a scenario as a parameter file carries it.
struct Identita {
  std::string nome_percorso;
  std::string numero_treno;
};

/// A record text for the terminal: UTF-8, quoted, with quotes, backslashes
/// and control characters escaped.
std::string citato(const std::string& cp1252) {
  std::string s = "\"";
  for (char ch : utf8_da_cp1252(cp1252)) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      s += '\\';
      s += ch;
    } else if (c < 0x20 || c == 0x7F) {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02X", c);
      s += b;
    } else {
      s += ch;
    }
  }
  return s + "\"";
}

/// A record text for a listing that may repeat it, cell after cell:
/// `citato`, cut after `kCaratteriMostrati` characters and then marked with
/// an ellipsis and its length.
std::string citato_breve(const std::string& cp1252) {
  if (cp1252.size() <= kCaratteriMostrati) return citato(cp1252);
  return citato(cp1252.substr(0, kCaratteriMostrati)) + "\xe2\x80\xa6 (" +
         plurale(static_cast<std::int64_t>(cp1252.size()), "character", "characters") + ")";
}

std::string errore_decodifica(const std::string& file, const ErroreDecodifica& e) {
  return file + ": byte " + std::to_string(e.offset) + ": " + e.messaggio;
}

/// The numeric fields of `r` as " nome=valore" each, in table order.
template <typename Record>
std::string campi_testo(std::span<const Campo<Record>> campi, const Record& r) {
  std::string s;
  for (const Campo<Record>& campo : campi) {
    if (const auto v = valore_numerico(campo, r)) {
      s += ' ';
      s += campo.nome;
      s += '=';
      s += std::to_string(*v);
    }
  }
  return s;
}

/// Adds the numeric fields of `r` to JSON object `*j`, in table order.
template <typename Record>
void campi_json(std::span<const Campo<Record>> campi, const Record& r, Json* j) {
  for (const Campo<Record>& campo : campi) {
    if (const auto v = valore_numerico(campo, r)) (*j)[campo.nome] = *v;
  }
}

// ---------------------------------------------------------------- line file

/// A coordinate for the text dump: "-" when empty.
std::string coordinata_testo(const TabellaLinea& t, std::int32_t m, int c) {
  if (t.tipo(m, c) == TipoVariante::vuoto) return "-";
  return testo_doppio(t.valore(m, c));
}

/// A coordinate for JSON: an integer or a double as the file holds it,
/// null when empty or not a finite number.
Json coordinata_json(const TabellaLinea& t, std::int32_t m, int c) {
  const double v = t.valore(m, c);
  switch (t.tipo(m, c)) {
    case TipoVariante::vuoto:
      return nullptr;
    case TipoVariante::intero:
      return static_cast<std::int64_t>(v);
    case TipoVariante::doppio:
      break;
  }
  return std::isfinite(v) ? Json(v) : Json(nullptr);
}

int stampa_linea(const std::string& file, const TabellaLinea& t, long passo, bool json,
                 std::ostream& out) {
  const std::int32_t ultima = t.ultima_riga();
  std::int64_t vuoti = 0, interi = 0, doppi = 0;
  for (int c = 0; c < 2; ++c) {
    for (std::int32_t m = 0; m <= ultima; ++m) {
      const TipoVariante tipo = t.tipo(m, c);
      (tipo == TipoVariante::vuoto ? vuoti : tipo == TipoVariante::intero ? interi : doppi) += 1;
    }
  }
  // Every `passo`-th metre, and the last also when the step jumps over it.
  std::vector<std::int32_t> metri;
  for (std::int64_t m = 0; m <= ultima; m += passo) metri.push_back(static_cast<std::int32_t>(m));
  if (!metri.empty() && metri.back() != ultima) metri.push_back(ultima);

  if (json) {
    Json j = {{"file", "line"},
              {"name", json_testo(file)},
              {"metres", static_cast<std::int64_t>(ultima) + 1},
              {"step", passo},
              {"empty", vuoti},
              {"integer", interi},
              {"double", doppi},
              {"points", Json::array()}};
    for (std::int32_t m : metri) {
      j["points"].push_back({m, coordinata_json(t, m, 0), coordinata_json(t, m, 1)});
    }
    out << testo_json(j) << "\n";
    return 0;
  }
  out << "line file " << file << ": metres 0 to " << ultima << ", " << interi << " integer, "
      << doppi << " double and " << vuoti << " empty elements\n"
      << "metre x y\n";
  for (std::int32_t m : metri) {
    out << m << " " << coordinata_testo(t, m, 0) << " " << coordinata_testo(t, m, 1) << "\n";
  }
  return 0;
}

// ----------------------------------------------------------- parameter file

int stampa_parametri(const std::string& file, std::size_t dimensione, const Parametri& parametri,
                     bool json, std::ostream& out) {
  const Parametro& percorso = parametri[voce::percorso];
  const Parametro& ripetizione = parametri[voce::ripetizione];
  const std::int32_t calcolato = codice_gara_st(percorso.nome, ripetizione.nome);
  const bool uguale = calcolato == percorso.orario;
  if (json) {
    Json j = {{"file", "parameters"},
              {"name", json_testo(file)},
              {"bytes", dimensione},
              {"entries", Json::array()}};
    for (int e = 0; e < voce::numero_voci; ++e) {
      const Parametro& p = parametri[static_cast<std::size_t>(e)];
      Json voce = {{"entry", e}, {"role", nome_uso(uso_voce(e, p))}, {"nome", json_record(p.nome)}};
      campi_json<Parametro>(kCampiParametro, p, &voce);
      j["entries"].push_back(std::move(voce));
    }
    j["check"] = {
        {"code", "st"}, {"stored", percorso.orario}, {"computed", calcolato}, {"match", uguale}};
    out << testo_json(j) << "\n";
    return uguale ? 0 : 1;
  }
  out << "parameter file " << file << ": " << voce::numero_voci << " entries, " << dimensione
      << " bytes\n";
  for (int e = 0; e < voce::numero_voci; ++e) {
    const Parametro& p = parametri[static_cast<std::size_t>(e)];
    out << "entry " << e;
    if (parametro_vuoto(p)) {
      out << ": empty\n";
      continue;
    }
    out << " (" << nome_uso(uso_voce(e, p)) << "): nome=" << citato(p.nome)
        << campi_testo<Parametro>(kCampiParametro, p);
    const std::string ora = orario(p.orario);
    if (e >= voce::prima_stazione && e <= voce::ultimo_cartello && !ora.empty()) {
      out << " (" << ora << ")";
    }
    out << "\n";
  }
  out << "check code st: entry " << voce::percorso << " orario=" << percorso.orario << ", computed "
      << calcolato << " from train " << citato(ripetizione.nome) << " and route "
      << citato(percorso.nome) << ": " << (uguale ? "match" : "MISMATCH") << "\n";
  return uguale ? 0 : 1;
}

// ---------------------------------------------------------------- cell file

/// True when a cell holds an element or a marker.
bool contiene_qualcosa(const Cella& c) {
  for (const Campo<Cella>& campo : kCampiElemento) {
    if (valore_numerico(campo, c).value_or(0) != 0) return true;
  }
  return false;
}

/// True when two cells hold the same profile values.
bool stesso_profilo(const Cella& a, const Cella& b) {
  for (const Campo<Cella>& campo : kCampiProfilo) {
    if (valore_numerico(campo, a) != valore_numerico(campo, b)) return false;
  }
  return true;
}

std::string nome_di(std::uint8_t tipo) {
  if (tipo == tipo_cella::vuota) return "none";
  const char* n = nome_elemento(tipo);
  return *n ? n : "unknown element " + std::to_string(tipo);
}

/// The text or station a cell refers to, when the parameter file is known.
std::string riferimento(const Cella& c, const Parametri* parametri) {
  if (!parametri || c.dato1 < voce::prima_stazione || c.dato1 > voce::ultimo_cartello) return "";
  const Parametro& p = (*parametri)[static_cast<std::size_t>(c.dato1)];
  if (c.tipo == tipo_cella::cartello) return " text " + citato_breve(p.nome);
  if (c.tipo == tipo_cella::fine_stazione) return " station " + citato_breve(p.nome);
  return "";
}

/// What the cell file is checked against: the parameter file beside it.
struct Confronto {
  std::optional<Identita> identita;
  std::string nome_sim;
  std::string nota;  ///< why there is no identity
  const Parametri* parametri = nullptr;
};

/// Check code og: stored in cell 1, expected from the identity.
struct CodiceOg {
  std::optional<std::int16_t> memorizzato;  ///< nothing without a cell 1
  std::optional<std::int16_t> atteso;       ///< nothing without an identity
  /// True when both are known.
  bool confrontato() const { return memorizzato && atteso; }
  bool uguale() const { return confrontato() && *memorizzato == *atteso; }
};

void stampa_celle_json(const std::string& file, const std::vector<Cella>& celle,
                       const Confronto& con, const CodiceOg& og, std::ostream& out) {
  auto o_null = [](const auto& v) { return v ? Json(*v) : Json(nullptr); };
  Json j = {{"file", "cells"}, {"name", json_testo(file)}, {"cells", celle.size()}};
  j["check"] = {{"code", "og"},
                {"stored", o_null(og.memorizzato)},
                {"expected", o_null(og.atteso)},
                {"identity_from", con.identita ? json_testo(con.nome_sim) : Json(nullptr)},
                {"match", og.confrontato() ? Json(og.uguale()) : Json(nullptr)}};
  j["elements"] = Json::array();
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const Cella& c = celle[i];
    if (!contiene_qualcosa(c)) continue;
    Json elemento = {{"cell", i},
                     {"metres", metri_elemento(i)},
                     {"element", c.tipo ? Json(nome_di(c.tipo)) : Json(nullptr)}};
    campi_json(kCampiElemento, c, &elemento);
    j["elements"].push_back(std::move(elemento));
  }
  j["profile"] = Json::array();
  for (std::size_t i = 0; i < celle.size(); ++i) {
    if (i > 0 && stesso_profilo(celle[i], celle[i - 1])) continue;
    Json profilo = {{"cell", i}};
    campi_json(kCampiProfilo, celle[i], &profilo);
    j["profile"].push_back(std::move(profilo));
  }
  out << testo_json(j) << "\n";
}

void stampa_celle_testo(const std::string& file, const std::vector<Cella>& celle,
                        const Confronto& con, const CodiceOg& og, std::ostream& out) {
  out << "cell file " << file << ": cells 0 to " << celle.size() - 1 << ", "
      << celle.size() * kDimensioneCella << " bytes\n";
  out << "check code og: ";
  if (!og.memorizzato) {
    out << "the file has no cell 1\n";
  } else if (!og.atteso) {
    out << "cell 1 dato2=" << *og.memorizzato << "; " << con.nota << "\n";
  } else {
    out << "cell 1 dato2=" << *og.memorizzato << ", expected " << *og.atteso << " for train "
        << citato(con.identita->numero_treno) << " and route "
        << citato(con.identita->nome_percorso) << " (from " << con.nome_sim
        << "): " << (og.uguale() ? "match" : "MISMATCH") << "\n";
  }
  out << "cells holding an element or marker (position = (cell - 1) x " << kMetriCella << " m):\n";
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const Cella& c = celle[i];
    if (!contiene_qualcosa(c)) continue;
    out << "cell " << i << " at " << metri_elemento(i) << " m: " << nome_di(c.tipo)
        << campi_testo(kCampiElemento, c) << riferimento(c, con.parametri)
        << (i == 1 ? " (route marker and check code og)" : "") << "\n";
  }
  out << "profile, from each cell where it changes:\n";
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const Cella& c = celle[i];
    if (i > 0 && stesso_profilo(c, celle[i - 1])) continue;
    out << "cell " << i << ": speed " << velocita_kmh(c) << " km/h (velocita=" << +c.velocita
        << "), gradient " << pendenza_per_mille(c) << " per mille (pendenza=" << +c.pendenza
        << "), aderenza=" << +c.aderenza << ", montagna=" << +c.montagna << "\n";
  }
}

/// Prints the cell file; 1 when check code og does not match.
int stampa_celle(const std::string& file, const std::vector<Cella>& celle, const Confronto& con,
                 bool json, std::ostream& out) {
  CodiceOg og;
  if (celle.size() > 1) og.memorizzato = celle[1].dato2;
  if (con.identita) {
    og.atteso = codice_gara_og(con.identita->nome_percorso, con.identita->numero_treno);
  }
  if (json) {
    stampa_celle_json(file, celle, con, og, out);
  } else {
    stampa_celle_testo(file, celle, con, og, out);
  }
  return og.confrontato() && !og.uguale() ? 1 : 0;
}

/// What a cell file is checked against: the parameter file beside it
/// (the same name, ".sim" for ".dat"), when there is one that decodes.
/// `*parametri` keeps its entries.
Confronto confronto_accanto(FileSystem& fs, const std::string& file_celle, Parametri* parametri) {
  Confronto con;
  con.nome_sim = file_celle.substr(0, file_celle.size() - 4) + ".sim";
  con.nota = "no parameter file " + con.nome_sim + " to check it against";
  std::string bytes, motivo;
  if (fs.KindOf(con.nome_sim) == FileSystem::PathKind::kMissing) return con;
  if (!leggi_file_compilato(fs, con.nome_sim, TipoFile::parametri, &bytes, &motivo)) {
    con.nota = "not checked: " + motivo;
    return con;
  }
  ErroreDecodifica errore;
  if (!decodifica_parametri(bytes, parametri, &errore)) {
    con.nota = "not checked: " + errore_decodifica(con.nome_sim, errore);
    return con;
  }
  con.identita = Identita{(*parametri)[voce::percorso].nome, (*parametri)[voce::ripetizione].nome};
  con.parametri = parametri;
  return con;
}

}  // namespace

int comando_dump(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err) {
  const std::string& file = riga.operandi[0];
  const TipoFile tipo = tipo_da_nome(file);
  if (tipo == TipoFile::sconosciuto) {
    err << "scenario_tool dump: cannot tell what " << file
        << " is: expected a name ending in \"_linea.dat\", \".sim\" or \".dat\"\n";
    return 2;
  }
  std::string bytes, motivo;
  if (!leggi_file_compilato(fs, file, tipo, &bytes, &motivo)) {
    err << "scenario_tool dump: " << motivo << "\n";
    return 2;
  }
  ErroreDecodifica errore;
  switch (tipo) {
    case TipoFile::linea: {
      TabellaLinea linea;
      if (!decodifica_linea(bytes, &linea, &errore) || !linea_ammessa(linea, &errore)) break;
      return stampa_linea(file, linea, riga.passo, riga.json, out);
    }
    case TipoFile::parametri: {
      Parametri parametri;
      if (!decodifica_parametri(bytes, &parametri, &errore)) break;
      return stampa_parametri(file, bytes.size(), parametri, riga.json, out);
    }
    case TipoFile::celle: {
      std::vector<Cella> celle;
      if (!decodifica_celle(bytes, &celle, &errore) || !celle_ammesse(celle, &errore)) break;
      Parametri parametri;
      return stampa_celle(file, celle, confronto_accanto(fs, file, &parametri), riga.json, out);
    }
    case TipoFile::sconosciuto:
      break;
  }
  err << "scenario_tool dump: " << errore_decodifica(file, errore) << "\n";
  return 2;
}

}  // namespace scenario
