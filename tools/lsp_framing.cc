#include "tools/lsp_framing.h"

#include <algorithm>
#include <cctype>

namespace scenario {

namespace {

constexpr std::string_view kContentLength = "content-length";

/// ASCII lower case of `c`.
char minuscola(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool uguali_senza_maiuscole(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return minuscola(x) == minuscola(y);
         });
}

std::string_view senza_spazi(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

/// A header line as the log shows it: at most 60 bytes, each byte outside
/// printable ASCII shown as '?'.
std::string mostrata(std::string_view riga) {
  std::string s;
  for (char c : riga.substr(0, 60)) s += c >= ' ' && c <= '~' ? c : '?';
  if (riga.size() > 60) s += "...";
  return s;
}

}  // namespace

void FrameDecoder::Feed(std::string_view bytes) {
  buffer_.append(bytes);
}

std::size_t FrameDecoder::Wanted() const {
  if (state_ == State::body && buffer_.size() < body_size_) return body_size_ - buffer_.size();
  return 1;
}

bool FrameDecoder::InMessage() const {
  return state_ == State::body || (state_ == State::header && !buffer_.empty());
}

FrameDecoder::Result FrameDecoder::Next(std::string* out) {
  for (;;) {
    if (state_ == State::resync && !Resync()) return Result::none;
    if (state_ == State::header) {
      const Result r = ParseHeader(out);
      if (r != Result::none || state_ == State::header) return r;
    }
    if (state_ == State::body) {
      if (buffer_.size() < body_size_) return Result::none;
      out->assign(buffer_, 0, body_size_);
      buffer_.erase(0, body_size_);
      state_ = State::header;
      has_length_ = false;
      return Result::message;
    }
  }
}

FrameDecoder::Result FrameDecoder::ParseHeader(std::string* out) {
  for (;;) {
    const std::size_t fine = buffer_.find('\n', line_start_);
    if (fine == std::string::npos || fine >= kMaxHeader) {
      if (buffer_.size() <= kMaxHeader) return Result::none;
      return Fail("header block longer than " + std::to_string(kMaxHeader) + " bytes", out);
    }
    std::string_view riga(buffer_.data() + line_start_, fine - line_start_);
    if (!riga.empty() && riga.back() == '\r') riga.remove_suffix(1);
    line_start_ = fine + 1;
    if (riga.empty()) {
      if (!has_length_) {
        // A stray line end between messages is no header block at all.
        if (line_start_ <= 2) {
          buffer_.erase(0, line_start_);
          line_start_ = 0;
          continue;
        }
        return Fail("header block without Content-Length", out);
      }
      buffer_.erase(0, line_start_);
      line_start_ = 0;
      state_ = State::body;
      return Result::none;
    }
    const std::size_t due_punti = riga.find(':');
    if (due_punti == std::string_view::npos) {
      return Fail("malformed header line '" + mostrata(riga) + "'", out);
    }
    if (!uguali_senza_maiuscole(senza_spazi(riga.substr(0, due_punti)), kContentLength)) continue;
    const std::string_view valore = senza_spazi(riga.substr(due_punti + 1));
    std::size_t n = 0;
    bool numero = !valore.empty();
    for (char c : valore) {
      if (c < '0' || c > '9') {
        numero = false;
        break;
      }
      n = n * 10 + static_cast<std::size_t>(c - '0');
      if (n > kMaxBody) {
        return Fail("Content-Length " + mostrata(valore) + " is over the limit of " +
                        std::to_string(kMaxBody) + " bytes",
                    out);
      }
    }
    if (!numero) return Fail("Content-Length '" + mostrata(valore) + "' is not a number", out);
    body_size_ = n;
    has_length_ = true;
  }
}

FrameDecoder::Result FrameDecoder::Fail(std::string reason, std::string* out) {
  // At least one byte goes, so that the search for the next header block
  // cannot find this one again.
  buffer_.erase(0, std::min(std::max<std::size_t>(line_start_, 1), buffer_.size()));
  line_start_ = 0;
  has_length_ = false;
  state_ = State::resync;
  *out = std::move(reason);
  return Result::error;
}

bool FrameDecoder::Resync() {
  const auto trovato =
      std::search(buffer_.begin(), buffer_.end(), kContentLength.begin(), kContentLength.end(),
                  [](char x, char y) { return minuscola(x) == y; });
  if (trovato == buffer_.end()) {
    // Keep what could be the start of the text, cut by the end of a read.
    const std::size_t tieni = std::min(buffer_.size(), kContentLength.size() - 1);
    buffer_.erase(0, buffer_.size() - tieni);
    return false;
  }
  buffer_.erase(buffer_.begin(), trovato);
  state_ = State::header;
  return true;
}

std::string Frame(std::string_view body) {
  std::string s = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  s += body;
  return s;
}

}  // namespace scenario
