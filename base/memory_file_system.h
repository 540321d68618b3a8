// A file system held in memory: a compile can run on texts that are on no
// disk (the fuzzer's inputs, the editor's unsaved scripts) and write nowhere.
#ifndef SCENARIO_BASE_MEMORY_FILE_SYSTEM_H_
#define SCENARIO_BASE_MEMORY_FILE_SYSTEM_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"

namespace scenario {

/// Files are whole strings keyed by their full path; folders are not
/// modelled, every path is valid. A created file exists (empty) at once, and
/// its bytes become visible as they are written.
class MemoryFileSystem : public FileSystem {
 public:
  /// Every file, by path.
  std::map<std::string, std::string>& files() { return files_; }
  /// Number of files created and not yet closed.
  std::size_t OpenFiles() const { return open_.size(); }

  bool IsRegularFile(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* contents, std::string* err) override;
  bool RemoveFile(const std::string& path, std::string* err) override;
  /// The files whose path is `path`, "/" and a name without "/".
  bool ListFolder(const std::string& path, std::vector<std::string>* names,
                  std::string* err) override;
  int CreateFile(const std::string& path, std::string* err) override;
  bool Write(int handle, std::string_view data, std::string* err) override;
  bool Flush(int handle, std::string* err) override;
  bool Close(int handle, std::string* err) override;
  bool Rename(const std::string& from, const std::string& to, std::string* err) override;

 private:
  std::map<std::string, std::string> files_;
  std::map<int, std::string> open_;  ///< open handles and their paths
  int next_handle_ = 1;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_MEMORY_FILE_SYSTEM_H_
