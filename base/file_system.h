// Narrow interface to the file system. Every file the programs touch goes
// through it, so that tests can inject failures at any step.
#ifndef SCENARIO_BASE_FILE_SYSTEM_H_
#define SCENARIO_BASE_FILE_SYSTEM_H_

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// The file operations the programs need.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// True when `path` names an existing regular file.
  virtual bool IsRegularFile(const std::string& path) = 0;
  /// Reads the whole file into `*contents`; false with `*err` set on failure.
  virtual bool ReadFile(const std::string& path, std::string* contents, std::string* err) = 0;
  /// Deletes a file; a file that does not exist is not an error.
  virtual bool RemoveFile(const std::string& path, std::string* err) = 0;
  /// Puts the names of the regular files in folder `path` into `*names`,
  /// sorted; false with `*err` set when the folder cannot be listed. The
  /// default lists nothing and says so.
  virtual bool ListFolder(const std::string& path, std::vector<std::string>* names,
                          std::string* err);

  /// Creates (or truncates) a file for writing; returns a handle, or -1 with
  /// `*err` set.
  virtual int CreateFile(const std::string& path, std::string* err) = 0;
  /// Writes all of `data` to an open file.
  virtual bool Write(int handle, std::string_view data, std::string* err) = 0;
  /// Writes `parts` one after the other, as one piece of data. The default
  /// writes them one by one; a file system may gather them into one call.
  virtual bool WriteParts(int handle, const std::vector<std::string_view>& parts, std::string* err);
  /// Hands everything written so far to the operating system.
  virtual bool Flush(int handle, std::string* err) = 0;
  /// Closes an open file; the handle is invalid afterwards even on failure.
  virtual bool Close(int handle, std::string* err) = 0;
  /// Renames `from` to `to`, replacing `to` when it exists.
  virtual bool Rename(const std::string& from, const std::string& to, std::string* err) = 0;
};

/// The real file system, through the C library.
class RealFileSystem : public FileSystem {
 public:
  ~RealFileSystem() override;
  bool IsRegularFile(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* contents, std::string* err) override;
  bool RemoveFile(const std::string& path, std::string* err) override;
  bool ListFolder(const std::string& path, std::vector<std::string>* names,
                  std::string* err) override;
  int CreateFile(const std::string& path, std::string* err) override;
  bool Write(int handle, std::string_view data, std::string* err) override;
  bool WriteParts(int handle, const std::vector<std::string_view>& parts,
                  std::string* err) override;
  bool Flush(int handle, std::string* err) override;
  bool Close(int handle, std::string* err) override;
  bool Rename(const std::string& from, const std::string& to, std::string* err) override;

 private:
  std::map<int, std::FILE*> open_;
  int next_handle_ = 1;
};

/// Name of the temporary file that `ReplaceFile` writes before renaming it.
std::string TemporaryName(const std::string& path);

/// Replaces `path` with exactly `data`: writes a temporary file in the same
/// folder and renames it over `path`. On failure the old file is untouched,
/// the temporary file is removed, and `*err` names the file and the reason.
bool ReplaceFile(FileSystem& fs, const std::string& path, std::string_view data, std::string* err);
/// The same for data given as parts written one after the other.
bool ReplaceFile(FileSystem& fs, const std::string& path,
                 const std::vector<std::string_view>& parts, std::string* err);

}  // namespace scenario

#endif  // SCENARIO_BASE_FILE_SYSTEM_H_
