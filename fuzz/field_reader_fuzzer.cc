// Fuzzes the field reader alone. The input is a program and a text: the
// first byte n gives the number of operation bytes that follow it (n % 32),
// the rest of the input is the text. The operations are applied in turn,
// over and over, until the text is used up.
//
// Each read is checked against the others on a copy of the reader: a
// number read must be what the text field at the same place spells, and
// the three number widths must agree with one another.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scripts/field_reader.h"

namespace {

using scenario::FieldReader;

[[noreturn]] void difetto(const char* cosa) {
  std::fprintf(stderr, "field_reader_fuzzer: %s\n", cosa);
  std::abort();
}

bool blank(char c) {
  return c == ' ' || c == '\t';
}

/// The value a numeric field spells, by a plain reading of the text field
/// at the same place: its first blank-separated token, an optional minus
/// and decimal digits; an empty field is 0. False when the token is not a
/// number or is far out of every field's range.
bool valore_atteso(const std::string& testo, std::int64_t* out) {
  std::size_t fine = 0;
  while (fine < testo.size() && !blank(testo[fine])) ++fine;
  std::string_view token(testo.data(), fine);
  if (token.empty()) {
    *out = 0;
    return true;
  }
  bool negativo = false;
  if (token.front() == '-') {
    negativo = true;
    token.remove_prefix(1);
  }
  if (token.empty()) return false;
  std::int64_t v = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return false;
    if (v > (std::int64_t{1} << 40)) return false;
    v = v * 10 + (c - '0');
  }
  *out = negativo ? -v : v;
  return true;
}

/// Checks one successful text read.
void verifica_testo(const std::string& t) {
  if (t.size() > FieldReader::kMaxText) difetto("text longer than the limit");
  for (char c : t) {
    if (c == ',' || c == '\r' || c == '\n') difetto("text holds a delimiter");
  }
  if (!t.empty() && (blank(t.front()) || blank(t.back()))) difetto("text not trimmed");
}

/// Reads a number of the width chosen by `op` from `r`, after checking it
/// against the text field and the other widths on copies of the reader.
bool leggi_numero(FieldReader& r, std::uint8_t op) {
  FieldReader come_testo = r;
  std::string testo;
  const bool testo_ok = come_testo.ReadText(&testo);

  FieldReader lungo = r;
  std::int32_t l = 0;
  const bool lungo_ok = lungo.ReadLong(&l);
  if (lungo_ok) {
    std::int64_t atteso;
    // The text read fails only on an over-long field; then there is nothing
    // to compare with.
    if (testo_ok && (!valore_atteso(testo, &atteso) || atteso != l)) {
      difetto("a number differs from the text it was read from");
    }
  }

  FieldReader intero = r;
  std::int16_t i = 0;
  const bool intero_ok = intero.ReadInteger(&i);
  FieldReader byte = r;
  std::uint8_t b = 0;
  const bool byte_ok = byte.ReadByte(&b);
  if (intero_ok != (lungo_ok && l >= INT16_MIN && l <= INT16_MAX) || (intero_ok && i != l)) {
    difetto("16-bit read disagrees with the 32-bit read");
  }
  if (byte_ok != (lungo_ok && l >= 0 && l <= 255) || (byte_ok && b != l)) {
    difetto("8-bit read disagrees with the 32-bit read");
  }
  if (intero_ok && intero.CurrentLine() != lungo.CurrentLine()) {
    difetto("reads of two widths ended on different lines");
  }

  switch (op % 3) {
    case 0:
      return r.ReadLong(&l);
    case 1:
      return r.ReadInteger(&i);
    default:
      return r.ReadByte(&b);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t n = std::min<std::size_t>(data[0] % 32, size - 1);
  const std::uint8_t* ops = data + 1;
  const std::string_view text(reinterpret_cast<const char*>(data + 1 + n), size - 1 - n);
  int linee = 1;
  for (std::size_t p = 0; p < text.size(); ++p) {
    if (text[p] == '\n' || (text[p] == '\r' && (p + 1 == text.size() || text[p + 1] != '\n'))) {
      ++linee;
    }
  }

  FieldReader r(text);
  std::size_t riusciti = 0;
  // Every successful read consumes at least one byte, so the text bounds
  // the number of successes; failures are bounded separately.
  std::size_t falliti = 0;
  for (std::size_t passo = 0; !r.AtEnd() && falliti <= text.size() + 8; ++passo) {
    const std::uint8_t op = n == 0 ? 0 : ops[passo % n];
    bool ok;
    if (op % 4 == 3) {
      std::string t;
      ok = r.ReadText(&t);
      if (ok) verifica_testo(t);
    } else {
      ok = leggi_numero(r, op);
    }
    if (ok) {
      ++riusciti;
      if (r.FieldLine() < 1 || r.FieldLine() > r.CurrentLine())
        difetto("field line after the current line");
    } else {
      ++falliti;
    }
    if (riusciti > text.size()) difetto("a successful read consumed nothing");
    if (r.CurrentLine() > linee) difetto("line count beyond the line ends of the text");
  }
  // At the end every read fails.
  if (r.AtEnd()) {
    std::string t;
    std::int32_t l;
    if (r.ReadText(&t) || r.ReadLong(&l)) difetto("a read at the end succeeded");
  }
  return 0;
}
