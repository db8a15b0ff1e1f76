#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/image/image_codec.hpp"
#include "tests/unit/image/picture_builders.hpp"

namespace kbh {
namespace {

using testing::Append;
using testing::BlockHeader;
using testing::BuildDds;
using testing::Bytes;
using testing::DdsHeader;
using testing::Dxt1Block;

// One uncompressed layout: its pixel format fields, three stored pixels and
// the texels they must read as.
struct LayoutCase {
  const char* name;
  Format format;
  uint32_t pixelFlags;
  uint32_t bitCount;
  uint32_t masks[4];
  Bytes pixels;
  uint32_t expected[3];
};

// 5-bit 16 reads as 132 and 6-bit 32 as 130: levels are scaled and rounded,
// not shifted.
const LayoutCase kLayoutCases[] = {
    {"A8R8G8B8",
     FMT_A8R8G8B8,
     0x41,
     32,
     {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
     {0x10, 0x40, 0xFF, 0x80, 0, 0, 0, 0, 1, 2, 3, 0xFF},
     {0x80FF4010, 0, 0xFF030201}},
    {"X8R8G8B8",
     FMT_X8R8G8B8,
     0x40,
     32,
     {0xFF0000, 0xFF00, 0xFF, 0},
     {0x10, 0x40, 0xFF, 0, 0, 0, 0, 0x80, 1, 2, 3, 0xFF},
     {0xFFFF4010, 0xFF000000, 0xFF030201}},
    {"A8B8G8R8",
     FMT_A8B8G8R8,
     0x41,
     32,
     {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
     {0xFF, 0x40, 0x10, 0x80, 0, 0, 0, 0, 1, 2, 3, 0xFF},
     {0x80FF4010, 0, 0xFF010203}},
    {"X8B8G8R8",
     FMT_X8B8G8R8,
     0x40,
     32,
     {0xFF, 0xFF00, 0xFF0000, 0},
     {0xFF, 0x40, 0x10, 0, 0, 0, 0, 0x80, 1, 2, 3, 0xFF},
     {0xFFFF4010, 0xFF000000, 0xFF010203}},
    {"R8G8B8",
     FMT_R8G8B8,
     0x40,
     24,
     {0xFF0000, 0xFF00, 0xFF, 0},
     {0x10, 0x40, 0xFF, 0, 0, 0, 1, 2, 3},
     {0xFFFF4010, 0xFF000000, 0xFF030201}},
    {"R5G6B5",
     FMT_R5G6B5,
     0x40,
     16,
     {0xF800, 0x7E0, 0x1F, 0},
     {0x00, 0xF8, 0xE0, 0x07, 0x10, 0x84},
     {0xFFFF0000, 0xFF00FF00, 0xFF848284}},
    {"X1R5G5B5",
     FMT_X1R5G5B5,
     0x40,
     16,
     {0x7C00, 0x3E0, 0x1F, 0},
     {0x00, 0xFC, 0xE0, 0x03, 0x10, 0x00},
     {0xFFFF0000, 0xFF00FF00, 0xFF000084}},
    {"A1R5G5B5",
     FMT_A1R5G5B5,
     0x41,
     16,
     {0x7C00, 0x3E0, 0x1F, 0x8000},
     {0x00, 0x7C, 0xE0, 0x83, 0x10, 0x00},
     {0x00FF0000, 0xFF00FF00, 0x00000084}},
    {"A4R4G4B4",
     FMT_A4R4G4B4,
     0x41,
     16,
     {0xF00, 0xF0, 0xF, 0xF000},
     {0x00, 0x8F, 0xF0, 0xF0, 0x05, 0x00},
     {0x88FF0000, 0xFF00FF00, 0x00000055}},
    {"L8",
     FMT_L8,
     0x20000,
     8,
     {0xFF, 0, 0, 0},
     {0x40, 0x00, 0xFF},
     {0xFF404040, 0xFF000000, 0xFFFFFFFF}},
    {"A8", FMT_A8, 0x2, 8, {0, 0, 0, 0xFF}, {0x80, 0x00, 0xFF}, {0x80000000, 0, 0xFF000000}},
};

class UncompressedLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(UncompressedLayout, DecodesEveryChannelAtAnOddWidth) {
  const LayoutCase& layout = GetParam();
  DdsHeader header{.width = 3, .pixelFlags = layout.pixelFlags, .bitCount = layout.bitCount};
  std::copy(std::begin(layout.masks), std::end(layout.masks), header.masks);
  Image image;
  ASSERT_TRUE(DecodeImage(BuildDds(header, layout.pixels), &image));
  EXPECT_EQ(image.sourceFormat, layout.format);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.texels, std::vector<uint32_t>(layout.expected, layout.expected + 3));
}

INSTANTIATE_TEST_SUITE_P(Dds, UncompressedLayout, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(DdsPixelFormat, AlphaFollowsTheFlagAndFourCcMayBeAFormatNumber) {
  DdsHeader strayMask;
  strayMask.masks[3] = 0xFF000000;  // alpha mask present, alpha flag absent
  Image image;
  ASSERT_TRUE(DecodeImage(BuildDds(strayMask, Bytes{1, 2, 3, 0}), &image));
  EXPECT_EQ(image.sourceFormat, FMT_X8R8G8B8);
  EXPECT_EQ(image.texels[0], 0xFF030201u);

  ASSERT_TRUE(DecodeImage(BuildDds(BlockHeader(FMT_A8R8G8B8, 1, 1), Bytes{1, 2, 3, 4}), &image));
  EXPECT_EQ(image.sourceFormat, FMT_A8R8G8B8);
  EXPECT_EQ(image.texels[0], 0x04030201u);
}

constexpr uint16_t kRed565 = 0xF800;
constexpr uint16_t kBlue565 = 0x001F;

TEST(Dxt1, FourColourBlocksAreOpaqueAndThreeColourBlocksHaveOneBitAlpha) {
  // Texels 0 to 3 use indices 0 to 3.
  Image image;
  ASSERT_TRUE(DecodeImage(
      BuildDds(BlockHeader(FMT_DXT1, 4, 4), Dxt1Block(kRed565, kBlue565, 0b11'10'01'00)), &image));
  EXPECT_EQ(image.sourceFormat, FMT_DXT1);
  EXPECT_EQ(std::vector<uint32_t>(image.texels.begin(), image.texels.begin() + 4),
            (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, 0xFFAA0055, 0xFF5500AA}));

  // colour0 <= colour1: index 2 is the midpoint, index 3 transparent black.
  for (const Bytes& block :
       {Dxt1Block(kBlue565, kRed565, 0b11'10'01'00), Dxt1Block(kRed565, kRed565, 0b11'10'01'00)}) {
    ASSERT_TRUE(DecodeImage(BuildDds(BlockHeader(FMT_DXT1, 4, 4), block), &image));
    EXPECT_EQ(image.texels[2] >> 24, 0xFFu);
    EXPECT_EQ(image.texels[3], 0x00000000u);
  }
  EXPECT_NEAR((image.texels[2] >> 16) & 0xFF, 0xFF, 1);
}

TEST(Dxt1, SizesThatAreNotMultiplesOfFourCropTheEdgeBlocks) {
  Bytes data;  // 6 x 5 needs 2 x 2 blocks, each one solid colour
  for (uint16_t colour : {kRed565, uint16_t{0x07E0}, kBlue565, uint16_t{0xFFFF}}) {
    Append(&data, Dxt1Block(colour, 0, 0));
  }
  Image image;
  ASSERT_TRUE(DecodeImage(BuildDds(BlockHeader(FMT_DXT1, 6, 5), data), &image));
  ASSERT_EQ(image.texels.size(), 30u);
  EXPECT_EQ(image.texels[3], 0xFFFF0000u);
  EXPECT_EQ(image.texels[3 * 6 + 5], 0xFF00FF00u);
  EXPECT_EQ(image.texels[4 * 6 + 0], 0xFF0000FFu);
  EXPECT_EQ(image.texels[4 * 6 + 5], 0xFFFFFFFFu);
}

TEST(Dxt2To5, AlphaBlocksAndAlwaysFourColours) {
  // The colour half has colour0 <= colour1 yet stays four-colour: index 0 is
  // plain blue. DXT3 alphas: 0x8, 0xF, 0. DXT5: alpha0 255, alpha1 0, texels
  // with indices 0, 1, 2 (the last 6/7 of the way to alpha0).
  const Bytes colour = Dxt1Block(kBlue565, kRed565, 0);
  Bytes explicitAlpha = {0xF8, 0, 0, 0, 0, 0, 0, 0};
  Bytes interpolatedAlpha = {0xFF, 0x00, 0b10'001'000, 0, 0, 0, 0, 0};
  Append(&explicitAlpha, colour);
  Append(&interpolatedAlpha, colour);
  Image image;
  for (Format format : {FMT_DXT2, FMT_DXT3}) {
    ASSERT_TRUE(DecodeImage(BuildDds(BlockHeader(format, 4, 4), explicitAlpha), &image));
    EXPECT_EQ(image.sourceFormat, format);
    EXPECT_EQ(std::vector<uint32_t>(image.texels.begin(), image.texels.begin() + 3),
              (std::vector<uint32_t>{0x880000FF, 0xFF0000FF, 0x000000FF}));
  }
  for (Format format : {FMT_DXT4, FMT_DXT5}) {
    ASSERT_TRUE(DecodeImage(BuildDds(BlockHeader(format, 4, 4), interpolatedAlpha), &image));
    EXPECT_EQ(image.sourceFormat, format);
    EXPECT_EQ(image.texels[0], 0xFF0000FFu);
    EXPECT_EQ(image.texels[1], 0x000000FFu);
    EXPECT_NEAR(image.texels[2] >> 24, 219, 1);
  }
}

// A cube map whose faces each carry a four-level chain. Level 0 of each face
// has its own colour; every smaller level holds a colour that must not show.
Bytes CubeWithMips(bool blocks) {
  constexpr uint16_t kColours565[6] = {0xF800, 0x07E0, 0x001F, 0xFFE0, 0x07FF, 0xF81F};
  constexpr uint32_t kColours[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
  DdsHeader header = blocks ? BlockHeader(FMT_DXT1, 8, 8) : DdsHeader{.width = 8, .height = 8};
  testing::MakeMipChain(&header, 4);
  testing::MakeCube(&header);
  Bytes data;
  for (int face = 0; face < 6; ++face) {
    for (uint32_t side = 8; side >= 1; side /= 2) {
      const bool top = side == 8;
      const uint32_t units = blocks ? ((side + 3) / 4) * ((side + 3) / 4) : side * side;
      for (uint32_t i = 0; i < units; ++i) {
        if (blocks) Append(&data, Dxt1Block(top ? kColours565[face] : 0, 0, 0));
        if (!blocks) testing::AppendLe32(&data, top ? kColours[face] : 0x808080);
      }
    }
  }
  return BuildDds(header, data);
}

class CubeMap : public ::testing::TestWithParam<bool> {};

TEST_P(CubeMap, FacesFollowEachOthersWholeMipChain) {
  const Bytes file = CubeWithMips(GetParam());
  CubeImage cube;
  ASSERT_TRUE(DecodeCubeImage(file, &cube));
  EXPECT_EQ(cube.size, 8);
  EXPECT_EQ(cube.sourceFormat, GetParam() ? FMT_DXT1 : FMT_X8R8G8B8);
  const uint32_t expected[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
  for (int face = 0; face < 6; ++face) {
    EXPECT_EQ(cube.faces[face], std::vector<uint32_t>(64, expected[face])) << "face " << face;
  }
  Image first;  // a cube map read as a 2D picture is its +X face
  ASSERT_TRUE(DecodeImage(file, &first));
  EXPECT_EQ(first.texels, cube.faces[0]);
}

TEST_P(CubeMap, EveryTruncationIsRefused) {
  const Bytes file = CubeWithMips(GetParam());
  Image image;
  CubeImage cube;
  for (size_t length = 0; length < file.size(); ++length) {
    ASSERT_FALSE(DecodeCubeImage(std::span(file.data(), length), &cube)) << length;
    ASSERT_FALSE(DecodeImage(std::span(file.data(), length), &image)) << length;
  }
}

INSTANTIATE_TEST_SUITE_P(Dds, CubeMap, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Dxt1" : "X8R8G8B8"; });

TEST(DdsCube, IncompleteOrOblongCubesAndPlainPicturesAreNoCubes) {
  CubeImage cube;
  DdsHeader partial;
  testing::MakeCube(&partial);
  partial.caps2 = 0x200 | 0x400;  // +X only
  EXPECT_FALSE(DecodeCubeImage(BuildDds(partial, Bytes(4 * 6)), &cube));
  DdsHeader oblong{.width = 2};
  testing::MakeCube(&oblong);
  EXPECT_FALSE(DecodeCubeImage(BuildDds(oblong, Bytes(8 * 6)), &cube));
  EXPECT_FALSE(DecodeCubeImage(BuildDds(DdsHeader{}, Bytes(4)), &cube));
}

TEST(DdsMips, ACountCountsOnlyWhereTheHeaderAnnouncesAChain) {
  DdsHeader unannounced{.mipCount = 9};
  Image image;
  EXPECT_TRUE(DecodeImage(BuildDds(unannounced, Bytes(4)), &image));
  DdsHeader tooLong{.width = 2, .height = 2};
  testing::MakeMipChain(&tooLong, 3);
  EXPECT_FALSE(DecodeImage(BuildDds(tooLong, Bytes(1024)), &image));
}

TEST(DdsHostile, AbsurdOrUnknownHeadersAreRefusedBeforeAnyAllocation) {
  DdsHeader hugeMips;
  testing::MakeMipChain(&hugeMips, 0xFFFFFFFF);
  DdsHeader tenBitRed;
  tenBitRed.masks[0] = 0x3FF00000;
  const DdsHeader refused[] = {
      DdsHeader{.width = 0},
      DdsHeader{.width = 0x40000000, .height = 0x40000000},
      DdsHeader{.width = 65536, .height = 65536},  // 4 bytes a texel wraps 32 bits to 0
      BlockHeader(FMT_DXT1, kMaxImageSide + 4, 4),
      DdsHeader{.headerSize = 0},
      DdsHeader{.caps2 = 0x200000},  // volume
      hugeMips,
      tenBitRed,
      BlockHeader(0x31495441, 4, 4),  // "ATI1"
      BlockHeader(0x30315844, 4, 4),  // "DX10": an extended header
  };
  Image image;
  for (const DdsHeader& header : refused) {
    EXPECT_FALSE(DecodeImage(BuildDds(header, Bytes(256)), &image)) << header.width;
  }
  EXPECT_TRUE(image.texels.empty());
  EXPECT_FALSE(DecodeImage(BuildDds(DdsHeader{}, Bytes(4)), nullptr));
}

TEST(DdsHostile, CorruptHeadersNeverReadOutOfBounds) {
  // Whatever a corrupt header lets through must still be read in bounds; the
  // sanitizer build checks that.
  std::srand(7);
  const Bytes valid = CubeWithMips(true);
  Image image;
  CubeImage cube;
  for (int round = 0; round < 2000; ++round) {
    Bytes file = valid;
    for (int flip = 0; flip < 4; ++flip)
      file[4 + std::rand() % 124] = std::rand() & 0xFF;
    DecodeImage(file, &image);
    DecodeCubeImage(file, &cube);
  }
}

}  // namespace
}  // namespace kbh
