// The seller logos: every "*.dds" picture of the logo folder, loaded once at
// start-up and found by the name a part's record gives (its file name
// without ".dds").
//
// The list keeps the folder's own order, unsorted, and a name search returns
// the first entry with that exact name (letter case counts), so two files
// whose names differ only in the extension's case give one logo: the one the
// folder lists first.
//
// Names are any length: the list stores each as a string of its own, so a
// file name longer than any catalogue logo name is listed (and can never be
// found) rather than cut or overrun.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"

namespace kbh {

struct LogoEntry {
  // Null when the file did not load: the entry is kept, so that its name
  // still hides later files of the same name.
  std::unique_ptr<TextureRecord> image;
  // Windows-1252 like the catalogue's logo names (see LogoName).
  std::string name;
};

struct LogoList {
  std::vector<LogoEntry> entries;
};

// Makes folder the process's current directory, as the program's folder
// test always did, and loads every "*.dds" file in it (any letter case) in
// folder order; sub-folders are skipped. False only when the folder cannot
// be entered; a folder without logos gives an empty list. Replaces what the
// list held.
bool LoadLogos(LogoList& logos, GraphicsDevice& graphics, const std::string& folder);

// The picture of the first entry named exactly name; null when there is no
// such entry or that entry's file did not load.
const TextureRecord* FindLogo(const LogoList& logos, std::string_view name);

// Releases every picture; the entries and their names stay.
void ReleaseLogos(LogoList& logos);

// The name a logo file is found by: the file name without its last four
// characters (".dds"). File names are UTF-8 on this system while catalogue
// texts are Windows-1252, so a UTF-8 name that the code page can spell is
// converted ("kranzbühler.dds" is found as "kranzb\xFChler"); any other
// name keeps its bytes.
std::string LogoName(std::string_view fileName);

}  // namespace kbh
