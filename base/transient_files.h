// Files that a run writes for its own use and must not leave behind.
#ifndef SCENARIO_BASE_TRANSIENT_FILES_H_
#define SCENARIO_BASE_TRANSIENT_FILES_H_

#include <string>
#include <vector>

#include "base/file_system.h"

namespace scenario {

/// Removes the files given to it when it goes out of scope, unless told to
/// keep them: a run that ends early, by a failed step or by an exception
/// (std::bad_alloc caught at the top, see RunGuardingMemory), leaves none of
/// them behind. A file already gone is no error; a failing removal is
/// ignored, as there is nobody left to tell.
class TransientFiles {
 public:
  explicit TransientFiles(FileSystem& fs) : fs_(fs) {}
  ~TransientFiles();
  TransientFiles(const TransientFiles&) = delete;
  TransientFiles& operator=(const TransientFiles&) = delete;

  /// Adds `path` to the files to remove. Call it once the file exists, so
  /// that an older file whose replacement failed is not removed. Should
  /// there be no memory to note it, it is removed at once.
  void Add(const std::string& path);
  /// Forgets every file: whoever took them over has dealt with them.
  void Keep() { paths_.clear(); }

 private:
  FileSystem& fs_;
  std::vector<std::string> paths_;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_TRANSIENT_FILES_H_
