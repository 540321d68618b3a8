#include "base/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace scenario {

namespace {

/// `flock(fd, LOCK_EX)`, started again when a signal interrupts it.
int WaitForLock(int fd) {
  int result;
  do {
    result = ::flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  return result;
}

/// Waits for the lock on `fd`; when that takes longer than `notice_after`, a
/// second thread writes `notice` while this one keeps waiting in the kernel,
/// so the lock is taken the moment it is free. Without a second thread (the
/// system refuses one) the wait goes on unreported.
int WaitForLockWithNotice(int fd, std::string_view notice, std::chrono::milliseconds notice_after) {
  std::mutex mutex;
  std::condition_variable done_changed;
  bool done = false;
  std::thread reporter;
  try {
    reporter = std::thread([&] {
      std::unique_lock<std::mutex> guard(mutex);
      if (!done_changed.wait_for(guard, notice_after, [&] { return done; })) {
        std::fwrite(notice.data(), 1, notice.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
      }
    });
  } catch (const std::system_error&) {
  }
  const int result = WaitForLock(fd);
  const int saved = errno;
  if (reporter.joinable()) {
    {
      std::lock_guard<std::mutex> guard(mutex);
      done = true;
    }
    done_changed.notify_one();
    reporter.join();
  }
  errno = saved;
  return result;
}

}  // namespace

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool FolderLock::Acquire(const std::string& folder, std::string_view notice, std::string* err,
                         std::chrono::milliseconds notice_after) {
  Release();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    *err = folder + ": " + std::strerror(errno);
    return false;
  }
  // The common case, nobody else there, costs one call.
  int result = ::flock(fd, LOCK_EX | LOCK_NB);
  if (result != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
    result = WaitForLockWithNotice(fd, notice, notice_after);
  }
  if (result != 0) {
    *err = folder + ": " + std::strerror(errno);
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void FolderLock::Release() {
  if (fd_ < 0) return;
  // Closing the only descriptor of the open folder drops the lock.
  ::close(fd_);
  fd_ = -1;
}

}  // namespace scenario
