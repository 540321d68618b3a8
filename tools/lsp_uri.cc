#include "tools/lsp_uri.h"

namespace scenario {

namespace {

/// Value of hexadecimal digit `c`, or -1.
int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool non_da_codificare(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string percorso_da_uri(std::string_view uri) {
  constexpr std::string_view kSchema = "file://";
  if (uri.substr(0, kSchema.size()) != kSchema) return "";
  uri.remove_prefix(kSchema.size());
  if (uri.substr(0, 9) == "localhost") uri.remove_prefix(9);
  if (uri.empty() || uri.front() != '/') return "";
  // A query or fragment is no part of a file's path.
  uri = uri.substr(0, uri.find_first_of("?#"));
  std::string percorso;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] != '%') {
      percorso += uri[i];
      continue;
    }
    const int alta = i + 2 < uri.size() ? cifra_esadecimale(uri[i + 1]) : -1;
    const int bassa = alta >= 0 ? cifra_esadecimale(uri[i + 2]) : -1;
    if (bassa < 0 || (alta == 0 && bassa == 0)) return "";
    percorso += static_cast<char>(alta * 16 + bassa);
    i += 2;
  }
  return percorso;
}

std::string uri_da_percorso(std::string_view percorso) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (char c : percorso) {
    if (non_da_codificare(c)) {
      uri += c;
    } else {
      const auto b = static_cast<unsigned char>(c);
      uri += '%';
      uri += kCifre[b >> 4];
      uri += kCifre[b & 15];
    }
  }
  return uri;
}

}  // namespace scenario
