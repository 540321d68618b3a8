// A record's fields as they stand on disk, described once: the writer, the
// reader and the dump all walk the same table.
#ifndef SCENARIO_OUTPUT_RECORD_FIELDS_H_
#define SCENARIO_OUTPUT_RECORD_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "output/little_endian.h"

namespace scenario {

/// The member that holds a field: a Byte, an Integer, a Long or a text.
template <typename Record>
using Membro = std::variant<std::uint8_t Record::*, std::int16_t Record::*, std::int32_t Record::*,
                            std::string Record::*>;

/// One field of a record: its name in the files' documentation and where it
/// is kept. Fields stand on disk in table order, back to back.
template <typename Record>
struct Campo {
  const char* nome;
  Membro<Record> membro;
};

/// Largest text a text field holds: its count is 16 bits.
inline constexpr std::size_t kTestoMassimo = 0xFFFF;

/// Characters of a text field that fit its 16-bit count.
inline std::size_t lunghezza_testo(const std::string& t) {
  return t.size() > kTestoMassimo ? kTestoMassimo : t.size();
}

/// Bytes of field `campo` of `r` on disk.
template <typename Record>
std::size_t larghezza_campo(const Campo<Record>& campo, const Record& r) {
  struct {
    const Record& r;
    std::size_t operator()(std::uint8_t Record::*) const { return 1; }
    std::size_t operator()(std::int16_t Record::*) const { return 2; }
    std::size_t operator()(std::int32_t Record::*) const { return 4; }
    std::size_t operator()(std::string Record::*m) const { return 2 + lunghezza_testo(r.*m); }
  } larghezza{r};
  return std::visit(larghezza, campo.membro);
}

/// Value of field `campo` of `r` when it is a number; nothing for a text.
template <typename Record>
std::optional<std::int64_t> valore_numerico(const Campo<Record>& campo, const Record& r) {
  return std::visit(
      [&r](auto m) -> std::optional<std::int64_t> {
        if constexpr (std::is_same_v<decltype(m), std::string Record::*>) {
          return std::nullopt;
        } else {
          return r.*m;
        }
      },
      campo.membro);
}

/// Writes field `campo` of `r`.
template <typename Record>
void scrivi_campo(ByteWriter& out, const Campo<Record>& campo, const Record& r) {
  struct {
    ByteWriter& out;
    const Record& r;
    void operator()(std::uint8_t Record::*m) const { out.u8(r.*m); }
    void operator()(std::int16_t Record::*m) const { out.i16(r.*m); }
    void operator()(std::int32_t Record::*m) const { out.i32(r.*m); }
    void operator()(std::string Record::*m) const { out.text(r.*m, lunghezza_testo(r.*m)); }
  } scrivi{out, r};
  std::visit(scrivi, campo.membro);
}

/// Reads field `campo` into `*r`. On a field that runs past the end, fills
/// `*err` with the field's offset and what was missing, naming the record
/// as `record` and `indice` ("entry 3", "cell 12").
template <typename Record>
bool leggi_campo(ByteReader& in, const Campo<Record>& campo, Record* r, const char* record,
                 std::size_t indice, ErroreDecodifica* err) {
  const std::size_t offset = in.offset();
  auto cosa = [&] { return std::string(record) + " " + std::to_string(indice); };
  auto manca = [&](const std::string& campo_nome, std::size_t larghezza) {
    return fallisci(err, offset,
                    "truncated " + cosa() + ": field " + campo_nome + " needs " +
                        std::to_string(larghezza) + (larghezza == 1 ? " byte, " : " bytes, ") +
                        std::to_string(in.left()) + " left");
  };
  return std::visit(
      [&](auto m) {
        using Tipo = std::remove_reference_t<decltype(r->*m)>;
        if constexpr (std::is_same_v<Tipo, std::uint8_t>) {
          return in.u8(&(r->*m)) || manca(campo.nome, 1);
        } else if constexpr (std::is_same_v<Tipo, std::int16_t>) {
          return in.i16(&(r->*m)) || manca(campo.nome, 2);
        } else if constexpr (std::is_same_v<Tipo, std::int32_t>) {
          return in.i32(&(r->*m)) || manca(campo.nome, 4);
        } else {
          std::uint16_t n;
          if (!in.u16(&n)) return manca(std::string(campo.nome) + " length", 2);
          const std::size_t inizio = in.offset();
          if (in.text(n, &(r->*m))) return true;
          return fallisci(err, inizio,
                          "truncated " + cosa() + ": its text of " + std::to_string(n) +
                              " characters runs past the end, " + std::to_string(in.left()) +
                              " bytes left");
        }
      },
      campo.membro);
}

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_RECORD_FIELDS_H_
