// An exclusive lock on a folder, so that runs writing the same folder take
// turns instead of mixing their files.
#ifndef SCENARIO_BASE_FOLDER_LOCK_H_
#define SCENARIO_BASE_FOLDER_LOCK_H_

#include <chrono>
#include <string>
#include <string_view>

namespace scenario {

/// The lock is an advisory `flock` on the folder itself, opened read-only:
/// - nothing is created, written or truncated in the folder, so the lock
///   leaves no file behind, and no name in the folder (a planted link, a
///   FIFO) can redirect or block it;
/// - it binds only processes that lock the folder this way, and is released
///   when the holder releases it or ends, however it ends (the descriptor is
///   not passed on to programs it starts);
/// - a second process waits for the first; when the wait passes
///   `notice_after` it writes `notice` and a newline on standard error,
///   once, and keeps waiting.
/// A folder that cannot be opened or locked is an error ("FOLDER: reason").
class FolderLock {
 public:
  /// How long a wait goes unreported.
  static constexpr std::chrono::milliseconds kNoticeAfter{1000};

  FolderLock() = default;
  ~FolderLock() { Release(); }
  FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  /// Takes the lock on `folder`, waiting as long as another process holds
  /// it; releases any lock held before. False with `*err` on failure.
  bool Acquire(const std::string& folder, std::string_view notice, std::string* err,
               std::chrono::milliseconds notice_after = kNoticeAfter);
  /// True while the lock is held.
  bool held() const { return fd_ >= 0; }
  /// Gives the lock up; nothing happens when none is held.
  void Release();

 private:
  int fd_ = -1;  ///< the folder, open while the lock is held
};

}  // namespace scenario

#endif  // SCENARIO_BASE_FOLDER_LOCK_H_
