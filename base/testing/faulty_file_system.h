// A file system for tests: forwards every call to another one, records the
// operations in order, and makes chosen steps fail.
#ifndef SCENARIO_BASE_TESTING_FAULTY_FILE_SYSTEM_H_
#define SCENARIO_BASE_TESTING_FAULTY_FILE_SYSTEM_H_

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_system.h"

namespace scenario {

/// The file steps that can be made to fail.
enum class Step {
  kIsFile,
  kRead,
  kSize,
  kRemove,
  kInspect,
  kLock,
  kCreate,
  kWrite,
  kFlush,
  kClose,
  kRename,
  kKindOf,
  kMakeFolders,
  kMakeScratchFolder,
  kRemoveFolder,
};

/// Name of a step as it appears in the log ("create", "write", ...).
inline const char* StepName(Step step) {
  switch (step) {
    case Step::kIsFile:
      return "isfile";
    case Step::kRead:
      return "read";
    case Step::kSize:
      return "size";
    case Step::kRemove:
      return "remove";
    case Step::kInspect:
      return "inspect";
    case Step::kLock:
      return "lock";
    case Step::kCreate:
      return "create";
    case Step::kWrite:
      return "write";
    case Step::kFlush:
      return "flush";
    case Step::kClose:
      return "close";
    case Step::kRename:
      return "rename";
    case Step::kKindOf:
      return "kind";
    case Step::kMakeFolders:
      return "mkdirs";
    case Step::kMakeScratchFolder:
      return "scratch";
    case Step::kRemoveFolder:
      return "rmdir";
  }
  return "?";
}

/// True when `candidate` is a name that `ReplaceFile` may give the temporary
/// file of `path`: in the same folder, "." and the file's name and "." (or
/// "." alone), eight letters and digits, ".tmp".
inline bool IsTemporaryFor(const std::string& candidate, const std::string& path) {
  const std::size_t slash = path.rfind('/') + 1;  // 0 when there is none
  if (candidate.compare(0, slash, path, 0, slash) != 0) return false;
  const std::string name = path.substr(slash);
  std::string rest = candidate.substr(std::min(slash, candidate.size()));
  if (rest.starts_with("." + name + ".")) rest = rest.substr(name.size() + 1);
  if (rest.size() != 13 || rest[0] != '.' || !rest.ends_with(".tmp")) return false;
  for (std::size_t i = 1; i < 9; ++i) {
    if (!std::isalnum(static_cast<unsigned char>(rest[i]))) return false;
  }
  return true;
}

/// One operation performed, or attempted, through the file system.
struct Operation {
  Step step = Step::kIsFile;
  std::string path;     ///< the file; for a rename, the old name
  std::string to;       ///< the new name of a rename
  bool failed = false;  ///< true when this call was made to fail

  /// "create /x/.a.k3J9x2Qz.tmp", "rename /x/.a.k3J9x2Qz.tmp -> /x/a", with
  /// " FAILED" when made to fail.
  std::string ToString() const {
    std::string s = std::string(StepName(step)) + " " + path;
    if (step == Step::kRename) s += " -> " + to;
    if (failed) s += " FAILED";
    return s;
  }
};

/// Forwards to `inner`, logging each call, and fails the calls chosen with
/// `Fail`. Failures look like real ones:
/// - create makes the file and then fails, leaving it empty behind;
/// - write hands the first half of the data on and then fails;
/// - close really closes the file and then fails;
/// - removing a folder really removes it and then fails;
/// - every other step fails without reaching `inner`.
/// A step chosen with `ThrowOutOfMemory` throws std::bad_alloc instead,
/// before reaching `inner`, as an allocation inside it would.
class FaultyFileSystem : public FileSystem {
 public:
  /// The reason every injected failure reports.
  static constexpr const char* kReason = "injected failure";

  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

  /// Makes `step` fail on its `occurrence`-th call (counting from 1; 0 = every
  /// call), counting only calls whose path (either name of a rename) contains
  /// `path_contains`; an empty text matches every path. Faults add up.
  void Fail(Step step, int occurrence = 1, std::string path_contains = "") {
    faults_.push_back(Fault{step, occurrence, std::move(path_contains), 0, false});
  }
  /// Like `Fail`, but the chosen call throws std::bad_alloc.
  void ThrowOutOfMemory(Step step, int occurrence = 1, std::string path_contains = "") {
    faults_.push_back(Fault{step, occurrence, std::move(path_contains), 0, true});
  }

  /// Every operation so far, in order.
  const std::vector<Operation>& log() const { return log_; }
  /// The log as text, one operation per entry.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (const Operation& op : log_) lines.push_back(op.ToString());
    return lines;
  }
  /// Forgets the log (the faults stay).
  void ClearLog() { log_.clear(); }
  /// Number of files opened by `CreateFile` and not yet closed.
  std::size_t OpenFiles() const { return paths_.size(); }

  bool IsRegularFile(const std::string& path) override {
    if (Record(Step::kIsFile, path)) return false;
    return inner_.IsRegularFile(path);
  }

  bool ReadFile(const std::string& path, std::string* contents, std::string* err) override {
    if (Record(Step::kRead, path)) return Injected(path, err);
    return inner_.ReadFile(path, contents, err);
  }

  bool FileSize(const std::string& path, std::uint64_t* size, std::string* err) override {
    if (Record(Step::kSize, path)) return Injected(path, err);
    return inner_.FileSize(path, size, err);
  }

