#include "app/file_system.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace scenario {

namespace {

std::string Reason(const std::string& path) {
  return path + ": " + std::strerror(errno);
}

}  // namespace

RealFileSystem::~RealFileSystem() {
  for (auto& [handle, file] : open_) std::fclose(file);
}

bool RealFileSystem::IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RealFileSystem::ReadFile(const std::string& path, std::string* contents, std::string* err) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *err = Reason(path);
    return false;
  }
  contents->clear();
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) contents->append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  if (failed) *err = Reason(path);
  std::fclose(f);
  return !failed;
}

bool RealFileSystem::RemoveFile(const std::string& path, std::string* err) {
  if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
    *err = Reason(path);
    return false;
  }
  return true;
}

int RealFileSystem::CreateFile(const std::string& path, std::string* err) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    *err = Reason(path);
    return -1;
  }
  const int handle = next_handle_++;
  open_[handle] = f;
  return handle;
}

bool RealFileSystem::Write(int handle, std::string_view data, std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "write to a file that is not open";
    return false;
  }
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), it->second) != data.size()) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

bool RealFileSystem::Flush(int handle, std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "flush of a file that is not open";
    return false;
  }
  if (std::fflush(it->second) != 0) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

bool RealFileSystem::Close(int handle, std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "close of a file that is not open";
    return false;
  }
  std::FILE* f = it->second;
  open_.erase(it);
  if (std::fclose(f) != 0) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

bool RealFileSystem::Rename(const std::string& from, const std::string& to, std::string* err) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    *err = Reason(to);
    return false;
  }
  return true;
}

std::string TemporaryName(const std::string& path) {
  return path + ".tmp";
}

bool ReplaceFile(FileSystem& fs, const std::string& path, std::string_view data, std::string* err) {
  const std::string temporary = TemporaryName(path);
  std::string reason;
  const int handle = fs.CreateFile(temporary, &reason);
  if (handle < 0) {
    *err = "cannot create " + path + ": " + reason;
    fs.RemoveFile(temporary, &reason);
    return false;
  }
  std::string step;
  if (!fs.Write(handle, data, &reason)) {
    step = "write";
  } else if (!fs.Flush(handle, &reason)) {
    step = "flush";
  }
  if (!step.empty()) {
    std::string ignored;
    fs.Close(handle, &ignored);
  } else if (!fs.Close(handle, &reason)) {
    step = "close";
  } else if (!fs.Rename(temporary, path, &reason)) {
    step = "rename";
  }
  if (!step.empty()) {
    *err = "cannot " + step + " " + path + ": " + reason;
    std::string ignored;
    fs.RemoveFile(temporary, &ignored);
    return false;
  }
  return true;
}

}  // namespace scenario
