// Test support for the tool: running it in-process or as a program, and
// the scenario files it works on.
#ifndef SCENARIO_TOOLS_TOOL_TEST_SUPPORT_H_
#define SCENARIO_TOOLS_TOOL_TEST_SUPPORT_H_

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/tool.h"

namespace scenario {

/// What one run of the tool printed and returned.
struct Esecuzione {
  int stato = -1;
  std::string out;
  std::string err;
};

/// Runs the tool in this process with `argomenti` (without the program
/// name).
inline Esecuzione strumento(const std::vector<std::string>& argomenti) {
  std::ostringstream out, err;
  Esecuzione e;
  e.stato = esegui_comando(argomenti, out, err);
  e.out = out.str();
  e.err = err.str();
  return e;
}

/// The bytes of a file ("" when it cannot be read).
inline std::string contenuto(const std::string& percorso) {
  std::ifstream in(percorso, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Runs `programma` with `argomenti` in folder `cartella`, without DISPLAY,
/// its output captured through files in `cartella`.
inline Esecuzione programma(const std::string& programma, const std::vector<std::string>& argomenti,
                            const std::string& cartella) {
  const std::string file_out = cartella + "/.stdout";
  const std::string file_err = cartella + "/.stderr";
  Esecuzione e;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int o = ::open(file_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int r = ::open(file_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || r < 0 || ::dup2(o, 1) < 0 || ::dup2(r, 2) < 0 || ::chdir(cartella.c_str()) != 0) {
      ::_exit(127);
    }
    ::unsetenv("DISPLAY");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(programma.c_str()));
    for (const std::string& a : argomenti) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(programma.c_str(), argv.data());
    ::_exit(127);
  }
  int stato = 0;
  if (pid > 0 && ::waitpid(pid, &stato, 0) == pid && WIFEXITED(stato)) {
    e.stato = WEXITSTATUS(stato);
  }
  e.out = contenuto(file_out);
  e.err = contenuto(file_err);
  std::filesystem::remove(file_out);
  std::filesystem::remove(file_err);
  return e;
}

/// The route and train of the hand-written example scenario kept beside
/// these tests in tools/testdata.
inline constexpr const char* kPercorsoEsempio = "Val_Piccola";
inline constexpr const char* kTrenoEsempio = "2231";

/// The folder of the hand-written example scenario.
inline std::string cartella_esempio() {
  return (std::filesystem::path(__FILE__).parent_path() / "testdata").string();
}

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TOOL_TEST_SUPPORT_H_
