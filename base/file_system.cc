#include "base/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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
  // Read straight into the string, sized from the file: one read call for
  // the whole file, no stream buffer, no growing copies.
  std::setvbuf(f, nullptr, _IONBF, 0);
  struct stat st;
  const std::size_t atteso =
      ::fstat(::fileno(f), &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
  contents->resize(atteso);
  contents->resize(atteso == 0 ? 0 : std::fread(contents->data(), 1, atteso, f));
  // Whatever the file gained since its size was taken.
  char buffer[1 << 12];
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

bool FileSystem::ListFolder(const std::string& path, std::vector<std::string>* names,
                            std::string* err) {
  names->clear();
  *err = path + ": this file system cannot list folders";
  return false;
}

bool RealFileSystem::ListFolder(const std::string& path, std::vector<std::string>* names,
                                std::string* err) {
  names->clear();
  DIR* folder = ::opendir(path.c_str());
  if (!folder) {
    *err = Reason(path);
    return false;
  }
  errno = 0;
  while (const struct dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && IsRegularFile(path + "/" + name)) names->push_back(name);
    errno = 0;
  }
  const bool failed = errno != 0;
  if (failed) *err = Reason(path);
  ::closedir(folder);
  std::sort(names->begin(), names->end());
  return !failed;
}

int RealFileSystem::CreateFile(const std::string& path, std::string* err) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    *err = Reason(path);
    return -1;
  }
  // Every file is written whole in one Write: without a stream buffer that
  // is one system call, with no copy through the buffer and no split of the
  // data into a buffered head and a direct tail.
  std::setvbuf(f, nullptr, _IONBF, 0);
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

bool FileSystem::WriteParts(int handle, const std::vector<std::string_view>& parts,
                            std::string* err) {
  for (std::string_view part : parts) {
    if (!Write(handle, part, err)) return false;
  }
  return true;
}

bool RealFileSystem::WriteParts(int handle, const std::vector<std::string_view>& parts,
                                std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "write to a file that is not open";
    return false;
  }
  // The stream has no buffer of its own (see CreateFile), so the parts can
  // go straight to its descriptor, gathered into as few calls as the system
  // allows (one, unless there are very many parts).
  const int fd = ::fileno(it->second);
  std::vector<struct iovec> pending;
  pending.reserve(parts.size());
  for (std::string_view part : parts) {
    if (!part.empty()) pending.push_back({const_cast<char*>(part.data()), part.size()});
  }
  std::size_t first = 0;
  while (first < pending.size()) {
    const int count = static_cast<int>(std::min<std::size_t>(pending.size() - first, IOV_MAX));
    const ssize_t n = ::writev(fd, &pending[first], count);
    if (n < 0) {
      if (errno == EINTR) continue;
      *err = std::strerror(errno);
      return false;
    }
    if (n == 0) {
      *err = "no data written";
      return false;
    }
    // Skip what was written; a partial write leaves the rest of a part.
    std::size_t left = static_cast<std::size_t>(n);
    while (first < pending.size() && left >= pending[first].iov_len) {
      left -= pending[first].iov_len;
      ++first;
    }
    if (left > 0) {
      pending[first].iov_base = static_cast<char*>(pending[first].iov_base) + left;
      pending[first].iov_len -= left;
    }
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
  return ReplaceFile(fs, path, std::vector<std::string_view>{data}, err);
}

bool ReplaceFile(FileSystem& fs, const std::string& path,
                 const std::vector<std::string_view>& parts, std::string* err) {
  const std::string temporary = TemporaryName(path);
  std::string reason;
  const int handle = fs.CreateFile(temporary, &reason);
  if (handle < 0) {
    *err = "cannot create " + path + ": " + reason;
    fs.RemoveFile(temporary, &reason);
    return false;
  }
  std::string step;
  const bool written = parts.size() == 1 ? fs.Write(handle, parts[0], &reason)
                                         : fs.WriteParts(handle, parts, &reason);
  if (!written) {
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
