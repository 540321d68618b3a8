#include "tools/descriptor_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace scenario {

UscitaDescrittore::UscitaDescrittore(int fd) : fd_(fd) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

UscitaDescrittore::~UscitaDescrittore() {
  scarica();
}

bool UscitaDescrittore::scarica() {
  const char* dato = pbase();
  std::size_t resta = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  while (errore_ == 0 && resta > 0) {
    const ssize_t n = ::write(fd_, dato, resta);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      errore_ = n < 0 ? errno : EIO;
      break;
    }
    dato += n;
    resta -= static_cast<std::size_t>(n);
  }
  return errore_ == 0;
}

UscitaDescrittore::int_type UscitaDescrittore::overflow(int_type c) {
  if (!scarica()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int UscitaDescrittore::sync() {
  return scarica() ? 0 : -1;
}

}  // namespace scenario