  bool RemoveFile(const std::string& path, std::string* err) override {
    if (Record(Step::kRemove, path)) return Injected(path, err);
    return inner_.RemoveFile(path, err);
  }

  /// Forwarded as it is: listing is not one of the steps made to fail.
  bool ListFolder(const std::string& path, std::vector<std::string>* names,
                  std::string* err) override {
    return inner_.ListFolder(path, names, err);
  }

  bool Inspect(const std::string& path, FileStatus* status, std::string* err) override {
    if (Record(Step::kInspect, path)) return Injected(path, err);
    return inner_.Inspect(path, status, err);
  }

  std::size_t NameLimit(const std::string& folder) override { return inner_.NameLimit(folder); }

  bool LockFolder(const std::string& folder, std::string_view notice, FolderLock* lock,
                  std::string* err) override {
    if (Record(Step::kLock, folder)) return Injected(folder, err);
    return inner_.LockFolder(folder, notice, lock, err);
  }

  int CreateFile(const std::string& path, std::optional<std::uint32_t> permissions,
                 std::string* err) override {
    const bool fail = Record(Step::kCreate, path);
    const int handle = inner_.CreateFile(path, permissions, err);
    if (fail) {
      std::string ignored;
      if (handle >= 0) inner_.Close(handle, &ignored);
      Injected(path, err);
      return -1;
    }
    if (handle >= 0) paths_[handle] = path;
    return handle;
  }

  bool Write(int handle, std::string_view data, std::string* err) override {
    const std::string path = PathOf(handle);
    if (Record(Step::kWrite, path)) {
      inner_.Write(handle, data.substr(0, data.size() / 2), err);
      return Injected(err);
    }
    return inner_.Write(handle, data, err);
  }

  /// One write step for all the parts; a failing one passes on the first
  /// part only.
  bool WriteParts(int handle, const std::vector<std::string_view>& parts,
                  std::string* err) override {
    const std::string path = PathOf(handle);
    if (Record(Step::kWrite, path)) {
      if (!parts.empty()) inner_.Write(handle, parts.front(), err);
      return Injected(err);
    }
    return inner_.WriteParts(handle, parts, err);
  }

  bool Flush(int handle, std::string* err) override {
    const std::string path = PathOf(handle);
    if (Record(Step::kFlush, path)) return Injected(err);
    return inner_.Flush(handle, err);
  }

  bool Close(int handle, std::string* err) override {
    const std::string path = PathOf(handle);
    paths_.erase(handle);
    const bool fail = Record(Step::kClose, path);
    const bool closed = inner_.Close(handle, err);
    if (fail) return Injected(err);
    return closed;
  }

  bool Rename(const std::string& from, const std::string& to, std::string* err) override {
    if (Record(Step::kRename, from, to)) return Injected(err);
    return inner_.Rename(from, to, err);
  }

  /// A failing look finds nothing there.
  PathKind KindOf(const std::string& path) override {
    if (Record(Step::kKindOf, path)) return PathKind::kMissing;
    return inner_.KindOf(path);
  }

  bool MakeFolders(const std::string& path, std::string* err) override {
    if (Record(Step::kMakeFolders, path)) return Injected(path, err);
    return inner_.MakeFolders(path, err);
  }

  bool MakeScratchFolder(const std::string& prefix, std::string* path, std::string* err) override {
    if (Record(Step::kMakeScratchFolder, prefix)) return Injected(prefix, err);
    return inner_.MakeScratchFolder(prefix, path, err);
  }

  /// A failing removal really removes the folder and then fails.
  bool RemoveFolder(const std::string& path, std::string* err) override {
    const bool fail = Record(Step::kRemoveFolder, path);
    const bool removed = inner_.RemoveFolder(path, err);
    if (fail) return Injected(path, err);
    return removed;
  }

 private:
  struct Fault {
    Step step;
    int occurrence;
    std::string path_contains;
    int seen;     ///< matching calls so far
    bool throws;  ///< std::bad_alloc instead of a failure
  };

  /// Logs the call; true when it must fail.
  bool Record(Step step, const std::string& path, const std::string& to = "") {
    bool fail = false;
    bool out_of_memory = false;
    for (Fault& f : faults_) {
      if (f.step != step) continue;
      if (!f.path_contains.empty() && path.find(f.path_contains) == std::string::npos &&
          to.find(f.path_contains) == std::string::npos) {
        continue;
      }
      ++f.seen;
      if (f.occurrence == 0 || f.seen == f.occurrence) (f.throws ? out_of_memory : fail) = true;
    }
    log_.push_back(Operation{step, path, to, fail || out_of_memory});
    if (out_of_memory) throw std::bad_alloc();
    return fail;
  }

  /// Reports an injected failure the way the real file system does: steps
  /// on a name give the name and the reason, steps on a handle (and a
  /// rename, which has two names) the reason.
  bool Injected(const std::string& path, std::string* err) {
    *err = path + ": " + kReason;
    return false;
  }
  bool Injected(std::string* err) {
    *err = kReason;
    return false;
  }

  std::string PathOf(int handle) const {
    auto it = paths_.find(handle);
    return it == paths_.end() ? std::string() : it->second;
  }

  FileSystem& inner_;
  std::vector<Fault> faults_;
  std::vector<Operation> log_;
  std::map<int, std::string> paths_;  ///< open handles and their files
};

}  // namespace scenario

#endif  // SCENARIO_BASE_TESTING_FAULTY_FILE_SYSTEM_H_
