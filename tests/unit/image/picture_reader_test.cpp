#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdlib>

#include "platform/image/image_codec.hpp"
#include "tests/unit/image/picture_builders.hpp"

namespace kbh {
namespace {

using testing::BmpContent;
using testing::Bytes;
using testing::PngContent;
using testing::TgaContent;

// 3 x 2: a width that needs BMP row padding.
const std::vector<uint32_t> kSix = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                    0xFF102030, 0xFFFFFFFF, 0xFF000000};

Bytes Stored(std::span<const uint32_t> texels, int bytesPerTexel) {
  Bytes out;
  for (uint32_t texel : texels) {
    for (int i = 0; i < bytesPerTexel; ++i)
      out.push_back(static_cast<uint8_t>(texel >> (8 * i)));
  }
  return out;
}

void ExpectPicture(const Bytes& file, Format format, int width,
                   const std::vector<uint32_t>& texels) {
  Image image;
  ASSERT_TRUE(DecodeImage(file, &image));
  EXPECT_EQ(image.sourceFormat, format);
  EXPECT_EQ(image.width, width);
  EXPECT_EQ(image.height, static_cast<int>(texels.size()) / width);
  EXPECT_EQ(image.texels, texels);
}

BmpContent SixColourBmp(uint16_t bitCount, const std::vector<uint32_t>& texels = kSix) {
  BmpContent content{.width = 3, .height = 2, .bitCount = bitCount};
  for (int row = 0; row < 2; ++row) {
    content.rows.push_back(Stored(std::span(texels).subspan(row * 3, 3), bitCount / 8));
  }
  return content;
}

TEST(Bmp, RowsBottomUpOrTopDownWithPaddingAndPalettes) {
  BmpContent content = SixColourBmp(24);
  ExpectPicture(testing::BuildBmp(content), FMT_R8G8B8, 3, kSix);
  content.height = -2;
  ExpectPicture(testing::BuildBmp(content), FMT_R8G8B8, 3, kSix);
  const BmpContent palette{
      .width = 3, .bitCount = 8, .palette = {0x00FF0000, 0x000000FF}, .rows = {{1, 0, 1}}};
  ExpectPicture(testing::BuildBmp(palette), FMT_P8, 3, {0xFF0000FF, 0xFFFF0000, 0xFF0000FF});
}

TEST(Bmp, ThirtyTwoBitsHaveAlphaOnlyWhenTheHeaderNamesAMask) {
  std::vector<uint32_t> translucent = kSix;
  translucent[0] = 0x40FF0000;
  BmpContent content = SixColourBmp(32, translucent);
  ExpectPicture(testing::BuildBmp(content), FMT_X8R8G8B8, 3, kSix);
  content.alphaMask = 0xFF000000;
  ExpectPicture(testing::BuildBmp(content), FMT_A8R8G8B8, 3, translucent);
}

TEST(Tga, TrueColourColourMappedAndRunLengthEncoded) {
  TgaContent bottomUp{.width = 3, .height = 2, .descriptor = 0x00};
  bottomUp.pixels = Stored(std::span(kSix).subspan(3, 3), 3);
  testing::Append(&bottomUp.pixels, Stored(std::span(kSix).subspan(0, 3), 3));
  ExpectPicture(testing::BuildTga(bottomUp), FMT_R8G8B8, 3, kSix);

  const TgaContent mapped{.width = 2,
                          .imageType = 1,
                          .bitsPerPixel = 8,
                          .colourMapBits = 24,
                          .colourMap = Stored(std::vector<uint32_t>{0x112233, 0x445566}, 3),
                          .pixels = {1, 0}};
  ExpectPicture(testing::BuildTga(mapped), FMT_P8, 2, {0xFF445566, 0xFF112233});

  const TgaContent rle{.width = 4, .imageType = 10, .pixels = {0x82, 0x30, 0x20, 0x10, 0, 1, 2, 3}};
  ExpectPicture(testing::BuildTga(rle), FMT_R8G8B8, 4,
                {0xFF102030, 0xFF102030, 0xFF102030, 0xFF030201});
}

TEST(Tga, ThirtyTwoBitsHaveAlphaWhenTheDescriptorCountsAlphaBits) {
  TgaContent content{.width = 2, .bitsPerPixel = 32, .descriptor = 0x28};
  content.pixels = Stored(std::vector<uint32_t>{0x40FF0000, 0}, 4);
  ExpectPicture(testing::BuildTga(content), FMT_A8R8G8B8, 2, {0x40FF0000, 0});
  content.descriptor = 0x20;
  ExpectPicture(testing::BuildTga(content), FMT_X8R8G8B8, 2, {0xFFFF0000, 0xFF000000});
}

TEST(Png, ColourTypeAndTransparencyDecideTheFormat) {
  ExpectPicture(testing::BuildPng({.width = 2, .pixels = {0xFF, 0, 0, 0x10, 0x20, 0x30}}),
                FMT_R8G8B8, 2, {0xFFFF0000, 0xFF102030});
  ExpectPicture(
      testing::BuildPng({.width = 2, .colourType = 6, .pixels = {0xFF, 0, 0, 0x80, 1, 2, 3, 4}}),
      FMT_A8R8G8B8, 2, {0x80FF0000, 0x04010203});
  PngContent palette{.width = 2, .colourType = 3, .palette = {0xFF, 0, 0, 0, 0, 0xFF}};
  palette.pixels = {1, 0};
  ExpectPicture(testing::BuildPng(palette), FMT_P8, 2, {0xFF0000FF, 0xFFFF0000});
  palette.transparency = {0x00};  // entry 0 fully transparent
  ExpectPicture(testing::BuildPng(palette), FMT_A8R8G8B8, 2, {0xFF0000FF, 0x00FF0000});
}

TEST(Jpeg, DecodesAsOpaqueR8G8B8AndRefusesEveryTruncation) {
  const std::vector<uint8_t> rgb(10 * 6 * 3, 0x80);
  Bytes file;
  stbi_write_jpg_to_func(
      [](void* context, void* data, int size) {
        testing::Append(static_cast<Bytes*>(context),
                        std::span(static_cast<const uint8_t*>(data), size));
      },
      &file, 10, 6, 3, rgb.data(), 100);
  Image image;
  ASSERT_TRUE(DecodeImage(file, &image));
  EXPECT_EQ(image.sourceFormat, FMT_R8G8B8);
  EXPECT_EQ(image.width, 10);
  EXPECT_EQ(image.height, 6);
  EXPECT_EQ(image.texels[59] >> 24, 0xFFu);
  EXPECT_NEAR(image.texels[59] & 0xFF, 0x80, 2);
  for (size_t length = 0; length < file.size(); ++length) {
    ASSERT_FALSE(DecodeImage(std::span(file.data(), length), &image)) << length;
  }
}

// stb_image would fill missing pixels of these with zeros or leave them unset.
TEST(PictureHostile, TruncatedPicturesAreRefused) {
  Image image;
  const Bytes bmp = testing::BuildBmp(SixColourBmp(24));
  PngContent pngContent{.width = 40, .height = 40};
  pngContent.pixels = Bytes(40 * 40 * 3, 0x55);
  const Bytes png = testing::BuildPng(pngContent);
  for (size_t length = 0; length < bmp.size(); ++length) {
    ASSERT_FALSE(DecodeImage(std::span(bmp.data(), length), &image)) << length;
  }
  for (size_t length = 0; length < png.size() - 12; ++length) {  // 12: the end chunk
    ASSERT_FALSE(DecodeImage(std::span(png.data(), length), &image)) << length;
  }
  // Runs of 128 and 71 cover 199 of 200 pixels; one literal more completes it.
  TgaContent rle{.width = 200, .imageType = 10, .pixels = {0xFF, 1, 2, 3, 0xC6, 1, 2, 3}};
  EXPECT_FALSE(DecodeImage(testing::BuildTga(rle), &image));
  testing::Append(&rle.pixels, Bytes{0x00, 4, 5, 6});
  EXPECT_TRUE(DecodeImage(testing::BuildTga(rle), &image));
  EXPECT_FALSE(DecodeImage(testing::BuildTga({.width = 3, .pixels = Bytes(8)}), &image));
}

TEST(PictureHostile, SizesTheBytesCannotHoldAndForeignFormatsAreRefused) {
  Image image;
  BmpContent wide{.width = kMaxImageSide + 1};
  wide.rows = {Bytes((kMaxImageSide + 1) * 3)};
  EXPECT_FALSE(DecodeImage(testing::BuildBmp(wide), &image));
  Bytes png = testing::BuildPng({.pixels = Bytes(3)});
  png[18] = png[22] = 0x1F;  // 8000 x 8000 from a few bytes of data
  png[19] = png[23] = 0x40;
  EXPECT_FALSE(DecodeImage(png, &image));
  EXPECT_FALSE(DecodeImage(testing::BuildTga({.width = 8000, .height = 8000}), &image));
  EXPECT_FALSE(DecodeImage(testing::BuildTga({.imageType = 4, .pixels = Bytes(3)}), &image));
  // A complete 1 x 1 GIF: stb_image could read it, but it is no format of ours.
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0,  0,
                     0,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 'D',  1,    0,    ';'};
  EXPECT_FALSE(DecodeImage(gif, &image));
  EXPECT_FALSE(DecodeImage({}, &image));
  EXPECT_TRUE(image.texels.empty());
  std::srand(11);
  for (int round = 0; round < 500; ++round) {
    Bytes noise(1 + std::rand() % 300);
    for (uint8_t& byte : noise)
      byte = std::rand() & 0xFF;
    DecodeImage(noise, &image);  // anything but a crash or a huge allocation
  }
}

}  // namespace
}  // namespace kbh
