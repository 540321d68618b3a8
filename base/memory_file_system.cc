#include "base/memory_file_system.h"

#include <utility>

namespace scenario {

bool MemoryFileSystem::IsRegularFile(const std::string& path) {
  return files_.count(path) != 0;
}

bool MemoryFileSystem::ReadFile(const std::string& path, std::string* contents, std::string* err) {
  auto it = files_.find(path);
  if (it == files_.end()) {
    *err = path + ": No such file or directory";
    return false;
  }
  *contents = it->second;
  return true;
}

bool MemoryFileSystem::FileSize(const std::string& path, std::uint64_t* size, std::string* err) {
  auto it = files_.find(path);
  if (it == files_.end()) {
    *err = path + ": No such file or directory";
    return false;
  }
  *size = it->second.size();
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path, std::string*) {
  files_.erase(path);
  return true;
}

bool MemoryFileSystem::ListFolder(const std::string& path, std::vector<std::string>* names,
                                  std::string*) {
  names->clear();
  const std::string prefix = path.empty() || path.back() != '/' ? path + "/" : path;
  for (auto it = files_.lower_bound(prefix);
       it != files_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    const std::string name = it->first.substr(prefix.size());
    if (!name.empty() && name.find('/') == std::string::npos) names->push_back(name);
  }
  return true;
}

bool MemoryFileSystem::Inspect(const std::string& path, FileStatus* status, std::string*) {
  *status = files_.count(path) != 0 ? FileStatus{FileKind::kRegular, 0644} : FileStatus{};
  return true;
}

std::size_t MemoryFileSystem::NameLimit(const std::string&) {
  return 255;
}

bool MemoryFileSystem::LockFolder(const std::string&, std::string_view, FolderLock*, std::string*) {
  return true;
}

int MemoryFileSystem::CreateFile(const std::string& path, std::optional<std::uint32_t>,
                                 std::string*) {
  if (files_.count(path) != 0) return kNameTaken;
  files_[path].clear();
  const int handle = next_handle_++;
  open_[handle] = path;
  return handle;
}

bool MemoryFileSystem::Write(int handle, std::string_view data, std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "write to a file that is not open";
    return false;
  }
  files_[it->second].append(data);
  return true;
}

bool MemoryFileSystem::WriteParts(int handle, const std::vector<std::string_view>& parts,
                                  std::string* err) {
  auto it = open_.find(handle);
  if (it == open_.end()) {
    *err = "write to a file that is not open";
    return false;
  }
  std::string& file = files_[it->second];
  std::size_t n = file.size();
  for (std::string_view part : parts) n += part.size();
  file.reserve(n);
  for (std::string_view part : parts) file.append(part);
  return true;
}

bool MemoryFileSystem::Flush(int handle, std::string* err) {
  if (open_.count(handle) != 0) return true;
  *err = "flush of a file that is not open";
  return false;
}

bool MemoryFileSystem::Close(int handle, std::string* err) {
  if (open_.erase(handle) != 0) return true;
  *err = "close of a file that is not open";
  return false;
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to, std::string* err) {
  auto it = files_.find(from);
  if (it == files_.end()) {
    *err = from + ": No such file or directory";
    return false;
  }
  std::string bytes = std::move(it->second);
  files_.erase(it);
  files_[to] = std::move(bytes);
  return true;
}

FileSystem::PathKind MemoryFileSystem::KindOf(const std::string& path) {
  if (files_.count(path) != 0) return PathKind::kFile;
  auto under = files_.lower_bound(path + "/");
  const bool folder = folders_.count(path) != 0 ||
                      (under != files_.end() && under->first.rfind(path + "/", 0) == 0);
  return folder ? PathKind::kFolder : PathKind::kMissing;
}

bool MemoryFileSystem::MakeFolders(const std::string& path, std::string*) {
  folders_.insert(path);
  return true;
}

bool MemoryFileSystem::MakeScratchFolder(const std::string& prefix, std::string* path,
                                         std::string*) {
  *path = "/tmp/" + prefix + std::to_string(next_scratch_++);
  folders_.insert(*path);
  return true;
}

bool MemoryFileSystem::RemoveFolder(const std::string& path, std::string*) {
  folders_.erase(path);
  auto it = files_.lower_bound(path + "/");
  while (it != files_.end() && it->first.rfind(path + "/", 0) == 0) it = files_.erase(it);
  return true;
}

}  // namespace scenario
