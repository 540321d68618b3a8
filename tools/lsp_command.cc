#include "tools/lsp_command.h"

#include <algorithm>
#include <csignal>
#include <string>

#include "tools/lsp_compiler_analyzer.h"
#include "tools/lsp_framing.h"
#include "tools/lsp_server.h"

namespace scenario {

const char* const kUsoLsp =
    "usage: scenario_tool lsp\n"
    "\n"
    "Serves an editor with the Language Server Protocol on standard input and\n"
    "output: the problems of the line and train scripts as they are typed,\n"
    "what the field under the cursor is, the record keywords, and the\n"
    "stations, signals and boards of a script. A train script ROUTE_TRAIN-.txt\n"
    "is checked with ROUTE_linea.txt in its folder, a line script with every\n"
    "train script of its route there; scripts the editor has not open are read\n"
    "from disk. Nothing is written to disk. Messages it cannot use are logged\n"
    "on standard error and skipped.\n"
    "\n"
    "exit status: 0 after the editor's shutdown and exit, 1 when the session\n"
    "ended without shutdown.\n";

int comando_lsp(std::istream& in, std::ostream& out, std::ostream& err, FileSystem& fs) {
  std::signal(SIGPIPE, SIG_IGN);
  AnalizzatoreCompilatore analizzatore;
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
