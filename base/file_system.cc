#include "base/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace scenario {

namespace {

std::string Reason(const std::string& path) {
  return path + ": " + std::strerror(errno);
}

/// Writes all of `data` to `fd`, going on after a partial write.
bool WriteAll(int fd, std::string_view data, std::string* err) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      *err = std::strerror(errno);
      return false;
    }
    if (n == 0) {
      *err = "no data written";
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

const char* FileKindName(FileKind kind) {
  switch (kind) {
    case FileKind::kMissing:
      return "missing";
    case FileKind::kRegular:
      return "a regular file";
    case FileKind::kDirectory:
      return "a folder";
    case FileKind::kSymlink:
      return "a symbolic link";
    case FileKind::kFifo:
      return "a FIFO";
    case FileKind::kSocket:
      return "a socket";
    case FileKind::kDevice:
      return "a device";
  }
  return "?";
}

RealFileSystem::~RealFileSystem() {
  for (auto& [handle, fd] : open_) ::close(fd);
}

bool RealFileSystem::IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RealFileSystem::ReadFile(const std::string& path, std::string* contents, std::string* err) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    *err = Reason(path);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    *err = Reason(path);
    ::close(fd);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    const FileKind kind = S_ISDIR(st.st_mode)    ? FileKind::kDirectory
                          : S_ISFIFO(st.st_mode) ? FileKind::kFifo
                          : S_ISSOCK(st.st_mode) ? FileKind::kSocket
                                                 : FileKind::kDevice;
    *err = path + ": it is " + FileKindName(kind) + ", not a regular file";
    ::close(fd);
    return false;
  }
  // Read straight into the string, sized from the file: one read call for
  // the whole file, no stream buffer, no growing copies.
  const std::size_t expected = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
  contents->resize(expected);
  std::size_t filled = 0;
  char buffer[1 << 12];
  for (;;) {
    // Then whatever the file gained since its size was taken.
    const bool tail = filled == contents->size();
    char* target = tail ? buffer : contents->data() + filled;
    const std::size_t room = tail ? sizeof buffer : contents->size() - filled;
    const ssize_t n = ::read(fd, target, room);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) *err = Reason(path);
      contents->resize(filled);
      ::close(fd);
      return n == 0;
    }
    if (tail) contents->append(buffer, static_cast<std::size_t>(n));
    filled += static_cast<std::size_t>(n);
  }
}

bool RealFileSystem::FileSize(const std::string& path, std::uint64_t* size, std::string* err) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    *err = Reason(path);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *err = path + ": not a regular file";
    return false;
  }
  *size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  return true;
}

bool RealFileSystem::RemoveFile(const std::string& path, std::string* err) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
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
    if (name != "." && name != ".." && KindOf(path + "/" + name) == PathKind::kFile)
      names->push_back(name);
    errno = 0;
  }
  const bool failed = errno != 0;
  if (failed) *err = Reason(path);
  ::closedir(folder);
  std::sort(names->begin(), names->end());
  return !failed;
}

bool RealFileSystem::Inspect(const std::string& path, FileStatus* status, std::string* err) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) {
      *status = FileStatus{};
      return true;
    }
    *err = Reason(path);
    return false;
  }
  const mode_t type = st.st_mode & S_IFMT;
  status->kind = type == S_IFREG    ? FileKind::kRegular
                 : type == S_IFDIR  ? FileKind::kDirectory
                 : type == S_IFLNK  ? FileKind::kSymlink
                 : type == S_IFIFO  ? FileKind::kFifo
                 : type == S_IFSOCK ? FileKind::kSocket
                                    : FileKind::kDevice;
  status->permissions = static_cast<std::uint32_t>(st.st_mode & 0777);
  return true;
}

std::size_t RealFileSystem::NameLimit(const std::string& folder) {
  // A run writes all its files into one folder: ask once.
  if (folder != name_limit_folder_ || name_limit_ == 0) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    name_limit_ = limit > 0 ? static_cast<std::size_t>(limit) : std::size_t{NAME_MAX};
    name_limit_folder_ = folder;
  }
  return name_limit_;
}

