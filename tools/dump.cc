#include "tools/dump.h"

#include <cstring>

#include "compiler/check_codes.h"
#include "output/scenario_files.h"

namespace scenario {

namespace {

/// Reads little-endian fields from a byte string, never past its end.
class Lettore {
 public:
  explicit Lettore(std::string_view bytes) : bytes_(bytes) {}

  std::size_t posizione() const { return pos_; }
  std::size_t restanti() const { return bytes_.size() - pos_; }
  bool fine() const { return pos_ == bytes_.size(); }

  bool u8(std::uint8_t* v) {
    if (restanti() < 1) return false;
    *v = static_cast<std::uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool u16(std::uint16_t* v) {
    if (restanti() < 2) return false;
    *v = static_cast<std::uint16_t>(byte(0) | byte(1) << 8);
    pos_ += 2;
    return true;
  }
  bool i16(std::int16_t* v) {
    std::uint16_t u;
    if (!u16(&u)) return false;
    *v = static_cast<std::int16_t>(u);
    return true;
  }
  bool i32(std::int32_t* v) {
    if (restanti() < 4) return false;
    std::uint32_t u = 0;
    for (int k = 3; k >= 0; --k) u = u << 8 | byte(static_cast<std::size_t>(k));
    *v = static_cast<std::int32_t>(u);
    pos_ += 4;
    return true;
  }
  bool f64(double* v) {
    if (restanti() < 8) return false;
    std::uint64_t u = 0;
    for (int k = 7; k >= 0; --k) u = u << 8 | byte(static_cast<std::size_t>(k));
    std::memcpy(v, &u, sizeof u);
    pos_ += 8;
    return true;
  }
  bool salta(std::size_t n) {
    if (restanti() < n) return false;
    pos_ += n;
    return true;
  }
  bool testo(std::uint16_t n, std::string* v) {
    if (restanti() < n) return false;
    v->assign(bytes_.substr(pos_, n));
    pos_ += n;
    return true;
  }

 private:
  std::uint32_t byte(std::size_t k) const { return static_cast<std::uint8_t>(bytes_[pos_ + k]); }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

bool fallisci(ErroreDecodifica* err, std::size_t offset, std::string messaggio) {
  err->offset = offset;
  err->messaggio = std::move(messaggio);
  return false;
}

/// The message for a field that runs past the end of the file.
std::string troncato(const std::string& cosa, const char* campo, std::size_t larghezza,
                     std::size_t restanti) {
  return "truncated " + cosa + ": field " + campo + " needs " + std::to_string(larghezza) +
         (larghezza == 1 ? " byte, " : " bytes, ") + std::to_string(restanti) + " left";
}

/// Value bytes that follow a line-file tag; -1 for an unknown tag.
int byte_valore(std::uint16_t tag) {
  switch (tag) {
    case static_cast<std::uint16_t>(TipoVariante::vuoto):
      return 0;
    case static_cast<std::uint16_t>(TipoVariante::intero):
      return 2;
    case static_cast<std::uint16_t>(TipoVariante::doppio):
      return 8;
    default:
      return -1;
  }
}

}  // namespace

TipoFile tipo_da_nome(const std::string& nome) {
  auto finisce = [&nome](std::string_view coda) {
    return nome.size() >= coda.size() &&
           nome.compare(nome.size() - coda.size(), coda.size(), coda.data(), coda.size()) == 0;
  };
  if (finisce("_linea.dat")) return TipoFile::linea;
  if (finisce(".sim")) return TipoFile::parametri;
  if (finisce(".dat")) return TipoFile::celle;
  return TipoFile::sconosciuto;
}

bool decodifica_linea(std::string_view bytes, TabellaLinea* linea, ErroreDecodifica* err) {
  if (bytes.empty()) return fallisci(err, 0, "empty line file");
  // First walk: check every tag and count the elements, so that the table
  // is dimensioned once and never beyond what the file holds.
  std::size_t elementi = 0;
  {
    Lettore in(bytes);
    while (!in.fine()) {
      const std::size_t offset = in.posizione();
      std::uint16_t tag;
      if (!in.u16(&tag)) {
        return fallisci(
            err, offset,
            "truncated element " + std::to_string(elementi) + ": only 1 of the 2 bytes of its tag");
      }
      const int n = byte_valore(tag);
      if (n < 0) {
        return fallisci(err, offset,
                        "element " + std::to_string(elementi) + " has unknown tag " +
                            std::to_string(tag) + " (expected 0, 2 or 5)");
      }
      if (in.restanti() < static_cast<std::size_t>(n)) {
        return fallisci(err, offset,
                        "truncated element " + std::to_string(elementi) + ": tag " +
                            std::to_string(tag) + " needs " + std::to_string(n) + " value bytes, " +
                            std::to_string(in.restanti()) + " left");
      }
      in.salta(static_cast<std::size_t>(n));
      ++elementi;
    }
  }
  if (elementi % 2 != 0) {
    return fallisci(err, bytes.size(),
                    "odd number of elements (" + std::to_string(elementi) +
                        "): the two coordinates must cover the same metres");
  }
  const std::size_t righe = elementi / 2;
  if (righe - 1 > static_cast<std::size_t>(INT32_MAX)) {
    return fallisci(err, 0, "too many elements for one route");
  }
  linea->dimensiona(static_cast<std::int32_t>(righe - 1));
  Lettore in(bytes);
  for (std::size_t e = 0; e < elementi; ++e) {
    const int colonna = e < righe ? 0 : 1;
    const auto metro = static_cast<std::int32_t>(e < righe ? e : e - righe);
    std::uint16_t tag = 0;
    in.u16(&tag);
    if (tag == static_cast<std::uint16_t>(TipoVariante::intero)) {
      std::int16_t v = 0;
      in.i16(&v);
      linea->imposta_intero(metro, colonna, v);
    } else if (tag == static_cast<std::uint16_t>(TipoVariante::doppio)) {
      double v = 0;
      in.f64(&v);
      linea->imposta_doppio(metro, colonna, v);
    }
  }
  return true;
}

bool decodifica_parametri(std::string_view bytes,
                          std::array<Parametro, voce::numero_voci>* parametri,
                          ErroreDecodifica* err) {
  if (bytes.empty()) return fallisci(err, 0, "empty parameter file");
  Lettore in(bytes);
  for (int e = 0; e < voce::numero_voci; ++e) {
    Parametro& p = (*parametri)[static_cast<std::size_t>(e)];
    p = Parametro{};
    const std::string cosa = "entry " + std::to_string(e);
    std::size_t offset = in.posizione();
    const std::size_t restanti = in.restanti();
    auto manca = [&](const char* campo, std::size_t larghezza) {
      return fallisci(err, offset, troncato(cosa, campo, larghezza, in.restanti()));
    };
    if (e > 0 && restanti == 0) {
      return fallisci(err, offset,
                      "the file ends after " + std::to_string(e) + " of the 87 entries");
    }
    // Each field in turn, with the offset where it begins.
    if (!in.u8(&p.tipo)) return manca("tipo", 1);
    offset = in.posizione();
    if (!in.i32(&p.inizio)) return manca("inizio", 4);
    offset = in.posizione();
    if (!in.i32(&p.fine)) return manca("fine", 4);
    offset = in.posizione();
    if (!in.i32(&p.posizione)) return manca("posizione", 4);
    offset = in.posizione();
    if (!in.u8(&p.opzione)) return manca("opzione", 1);
    offset = in.posizione();
    std::uint16_t lunghezza;
    if (!in.u16(&lunghezza)) return manca("nome length", 2);
    offset = in.posizione();
    if (!in.testo(lunghezza, &p.nome)) {
      return fallisci(err, offset,
                      "truncated " + cosa + ": its text of " + std::to_string(lunghezza) +
                          " characters runs past the end, " + std::to_string(in.restanti()) +
                          " bytes left");
    }
    const struct {
      const char* nome;
      std::int16_t* v;
    } valori[] = {{"valore1", &p.valore1},
                  {"valore2", &p.valore2},
                  {"valore3", &p.valore3},
                  {"valore4", &p.valore4},
                  {"valore5", &p.valore5}};
    for (const auto& v : valori) {
      offset = in.posizione();
      if (!in.i16(v.v)) return manca(v.nome, 2);
    }
    const struct {
      const char* nome;
      std::uint8_t* v;
    } bandiere[] = {
        {"flag1", &p.flag1}, {"flag2", &p.flag2}, {"flag3", &p.flag3}, {"flag4", &p.flag4}};
    for (const auto& b : bandiere) {
      offset = in.posizione();
      if (!in.u8(b.v)) return manca(b.nome, 1);
    }
    offset = in.posizione();
    if (!in.i32(&p.orario)) return manca("orario", 4);
  }
  if (!in.fine()) {
    return fallisci(err, in.posizione(),
                    std::to_string(in.restanti()) + (in.restanti() == 1 ? " byte" : " bytes") +
                        " after the 87th entry");
  }
  return true;
}

bool decodifica_celle(std::string_view bytes, std::vector<Cella>* celle, ErroreDecodifica* err) {
  if (bytes.empty()) return fallisci(err, 0, "empty cell file");
  const std::size_t resto = bytes.size() % kDimensioneCella;
  const std::size_t n = bytes.size() / kDimensioneCella;
  if (resto != 0) {
    return fallisci(
        err, n * kDimensioneCella,
        "truncated cell " + std::to_string(n) + ": " + std::to_string(resto) + " of its 15 bytes");
  }
  celle->assign(n, Cella{});
  Lettore in(bytes);
  for (Cella& c : *celle) {
    // The length test above guarantees every field.
    in.u8(&c.tipo);
    in.i16(&c.dato1);
    in.i16(&c.dato2);
    in.i16(&c.dato3);
    in.i16(&c.dato4);
    in.u8(&c.tempo);
    in.u8(&c.avvicinamento);
    in.u8(&c.montagna);
    in.u8(&c.velocita);
    in.u8(&c.pendenza);
    in.u8(&c.aderenza);
  }
  return true;
}

const char* nome_elemento(std::uint8_t tipo) {
  switch (tipo) {
    case tipo_cella::segnale:
      return "signal";
    case tipo_cella::fine_rallentamento:
      return "slowdown end";
    case tipo_cella::inizio_rallentamento:
      return "slowdown start";
    case tipo_cella::avviso_rallentamento:
      return "slowdown warning board";
    case tipo_cella::prima_dell_avviso:
      return "before warning board";
    case tipo_cella::indicatori_v_max:
      return "maximum-speed boards";
    case tipo_cella::fine_stazione:
      return "station end";
    case tipo_cella::marcatore_montagna:
      return "mountain marker";
    case tipo_cella::codice:
      return "code cell";
    case tipo_cella::codice_senza_valore:
      return "code cell without value";
    case tipo_cella::cartello:
      return "sign board";
    default:
      return "";
  }
}

std::int16_t og_atteso(const std::string& nome_percorso, const std::string& numero_treno) {
  StatoCompilazione stato;
  stato.parametri[voce::percorso].nome = nome_percorso;
  stato.parametri[voce::ripetizione].nome = numero_treno;
  return codice_gara_og(stato);
}

std::int32_t st_atteso(const std::string& nome_percorso, const std::string& numero_treno) {
  StatoCompilazione stato;
  stato.parametri[voce::percorso].nome = nome_percorso;
  stato.parametri[voce::ripetizione].nome = numero_treno;
  return codice_gara_st(stato);
}

}  // namespace scenario
