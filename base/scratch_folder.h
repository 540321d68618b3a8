// A folder of one's own for intermediate files, removed whole at the end.
#ifndef SCENARIO_BASE_SCRATCH_FOLDER_H_
#define SCENARIO_BASE_SCRATCH_FOLDER_H_

#include <string>

#include "base/file_system.h"

namespace scenario {

/// A new, empty folder in the system's temporary folder, made through `fs`
/// and removed with everything in it when this object goes.
class ScratchFolder {
 public:
  /// Makes the folder, its name starting with `prefix`.
  ScratchFolder(FileSystem& fs, const std::string& prefix);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  /// The folder, or "" when it could not be made.
  const std::string& path() const { return path_; }
  /// Why the folder could not be made ("" when it was).
  const std::string& error() const { return error_; }

 private:
  FileSystem& fs_;
  std::string path_;
  std::string error_;
};

}  // namespace scenario

#endif  // SCENARIO_BASE_SCRATCH_FOLDER_H_
