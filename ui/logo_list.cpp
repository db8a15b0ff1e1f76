#include "ui/logo_list.hpp"

#include "core/error_log.hpp"
#include "platform/os/folder.hpp"
#include "platform/os/windows1252.hpp"

namespace kbh {

namespace {

constexpr std::string_view kLogoPattern = "*.dds";
constexpr size_t kExtensionLength = 4;

}  // namespace

std::string LogoName(std::string_view fileName) {
  const std::string_view stem = fileName.substr(
      0, fileName.size() >= kExtensionLength ? fileName.size() - kExtensionLength : 0);
  std::string converted;
  char32_t unmappable = 0;
  if (Utf8ToWindows1252(stem, &converted, &unmappable)) return converted;
  return std::string(stem);
}

bool LoadLogos(LogoList& logos, GraphicsDevice& graphics, const std::string& folder) {
  ReleaseLogos(logos);
  logos.entries.clear();
  if (!EnterFolder(folder)) return false;
  std::vector<FolderEntry> files;
  // A folder that can be entered but not read lists nothing, like an
  // empty one.
  if (!ListFolder(folder, kLogoPattern, &files)) return true;
  logos.entries.reserve(files.size());
  PathBuffer path;
  for (const FolderEntry& file : files) {
    // A folder named like a picture is no logo. Read-only files are taken:
    // a logo set on a read-only medium is still a logo set.
    if (file.isDirectory) continue;
    LogoEntry entry;
    entry.image = LoadBmp(graphics, path.Format("%s/%s", folder.c_str(), file.name.c_str()));
    entry.name = LogoName(file.name);
    logos.entries.push_back(std::move(entry));
  }
  return true;
}

const TextureRecord* FindLogo(const LogoList& logos, std::string_view name) {
  for (const LogoEntry& entry : logos.entries) {
    if (entry.name == name) return entry.image.get();
  }
  return nullptr;
}

void ReleaseLogos(LogoList& logos) {
  for (LogoEntry& entry : logos.entries)
    ReleaseTexture(entry.image);
}

}  // namespace kbh
