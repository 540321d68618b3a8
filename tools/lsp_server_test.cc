#include "tools/lsp_server.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/memory_file_system.h"
#include "tools/lsp_framing.h"

namespace scenario {
namespace {

using nlohmann::json;

const std::string kUriLinea = "file:///d/R_linea.txt";
const std::string kUriTreno = "file:///d/R_1-.txt";

/// Finds, in any pair, one warning on bytes 3 to 7 of the train script's
/// line 2 with a note on the line script's line 2 from byte 5.
class AnalizzatoreFinto : public Analizzatore {
 public:
  std::vector<Problema> problemi(std::string_view, std::string_view, const std::string& uri_linea,
                                 const std::string& uri_treno) override {
    return {{uri_treno,
             2,
             3,
             8,
             Gravita::avviso,
             0,
             "fuori-ordine",
             "out of order \xe8",
             {{uri_linea, 2, 5, "the earlier one"}}}};
  }
  std::optional<Descrizione> descrizione(std::string_view, TipoScript, int, int) override {
    return std::nullopt;
  }
  Proposte proposte(std::string_view, TipoScript, int, int) override { return {}; }
  std::vector<Simbolo> simboli(std::string_view, TipoScript) override { return {}; }
};

std::string messaggio(json m) {
  m["jsonrpc"] = "2.0";
  return m.dump();
}

TEST(ServerLsp, PutsProblemsAndNotesAtTheEditorsCharacters) {
  // Line 2 of the train script: a two-byte letter, a four-byte character
  // (two UTF-16 units), then "abc".
  const std::string treno =
      "x\n\xc3\xa0\xf0\x9f\x98\x80"
      "abc\n";
  struct Caso {
    const char* nome;
    json codifiche;
    const char* codifica;
    int inizio, fine;  // of the warning
  };
  const Caso casi[] = {
      {"UTF-16, the protocol's default", nullptr, "utf-16", 1, 4},
      {"UTF-8, when the editor offers it", json{"utf-8", "utf-16"}, "utf-8", 2, 7},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    MemoryFileSystem fs;
    fs.files()["/d/R_linea.txt"] = "ab\r\ncdefg\r\n";
    AnalizzatoreFinto analizzatore;
    std::ostringstream out, log;
    ServerLsp server(analizzatore, fs, out, log);
    json capacita = json::object();
    if (!c.codifiche.is_null()) capacita["general"]["positionEncodings"] = c.codifiche;
    server.ricevi(
        messaggio({{"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", capacita}}}}));
    server.ricevi(messaggio(
        {{"method", "textDocument/didOpen"},
         {"params", {{"textDocument", {{"uri", kUriTreno}, {"version", 1}, {"text", treno}}}}}}));

    FrameDecoder frame;
    frame.Feed(out.str());
    std::string corpo;
    ASSERT_EQ(frame.Next(&corpo), FrameDecoder::Result::message);
    EXPECT_EQ(json::parse(corpo)["result"]["capabilities"]["positionEncoding"], c.codifica);
    ASSERT_EQ(frame.Next(&corpo), FrameDecoder::Result::message);
    const json p = json::parse(corpo)["params"];
    EXPECT_EQ(p["uri"], kUriTreno);
    ASSERT_EQ(p["diagnostics"].size(), 1u);
    const json d = p["diagnostics"][0];
    EXPECT_EQ(d["range"], (json{{"start", {{"line", 1}, {"character", c.inizio}}},
                                {"end", {{"line", 1}, {"character", c.fine}}}}));
    EXPECT_EQ(d["severity"], 2);
    EXPECT_EQ(d["code"], "fuori-ordine");
    EXPECT_EQ(d["message"], "out of order \xc3\xa8") << "a Windows-1252 byte sent as UTF-8";
    const json nota = d["relatedInformation"][0];
    EXPECT_EQ(nota["message"], "the earlier one");
    EXPECT_EQ(nota["location"], (json{{"uri", kUriLinea},
                                      {"range",
                                       {{"start", {{"line", 1}, {"character", 4}}},
                                        {"end", {{"line", 1}, {"character", 5}}}}}}))
        << "the line script's text read from disk";
    ASSERT_EQ(frame.Next(&corpo), FrameDecoder::Result::message);
    EXPECT_EQ(json::parse(corpo)["params"]["uri"], kUriLinea);
  }
}

}  // namespace
}  // namespace scenario
