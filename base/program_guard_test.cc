#include "base/program_guard.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>
#include <set>
#include <string>

#include "base/file_system.h"
#include "base/testing/temporary_folder.h"
#include "base/transient_files.h"

namespace scenario {
namespace {

TEST(RunGuardingMemory, RunningOutOfMemoryIsAMessageAndStatus2AfterCleaningUp) {
  const struct {
    const char* name;
    bool throws;
    int status;
    const char* said;
  } cases[] = {
      {"ends normally", false, 7, ""},
      {"out of memory", true, 2, "prog: out of memory\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CartellaTemporanea folder;
    RealFileSystem fs;
    testing::internal::CaptureStderr();
    const int status = RunGuardingMemory("prog", [&] {
      folder.scrivi("transient", "x");
      TransientFiles transient(fs);
      transient.Add(folder.file("transient"));
      if (c.throws) throw std::bad_alloc();
      transient.Keep();
      return 7;
    });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
    EXPECT_EQ(status, c.status);
    // The unwinding ran the destructors before the report.
    EXPECT_EQ(folder.esiste("transient"), !c.throws);
  }
}

TEST(IgnoreFileSizeSignal, MakesAFileSizeLimitAnOrdinaryWriteError) {
  const struct {
    const char* name;
    bool ignore;
  } cases[] = {{"default action", false}, {"ignored", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CartellaTemporanea folder;
    folder.scrivi("a.dat", "old");
    int message[2];
    ASSERT_EQ(::pipe(message), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::signal(SIGXFSZ, SIG_DFL);
      if (c.ignore) IgnoreFileSizeSignal();
      const rlimit limit{1000, 1000};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      RealFileSystem fs;
      std::string err;
      const bool replaced = ReplaceFile(fs, folder.file("a.dat"), std::string(5000, 'n'), &err);
      (void)!::write(message[1], err.data(), err.size());
      ::_exit(replaced ? 0 : 3);
    }
    ::close(message[1]);
    std::string said;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(message[0], buffer, sizeof buffer)) > 0) said.append(buffer, n);
    ::close(message[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    if (c.ignore) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
      EXPECT_EQ(said, "cannot write " + folder.file("a.dat") + ": File too large");
      EXPECT_EQ(folder.voci(), std::set<std::string>{"a.dat"});
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    }
    EXPECT_EQ(folder.leggi("a.dat"), "old");
  }
}

}  // namespace
}  // namespace scenario
