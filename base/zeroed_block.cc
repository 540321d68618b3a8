#include "base/zeroed_block.h"

#include <sys/mman.h>

#include <cstring>
#include <new>
#include <utility>

namespace scenario {

BloccoAzzerato::BloccoAzzerato(std::size_t n) {
  if (n == 0) return;
  void* p =
      ::mmap(nullptr, n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  dati_ = static_cast<unsigned char*>(p);
  dimensione_ = n;
}

BloccoAzzerato::BloccoAzzerato(const BloccoAzzerato& altro) : BloccoAzzerato(altro.dimensione_) {
  if (dimensione_ != 0) std::memcpy(dati_, altro.dati_, dimensione_);
}

BloccoAzzerato& BloccoAzzerato::operator=(const BloccoAzzerato& altro) {
  if (this != &altro) *this = BloccoAzzerato(altro);
  return *this;
}

BloccoAzzerato::BloccoAzzerato(BloccoAzzerato&& altro) noexcept
    : dati_(std::exchange(altro.dati_, nullptr)),
      dimensione_(std::exchange(altro.dimensione_, 0)) {}

BloccoAzzerato& BloccoAzzerato::operator=(BloccoAzzerato&& altro) noexcept {
  if (this != &altro) {
    libera();
    dati_ = std::exchange(altro.dati_, nullptr);
    dimensione_ = std::exchange(altro.dimensione_, 0);
  }
  return *this;
}

BloccoAzzerato::~BloccoAzzerato() {
  libera();
}

void BloccoAzzerato::libera() {
  if (dati_ != nullptr) ::munmap(dati_, dimensione_);
  dati_ = nullptr;
  dimensione_ = 0;
}

}  // namespace scenario
