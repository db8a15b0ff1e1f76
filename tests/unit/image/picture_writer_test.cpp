#include <gtest/gtest.h>

#include "platform/image/image_codec.hpp"

namespace kbh {
namespace {

// Varied alpha and channels at an odd size, so that row padding, byte order
// and alpha handling all show.
Image TestPattern(int width, int height) {
  Image image{.width = width, .height = height, .texels = {}};
  for (uint32_t i = 0; i < static_cast<uint32_t>(width * height); ++i)
    image.texels.push_back(i * 0x07281D0D);
  return image;
}

std::vector<uint32_t> Opaque(std::vector<uint32_t> texels) {
  for (uint32_t& texel : texels)
    texel |= 0xFF000000;
  return texels;
}

uint32_t At(const std::vector<uint8_t>& bytes, size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// The header fields that other programs need to read the files back.
TEST(EncodeDds, PlainAndCubeFilesDecodeBack) {
  const Image pattern = TestPattern(5, 3);
  Image decoded;
  const std::vector<uint8_t> withAlpha = EncodeDds(pattern, FMT_A8R8G8B8);
  ASSERT_TRUE(DecodeImage(withAlpha, &decoded));
  EXPECT_EQ(decoded.sourceFormat, FMT_A8R8G8B8);
  EXPECT_EQ(decoded.texels, pattern.texels);
  EXPECT_EQ(At(withAlpha, 8) & 0x100F, 0x100Fu);  // caps, height, width, pitch, pixel format
  EXPECT_EQ(At(withAlpha, 20), 5u * 4);           // pitch
  EXPECT_EQ(At(withAlpha, 80), 0x41u);            // RGB with alpha
  const std::vector<uint8_t> withoutAlpha = EncodeDds(pattern, FMT_X8R8G8B8);
  ASSERT_TRUE(DecodeImage(withoutAlpha, &decoded));
  EXPECT_EQ(decoded.sourceFormat, FMT_X8R8G8B8);
  EXPECT_EQ(decoded.texels, Opaque(pattern.texels));
  EXPECT_EQ(At(withoutAlpha, 128) >> 24, 0xFFu);  // the spare byte is written opaque

  CubeImage cube{.size = 3, .faces = {}};
  for (int face = 0; face < 6; ++face)
    cube.faces[face] = TestPattern(3, 3).texels;
  cube.faces[5][4] = 0x12345678;
  const std::vector<uint8_t> file = EncodeCubeDds(cube, FMT_A8R8G8B8);
  ASSERT_EQ(file.size(), 128u + 6 * 9 * 4);
  EXPECT_EQ(At(file, 108), 0x1008u);  // texture, complex
  EXPECT_EQ(At(file, 112), 0xFE00u);  // cube map with all six faces
  CubeImage decodedCube;
  ASSERT_TRUE(DecodeCubeImage(file, &decodedCube));
  for (int face = 0; face < 6; ++face)
    EXPECT_EQ(decodedCube.faces[face], cube.faces[face]);
}

TEST(EncodeBmp24AndPng, DecodeBack) {
  const Image pattern = TestPattern(5, 3);
  const std::vector<uint8_t> bmp = EncodeBmp24(pattern);
  EXPECT_EQ(bmp.size(), 54u + 16 * 3);  // rows of 15 bytes padded to 16
  Image decoded;
  ASSERT_TRUE(DecodeImage(bmp, &decoded));
  EXPECT_EQ(decoded.texels, Opaque(pattern.texels));
  ASSERT_TRUE(DecodeImage(EncodePng(pattern), &decoded));
  EXPECT_EQ(decoded.sourceFormat, FMT_A8R8G8B8);
  EXPECT_EQ(decoded.texels, pattern.texels);
}

TEST(Encoders, RefuseMalformedPicturesAndFormatsTheyCannotWrite) {
  Image mismatched = TestPattern(4, 4);
  mismatched.texels.pop_back();
  for (const Image& image : {Image{}, mismatched}) {
    EXPECT_TRUE(EncodeDds(image, FMT_A8R8G8B8).empty());
    EXPECT_TRUE(EncodeBmp24(image).empty());
    EXPECT_TRUE(EncodePng(image).empty());
  }
  EXPECT_TRUE(EncodeDds(TestPattern(2, 2), FMT_DXT1).empty());
  EXPECT_TRUE(EncodeCubeDds(CubeImage{.size = 2, .faces = {}}, FMT_A8R8G8B8).empty());
}

}  // namespace
}  // namespace kbh
