#include "tools/lsp_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/memory_file_system.h"
#include "scripts/builtin_scripts.h"
#include "tools/lsp_framing.h"

namespace scenario {
namespace {

using nlohmann::json;

/// The folder of the scripts, and their URIs.
constexpr const char* kCartella = "/s";
const std::string kUriTreno = "file:///s/Zembrastina_Dervo_47716-.txt";
const std::string kUriLinea = "file:///s/Zembrastina_Dervo_linea.txt";

/// What one session printed and returned.
struct Sessione {
  int stato = -1;
  std::vector<json> messaggi;
  std::string log;

  /// The response to request `id` (null when there is none).
  json risposta(int id) const {
    for (const json& m : messaggi) {
      if (m.contains("id") && m["id"] == id) return m;
    }
    return nullptr;
  }
  /// The problems published last for `uri`, in order.
  std::vector<json> pubblicati(const std::string& uri) const {
    std::vector<json> visti;
    for (const json& m : messaggi) {
      if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri) {
        visti.push_back(m["params"]["diagnostics"]);
      }
    }
    return visti;
  }
};

std::string richiesta(int id, const std::string& metodo, json parametri = json::object()) {
  return Frame(
      json{{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", parametri}}.dump());
}

std::string notifica(const std::string& metodo, json parametri = json::object()) {
  return Frame(json{{"jsonrpc", "2.0"}, {"method", metodo}, {"params", parametri}}.dump());
}

const std::string kInizio =
    richiesta(1, "initialize", {{"capabilities", json::object()}}) + notifica("initialized");
const std::string kFine = richiesta(99, "shutdown") + notifica("exit");

/// The built-in scripts in `fs`, as `scenario_tool scripts` writes them.
void script_incorporati(MemoryFileSystem& fs) {
  std::string err;
  ASSERT_TRUE(dati_linea(fs, kCartella, kNomePercorso, &err)) << err;
  ASSERT_TRUE(dati_treno(fs, kCartella, kNomePercorso, kNumeroTreno, &err)) << err;
}

std::string testo_treno(MemoryFileSystem& fs) {
  return fs.files()["/s/Zembrastina_Dervo_47716-.txt"];
}

Sessione sessione(const std::string& ingresso, MemoryFileSystem& fs) {
  std::istringstream in(ingresso);
  std::ostringstream out, err;
  Sessione s;
  s.stato = comando_lsp(in, out, err, fs);
  s.log = err.str();
  FrameDecoder d;
  d.Feed(out.str());
  std::string corpo;
  while (d.Next(&corpo) == FrameDecoder::Result::message) s.messaggi.push_back(json::parse(corpo));
  EXPECT_FALSE(d.InMessage()) << "the output ends inside a message";
  return s;
}

TEST(ComandoLsp, AnnouncesWhatItServesAndExitsZeroAfterShutdown) {
  MemoryFileSystem fs;
  const Sessione s = sessione(kInizio + kFine, fs);
  EXPECT_EQ(s.stato, 0);
  const json capacita = s.risposta(1)["result"]["capabilities"];
  EXPECT_EQ(capacita["textDocumentSync"]["change"], 1);
  EXPECT_EQ(capacita["hoverProvider"], true);
  EXPECT_TRUE(capacita.contains("completionProvider"));
  EXPECT_EQ(capacita["documentSymbolProvider"], true);
  EXPECT_TRUE(s.risposta(99).contains("result"));
  EXPECT_TRUE(s.risposta(99)["result"].is_null());
}

TEST(ComandoLsp, ExitStatusFollowsTheShutdown) {
  const std::pair<const char*, std::string> casi[] = {
      {"exit without shutdown", kInizio + notifica("exit")},
      {"input closed without exit", kInizio},
      {"input closed inside a message", kInizio + "Content-Length: 50\r\n\r\n{\"js"},
      {"exit before initialize", notifica("exit")},
  };
  for (const auto& [nome, ingresso] : casi) {
    SCOPED_TRACE(nome);
    MemoryFileSystem fs;
    EXPECT_EQ(sessione(ingresso, fs).stato, 1);
  }
  MemoryFileSystem fs;
  EXPECT_EQ(sessione(kInizio + richiesta(99, "shutdown"), fs).stato, 0)
      << "input closed after shutdown";
}

TEST(ComandoLsp, AnswersEachRequestItCannotServeWithTheProtocolsError) {
  MemoryFileSystem fs;
  const Sessione s = sessione(
      richiesta(2, "textDocument/hover") + kInizio + richiesta(3, "textDocument/definition") +
          richiesta(4, "textDocument/hover", {{"textDocument", {{"uri", 7}}}}) +
          Frame(R"({"jsonrpc":"2.0","id":5})") + richiesta(6, "initialize") +
          richiesta(99, "shutdown") + richiesta(7, "textDocument/hover") + notifica("exit"),
      fs);
  const std::pair<int, int> attesi[] = {
      {2, -32002},  // before initialize
      {3, -32601},  // unknown method
      {4, -32602},  // parameters of the wrong shape
      {5, -32600},  // no method
      {6, -32600},  // a second initialize
      {7, -32600},  // after shutdown
  };
  for (const auto& [id, codice] : attesi) {
    SCOPED_TRACE(id);
    EXPECT_EQ(s.risposta(id)["error"]["code"], codice);
  }
  EXPECT_EQ(s.stato, 0);
}

TEST(ComandoLsp, SkipsWhatItCannotUseAndServesOn) {
  MemoryFileSystem fs;
  const std::string profondo = std::string(100000, '[') + std::string(100000, ']');
  const Sessione s =
      sessione(kInizio + "Content-Length: x\r\n\r\n{}" + Frame("{not json") + Frame("[1,2]") +
                   Frame(R"({"jsonrpc":"2.0","id":[1]})") + Frame(profondo) + Frame("\xff\xfe") +
                   Frame(R"({"jsonrpc":"2.0","id":8,"result":null})") +
                   notifica("$/cancelRequest", {{"id", 1}}) +
                   notifica("textDocument/didChange", {{"textDocument", 1}}) +
                   richiesta(9, "shutdown") + notifica("exit"),
               fs);
  EXPECT_EQ(s.stato, 0);
  EXPECT_TRUE(s.risposta(9).contains("result"));
  // initialize and shutdown only: nothing else was answered.
  EXPECT_EQ(s.messaggi.size(), 2u);
  for (const char* atteso :
       {"Content-Length 'x' is not a number", "not valid JSON", "not a JSON object",
        "neither a number nor a string", "textDocument/didChange: parameters not understood"}) {
    EXPECT_NE(s.log.find(atteso), std::string::npos) << atteso << " in\n" << s.log;
  }
}

TEST(ComandoLsp, PublishesTheProblemsOfBothScriptsAndClearsThemWhenFixed) {
  MemoryFileSystem fs;
  script_incorporati(fs);
  const std::string buono = testo_treno(fs);
  std::string rotto = buono;
  rotto.replace(rotto.find("stazione,   66600"), 17, "stazione,   66620");
  auto apri = [](const std::string& testo) {
    return notifica(
        "textDocument/didOpen",
        {{"textDocument",
          {{"uri", kUriTreno}, {"languageId", "text"}, {"version", 1}, {"text", testo}}}});
  };
  auto cambia = [](const std::string& testo) {
    return notifica("textDocument/didChange",
                    {{"textDocument", {{"uri", kUriTreno}, {"version", 2}}},
                     {"contentChanges", {{{"text", testo}}}}});
  };
  const std::map<std::string, std::string> prima = fs.files();
  const Sessione s = sessione(
      kInizio + apri(rotto) + cambia(buono) +
          notifica("textDocument/didClose", {{"textDocument", {{"uri", kUriTreno}}}}) + kFine,
      fs);
  const std::vector<json> treno = s.pubblicati(kUriTreno);
  ASSERT_EQ(treno.size(), 3u);  // opened, fixed, closed
  // The error at its field, then the timetable warning the built-in
  // scenario has too; the fix leaves the warning alone.
  ASSERT_EQ(treno[0].size(), 2u);
  EXPECT_EQ(treno[0][0]["code"], 8);
  EXPECT_EQ(treno[0][0]["severity"], 1);
  EXPECT_EQ(treno[0][0]["range"]["start"], (json{{"line", 26}, {"character", 12}}));
  EXPECT_EQ(treno[0][0]["range"]["end"], (json{{"line", 26}, {"character", 17}}));
  EXPECT_NE(treno[0][0]["message"].get<std::string>().find("66620"), std::string::npos);
  EXPECT_EQ(treno[0][1]["severity"], 2);
  ASSERT_EQ(treno[1].size(), 1u);
  EXPECT_EQ(treno[1][0], treno[0][1]);
  EXPECT_EQ(treno[2], json::array());
  const std::vector<json> linea = s.pubblicati(kUriLinea);
  ASSERT_EQ(linea.size(), 3u);
  for (const json& l : linea) EXPECT_EQ(l, json::array());
  EXPECT_EQ(fs.files(), prima) << "nothing written";
}

TEST(ComandoLsp, AnswersHoverCompletionAndSymbolsFromTheEditorsText) {
  MemoryFileSystem fs;
  script_incorporati(fs);
  const std::string testo = testo_treno(fs) + "\r\nsta";
  const int ultima = static_cast<int>(std::count(testo.begin(), testo.end(), '\n'));
  auto in = [](int riga, int carattere) {
    return json{{"textDocument", {{"uri", kUriTreno}}},
                {"position", {{"line", riga}, {"character", carattere}}}};
  };
  const Sessione s = sessione(
      kInizio +
          notifica(
              "textDocument/didOpen",
              {{"textDocument",
                {{"uri", kUriTreno}, {"languageId", "text"}, {"version", 1}, {"text", testo}}}}) +
          richiesta(2, "textDocument/hover", in(26, 14)) +
          richiesta(3, "textDocument/completion", in(ultima, 3)) +
          richiesta(4, "textDocument/documentSymbol", {{"textDocument", {{"uri", kUriTreno}}}}) +
          kFine,
      fs);
  const json hover = s.risposta(2)["result"];
  EXPECT_NE(hover["contents"]["value"].get<std::string>().find("field 1 of 17: `66600`"),
            std::string::npos)
      << hover;
  EXPECT_EQ(hover["range"]["start"]["character"], 12);
  EXPECT_EQ(hover["range"]["end"]["character"], 17);

  std::vector<std::string> parole;
  const json completamento = s.risposta(3);
  for (const json& voce : completamento["result"]["items"]) {
    parole.push_back(voce["label"].get<std::string>());
    EXPECT_EQ(voce["textEdit"]["range"]["start"], (json{{"line", ultima}, {"character", 0}}));
  }
  EXPECT_NE(std::find(parole.begin(), parole.end(), "stazione"), parole.end());
  EXPECT_NE(std::find(parole.begin(), parole.end(), "percentuale massa frenata"), parole.end());
  EXPECT_EQ(std::find(parole.begin(), parole.end(), "pendenza"), parole.end())
      << "a line script keyword offered in a train script";

  const json simboli = s.risposta(4)["result"];
  ASSERT_EQ(simboli.size(), 22u);  // ten stations, twelve signals
  EXPECT_EQ(simboli[0]["name"], "NOVARA");
  EXPECT_EQ(simboli[0]["detail"], "station, 66600 m");
  EXPECT_EQ(simboli[10]["name"], "signal at 67400 m");
}

}  // namespace
}  // namespace scenario
