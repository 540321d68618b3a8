// Narrow interface to the file system. Every file the programs touch goes
// through it, so that tests can inject failures at any step.
#ifndef SCENARIO_BASE_FILE_SYSTEM_H_
#define SCENARIO_BASE_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/folder_lock.h"

namespace scenario {

/// What stands at a path, seen without following a link.
enum class FileKind { kMissing, kRegular, kDirectory, kSymlink, kFifo, kSocket, kDevice };

/// The kind as messages name it: "a folder", "a FIFO", ...
const char* FileKindName(FileKind kind);

/// What `FileSystem::Inspect` tells of a path.
struct FileStatus {
  FileKind kind = FileKind::kMissing;
  std::uint32_t permissions = 0;  ///< the permission bits (0777 at most) of what stands there
};

/// The file operations the programs need.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// True when `path` names an existing regular file.
  virtual bool IsRegularFile(const std::string& path) = 0;
  /// Reads the whole file into `*contents`; false with `*err` set on failure.
  /// Only a regular file (or a link to one) is read: a FIFO, a device or a
  /// folder is refused at once, without waiting for a writer.
  virtual bool ReadFile(const std::string& path, std::string* contents, std::string* err) = 0;
  /// The size in bytes of the regular file at `path` (or the one a link
  /// leads to), without reading it; false with `*err` ("PATH: reason") when
  /// there is no such file or it cannot be seen.
  virtual bool FileSize(const std::string& path, std::uint64_t* size, std::string* err) = 0;
  /// Deletes a file; a file that does not exist is not an error.
  virtual bool RemoveFile(const std::string& path, std::string* err) = 0;
  /// Puts the names of the regular files in folder `path` into `*names`,
  /// sorted; false with `*err` set when the folder cannot be listed. The
  /// default lists nothing and says so.
  virtual bool ListFolder(const std::string& path, std::vector<std::string>* names,
                          std::string* err);

  // Before replacing a file: what stands at its name, how long a name its
  // folder takes, and a lock on the folder against a second run.
  /// Tells what stands at `path` without following a link; a missing path is
  /// not a failure. False with `*err` ("PATH: reason") when it cannot be seen.
  virtual bool Inspect(const std::string& path, FileStatus* status, std::string* err) = 0;
  /// The longest file name, in bytes, that `folder` takes; 255 when the
  /// folder cannot tell (a missing folder fails at the next step instead).
  virtual std::size_t NameLimit(const std::string& folder) = 0;
  /// Takes `*lock` on `folder` for this process (see FolderLock), waiting
  /// for another holder and printing `notice` on standard error if that
  /// takes more than a second. False with `*err` ("FOLDER: reason").
  virtual bool LockFolder(const std::string& folder, std::string_view notice, FolderLock* lock,
                          std::string* err) = 0;

  /// `CreateFile` result when something, of any kind, already has the name.
  static constexpr int kNameTaken = -2;
  /// Creates a new file at `path` for writing: never one that exists (a
  /// file, a link, a FIFO, a folder: `kNameTaken`), never through a link.
  /// Its permission bits are `permissions` exactly, or without them the
  /// usual default (0666 less the umask). Returns a handle, `kNameTaken`, or
  /// -1 with `*err` ("PATH: reason"); a failure leaves no file behind.
  virtual int CreateFile(const std::string& path, std::optional<std::uint32_t> permissions,
                         std::string* err) = 0;
  /// Writes all of `data` to an open file.
  virtual bool Write(int handle, std::string_view data, std::string* err) = 0;
  /// Writes `parts` one after the other, as one piece of data. The default
  /// writes them one by one; a file system may gather them into one call.
  virtual bool WriteParts(int handle, const std::vector<std::string_view>& parts, std::string* err);
  /// Hands everything written so far to the operating system.
  virtual bool Flush(int handle, std::string* err) = 0;
  /// Closes an open file; the handle is invalid afterwards even on failure.
  virtual bool Close(int handle, std::string* err) = 0;
  /// Renames `from` to `to`, replacing `to` when it exists. `*err` is the
  /// system's reason alone: it can be about either name.
  virtual bool Rename(const std::string& from, const std::string& to, std::string* err) = 0;

  // Folders, for the authors' tool: what a path names, making folders, and
  // a scratch folder made and removed whole.

