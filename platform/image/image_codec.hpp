// Reading and writing picture files. Decoding recognises a file by its
// content, never by its name: the program's .khi pictures and .khx textures
// may be any of DDS, BMP, PNG, JPEG or TGA.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/image/image.hpp"

namespace kbh {

// The first (largest) image of a file: the top mip level, or the +X face of a
// cube map. False for anything that is not a complete picture of a supported
// format; *out is then left empty.
bool DecodeImage(std::span<const uint8_t> bytes, Image* out);

// The six faces of a DDS cube map (top mip level of each). False for anything
// else.
bool DecodeCubeImage(std::span<const uint8_t> bytes, CubeImage* out);

// Uncompressed DDS files in A8R8G8B8 or X8R8G8B8, one mip level.
std::vector<uint8_t> EncodeDds(const Image& image, Format format);
std::vector<uint8_t> EncodeCubeDds(const CubeImage& image, Format format);

// A 24-bit uncompressed BMP, rows stored bottom-up: what a screenshot is.
std::vector<uint8_t> EncodeBmp24(const Image& image);

// An RGBA PNG, for previews meant for people.
std::vector<uint8_t> EncodePng(const Image& image);

}  // namespace kbh
