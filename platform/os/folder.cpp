#include "platform/os/folder.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/os/os.hpp"

namespace kbh {

namespace {

char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

FolderEntry DescribeEntry(DIR* directory, const dirent& entry) {
  FolderEntry result;
  result.name = entry.d_name;
  struct stat info;
  if (fstatat(dirfd(directory), entry.d_name, &info, 0) == 0) {
    result.isDirectory = S_ISDIR(info.st_mode);
    result.isReadOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  } else {
    // A dangling link still names an entry; describe it as well as we can.
    result.isDirectory = entry.d_type == DT_DIR;
  }
  return result;
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  // Greedy scan that backtracks to the most recent '*' on a mismatch: linear
  // in practice and never worse than name length x pattern length.
  size_t n = 0;
  size_t p = 0;
  size_t starPattern = std::string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool ListFolder(const std::string& folder, std::string_view pattern,
                std::vector<FolderEntry>* entries) {
  entries->clear();
  const std::string path = ResolvePath(folder);
  DIR* directory = opendir(path.empty() ? "." : path.c_str());
  if (directory == nullptr) return false;
  while (const dirent* entry = readdir(directory)) {
    if (IsDotEntry(entry->d_name) || !MatchesPattern(entry->d_name, pattern)) continue;
    entries->push_back(DescribeEntry(directory, *entry));
  }
  closedir(directory);
  return true;
}

}  // namespace kbh
