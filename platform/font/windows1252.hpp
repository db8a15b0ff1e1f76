// The program's text is 8-bit Windows-1252 (catalogue names, descriptions and
// the program's own German strings), while fonts are indexed by Unicode. This
// is the one place where a byte becomes a code point.
#pragma once

#include <cstdint>

namespace kbh {

// The Unicode code point of a Windows-1252 byte; 0 for the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D). Control bytes map to
// their C0 code points like every byte below 0x80.
char32_t Windows1252ToUnicode(uint8_t byte);

// Bytes that have a visible shape or a width: not a control byte (below 0x20,
// 0x7F) and not undefined. Everything else draws nothing and takes no room.
bool IsPrintableWindows1252(uint8_t byte);

}  // namespace kbh
