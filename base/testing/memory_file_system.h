// A file system held in memory, so that a fuzzer can run a whole compile per
// input without touching the disk.
#ifndef SCENARIO_BASE_TESTING_MEMORY_FILE_SYSTEM_H_
#define SCENARIO_BASE_TESTING_MEMORY_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_system.h"

namespace scenario {

/// Files are whole strings keyed by their full path, all regular; folders are
/// not modelled, every path is valid. A created file exists (empty) at once, and
/// its bytes become visible as they are written.
class MemoryFileSystem : public FileSystem {
 public:
  /// Every file, by path.
  std::map<std::string, std::string>& files() { return files_; }
  /// Number of files created and not yet closed.
  std::size_t OpenFiles() const { return open_.size(); }

  bool IsRegularFile(const std::string& path) override { return files_.count(path) != 0; }

  bool ReadFile(const std::string& path, std::string* contents, std::string* err) override {
    auto it = files_.find(path);
    if (it == files_.end()) {
      *err = path + ": No such file or directory";
      return false;
    }
    *contents = it->second;
    return true;
  }

  bool RemoveFile(const std::string& path, std::string*) override {
    files_.erase(path);
    return true;
  }

  bool Inspect(const std::string& path, FileStatus* status, std::string*) override {
    *status = files_.count(path) != 0 ? FileStatus{FileKind::kRegular, 0644} : FileStatus{};
    return true;
  }

  std::size_t NameLimit(const std::string&) override { return 255; }

  /// Nothing to share with: the lock stays unheld.
  bool LockFolder(const std::string&, std::string_view, FolderLock*, std::string*) override {
    return true;
  }

  int CreateFile(const std::string& path, std::optional<std::uint32_t>, std::string*) override {
    if (files_.count(path) != 0) return kNameTaken;
    files_[path].clear();
    const int handle = next_handle_++;
    open_[handle] = path;
    return handle;
  }

  bool Write(int handle, std::string_view data, std::string* err) override {
    auto it = open_.find(handle);
    if (it == open_.end()) {
      *err = "write to a file that is not open";
      return false;
    }
    files_[it->second].append(data);
    return true;
  }

  bool Flush(int handle, std::string* err) override {
    if (open_.count(handle) != 0) return true;
    *err = "flush of a file that is not open";
    return false;
  }

  bool Close(int handle, std::string* err) override {
    if (open_.erase(handle) != 0) return true;
    *err = "close of a file that is not open";
    return false;
  }

  bool Rename(const std::string& from, const std::string& to, std::string* err) override {
    auto it = files_.find(from);
    if (it == files_.end()) {
      *err = from + ": No such file or directory";
      return false;
    }
    std::string bytes = std::move(it->second);
    files_.erase(it);
    files_[to] = std::move(bytes);
    return true;
  }

 private:
  std::map<std::string, std::string> files_;
  std::map<int, std::string> open_;  ///< open handles and their paths
  int next_handle_ = 1;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_TESTING_MEMORY_FILE_SYSTEM_H_
