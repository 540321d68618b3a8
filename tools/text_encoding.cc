#include "tools/text_encoding.h"

#include <charconv>
#include <cmath>

namespace scenario {

namespace {

/// Code points of the bytes 0x80 to 0x9F, where Windows-1252 departs from
/// Latin-1.
constexpr char32_t kAlti[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t da_cp1252(std::uint8_t b) {
  if (b >= 0x80 && b <= 0x9F) return kAlti[b - 0x80];
  return b;
}

void aggiungi_utf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string utf8_da_cp1252(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (char ch : testo) aggiungi_utf8(da_cp1252(static_cast<std::uint8_t>(ch)), &out);
  return out;
}

char32_t prossimo_carattere(std::string_view s, std::size_t* pos) {
  const auto b0 = static_cast<std::uint8_t>(s[*pos]);
  std::size_t seguito = 0;
  char32_t v = b0;
  char32_t minimo = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    seguito = 1;
    v = b0 & 0x1F;
    minimo = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    seguito = 2;
    v = b0 & 0x0F;
    minimo = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    seguito = 3;
    v = b0 & 0x07;
    minimo = 0x10000;
  }
  bool valida = seguito > 0 && s.size() - *pos > seguito;
  for (std::size_t k = 1; valida && k <= seguito; ++k) {
    const auto b = static_cast<std::uint8_t>(s[*pos + k]);
    valida = (b & 0xC0) == 0x80;
    v = (v << 6) | (b & 0x3F);
  }
  if (valida && v >= minimo && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
    *pos += seguito + 1;
    return v;
  }
  *pos += 1;
  return b0;
}

std::string utf8_valido(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (std::size_t pos = 0; pos < testo.size();)
    aggiungi_utf8(prossimo_carattere(testo, &pos), &out);
  return out;
}

std::string utf8_da_misto(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  std::size_t pos = 0;
  while (pos < testo.size()) {
    const std::size_t inizio = pos;
    const char32_t c = prossimo_carattere(testo, &pos);
    if (pos == inizio + 1 && c >= 0x80) {
      aggiungi_utf8(da_cp1252(static_cast<std::uint8_t>(c)), &out);
    } else {
      out.append(testo.substr(inizio, pos - inizio));
    }
  }
  return out;
}

std::size_t numero_caratteri(std::string_view utf8) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++n) prossimo_carattere(utf8, &pos);
  return n;
}

std::string testo_doppio(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

}  // namespace scenario
