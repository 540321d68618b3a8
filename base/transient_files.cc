#include "base/transient_files.h"

namespace scenario {

void TransientFiles::Add(const std::string& path) {
  try {
    paths_.push_back(path);
  } catch (...) {
    std::string ignored;
    fs_.RemoveFile(path, &ignored);
    throw;
  }
}

TransientFiles::~TransientFiles() {
  for (const std::string& path : paths_) {
    try {
      std::string ignored;
      fs_.RemoveFile(path, &ignored);
    } catch (...) {
      // Out of memory again while unwinding: try the next one.
    }
  }
}

}  // namespace scenario
