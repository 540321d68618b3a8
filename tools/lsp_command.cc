#include "tools/lsp_command.h"

#include <algorithm>
#include <csignal>
#include <string>

#include "tools/lsp_framing.h"
#include "tools/lsp_script_analyzer.h"
#include "tools/lsp_server.h"

namespace scenario {

int comando_lsp(std::istream& in, std::ostream& out, std::ostream& err, FileSystem& fs) {
  std::signal(SIGPIPE, SIG_IGN);
  AnalizzatoreScript analizzatore;
  ServerLsp server(analizzatore, fs, out, err);
  FrameDecoder frame;
  std::streambuf* sorgente = in.rdbuf();
  std::string pezzo(std::size_t{1} << 16, '\0');
  std::string corpo;
  while (!server.finito() && out) {
    // Never more than the current message still owes: a read that waited
    // for the next message would hold up the answer to this one.
    const auto voluti = static_cast<std::streamsize>(std::min(frame.Wanted(), pezzo.size()));
    const std::streamsize letti = sorgente ? sorgente->sgetn(pezzo.data(), voluti) : 0;
    if (letti <= 0) break;
    frame.Feed(std::string_view(pezzo.data(), static_cast<std::size_t>(letti)));
    for (FrameDecoder::Result r;
         !server.finito() && (r = frame.Next(&corpo)) != FrameDecoder::Result::none;) {
      if (r == FrameDecoder::Result::error) {
        err << "scenario_tool lsp: " << corpo << "; skipped\n";
      } else {
        server.ricevi(corpo);
      }
    }
  }
  if (!server.finito()) {
    err << "scenario_tool lsp: the editor "
        << (out ? "closed the input" : "stopped reading the output")
        << (frame.InMessage() ? " inside a message" : "")
        << (server.chiuso() ? "" : " without shutdown") << "\n";
  }
  return server.stato_uscita();
}

}  // namespace scenario
