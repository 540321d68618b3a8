#include "base/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "base/testing/temporary_folder.h"

namespace scenario {
namespace {

using std::chrono::milliseconds;

/// Starts a process that takes the lock on `folder`, holds it for `hold` and
/// ends; returns once the lock is held, with the process's id.
pid_t HoldInAnotherProcess(const std::string& folder, milliseconds hold) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(ready[0]);
    FolderLock lock;
    std::string err;
    if (!lock.Acquire(folder, "", &err)) ::_exit(1);
    (void)!::write(ready[1], "x", 1);
    std::this_thread::sleep_for(hold);
    ::_exit(0);  // the lock ends with the process
  }
  ::close(ready[1]);
  char byte = 0;
  if (pid < 0 || ::read(ready[0], &byte, 1) != 1) {
    ::close(ready[0]);
    return -1;
  }
  ::close(ready[0]);
  return pid;
}

TEST(FolderLock, ASecondProcessWaitsAndSaysSoWhenTheWaitIsLong) {
  const struct {
    const char* name;
    milliseconds hold;
    milliseconds notice_after;
    const char* said;
  } cases[] = {
      {"long wait", milliseconds(600), milliseconds(100), "waiting for the other run\n"},
      {"short wait", milliseconds(200), milliseconds(5000), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CartellaTemporanea folder;
    const pid_t holder = HoldInAnotherProcess(folder.percorso(), c.hold);
    ASSERT_GT(holder, 0);

    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    FolderLock lock;
    std::string err;
    const bool locked =
        lock.Acquire(folder.percorso(), "waiting for the other run", &err, c.notice_after);
    const auto waited = std::chrono::steady_clock::now() - start;
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(locked) << err;
    EXPECT_TRUE(lock.held());
    EXPECT_GE(waited, c.hold / 2) << "the lock was not waited for";
    EXPECT_EQ(said, c.said);
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Nothing was made in the folder.
    EXPECT_EQ(folder.voci(), std::set<std::string>{});
    lock.Release();
    EXPECT_FALSE(lock.held());
  }
}

TEST(FolderLock, AFolderThatCannotBeOpenedIsAnError) {
  CartellaTemporanea folder;
  folder.scrivi("file", "x");
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {{folder.file("missing"), "No such file or directory"},
               {folder.file("file"), "Not a directory"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    FolderLock lock;
    std::string err;
    EXPECT_FALSE(lock.Acquire(c.path, "", &err));
    EXPECT_EQ(err, c.path + ": " + c.reason);
    EXPECT_FALSE(lock.held());
  }
}

}  // namespace
}  // namespace scenario
