#include "catalogue/part_files.hpp"

#include <cstdio>

namespace kbh {

std::string PartFileStem(ItemId id) {
  char stem[8];
  std::snprintf(stem, sizeof stem, "%06X", static_cast<unsigned>(id & 0xFFFFFFu));
  return stem;
}

const char* FormatPartFilePath(PathBuffer& path, const ProgramDir& dir, PartFileKind kind,
                               ItemId id) {
  return path.Format("%s\\data\\%s\\%s.%s", dir.path.c_str(), kind.folder, PartFileStem(id).c_str(),
                     kind.extension);
}

std::string PartFileRelativePath(PartFileKind kind, ItemId id) {
  return std::string("data/") + kind.folder + "/" + PartFileStem(id) + "." + kind.extension;
}

}  // namespace kbh
