#include "output/scenario_files.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "app/file_names.h"

namespace scenario {

namespace {

/// Writes little-endian fields into a buffer sized beforehand; each call
/// stores its bytes and moves on, with no bounds check and no reallocation.
class Uscita {
 public:
  explicit Uscita(char* p) : p_(p) {}
  /// Where the next field would go.
  char* fine() const { return p_; }
  void u8(std::uint8_t v) { *p_++ = static_cast<char>(v); }
  void u16(std::uint16_t v) {
    p_[0] = static_cast<char>(v & 0xFF);
    p_[1] = static_cast<char>(v >> 8);
    p_ += 2;
  }
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void i32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) p_[b] = static_cast<char>((u >> (8 * b)) & 0xFF);
    p_ += 4;
  }
  void f64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int b = 0; b < 8; ++b) p_[b] = static_cast<char>((u >> (8 * b)) & 0xFF);
    p_ += 8;
  }
  void testo(const std::string& t, std::size_t n) {
    u16(static_cast<std::uint16_t>(n));
    if (n != 0) std::memcpy(p_, t.data(), n);
    p_ += n;
  }

 private:
  char* p_;
};

/// Bytes of an element of the given kind in the line file.
std::size_t dimensione_elemento(TipoVariante tipo) {
  switch (tipo) {
    case TipoVariante::intero:
      return 4;
    case TipoVariante::doppio:
      return TabellaLinea::kSlot;
    case TipoVariante::vuoto:
      break;
  }
  return 2;
}

/// Characters of a text field that fit its 16-bit count.
std::size_t lunghezza_testo(const std::string& t) {
  return t.size() > 0xFFFF ? 0xFFFF : t.size();
}

/// Most byte ranges the line file is written from; beyond that (a geometry
/// full of gaps) the bytes are gathered into one buffer instead.
constexpr std::size_t kPartiMassime = 64;

}  // namespace

std::vector<std::string_view> parti_linea(const TabellaLinea& tabella, std::string* riserva) {
  std::vector<std::string_view> parti;
  riserva->clear();
  const std::int32_t righe = tabella.ultima_riga() + 1;
  for (int c = 0; c < 2; ++c) {
    std::int32_t m = 0;
    while (m < righe) {
      if (parti.size() == kPartiMassime) {
        // Too many gaps: gather the whole file into one buffer instead.
        for (int k = 0; k < 2; ++k) {
          for (std::int32_t r = 0; r < righe; ++r) {
            riserva->append(reinterpret_cast<const char*>(tabella.slot(r, k)),
                            dimensione_elemento(tabella.tipo(r, k)));
          }
        }
        return {std::string_view(*riserva)};
      }
      const char* inizio = reinterpret_cast<const char*>(tabella.slot(m, c));
      if (tabella.tipo(m, c) != TipoVariante::doppio) {
        parti.emplace_back(inizio, dimensione_elemento(tabella.tipo(m, c)));
        ++m;
        continue;
      }
      // A run of doubles: whole slots side by side, one range.
      std::int32_t fine = m + 1;
      while (fine < righe && tabella.tipo(fine, c) == TipoVariante::doppio) ++fine;
      parti.emplace_back(inizio, static_cast<std::size_t>(fine - m) * TabellaLinea::kSlot);
      m = fine;
    }
  }
  return parti;
}

std::string serializza_linea(const TabellaLinea& tabella) {
  std::string riserva;
  std::string bytes;
  for (std::string_view parte : parti_linea(tabella, &riserva)) bytes.append(parte);
  return bytes;
}

std::string serializza_parametri(const std::array<Parametro, voce::numero_voci>& parametri) {
  std::size_t totale = 0;
  for (const Parametro& p : parametri) totale += kDimensioneParametro + lunghezza_testo(p.nome);
  std::string bytes(totale, '\0');
  Uscita out(bytes.data());
  for (const Parametro& p : parametri) {
    out.u8(p.tipo);
    out.i32(p.inizio);
    out.i32(p.fine);
    out.i32(p.posizione);
    out.u8(p.opzione);
    out.testo(p.nome, lunghezza_testo(p.nome));
    out.i16(p.valore1);
    out.i16(p.valore2);
    out.i16(p.valore3);
    out.i16(p.valore4);
    out.i16(p.valore5);
    out.u8(p.flag1);
    out.u8(p.flag2);
    out.u8(p.flag3);
    out.u8(p.flag4);
    out.i32(p.orario);
  }
  return bytes;
}

std::string serializza_celle(const std::vector<Cella>& celle) {
  std::string bytes(celle.size() * kDimensioneCella, '\0');
  Uscita out(bytes.data());
  for (const Cella& c : celle) {
    out.u8(c.tipo);
    out.i16(c.dato1);
    out.i16(c.dato2);
    out.i16(c.dato3);
    out.i16(c.dato4);
    out.u8(c.tempo);
    out.u8(c.avvicinamento);
    out.u8(c.montagna);
    out.u8(c.velocita);
    out.u8(c.pendenza);
    out.u8(c.aderenza);
  }
  return bytes;
}

bool scrivi_file_scenario(FileSystem& fs, const std::string& cartella,
                          const StatoCompilazione& stato, std::vector<std::string>* scritti,
                          std::string* err) {
  if (stato.crea_linea != 0) {
    // The largest file by far goes out straight from the geometry's slots.
    const std::string nome = nome_file_linea(stato.nome_percorso);
    std::string riserva;
    if (!ReplaceFile(fs, percorso_in(cartella, nome), parti_linea(stato.tabella_linea, &riserva),
                     err)) {
      return false;
    }
    scritti->push_back(nome);
  }
  const std::string parametri = nome_file_parametri(stato.nome_percorso, stato.numero_treno);
  if (!ReplaceFile(fs, percorso_in(cartella, parametri), serializza_parametri(stato.parametri),
                   err))
    return false;
  scritti->push_back(parametri);
  const std::string celle = nome_file_celle(stato.nome_percorso, stato.numero_treno);
  if (!ReplaceFile(fs, percorso_in(cartella, celle), serializza_celle(stato.celle), err))
    return false;
  scritti->push_back(celle);
  return true;
}

}  // namespace scenario
