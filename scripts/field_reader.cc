#include "scripts/field_reader.h"

namespace scenario {

bool FieldReader::IsBlank(std::size_t p) const {
  return p < text_.size() && (text_[p] == ' ' || text_[p] == '\t');
}

bool FieldReader::IsLineEnd(std::size_t p) const {
  return p < text_.size() && (text_[p] == '\r' || text_[p] == '\n');
}

void FieldReader::SkipBlanks() {
  while (IsBlank(pos_)) ++pos_;
}

void FieldReader::ConsumeDelimiter() {
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == ',') {
    ++pos_;
  } else if (text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_;
  } else if (text_[pos_] == '\n') {
    ++pos_;
    ++line_;
  }
}

bool FieldReader::ReadText(std::string* out) {
  if (AtEnd()) return false;
  SkipBlanks();
  field_line_ = line_;
  field_offset_ = pos_;
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(pos_)) ++pos_;
  std::size_t end = pos_;
  while (end > start && (text_[end - 1] == ' ' || text_[end - 1] == '\t')) --end;
  field_length_ = end - start;
  ConsumeDelimiter();
  if (end - start > kMaxText) return false;
  out->assign(text_.substr(start, end - start));
  return true;
}

bool FieldReader::ReadNumber(std::int64_t low, std::int64_t high, std::int64_t* out) {
  if (AtEnd()) return false;
  SkipBlanks();
  field_line_ = line_;
  field_offset_ = pos_;
  field_length_ = 0;
  if (pos_ >= text_.size() || text_[pos_] == ',' || IsLineEnd(pos_)) {
    ConsumeDelimiter();
    *out = 0;
    return true;
  }
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !IsBlank(pos_) && !IsLineEnd(pos_)) ++pos_;
  field_length_ = pos_ - start;
  std::string_view token = text_.substr(start, pos_ - start);
  bool negative = false;
  if (token.front() == '-') {
    negative = true;
    token.remove_prefix(1);
  }
  if (token.empty()) return false;
  std::int64_t value = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return false;
    // Past 2^40 the value is out of every field's range; stop growing it.
    if (value < (std::int64_t{1} << 40)) value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  SkipBlanks();
  ConsumeDelimiter();
  if (value < low || value > high) return false;
  *out = value;
  return true;
}

bool FieldReader::ReadLong(std::int32_t* out) {
  std::int64_t v;
  if (!ReadNumber(INT32_MIN, INT32_MAX, &v)) return false;
  *out = static_cast<std::int32_t>(v);
  return true;
}

bool FieldReader::ReadInteger(std::int16_t* out) {
  std::int64_t v;
  if (!ReadNumber(INT16_MIN, INT16_MAX, &v)) return false;
  *out = static_cast<std::int16_t>(v);
  return true;
}

bool FieldReader::ReadByte(std::uint8_t* out) {
  std::int64_t v;
  if (!ReadNumber(0, 255, &v)) return false;
  *out = static_cast<std::uint8_t>(v);
  return true;
}

}  // namespace scenario