  /// What a path names.
  enum class PathKind { kMissing, kFile, kFolder, kOther };
  /// What `path` names, following symbolic links: kMissing when nothing is
  /// there, kOther for anything neither a regular file nor a folder, or that
  /// cannot be examined.
  virtual PathKind KindOf(const std::string& path) = 0;
  /// Makes folder `path` and any missing folders above it. True when `path`
  /// is a folder afterwards, else false with `*err` naming it and the reason.
  virtual bool MakeFolders(const std::string& path, std::string* err) = 0;
  /// Makes a new empty folder of its own in the system's temporary folder,
  /// its name starting with `prefix`, and puts its path in `*path`.
  virtual bool MakeScratchFolder(const std::string& prefix, std::string* path,
                                 std::string* err) = 0;
  /// Removes folder `path` with everything in it.
  virtual bool RemoveFolder(const std::string& path, std::string* err) = 0;
};

/// The real file system, through the C library.
class RealFileSystem : public FileSystem {
 public:
  ~RealFileSystem() override;
  bool IsRegularFile(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* contents, std::string* err) override;
  bool FileSize(const std::string& path, std::uint64_t* size, std::string* err) override;
  bool RemoveFile(const std::string& path, std::string* err) override;
  bool ListFolder(const std::string& path, std::vector<std::string>* names,
                  std::string* err) override;
  bool Inspect(const std::string& path, FileStatus* status, std::string* err) override;
  std::size_t NameLimit(const std::string& folder) override;
  bool LockFolder(const std::string& folder, std::string_view notice, FolderLock* lock,
                  std::string* err) override;
  int CreateFile(const std::string& path, std::optional<std::uint32_t> permissions,
                 std::string* err) override;
  bool Write(int handle, std::string_view data, std::string* err) override;
  bool WriteParts(int handle, const std::vector<std::string_view>& parts,
                  std::string* err) override;
  bool Flush(int handle, std::string* err) override;
  bool Close(int handle, std::string* err) override;
  bool Rename(const std::string& from, const std::string& to, std::string* err) override;

  // Folders.
  PathKind KindOf(const std::string& path) override;
  bool MakeFolders(const std::string& path, std::string* err) override;
  bool MakeScratchFolder(const std::string& prefix, std::string* path, std::string* err) override;
  bool RemoveFolder(const std::string& path, std::string* err) override;

 private:
  std::map<int, int> open_;  ///< handles and their descriptors
  int next_handle_ = 1;
  std::string name_limit_folder_;  ///< the folder `NameLimit` last asked about
  std::size_t name_limit_ = 0;     ///< and its answer (0: none yet)
};

/// A fresh name for the temporary file of `path`, in the same folder: hidden
/// and clearly temporary, ".NAME.XXXXXXXX.tmp" with eight random letters and
/// digits, or ".XXXXXXXX.tmp" when the long form would pass `name_limit`
/// bytes. Each call draws new letters.
std::string TemporaryName(const std::string& path, std::size_t name_limit);

/// Replaces `path` with exactly `data`, so that whoever opens `path` sees the
/// whole old file or the whole new one, never a part and never nothing:
/// - `path` must be missing or a regular file: a folder, a link, a FIFO, a
///   device or a socket there is refused ("cannot replace PATH: it is a
///   FIFO, not a regular file") and left as it is;
/// - a name longer than its folder takes is refused before anything is
///   written ("cannot create PATH: the name is N bytes long; FOLDER takes at
///   most M");
/// - the bytes go to a temporary file of its own in the same folder
///   (`TemporaryName`), created exclusively and never through a link, so
///   that nothing planted at any name is written through or waited on, and
///   two processes replacing the same file never share a temporary;
/// - the temporary gets the permission bits of the file it replaces (a
///   read-only 0444 file is replaced and stays 0444; set-user-ID, set-group-ID
///   and sticky bits are dropped) or, for a new file, 0666 less the umask.
///   The new file belongs to the running user; other hard links to the old
///   file keep the old bytes;
/// - then it is renamed over `path`. Nothing is synced to the disk: the
///   replacement is atomic for other processes, not across a power cut.
/// On failure the old file is untouched, the temporary file is removed (also
/// when an exception, such as std::bad_alloc, leaves the function) and
/// `*err` reads "cannot STEP PATH: REASON", STEP being replace, create,
/// write, flush or close, or "cannot rename TEMPORARY to PATH: REASON".
bool ReplaceFile(FileSystem& fs, const std::string& path, std::string_view data, std::string* err);
/// The same for data given as parts written one after the other.
bool ReplaceFile(FileSystem& fs, const std::string& path,
                 const std::vector<std::string_view>& parts, std::string* err);

}  // namespace scenario

#endif  // SCENARIO_BASE_FILE_SYSTEM_H_