bool RealFileSystem::LockFolder(const std::string& folder, std::string_view notice,
                                FolderLock* lock, std::string* err) {
  return lock->Acquire(folder, notice, err);
}

int RealFileSystem::CreateFile(const std::string& path, std::optional<std::uint32_t> permissions,
                               std::string* err) {
  // O_EXCL with O_CREAT refuses any name that exists, a dangling link
  // included, so nothing is ever written through a link or opened as a FIFO.
  const mode_t mode = permissions ? static_cast<mode_t>(*permissions & 0777) : 0666;
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
  if (fd < 0) {
    if (errno == EEXIST) return kNameTaken;
    *err = Reason(path);
    return -1;
  }
  // The umask may have taken bits away from the ones asked for.
  struct stat st;
  if (permissions && (::fstat(fd, &st) != 0 || (st.st_mode & 0777) != mode) &&
      ::fchmod(fd, mode) != 0) {
    *err = Reason(path);
    ::close(fd);
    ::unlink(path.c_str());
    return -1;
  }
  const int handle = next_handle_++;
  try {
    open_[handle] = fd;
  } catch (...) {
    ::close(fd);
    ::unlink(path.c_str());
    throw;
  }
  return handle;
}

bool RealFileSystem::Write(int handle, std::string_view data, std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "write to a file that is not open";
    return false;
  }
  return WriteAll(it->second, data, err);
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
  // The parts go to the descriptor gathered into as few calls as the system
  // allows (one, unless there are very many parts).
  const int fd = it->second;
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
  // Writes go straight to the descriptor: nothing is held back here.
  if (open_.count(handle) == 0) {
    *err = "flush of a file that is not open";
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
  const int fd = it->second;
  open_.erase(it);
  if (::close(fd) != 0) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

bool RealFileSystem::Rename(const std::string& from, const std::string& to, std::string* err) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

namespace {

/// The folder part of `path` ("." when there is none) and its last name.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

/// Eight random letters and digits, from the kernel's random source; should
/// that fail, from the clock, the process and a counter.
std::string RandomLetters() {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static constexpr std::uint64_t kAlphabetSize = sizeof kAlphabet - 1;
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    static std::uint64_t counter = 0;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    // splitmix64 of the mixed inputs.
    bits = static_cast<std::uint64_t>(now.tv_nsec) ^
           (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
           (static_cast<std::uint64_t>(::getpid()) << 40) ^ (++counter * 0x9E3779B97F4A7C15u);
    bits = (bits ^ (bits >> 30)) * 0xBF58476D1CE4E5B9u;
    bits = (bits ^ (bits >> 27)) * 0x94D049BB133111EBu;
    bits ^= bits >> 31;
  }
  std::string letters(8, ' ');
  for (char& c : letters) {
    c = kAlphabet[bits % kAlphabetSize];
    bits /= kAlphabetSize;
  }
  return letters;
}

/// How many fresh temporary names to try before giving up.
constexpr int kNameAttempts = 100;

/// The temporary file of one replacement, removed on every way out that
/// does not rename it into place, an exception included.
class Temporary {
 public:
  explicit Temporary(FileSystem& fs) : fs_(fs) {}
  ~Temporary() {
    try {
      std::string ignored;
      if (handle_ >= 0) fs_.Close(handle_, &ignored);
      if (!path_.empty()) fs_.RemoveFile(path_, &ignored);
    } catch (...) {
      // Nothing more can be done about a temporary while unwinding.
    }
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  /// Makes the file at `path`, open as `handle` (-1: not open), this
  /// object's to remove.
  void Own(std::string&& path, int handle) noexcept {
    path_ = std::move(path);
    handle_ = handle;
  }
  const std::string& path() const { return path_; }
  /// The handle has been closed (successfully or not).
  void Closed() { handle_ = -1; }
  /// The file has been renamed into place: nothing to remove.
  void Kept() { path_.clear(); }

 private:
  FileSystem& fs_;
  std::string path_;
  int handle_ = -1;
};

}  // namespace

std::string TemporaryName(const std::string& path, std::size_t name_limit) {
  const std::string name = SplitPath(path).second;
  const std::string prefix = path.substr(0, path.size() - name.size());
  const std::string letters = RandomLetters();
  std::string temporary = "." + name + "." + letters + ".tmp";
  if (temporary.size() > name_limit) temporary = "." + letters + ".tmp";
  return prefix + temporary;
}

bool ReplaceFile(FileSystem& fs, const std::string& path, std::string_view data, std::string* err) {
  return ReplaceFile(fs, path, std::vector<std::string_view>{data}, err);
}

bool ReplaceFile(FileSystem& fs, const std::string& path,
                 const std::vector<std::string_view>& parts, std::string* err) {
  const auto [folder, name] = SplitPath(path);
  if (name.empty()) {
    *err = "cannot create " + path + ": no file name";
    return false;
  }
  const std::size_t limit = fs.NameLimit(folder);
  if (name.size() > limit) {
    *err = "cannot create " + path + ": the name is " + std::to_string(name.size()) +
           " bytes long; " + folder + " takes at most " + std::to_string(limit);
    return false;
  }
  std::string reason;
  FileStatus status;
  if (!fs.Inspect(path, &status, &reason)) {
    *err = "cannot replace " + path + ": " + reason;
    return false;
  }
  if (status.kind != FileKind::kMissing && status.kind != FileKind::kRegular) {
    *err =
        "cannot replace " + path + ": it is " + FileKindName(status.kind) + ", not a regular file";
    return false;
  }
  const std::optional<std::uint32_t> permissions =
      status.kind == FileKind::kRegular ? std::optional<std::uint32_t>(status.permissions)
                                        : std::nullopt;

  Temporary temporary(fs);
  std::string candidate;
  int handle = FileSystem::kNameTaken;
  for (int attempt = 0; attempt < kNameAttempts && handle == FileSystem::kNameTaken; ++attempt) {
    candidate = TemporaryName(path, limit);
    handle = fs.CreateFile(candidate, permissions, &reason);
  }
  if (handle == FileSystem::kNameTaken) {
    *err = "cannot create " + path + ": no free temporary name in " + folder + " after " +
           std::to_string(kNameAttempts) + " tries";
    return false;
  }
  if (handle < 0) {
    // A create that failed half-way may have left the file: it is ours.
    temporary.Own(std::move(candidate), -1);
    *err = "cannot create " + path + ": " + reason;
    return false;
  }
  temporary.Own(std::move(candidate), handle);

  const char* step = nullptr;
  if (!(parts.size() == 1 ? fs.Write(handle, parts[0], &reason)
                          : fs.WriteParts(handle, parts, &reason))) {
    step = "write";
  } else if (!fs.Flush(handle, &reason)) {
    step = "flush";
  } else {
    temporary.Closed();
    if (!fs.Close(handle, &reason)) step = "close";
  }
  if (step != nullptr) {
    *err = std::string("cannot ") + step + " " + path + ": " + reason;
    return false;
  }
  if (!fs.Rename(temporary.path(), path, &reason)) {
    *err = "cannot rename " + temporary.path() + " to " + path + ": " + reason;
    return false;
  }
  temporary.Kept();
  return true;
}

// ------------------------------------------------------------------ folders

FileSystem::PathKind RealFileSystem::KindOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? PathKind::kMissing : PathKind::kOther;
  }
  if (S_ISREG(st.st_mode)) return PathKind::kFile;
  return S_ISDIR(st.st_mode) ? PathKind::kFolder : PathKind::kOther;
}

bool RealFileSystem::MakeFolders(const std::string& path, std::string* err) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) {
    *err = path + ": " + ec.message();
    return false;
  }
  if (KindOf(path) != PathKind::kFolder) {
    *err = path + ": " + std::strerror(ENOTDIR);
    return false;
  }
  return true;
}

bool RealFileSystem::MakeScratchFolder(const std::string& prefix, std::string* path,
                                       std::string* err) {
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string base = tmpdir && *tmpdir ? tmpdir : "/tmp";
  std::string pattern = base + "/" + prefix + "XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    *err = Reason(pattern);
    return false;
  }
  *path = pattern;
  return true;
}

bool RealFileSystem::RemoveFolder(const std::string& path, std::string* err) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  if (ec) {
    *err = path + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace scenario
