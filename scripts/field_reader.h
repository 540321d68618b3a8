// Cuts a script into fields by the lexical rules shared by the line and
// train scripts.
#ifndef SCENARIO_SCRIPTS_FIELD_READER_H_
#define SCENARIO_SCRIPTS_FIELD_READER_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

/// Reads fields one at a time from a script held in memory.
///
/// Blanks are spaces and tabs. A line ends at CR LF, a lone LF or a lone CR.
/// Every read returns false on a read failure (a field where no byte is
/// left, a malformed or out-of-range number, an over-long text); the reader
/// is then left where the failure happened.
class FieldReader {
 public:
  /// Longest text field accepted, in bytes.
  static constexpr std::size_t kMaxText = 65535;

  explicit FieldReader(std::string_view text) : text_(text) {}

  /// True when no byte is left after what has been consumed.
  bool AtEnd() const { return pos_ >= text_.size(); }

  /// Reads a text field: leading blanks skipped, the text up to the next
  /// comma or line end (consumed) or the end of the file, trailing blanks
  /// removed.
  bool ReadText(std::string* out);
  /// Reads a numeric field into a signed 32-bit value.
  bool ReadLong(std::int32_t* out);
  /// Reads a numeric field into a signed 16-bit value.
  bool ReadInteger(std::int16_t* out);
  /// Reads a numeric field into an unsigned 8-bit value.
  bool ReadByte(std::uint8_t* out);

  /// Line (from 1) on which the last field read started.
  int FieldLine() const { return field_line_; }
  /// Line (from 1) of the next byte to be read.
  int CurrentLine() const { return line_; }
  /// Byte offset in the text where the last field read (or failed) starts,
  /// after its leading blanks.
  std::size_t FieldOffset() const { return field_offset_; }
  /// Length in bytes of the last field: a text without its trailing blanks,
  /// a number's token (0 for an empty numeric field).
  std::size_t FieldLength() const { return field_length_; }

 private:
  bool ReadNumber(std::int64_t low, std::int64_t high, std::int64_t* out);
  bool IsBlank(std::size_t p) const;
  bool IsLineEnd(std::size_t p) const;
  void SkipBlanks();
  /// Consumes a comma or line end at the current position, if any.
  void ConsumeDelimiter();

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int field_line_ = 0;
  std::size_t field_offset_ = 0;
  std::size_t field_length_ = 0;
};

}  // namespace scenario

#endif  // SCENARIO_SCRIPTS_FIELD_READER_H_
