// Listing the files of a folder that match a wildcard pattern ("*.dds").
//
// Seller logos are found by searching their folder, and the list keeps the
// order of the search, so entries come back in the order the directory
// returns them, unsorted. Data sets authored on Windows name their files with
// any letter case, so the pattern ignores case as the Windows search does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kbh {

struct FolderEntry {
  std::string name;  // the name alone, without the folder
  bool isDirectory = false;
  // No write permission for anyone: the counterpart of the read-only
  // attribute. Permission bits rather than access(), which always grants
  // writing to root.
  bool isReadOnly = false;
};

// Whether name matches pattern: '*' stands for any run of characters, '?' for
// exactly one, ASCII letters match without regard to case, and "*.*" matches
// every name, dot or no dot.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Fills entries with the entries of folder (through ResolvePath, so
// backslashes and a wrong letter case are forgiven) whose names match
// pattern, in directory order; "." and ".." are never listed. False, with
// entries empty, when the folder cannot be opened.
bool ListFolder(const std::string& folder, std::string_view pattern,
                std::vector<FolderEntry>* entries);

}  // namespace kbh
