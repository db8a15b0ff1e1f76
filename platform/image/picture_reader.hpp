// The picture formats a content author drops in beside the program's own DDS
// files: BMP, PNG, JPEG and TGA, decoded by stb_image. Each container is
// recognised by its own header before the decoder sees it, so no other format
// stb_image happens to know is ever read, and the picture's size is checked
// before anything is allocated for it.
#pragma once

#include <cstdint>
#include <span>

#include "platform/image/image.hpp"

namespace kbh {

// False for anything that is not a complete BMP, PNG, JPEG or TGA picture of
// at most kMaxImageSide on each side.
bool DecodeCommonPicture(std::span<const uint8_t> bytes, Image* out);

}  // namespace kbh
