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

int MemoryFileSystem::CreateFile(const std::string& path, std::string*) {
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

}  // namespace scenario
