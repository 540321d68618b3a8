#include "tools/wording.h"

#include <cstdio>

namespace scenario {

std::string plurale(std::int64_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

std::string orario(std::int32_t secondi) {
  if (secondi <= 0) return "";
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

}  // namespace scenario
