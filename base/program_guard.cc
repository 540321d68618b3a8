#include "base/program_guard.h"

#include <signal.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstring>

namespace scenario {

void IgnoreFileSizeSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGXFSZ, &action, nullptr);
}

int ReportOutOfMemory(const char* program) {
  // One call straight to the descriptor: no stream, no buffer to allocate.
  static constexpr char kMessage[] = ": out of memory\n";
  const struct iovec parts[] = {{const_cast<char*>(program), std::strlen(program)},
                                {const_cast<char*>(kMessage), sizeof kMessage - 1}};
  (void)!::writev(STDERR_FILENO, parts, 2);
  return kExitSystemFailure;
}

}  // namespace scenario
