// The framing of the language server's messages: a header block with a
// Content-Length, a blank line, then exactly that many bytes of body.
#ifndef SCENARIO_TOOLS_LSP_FRAMING_H_
#define SCENARIO_TOOLS_LSP_FRAMING_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace scenario {

/// Cuts a byte stream, fed in pieces of any size, into message bodies.
///
/// A header block is lines ending in CR LF (a lone LF is accepted too), each
/// "Name: value", closed by an empty line; names are compared without case,
/// and every header but Content-Length is ignored. Content-Length is a
/// decimal number of at most `kMaxBody`. A header block that is malformed,
/// has no Content-Length, announces too long a body or runs past
/// `kMaxHeader` bytes is reported once as an error; the decoder then skips
/// bytes up to the next "Content-Length" it finds and starts a header block
/// there. Memory stays bounded by the two limits whatever the input.
class FrameDecoder {
 public:
  /// Largest body accepted, in bytes.
  static constexpr std::size_t kMaxBody = std::size_t{64} << 20;
  /// Longest header block accepted, in bytes.
  static constexpr std::size_t kMaxHeader = 8192;

  /// What `Next` found.
  enum class Result { none, message, error };

  /// Adds bytes read from the stream.
  void Feed(std::string_view bytes);
  /// The next body (`message`) or the reason a header block was dropped
  /// (`error`) into `*out`; `none` when the bytes fed so far say no more.
  Result Next(std::string* out);
  /// Bytes that can be read without waiting past the end of the current
  /// message: what is left of the body, or 1 while in a header.
  std::size_t Wanted() const;
  /// True when bytes of an unfinished message are held.
  bool InMessage() const;

 private:
  enum class State { header, body, resync };

  /// Parses complete header lines; true when the state changed or an error
  /// was found (then in `*out`).
  Result ParseHeader(std::string* out);
  /// Drops the current header block and looks for the next one.
  Result Fail(std::string reason, std::string* out);
  /// Skips to the next "Content-Length"; true when found.
  bool Resync();

  State state_ = State::header;
  std::string buffer_;          ///< unconsumed bytes, from the current header on
  std::size_t line_start_ = 0;  ///< first byte of the header line being parsed
  std::size_t body_size_ = 0;   ///< Content-Length of the current header block
  bool has_length_ = false;     ///< the current header block gave a Content-Length
};

/// The frame of one message: its header and `body`.
std::string Frame(std::string_view body);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_FRAMING_H_
