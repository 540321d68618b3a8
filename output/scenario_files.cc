#include "output/scenario_files.h"

#include <cstdint>
#include <cstring>

#include "app/file_names.h"

namespace scenario {

namespace {

/// Appends little-endian fields to a byte string.
class Uscita {
 public:
  explicit Uscita(std::string* bytes) : bytes_(bytes) {}
  void u8(std::uint8_t v) { bytes_->push_back(static_cast<char>(v)); }
  void u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v & 0xFF));
    u8(static_cast<std::uint8_t>(v >> 8));
  }
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void i32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) u8(static_cast<std::uint8_t>(u >> shift));
  }
  void f64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int shift = 0; shift < 64; shift += 8) u8(static_cast<std::uint8_t>(u >> shift));
  }
  void testo(const std::string& t) {
    const std::size_t n = t.size() > 0xFFFF ? 0xFFFF : t.size();
    u16(static_cast<std::uint16_t>(n));
    bytes_->append(t, 0, n);
  }

 private:
  std::string* bytes_;
};

std::size_t dimensione_elemento(TipoVariante tipo) {
  switch (tipo) {
    case TipoVariante::intero:
      return 4;
    case TipoVariante::doppio:
      return 10;
    case TipoVariante::vuoto:
      break;
  }
  return 2;
}

}  // namespace

std::string serializza_linea(const TabellaLinea& tabella) {
  std::size_t totale = 0;
  for (int c = 0; c < 2; ++c) {
    for (TipoVariante t : tabella.tipi(c)) totale += dimensione_elemento(t);
  }
  std::string bytes;
  bytes.reserve(totale);
  Uscita out(&bytes);
  for (int c = 0; c < 2; ++c) {
    const std::vector<TipoVariante>& tipi = tabella.tipi(c);
    const std::vector<double>& valori = tabella.valori(c);
    for (std::size_t m = 0; m < tipi.size(); ++m) {
      out.u16(static_cast<std::uint16_t>(tipi[m]));
      if (tipi[m] == TipoVariante::intero) {
        out.i16(static_cast<std::int16_t>(valori[m]));
      } else if (tipi[m] == TipoVariante::doppio) {
        out.f64(valori[m]);
      }
    }
  }
  return bytes;
}

std::string serializza_parametri(const std::array<Parametro, voce::numero_voci>& parametri) {
  std::string bytes;
  std::size_t totale = 0;
  for (const Parametro& p : parametri) totale += kDimensioneParametro + p.nome.size();
  bytes.reserve(totale);
  Uscita out(&bytes);
  for (const Parametro& p : parametri) {
    out.u8(p.tipo);
    out.i32(p.inizio);
    out.i32(p.fine);
    out.i32(p.posizione);
    out.u8(p.opzione);
    out.testo(p.nome);
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
  std::string bytes;
  bytes.reserve(celle.size() * kDimensioneCella);
  Uscita out(&bytes);
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
    const std::string nome = nome_file_linea(stato.nome_percorso);
    if (!ReplaceFile(fs, percorso_in(cartella, nome), serializza_linea(stato.tabella_linea), err))
      return false;
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
