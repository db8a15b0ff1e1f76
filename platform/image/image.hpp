// Decoded pictures as the rest of the program sees them: 32-bit BGRA texels in
// memory (the byte order of Direct3D's A8R8G8B8, so a texel read as uint32_t is
// 0xAARRGGBB), rows top first, plus the pixel format of the source file.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gpu/d3d_types.hpp"

namespace kbh {

struct Image {
  int width = 0;
  int height = 0;
  // What the file stored, as Direct3D numbers it (A8R8G8B8 = 21, DXT1 ...).
  // Drawing blends only pictures whose source format is A8R8G8B8.
  Format sourceFormat = FMT_UNKNOWN;
  // width * height texels, 0xAARRGGBB; formats without alpha read as opaque.
  std::vector<uint32_t> texels;
};

// The six faces of a cube map in DDS order: +X, -X, +Y, -Y, +Z, -Z.
struct CubeImage {
  int size = 0;
  Format sourceFormat = FMT_UNKNOWN;
  std::vector<uint32_t> faces[6];
};

}  // namespace kbh
