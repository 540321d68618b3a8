// A file system held in memory: a compile can run whole without touching
// the disk (the authors' check and decompiler, the fuzzers, the benchmarks).
#ifndef SCENARIO_BASE_MEMORY_FILE_SYSTEM_H_
#define SCENARIO_BASE_MEMORY_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"

namespace scenario {

/// Files are whole strings keyed by their full path; folders are not
/// modelled beyond this: a folder is a path made as one or that files lie
/// under, making one always succeeds, and removing one removes the files
/// under it. A created file exists (empty) at once, and its bytes become
/// visible as they are written.
class MemoryFileSystem : public FileSystem {
 public:
  /// Every file, by path.
  std::map<std::string, std::string>& files() { return files_; }
  /// Number of files created and not yet closed.
  std::size_t OpenFiles() const { return open_.size(); }

  bool IsRegularFile(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* contents, std::string* err) override;
  bool FileSize(const std::string& path, std::uint64_t* size, std::string* err) override;
  bool RemoveFile(const std::string& path, std::string* err) override;
  /// The files whose path is `path`, "/" and a name without "/".
  bool ListFolder(const std::string& path, std::vector<std::string>* names,
                  std::string* err) override;
  bool Inspect(const std::string& path, FileStatus* status, std::string* err) override;
  std::size_t NameLimit(const std::string& folder) override;
  /// Nothing to share with: the lock stays unheld.
  bool LockFolder(const std::string& folder, std::string_view waiting_notice, FolderLock* lock,
                  std::string* err) override;
  int CreateFile(const std::string& path, std::optional<std::uint32_t> mode,
                 std::string* err) override;
  bool Write(int handle, std::string_view data, std::string* err) override;
  /// Appends the parts into room taken once for all of them.
  bool WriteParts(int handle, const std::vector<std::string_view>& parts,
                  std::string* err) override;
  bool Flush(int handle, std::string* err) override;
  bool Close(int handle, std::string* err) override;
  bool Rename(const std::string& from, const std::string& to, std::string* err) override;

  PathKind KindOf(const std::string& path) override;
  bool MakeFolders(const std::string& path, std::string* err) override;
  bool MakeScratchFolder(const std::string& prefix, std::string* path, std::string* err) override;
  bool RemoveFolder(const std::string& path, std::string* err) override;

 private:
  std::map<std::string, std::string> files_;
  std::map<int, std::string> open_;  ///< open handles and their paths
  std::set<std::string> folders_;    ///< folders made
  int next_handle_ = 1;
  int next_scratch_ = 1;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_MEMORY_FILE_SYSTEM_H_
