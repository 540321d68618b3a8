// A block of zeroed memory taken straight from the system.
#ifndef SCENARIO_BASE_ZEROED_BLOCK_H_
#define SCENARIO_BASE_ZEROED_BLOCK_H_

#include <cstddef>

namespace scenario {

/// Zero-filled bytes for a large table. The system hands them over already
/// zeroed, with all their pages mapped in one go rather than one fault at a
/// time on first use: for the megabytes of the line geometry that is a good
/// part of a whole run.
class BloccoAzzerato {
 public:
  BloccoAzzerato() = default;
  /// `n` zero bytes; throws std::bad_alloc when the system has none.
  explicit BloccoAzzerato(std::size_t n);
  BloccoAzzerato(const BloccoAzzerato& altro);
  BloccoAzzerato& operator=(const BloccoAzzerato& altro);
  BloccoAzzerato(BloccoAzzerato&& altro) noexcept;
  BloccoAzzerato& operator=(BloccoAzzerato&& altro) noexcept;
  ~BloccoAzzerato();

  unsigned char* data() { return dati_; }
  const unsigned char* data() const { return dati_; }
  std::size_t size() const { return dimensione_; }
  bool empty() const { return dimensione_ == 0; }

 private:
  void libera();

  unsigned char* dati_ = nullptr;
  std::size_t dimensione_ = 0;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_ZEROED_BLOCK_H_
