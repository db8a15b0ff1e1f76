// The DDS reader: the program's own picture format, 2D and cube maps, in the
// uncompressed layouts and the DXT block formats. Only the top mip level is
// returned; the rest of the chain is still measured, because the faces of a
// cube map follow one another each with its whole chain.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/image/image.hpp"

namespace kbh {

// True when the bytes start with the DDS magic. Such a file is a DDS file or
// nothing: it is never handed to another reader.
bool HasDdsMagic(std::span<const uint8_t> bytes);

// Level 0 of the first face (+X for a cube map). False for a file that is
// truncated, malformed or of an unsupported format, with a short reason in
// *reason when it is given (a tool that checks content files shows it).
bool DecodeDdsImage(std::span<const uint8_t> bytes, Image* out, std::string* reason = nullptr);

// Level 0 of all six faces. False unless the file is a complete cube map.
bool DecodeDdsCube(std::span<const uint8_t> bytes, CubeImage* out, std::string* reason = nullptr);

}  // namespace kbh
