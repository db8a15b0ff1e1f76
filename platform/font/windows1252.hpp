// Which Windows-1252 bytes a font draws. The byte-to-code-point table itself
// is the file layer's (platform/os/windows1252.hpp); the font only adds which
// bytes have a shape or a width.
#pragma once

#include <cstdint>

namespace kbh {

// Bytes that have a visible shape or a width: not a control byte (below 0x20,
// 0x7F) and not one of the five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D). Everything else draws nothing and takes no room.
bool IsPrintableWindows1252(uint8_t byte);

}  // namespace kbh
