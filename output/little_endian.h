// Little-endian fields in and out of byte buffers: the way every binary
// scenario file stores its numbers.
#ifndef SCENARIO_OUTPUT_LITTLE_ENDIAN_H_
#define SCENARIO_OUTPUT_LITTLE_ENDIAN_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace scenario {

/// Writes little-endian fields into a buffer sized beforehand; each call
/// stores its bytes and moves on, with no bounds check and no reallocation.
class ByteWriter {
 public:
  explicit ByteWriter(char* p) : p_(p) {}
  /// Where the next field would go.
  char* end() const { return p_; }
  void u8(std::uint8_t v) { *p_++ = static_cast<char>(v); }
  void u16(std::uint16_t v) {
    p_[0] = static_cast<char>(v & 0xFF);
    p_[1] = static_cast<char>(v >> 8);
    p_ += 2;
  }
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void i32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) p_[b] = static_cast<char>((u >> (8 * b)) & 0xFF);
    p_ += 4;
  }
  void f64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int b = 0; b < 8; ++b) p_[b] = static_cast<char>((u >> (8 * b)) & 0xFF);
    p_ += 8;
  }
  /// A 16-bit count `n` and the first `n` characters of `t`.
  void text(const std::string& t, std::size_t n) {
    u16(static_cast<std::uint16_t>(n));
    if (n != 0) std::memcpy(p_, t.data(), n);
    p_ += n;
  }

 private:
  char* p_;
};

/// Reads little-endian fields from a byte string, never past its end: each
/// call returns false, reading nothing, when too few bytes are left.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t offset() const { return pos_; }
  std::size_t left() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ == bytes_.size(); }

  bool u8(std::uint8_t* v) {
    if (left() < 1) return false;
    *v = static_cast<std::uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool u16(std::uint16_t* v) {
    if (left() < 2) return false;
    *v = static_cast<std::uint16_t>(byte(0) | byte(1) << 8);
    pos_ += 2;
    return true;
  }
  bool i16(std::int16_t* v) {
    std::uint16_t u;
    if (!u16(&u)) return false;
    *v = static_cast<std::int16_t>(u);
    return true;
  }
  bool i32(std::int32_t* v) {
    if (left() < 4) return false;
    std::uint32_t u = 0;
    for (int k = 3; k >= 0; --k) u = u << 8 | byte(static_cast<std::size_t>(k));
    *v = static_cast<std::int32_t>(u);
    pos_ += 4;
    return true;
  }
  bool f64(double* v) {
    if (left() < 8) return false;
    std::uint64_t u = 0;
    for (int k = 7; k >= 0; --k) u = u << 8 | byte(static_cast<std::size_t>(k));
    std::memcpy(v, &u, sizeof u);
    pos_ += 8;
    return true;
  }
  bool skip(std::size_t n) {
    if (left() < n) return false;
    pos_ += n;
    return true;
  }
  /// The next `n` bytes as text.
  bool text(std::size_t n, std::string* v) {
    if (left() < n) return false;
    v->assign(bytes_.substr(pos_, n));
    pos_ += n;
    return true;
  }

 private:
  std::uint32_t byte(std::size_t k) const { return static_cast<std::uint8_t>(bytes_[pos_ + k]); }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

/// Why a file could not be decoded, and where.
struct ErroreDecodifica {
  std::size_t offset = 0;  ///< byte offset of the fault
  std::string messaggio;   ///< what is wrong there
};

/// Fills `*err` and returns false.
inline bool fallisci(ErroreDecodifica* err, std::size_t offset, std::string messaggio) {
  err->offset = offset;
  err->messaggio = std::move(messaggio);
  return false;
}

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_LITTLE_ENDIAN_H_
