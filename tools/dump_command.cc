#include "tools/dump_command.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "base/file_system.h"
#include "tools/command_line.h"
#include "tools/dump.h"
#include "tools/text_encoding.h"

namespace scenario {

const char* const kUsoDump =
    "usage: scenario_tool dump [--json] [--step N] FILE\n"
    "\n"
    "Decodes a compiled scenario file, told by its name:\n"
    "  ROUTE_linea.dat   line file: metre, x, y for every metre (or every N)\n"
    "  ROUTE_TRAIN.sim   parameter file: the 87 entries, every field named;\n"
    "                    check code st recomputed from entries 85 and 86\n"
    "  ROUTE_TRAIN.dat   cell file: every cell holding an element or marker,\n"
    "                    the speed, gradient and adhesion profile where it\n"
    "                    changes; check code og in cell 1 compared with the\n"
    "                    identity in ROUTE_TRAIN.sim beside it, when there is one\n"
    "\n"
    "options:\n"
    "  --json      print JSON instead of text\n"
    "  --step N    line file: print every N-th metre (and the last)\n"
    "  --help      show this text\n"
    "\n"
    "exit status: 0 decoded, 1 a check code does not match, 2 wrong usage,\n"
    "a file that cannot be read, or a malformed file.\n";

namespace {

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

/// A record text as a JSON string.
std::string json_testo(const std::string& cp1252) {
  return json_stringa(utf8_da_cp1252(cp1252));
}

std::string errore_decodifica(const std::string& file, const ErroreDecodifica& e) {
  return file + ": byte " + std::to_string(e.offset) + ": " + e.messaggio;
}

// ---------------------------------------------------------------- line file

std::string coordinata(const TabellaLinea& t, std::int32_t m, int c, bool json) {
  const TipoVariante tipo = t.tipo(m, c);
  if (tipo == TipoVariante::vuoto) return json ? "null" : "-";
  const double v = t.valore(m, c);
  if (json && !std::isfinite(v)) return "null";
  return testo_doppio(v);
}

int stampa_linea(const std::string& file, const TabellaLinea& t, long passo, bool json,
                 std::ostream& out) {
  const std::int32_t ultima = t.ultima_riga();
  std::size_t conti[3] = {0, 0, 0};
  for (int c = 0; c < 2; ++c) {
    for (std::int32_t m = 0; m <= ultima; ++m) {
      const TipoVariante tipo = t.tipo(m, c);
      conti[tipo == TipoVariante::vuoto ? 0 : tipo == TipoVariante::intero ? 1 : 2] += 1;
    }
  }
  if (json) {
    out << "{\"file\": \"line\", \"name\": " << json_stringa(file)
        << ", \"metres\": " << (static_cast<std::int64_t>(ultima) + 1) << ", \"step\": " << passo
        << ", \"empty\": " << conti[0] << ", \"integer\": " << conti[1]
        << ", \"double\": " << conti[2] << ", \"points\": [";
  } else {
    out << "line file " << file << ": metres 0 to " << ultima << ", " << conti[1] << " integer, "
        << conti[2] << " double and " << conti[0] << " empty elements\n"
        << "metre x y\n";
  }
  bool primo = true;
  for (std::int64_t m = 0; m <= ultima; m += passo) {
    // The last metre is always shown, also when the step jumps over it.
    const auto metro = static_cast<std::int32_t>(m);
    auto stampa = [&](std::int32_t r) {
      if (json) {
        out << (primo ? "" : ", ") << "[" << r << ", " << coordinata(t, r, 0, true) << ", "
            << coordinata(t, r, 1, true) << "]";
      } else {
        out << r << " " << coordinata(t, r, 0, false) << " " << coordinata(t, r, 1, false) << "\n";
      }
      primo = false;
    };
    stampa(metro);
    if (m + passo > ultima && metro != ultima) stampa(ultima);
  }
  if (json) out << "]}\n";
  return 0;
}

// ----------------------------------------------------------- parameter file

struct Campo {
  const char* nome;
  std::int64_t valore;
};

std::vector<Campo> campi_numerici(const Parametro& p) {
  return {{"tipo", p.tipo},           {"inizio", p.inizio},   {"fine", p.fine},
          {"posizione", p.posizione}, {"opzione", p.opzione}, {"valore1", p.valore1},
          {"valore2", p.valore2},     {"valore3", p.valore3}, {"valore4", p.valore4},
          {"valore5", p.valore5},     {"flag1", p.flag1},     {"flag2", p.flag2},
          {"flag3", p.flag3},         {"flag4", p.flag4},     {"orario", p.orario}};
}

bool vuoto(const Parametro& p) {
  if (!p.nome.empty()) return false;
  for (const Campo& c : campi_numerici(p)) {
    if (c.valore != 0) return false;
  }
  return true;
}

/// What entry `e` is used for. Entries 1 to 80 hold stations from the
/// bottom and sign-board texts from the top; a board entry carries its text
/// and nothing else.
const char* ruolo(int e, const Parametro& p) {
  switch (e) {
    case 0:
      return "unused";
    case voce::progressiva_tre:
    case voce::progressiva_due:
    case voce::progressiva_uno:
      return "chainage";
    case voce::treno:
      return "train";
    case voce::percorso:
      return "route";
    case voce::ripetizione:
      return "train number";
    default:
      break;
  }
  if (vuoto(p)) return "empty";
  bool cartello = true;
  for (const Campo& c : campi_numerici(p)) cartello = cartello && c.valore == 0;
  return cartello ? "sign board" : "station";
}

std::string orario(std::int32_t secondi) {
  if (secondi < 0) return "";
  char b[32];
  std::snprintf(b, sizeof b, " (%02d:%02d:%02d)", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

int stampa_parametri(const std::string& file, std::size_t dimensione,
                     const std::array<Parametro, voce::numero_voci>& parametri, bool json,
                     std::ostream& out) {
  const Parametro& percorso = parametri[voce::percorso];
  const Parametro& ripetizione = parametri[voce::ripetizione];
  const std::int32_t calcolato = st_atteso(percorso.nome, ripetizione.nome);
  const bool uguale = calcolato == percorso.orario;
  if (json) {
    out << "{\"file\": \"parameters\", \"name\": " << json_stringa(file)
        << ", \"bytes\": " << dimensione << ", \"entries\": [";
    for (int e = 0; e < voce::numero_voci; ++e) {
      const Parametro& p = parametri[static_cast<std::size_t>(e)];
      out << (e ? ", " : "") << "{\"entry\": " << e << ", \"role\": \"" << ruolo(e, p)
          << "\", \"nome\": " << json_testo(p.nome);
      for (const Campo& c : campi_numerici(p)) out << ", \"" << c.nome << "\": " << c.valore;
      out << "}";
    }
    out << "], \"check\": {\"code\": \"st\", \"stored\": " << percorso.orario
        << ", \"computed\": " << calcolato << ", \"match\": " << (uguale ? "true" : "false")
        << "}}\n";
  } else {
    out << "parameter file " << file << ": 87 entries, " << dimensione << " bytes\n";
    for (int e = 0; e < voce::numero_voci; ++e) {
      const Parametro& p = parametri[static_cast<std::size_t>(e)];
      out << "entry " << e;
      if (vuoto(p)) {
        out << ": empty\n";
        continue;
      }
      out << " (" << ruolo(e, p) << "): nome=" << citato(p.nome);
      for (const Campo& c : campi_numerici(p)) out << " " << c.nome << "=" << c.valore;
      if (e >= 1 && e <= voce::ultimo_cartello && p.orario != 0) out << orario(p.orario);
      out << "\n";
    }
    out << "check code st: entry 85 orario=" << percorso.orario << ", computed " << calcolato
        << " from train " << citato(ripetizione.nome) << " and route " << citato(percorso.nome)
        << ": " << (uguale ? "match" : "MISMATCH") << "\n";
  }
  return uguale ? 0 : 1;
}

// ---------------------------------------------------------------- cell file

bool contiene_qualcosa(const Cella& c) {
  return c.tipo != 0 || c.dato1 != 0 || c.dato2 != 0 || c.dato3 != 0 || c.dato4 != 0 ||
         c.tempo != 0 || c.avvicinamento != 0;
}

std::string nome_di(std::uint8_t tipo) {
  if (tipo == 0) return "none";
  const char* n = nome_elemento(tipo);
  return *n ? n : "unknown element " + std::to_string(tipo);
}

/// The text or station a cell refers to, when the parameter file is known.
std::string riferimento(const Cella& c, const std::array<Parametro, voce::numero_voci>* parametri) {
  if (!parametri || c.dato1 < 1 || c.dato1 > voce::ultimo_cartello) return "";
  const Parametro& p = (*parametri)[static_cast<std::size_t>(c.dato1)];
  if (c.tipo == tipo_cella::cartello) return " text " + citato(p.nome);
  if (c.tipo == tipo_cella::fine_stazione) return " station " + citato(p.nome);
  return "";
}

/// The profile values of a cell, to see where they change.
bool stesso_profilo(const Cella& a, const Cella& b) {
  return a.velocita == b.velocita && a.pendenza == b.pendenza && a.aderenza == b.aderenza &&
         a.montagna == b.montagna;
}

int stampa_celle(const std::string& file, const std::vector<Cella>& celle,
                 const std::optional<Identita>& identita, const std::string& nome_sim,
                 const std::string& nota_sim,
                 const std::array<Parametro, voce::numero_voci>* parametri, bool json,
                 std::ostream& out) {
  const bool con_cella_1 = celle.size() > 1;
  const std::int16_t memorizzato = con_cella_1 ? celle[1].dato2 : 0;
  std::optional<std::int16_t> atteso;
  if (identita) atteso = og_atteso(identita->nome_percorso, identita->numero_treno);
  const bool confronto = con_cella_1 && atteso.has_value();
  const bool uguale = confronto && *atteso == memorizzato;

  if (json) {
    out << "{\"file\": \"cells\", \"name\": " << json_stringa(file)
        << ", \"cells\": " << celle.size() << ", \"check\": {\"code\": \"og\", \"stored\": "
        << (con_cella_1 ? std::to_string(memorizzato) : "null")
        << ", \"expected\": " << (atteso ? std::to_string(*atteso) : "null")
        << ", \"identity_from\": " << (identita ? json_stringa(nome_sim) : "null")
        << ", \"match\": " << (confronto ? (uguale ? "true" : "false") : "null")
        << "}, \"elements\": [";
    bool primo = true;
    for (std::size_t i = 0; i < celle.size(); ++i) {
      const Cella& c = celle[i];
      if (!contiene_qualcosa(c)) continue;
      out << (primo ? "" : ", ") << "{\"cell\": " << i
          << ", \"metres\": " << (static_cast<std::int64_t>(i) - 1) * 50
          << ", \"element\": " << (c.tipo ? json_stringa(nome_di(c.tipo)) : "null")
          << ", \"tipo\": " << +c.tipo << ", \"dato1\": " << c.dato1 << ", \"dato2\": " << c.dato2
          << ", \"dato3\": " << c.dato3 << ", \"dato4\": " << c.dato4 << ", \"tempo\": " << +c.tempo
          << ", \"avvicinamento\": " << +c.avvicinamento << "}";
      primo = false;
    }
    out << "], \"profile\": [";
    for (std::size_t i = 0; i < celle.size(); ++i) {
      const Cella& c = celle[i];
      if (i > 0 && stesso_profilo(c, celle[i - 1])) continue;
      out << (i ? ", " : "") << "{\"cell\": " << i << ", \"velocita\": " << +c.velocita
          << ", \"pendenza\": " << +c.pendenza << ", \"aderenza\": " << +c.aderenza
          << ", \"montagna\": " << +c.montagna << "}";
    }
    out << "]}\n";
  } else {
    out << "cell file " << file << ": cells 0 to " << celle.size() - 1 << ", " << celle.size() * 15
        << " bytes\n";
    out << "check code og: ";
    if (!con_cella_1) {
      out << "the file has no cell 1\n";
    } else if (!identita) {
      out << "cell 1 dato2=" << memorizzato << "; " << nota_sim << "\n";
    } else {
      out << "cell 1 dato2=" << memorizzato << ", expected " << *atteso << " for train "
          << citato(identita->numero_treno) << " and route " << citato(identita->nome_percorso)
          << " (from " << nome_sim << "): " << (uguale ? "match" : "MISMATCH") << "\n";
    }
    out << "cells holding an element or marker (position = (cell - 1) x 50 m):\n";
    for (std::size_t i = 0; i < celle.size(); ++i) {
      const Cella& c = celle[i];
      if (!contiene_qualcosa(c)) continue;
      out << "cell " << i << " at " << (static_cast<std::int64_t>(i) - 1) * 50
          << " m: " << nome_di(c.tipo) << " tipo=" << +c.tipo << " dato1=" << c.dato1
          << " dato2=" << c.dato2 << " dato3=" << c.dato3 << " dato4=" << c.dato4
          << " tempo=" << +c.tempo << " avvicinamento=" << +c.avvicinamento
          << riferimento(c, parametri) << (i == 1 ? " (route marker and check code og)" : "")
          << "\n";
    }
    out << "profile, from each cell where it changes:\n";
    for (std::size_t i = 0; i < celle.size(); ++i) {
      const Cella& c = celle[i];
      if (i > 0 && stesso_profilo(c, celle[i - 1])) continue;
      out << "cell " << i << ": speed " << c.velocita * 5 << " km/h (velocita=" << +c.velocita
          << "), gradient " << c.pendenza - 100 << " per mille (pendenza=" << +c.pendenza
          << "), aderenza=" << +c.aderenza << ", montagna=" << +c.montagna << "\n";
    }
  }
  return confronto && !uguale ? 1 : 0;
}

/// The parameter file of the same scenario beside a cell file.
std::string accanto(const std::string& file_celle) {
  return file_celle.substr(0, file_celle.size() - 4) + ".sim";
}

}  // namespace

int comando_dump(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  RigaComando riga;
  std::string motivo;
  if (!analizza_riga(argomenti, {{"--json", false}, {"--step", true}}, &riga, &motivo)) {
    err << "scenario_tool dump: " << motivo << "\n" << kUsoDump;
    return 2;
  }
  if (riga.aiuto) {
    out << kUsoDump;
    return 0;
  }
  if (riga.operandi.size() != 1) {
    err << "scenario_tool dump: expected one FILE, got " << riga.operandi.size() << " operands\n"
        << kUsoDump;
    return 2;
  }
  long passo = 1;
  if (riga.ha("--step") &&
      !intero_positivo("--step", riga.opzioni["--step"], 100000000L, &passo, &motivo)) {
    err << "scenario_tool dump: " << motivo << "\n";
    return 2;
  }
  const std::string& file = riga.operandi[0];
  const TipoFile tipo = tipo_da_nome(file);
  if (tipo == TipoFile::sconosciuto) {
    err << "scenario_tool dump: cannot tell what " << file
        << " is: expected a name ending in \"_linea.dat\", \".sim\" or \".dat\"\n";
    return 2;
  }
  RealFileSystem fs;
  std::string bytes;
  if (!fs.IsRegularFile(file) || !fs.ReadFile(file, &bytes, &motivo)) {
    err << "scenario_tool dump: cannot read " << file << "\n";
    return 2;
  }
  const bool json = riga.ha("--json");
  ErroreDecodifica errore;
  switch (tipo) {
    case TipoFile::linea: {
      TabellaLinea linea;
      if (!decodifica_linea(bytes, &linea, &errore)) break;
      return stampa_linea(file, linea, passo, json, out);
    }
    case TipoFile::parametri: {
      std::array<Parametro, voce::numero_voci> parametri;
      if (!decodifica_parametri(bytes, &parametri, &errore)) break;
      return stampa_parametri(file, bytes.size(), parametri, json, out);
    }
    case TipoFile::celle: {
      std::vector<Cella> celle;
      if (!decodifica_celle(bytes, &celle, &errore)) break;
      // The identity to check code og against comes from the parameter file.
      const std::string sim = accanto(file);
      std::optional<Identita> identita;
      std::array<Parametro, voce::numero_voci> parametri;
      std::string nota = "no parameter file " + sim + " to check it against";
      std::string testo_sim;
      if (fs.IsRegularFile(sim) && fs.ReadFile(sim, &testo_sim, &motivo)) {
        ErroreDecodifica errore_sim;
        if (decodifica_parametri(testo_sim, &parametri, &errore_sim)) {
          identita = Identita{parametri[voce::percorso].nome, parametri[voce::ripetizione].nome};
        } else {
          nota = "not checked: " + errore_decodifica(sim, errore_sim);
        }
      }
      return stampa_celle(file, celle, identita, sim, nota, identita ? &parametri : nullptr, json,
                          out);
    }
    case TipoFile::sconosciuto:
      break;
  }
  err << "scenario_tool dump: " << errore_decodifica(file, errore) << "\n";
  return 2;
}

}  // namespace scenario
