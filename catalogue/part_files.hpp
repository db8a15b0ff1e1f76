// Where a part's files lie: its model, its own texture and its picture are
// named by the low 24 bits of its id as six upper-case hexadecimal digits,
// in one folder of "data" each. The program, the content builder and the
// tests all name them through here.
#pragma once

#include <string>

#include "catalogue/item_id.hpp"
#include "core/error_log.hpp"

namespace kbh {

struct PartFileKind {
  const char* folder;     // below "data"
  const char* extension;  // without the dot
};
inline constexpr PartFileKind kPartModel{"objects", "mxa"};
inline constexpr PartFileKind kPartTexture{"textures", "khx"};
inline constexpr PartFileKind kPartPicture{"images", "khi"};

// "030101" for 0x01030101: the part's files' name without extension.
std::string PartFileStem(ItemId id);

// The program's path "<programDir>\data\<folder>\<stem>.<ext>", formatted into
// path just before use as every path of the program is; the file layer reads
// the backslashes as separators.
const char* FormatPartFilePath(PathBuffer& path, const ProgramDir& dir, PartFileKind kind,
                               ItemId id);

// The same below a workshop folder, with forward slashes:
// "data/objects/030101.mxa". For the tools that write a workshop.
std::string PartFileRelativePath(PartFileKind kind, ItemId id);

}  // namespace kbh
