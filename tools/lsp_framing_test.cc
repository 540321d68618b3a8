#include "tools/lsp_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

/// What a decoder made of a stream: bodies as they are, errors as "!".
std::vector<std::string> decodifica(const std::string& flusso, std::size_t pezzo) {
  FrameDecoder d;
  std::vector<std::string> visti;
  std::string uscita;
  for (std::size_t i = 0; i < flusso.size(); i += pezzo) {
    d.Feed(std::string_view(flusso).substr(i, pezzo));
    for (FrameDecoder::Result r; (r = d.Next(&uscita)) != FrameDecoder::Result::none;) {
      visti.push_back(r == FrameDecoder::Result::message ? uscita : "!");
    }
  }
  return visti;
}

TEST(FrameDecoder, SameMessagesWhateverTheReadsCutTheStreamInto) {
  const std::string flusso = Frame("{\"a\":1}") +
                             "content-length:  10 \r\nContent-Type: application/json\r\n\r\n"
                             "{\"b\":\"\xc3\xa8\"}" +
                             Frame("") + Frame("{\"c\":3}");
  const std::vector<std::string> attesi = {"{\"a\":1}", "{\"b\":\"\xc3\xa8\"}", "", "{\"c\":3}"};
  for (std::size_t pezzo : {std::size_t{1}, std::size_t{2}, std::size_t{7}, flusso.size()}) {
    SCOPED_TRACE(pezzo);
    EXPECT_EQ(decodifica(flusso, pezzo), attesi);
  }
}

TEST(FrameDecoder, ABadHeaderBlockIsReportedOnceAndTheNextMessageStillArrives) {
  const std::string buono = Frame("{\"ok\":1}");
  const std::vector<std::pair<const char*, std::string>> casi = {
      {"length not a number", "Content-Length: abc\r\n\r\n{}" + buono},
      {"no length", "Content-Type: x\r\n\r\n{\"id\":1}" + buono},
      {"no colon", "Hello there\r\n" + buono},
      {"over the limit", "Content-Length: 99999999999999999999\r\n\r\n{}" + buono},
      {"header too long", std::string(FrameDecoder::kMaxHeader + 10, 'x') + buono},
  };
  for (const auto& [nome, flusso] : casi) {
    SCOPED_TRACE(nome);
    for (std::size_t pezzo : {std::size_t{1}, flusso.size()}) {
      EXPECT_EQ(decodifica(flusso, pezzo), (std::vector<std::string>{"!", "{\"ok\":1}"}));
    }
  }
}

TEST(FrameDecoder, StrayLineEndsAndLoneLineFeedsAreAccepted) {
  EXPECT_EQ(decodifica("\r\nContent-Length: 2\n\n{}", 1), std::vector<std::string>{"{}"});
}

TEST(FrameDecoder, AsksForNoMoreThanTheBodyStillOwes) {
  FrameDecoder d;
  EXPECT_EQ(d.Wanted(), 1u);
  d.Feed("Content-Length: 10\r\n\r\n{\"x\"");
  std::string uscita;
  EXPECT_EQ(d.Next(&uscita), FrameDecoder::Result::none);
  EXPECT_EQ(d.Wanted(), 6u);
  EXPECT_TRUE(d.InMessage());
  d.Feed(":123}");  // 9 bytes of 10
  EXPECT_EQ(d.Next(&uscita), FrameDecoder::Result::none);
  d.Feed("X");
  EXPECT_EQ(d.Next(&uscita), FrameDecoder::Result::message);
  EXPECT_EQ(uscita, "{\"x\":123}X");
  EXPECT_FALSE(d.InMessage());
}

}  // namespace
}  // namespace scenario
