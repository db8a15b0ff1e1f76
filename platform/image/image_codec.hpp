// Reading and writing picture files. Decoding recognises a file by its
// content, never by its name: the program's .khi pictures and .khx textures
// may be any of DDS, BMP, PNG, JPEG or TGA.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/image/image.hpp"

namespace kbh {

// The largest side a picture may have, in either direction. It is the largest
// texture the Direct3D 9 hardware of the program's day could hold; anything
// bigger is refused before memory is allocated for it.
constexpr int kMaxImageSide = 8192;

// The first (largest) image of a file: the top mip level, or the +X face of a
// cube map. False for anything that is not a complete picture of a supported
// format; *out is then left empty.
//
// DDS: A8R8G8B8, X8R8G8B8, A8B8G8R8, X8B8G8R8, R8G8B8, R5G6B5, X1R5G5B5,
// A1R5G5B5, A4R4G4B4, L8, A8 and DXT1 to DXT5; sourceFormat is the file's
// format. DXT2 and DXT4 keep their premultiplied colours, as a texture of
// that format would sample them.
// BMP, PNG, JPEG, TGA: sourceFormat is A8R8G8B8 when the file has an alpha
// channel, P8 for a palette picture without one, X8R8G8B8 for other 32-bit
// pixels and R8G8B8 for the rest.
bool DecodeImage(std::span<const uint8_t> bytes, Image* out);

// The six faces of a DDS cube map (top mip level of each). False for anything
// else.
bool DecodeCubeImage(std::span<const uint8_t> bytes, CubeImage* out);

// Uncompressed DDS files in A8R8G8B8 or X8R8G8B8, one mip level. An empty
// result means the picture (or the format) cannot be written: a side outside
// 1 ... kMaxImageSide, or a texel count that does not match the size.
std::vector<uint8_t> EncodeDds(const Image& image, Format format);
std::vector<uint8_t> EncodeCubeDds(const CubeImage& image, Format format);

// A 24-bit uncompressed BMP, rows stored bottom-up: what a screenshot is.
std::vector<uint8_t> EncodeBmp24(const Image& image);

// An RGBA PNG, for previews meant for people.
std::vector<uint8_t> EncodePng(const Image& image);

}  // namespace kbh
