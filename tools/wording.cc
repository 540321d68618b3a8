#include "tools/wording.h"

#include <cstdio>

#include "tools/text_encoding.h"

namespace scenario {

std::string citato(std::string_view testo) {
  std::string s(1, '`');
  s.append(testo);
  s += '`';
  return s;
}

std::string plurale(std::int64_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

std::string orario(std::int32_t secondi) {
  if (secondi <= 0) return "";
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

std::string testo_mostrato(const std::string& cp1252) {
  // One byte is one character in Windows-1252.
  if (cp1252.size() <= kCaratteriMostrati) return utf8_da_cp1252(cp1252);
  return utf8_da_cp1252(std::string_view(cp1252).substr(0, kCaratteriMostrati)) + "\xe2\x80\xa6 (" +
         plurale(static_cast<std::int64_t>(cp1252.size()), "character", "characters") + ")";
}

}  // namespace scenario
