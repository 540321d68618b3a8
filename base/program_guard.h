// What a program sets up at its top so that the system's limits end a run
// like any other failure: with a message, exit status 2, and nothing left
// half-written.
#ifndef SCENARIO_BASE_PROGRAM_GUARD_H_
#define SCENARIO_BASE_PROGRAM_GUARD_H_

#include <new>
#include <utility>

namespace scenario {

/// The exit status of a run ended by a failure of the system.
constexpr int kExitSystemFailure = 2;

/// Ignores SIGXFSZ, whose default action kills the process (status 153)
/// mid-write. A write past the file-size limit (`ulimit -f`) then fails with
/// EFBIG like any other write, and the writer cleans up and reports it.
/// Call once, first thing in main.
void IgnoreFileSizeSignal();

/// Writes "PROGRAM: out of memory" and a newline on standard error without
/// allocating, and returns kExitSystemFailure.
int ReportOutOfMemory(const char* program);

/// Runs `body`, which returns the exit status, and returns its status. When
/// it runs out of memory (std::bad_alloc), the exception is caught here, at
/// the top, so that the stack is unwound first (the destructors of what
/// `body` built remove its temporary and transient files), then reports it
/// with ReportOutOfMemory.
template <typename Body>
int RunGuardingMemory(const char* program, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (const std::bad_alloc&) {
    return ReportOutOfMemory(program);
  }
}

}  // namespace scenario

#endif  // SCENARIO_BASE_PROGRAM_GUARD_H_
