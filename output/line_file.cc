#include "output/line_file.h"

#include <climits>

namespace scenario {

namespace {

/// Most byte ranges the line file is written from; beyond that (a geometry
/// full of gaps) the bytes are gathered into one buffer instead.
constexpr std::size_t kPartiMassime = 64;

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

void TabellaLinea::dimensiona(std::int32_t ultima_riga) {
  const std::size_t righe = static_cast<std::size_t>(ultima_riga) + 1;
  // All zeros: tag 0, every element empty.
  for (BloccoAzzerato& s : slot_) s = BloccoAzzerato(righe * kSlot);
}

double TabellaLinea::valore(std::int32_t riga, int colonna) const {
  const unsigned char* p = slot(riga, colonna);
  switch (static_cast<TipoVariante>(p[0] | (p[1] << 8))) {
    case TipoVariante::intero:
      return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[2] | (p[3] << 8)));
    case TipoVariante::doppio: {
      std::uint64_t u = 0;
      for (int b = 7; b >= 0; --b) u = (u << 8) | p[2 + b];
      double v;
      std::memcpy(&v, &u, sizeof v);
      return v;
    }
    case TipoVariante::vuoto:
      break;
  }
  return 0;
}

void TabellaLinea::imposta_intero(std::int32_t riga, int colonna, std::int16_t v) {
  unsigned char* p = slot(riga, colonna);
  const auto u = static_cast<std::uint16_t>(v);
  p[0] = static_cast<unsigned char>(TipoVariante::intero);
  p[1] = 0;
  p[2] = static_cast<unsigned char>(u & 0xFF);
  p[3] = static_cast<unsigned char>(u >> 8);
}

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

bool decodifica_linea(std::string_view bytes, TabellaLinea* linea, ErroreDecodifica* err) {
  if (bytes.empty()) return fallisci(err, 0, "empty line file");
  // First walk: check every tag and count the elements, so that the table
  // is dimensioned once and never beyond what the file holds.
  std::size_t elementi = 0;
  {
    ByteReader in(bytes);
    while (!in.at_end()) {
      const std::size_t offset = in.offset();
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
      if (in.left() < static_cast<std::size_t>(n)) {
        return fallisci(err, offset,
                        "truncated element " + std::to_string(elementi) + ": tag " +
                            std::to_string(tag) + " needs " + std::to_string(n) + " value bytes, " +
                            std::to_string(in.left()) + " left");
      }
      in.skip(static_cast<std::size_t>(n));
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
  // Second walk: the tags and lengths are known good.
  auto tag_in = [&](std::size_t p) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[p]) |
                                      static_cast<std::uint8_t>(bytes[p + 1]) << 8);
  };
  constexpr auto kDoppio = static_cast<std::uint16_t>(TipoVariante::doppio);
  std::size_t p = 0;
  for (std::size_t e = 0; e < elementi;) {
    const int colonna = e < righe ? 0 : 1;
    const auto metro = static_cast<std::int32_t>(e < righe ? e : e - righe);
    const std::uint16_t tag = tag_in(p);
    if (tag == kDoppio) {
      // A run of doubles in this column is the slots' bytes as they are.
      const std::size_t fine_colonna = e < righe ? righe : elementi;
      std::size_t fine = e + 1, q = p + TabellaLinea::kSlot;
      while (fine < fine_colonna && tag_in(q) == kDoppio) {
        ++fine;
        q += TabellaLinea::kSlot;
      }
      linea->copia_doppi(metro, colonna, bytes.substr(p, q - p));
      e = fine;
      p = q;
      continue;
    }
    if (tag == static_cast<std::uint16_t>(TipoVariante::intero)) {
      const auto v = static_cast<std::int16_t>(tag_in(p + 2));
      linea->imposta_intero(metro, colonna, v);
    }
    p += dimensione_elemento(static_cast<TipoVariante>(tag));
    ++e;
  }
  return true;
}

}  // namespace scenario
