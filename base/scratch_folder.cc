#include "base/scratch_folder.h"

namespace scenario {

ScratchFolder::ScratchFolder(FileSystem& fs, const std::string& prefix) : fs_(fs) {
  if (!fs_.MakeScratchFolder(prefix, &path_, &error_)) path_.clear();
}

ScratchFolder::~ScratchFolder() {
  if (path_.empty()) return;
  std::string ignored;
  fs_.RemoveFolder(path_, &ignored);
}

}  // namespace scenario
