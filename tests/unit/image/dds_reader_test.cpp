#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/image/dds_reader.hpp"
#include "platform/image/image_codec.hpp"

namespace kbh {
namespace {

using Bytes = std::vector<uint8_t>;

void AppendLe(Bytes* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<uint8_t>(value >> shift));
}

// The 128-byte preamble as the format's documentation lays it out, written
// independently of the reader.
struct DdsHeader {
  uint32_t width = 1;
  uint32_t height = 1;
  uint32_t flags = 0x1007;  // caps, height, width, pixel format
  uint32_t mipCount = 0;
  uint32_t pixelFlags = 0x40;  // RGB
  uint32_t fourCc = 0;
  uint32_t bitCount = 32;
  uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};  // red, green, blue, alpha
  uint32_t caps = 0x1000;                           // texture
  uint32_t caps2 = 0;
  uint32_t headerSize = 124;

  DdsHeader& MipChain(uint32_t levels) {
    flags |= 0x20000;
    mipCount = levels;
    caps |= 0x400008;  // mipmap, complex
    return *this;
  }
  DdsHeader& Cube() {
    caps |= 0x8;
    caps2 = 0x200 | 0xFC00;  // cube map, all faces
    return *this;
  }
};

DdsHeader BlockHeader(uint32_t fourCc, uint32_t width, uint32_t height) {
  return {width, height, 0x1007, 0, 0x4, fourCc, 0, {}};
}

Bytes BuildDds(const DdsHeader& h, const Bytes& data) {
  uint32_t fields[31] = {h.headerSize, h.flags, h.height, h.width, 0, 0, h.mipCount};
  const uint32_t pixelFormatAndCaps[] = {32,         h.pixelFlags, h.fourCc,   h.bitCount,
                                         h.masks[0], h.masks[1],   h.masks[2], h.masks[3],
                                         h.caps,     h.caps2};
  std::copy(std::begin(pixelFormatAndCaps), std::end(pixelFormatAndCaps), fields + 18);
  Bytes out = {'D', 'D', 'S', ' '};
  for (uint32_t field : fields)
    AppendLe(&out, field);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// Two 5:6:5 colours and sixteen 2-bit indices, texel 0 in the lowest bits.
Bytes Dxt1Block(uint16_t colour0, uint16_t colour1, uint32_t indices) {
  Bytes out;
  AppendLe(&out, colour0 | uint32_t{colour1} << 16);
  AppendLe(&out, indices);
  return out;
}

struct LayoutCase {
  Format format;
  uint32_t pixelFlags;
  uint32_t bitCount;
  uint32_t masks[4];
  Bytes pixels;  // three texels: an odd width
  uint32_t expected[3];
};

// The 32-bit ARGB and 24-bit layouts are matched exactly by the corpus files.
// 5-bit 16 reads as 132 and 6-bit 32 as 130: levels are scaled and rounded,
// not shifted.
// clang-format off
const LayoutCase kLayoutCases[] = {
    {FMT_X8B8G8R8, 0x40, 32, {0xFF, 0xFF00, 0xFF0000, 0},
     {0xFF, 0x40, 0x10, 0, 0, 0, 0, 0x80, 1, 2, 3, 0xFF}, {0xFFFF4010, 0xFF000000, 0xFF010203}},
    {FMT_R5G6B5, 0x40, 16, {0xF800, 0x7E0, 0x1F, 0},
     {0x00, 0xF8, 0xE0, 0x07, 0x10, 0x84}, {0xFFFF0000, 0xFF00FF00, 0xFF848284}},
    {FMT_X1R5G5B5, 0x40, 16, {0x7C00, 0x3E0, 0x1F, 0},
     {0x00, 0xFC, 0xE0, 0x03, 0x10, 0x00}, {0xFFFF0000, 0xFF00FF00, 0xFF000084}},
    {FMT_A1R5G5B5, 0x41, 16, {0x7C00, 0x3E0, 0x1F, 0x8000},
     {0x00, 0x7C, 0xE0, 0x83, 0x10, 0x00}, {0x00FF0000, 0xFF00FF00, 0x00000084}},
    {FMT_A4R4G4B4, 0x41, 16, {0xF00, 0xF0, 0xF, 0xF000},
     {0x00, 0x8F, 0xF0, 0xF0, 0x05, 0x00}, {0x88FF0000, 0xFF00FF00, 0x00000055}},
    {FMT_L8, 0x20000, 8, {0xFF, 0, 0, 0}, {0x40, 0x00, 0xFF}, {0xFF404040, 0xFF000000, 0xFFFFFFFF}},
    {FMT_A8, 0x2, 8, {0, 0, 0, 0xFF}, {0x80, 0x00, 0xFF}, {0x80000000, 0, 0xFF000000}},
};
// clang-format on

TEST(Dds, UncompressedLayoutsDecodeEveryChannel) {
  for (const LayoutCase& layout : kLayoutCases) {
    SCOPED_TRACE(layout.format);
    DdsHeader header{.width = 3, .pixelFlags = layout.pixelFlags, .bitCount = layout.bitCount};
    std::copy(std::begin(layout.masks), std::end(layout.masks), header.masks);
    Image image;
    ASSERT_TRUE(DecodeImage(BuildDds(header, layout.pixels), &image));
    EXPECT_EQ(image.sourceFormat, layout.format);
    EXPECT_EQ(image.texels, std::vector<uint32_t>(layout.expected, layout.expected + 3));
  }
}

TEST(Dds, AlphaFollowsTheFlagAndFourCcMayBeAFormatNumber) {
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

TEST(Dds, BlocksAtSizesThatAreNotMultiplesOfFourAreCropped) {
  Bytes data;  // 6 x 5 needs 2 x 2 blocks, each one solid colour
  for (uint16_t colour : {kRed565, uint16_t{0x07E0}, kBlue565, uint16_t{0xFFFF}}) {
    const Bytes block = Dxt1Block(colour, 0, 0);
    data.insert(data.end(), block.begin(), block.end());
  }
  Image image;
  ASSERT_TRUE(DecodeImage(BuildDds(BlockHeader(FMT_DXT1, 6, 5), data), &image));
  ASSERT_EQ(image.texels.size(), 30u);
  EXPECT_EQ(image.texels[3], 0xFFFF0000u);
  EXPECT_EQ(image.texels[3 * 6 + 5], 0xFF00FF00u);
  EXPECT_EQ(image.texels[4 * 6 + 0], 0xFF0000FFu);
  EXPECT_EQ(image.texels[4 * 6 + 5], 0xFFFFFFFFu);
}

TEST(Dds, Dxt2To5ReadTheirAlphaBlocks) {
  // DXT3 alphas: 0x8, 0xF, 0. DXT5: alpha0 255, alpha1 0, texels with indices
  // 0, 1, 2 (the last 6/7 of the way to alpha0).
  const Bytes colour = Dxt1Block(kBlue565, kRed565, 0);
  Bytes explicitAlpha = {0xF8, 0, 0, 0, 0, 0, 0, 0};
  Bytes interpolatedAlpha = {0xFF, 0x00, 0b10'001'000, 0, 0, 0, 0, 0};
  explicitAlpha.insert(explicitAlpha.end(), colour.begin(), colour.end());
  interpolatedAlpha.insert(interpolatedAlpha.end(), colour.begin(), colour.end());
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

// A DXT1 cube map whose faces each carry a four-level chain. Level 0 of each
// face has its own colour; every smaller level holds black that must not show.
// The 2 x 2 and 1 x 1 levels still take a whole block each.
Bytes CubeWithMips() {
  constexpr uint16_t kColours565[6] = {0xF800, 0x07E0, 0x001F, 0xFFE0, 0x07FF, 0xF81F};
  Bytes data;
  for (int face = 0; face < 6; ++face) {
    for (int block = 0; block < 4 + 1 + 1 + 1; ++block) {
      const Bytes bytes = Dxt1Block(block < 4 ? kColours565[face] : 0, 0, 0);
      data.insert(data.end(), bytes.begin(), bytes.end());
    }
  }
  return BuildDds(BlockHeader(FMT_DXT1, 8, 8).MipChain(4).Cube(), data);
}

TEST(Dds, CubeFacesFollowEachOthersWholeMipChain) {
  const Bytes file = CubeWithMips();
  CubeImage cube;
  ASSERT_TRUE(DecodeCubeImage(file, &cube));
  EXPECT_EQ(cube.size, 8);
  EXPECT_EQ(cube.sourceFormat, FMT_DXT1);
  const uint32_t expected[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
  for (int face = 0; face < 6; ++face)
    EXPECT_EQ(cube.faces[face], std::vector<uint32_t>(64, expected[face])) << "face " << face;
  Image first;  // a cube map read as a 2D picture is its +X face
  ASSERT_TRUE(DecodeImage(file, &first));
  EXPECT_EQ(first.texels, cube.faces[0]);

  for (size_t length = 0; length < file.size(); ++length) {
    ASSERT_FALSE(DecodeCubeImage(std::span(file.data(), length), &cube)) << length;
    ASSERT_FALSE(DecodeImage(std::span(file.data(), length), &first)) << length;
  }
}

TEST(Dds, IncompleteOrOblongCubesAndPlainPicturesAreNoCubes) {
  CubeImage cube;
  DdsHeader partial = DdsHeader{}.Cube();
  partial.caps2 = 0x200 | 0x400;  // +X only
  EXPECT_FALSE(DecodeCubeImage(BuildDds(partial, Bytes(4 * 6)), &cube));
  EXPECT_FALSE(DecodeCubeImage(BuildDds(DdsHeader{.width = 2}.Cube(), Bytes(8 * 6)), &cube));
  EXPECT_FALSE(DecodeCubeImage(BuildDds(DdsHeader{}, Bytes(4)), &cube));
}

TEST(Dds, AMipCountCountsOnlyWhereTheHeaderAnnouncesAChain) {
  Image image;
  EXPECT_TRUE(DecodeImage(BuildDds(DdsHeader{.mipCount = 9}, Bytes(4)), &image));
  DdsHeader tooLong = DdsHeader{.width = 2, .height = 2}.MipChain(3);
  EXPECT_FALSE(DecodeImage(BuildDds(tooLong, Bytes(1024)), &image));
}

TEST(DdsHostile, AbsurdOrUnknownHeadersAreRefusedBeforeAnyAllocation) {
  DdsHeader tenBitRed;
  tenBitRed.masks[0] = 0x3FF00000;
  const DdsHeader refused[] = {
      DdsHeader{.width = 0},
      DdsHeader{.width = 0x40000000, .height = 0x40000000},
      DdsHeader{.width = 65536, .height = 65536},  // 4 bytes a texel wraps 32 bits to 0
      BlockHeader(FMT_DXT1, kMaxImageSide + 4, 4),
      DdsHeader{.headerSize = 0},
      DdsHeader{.caps2 = 0x200000},  // volume
      DdsHeader{}.MipChain(0xFFFFFFFF),
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

// What a content checker shows for a refused file: the header's own figures.
TEST(DdsHostile, RefusalsSayWhatTheHeaderClaims) {
  const struct {
    Bytes file;
    const char* reason;
  } cases[] = {
      {BuildDds(DdsHeader{.width = 65535, .height = 65535}, Bytes(256)),
       "65535 x 65535 is outside 1 ... 8192 a side"},
      {BuildDds(DdsHeader{.width = 256, .height = 256}.MipChain(12), Bytes(4 * 87381)),
       "12 mip levels where 256 x 256 allows 9"},
      {BuildDds(DdsHeader{.width = 4, .height = 4}, Bytes(63)),
       "the pixels need 64 bytes, the file holds 63"},
      {BuildDds(DdsHeader{.caps2 = 0x200000}, Bytes(4)), "a volume texture"},
      {BuildDds(BlockHeader(0x31495441, 4, 4), Bytes(16)), "unsupported pixel format"},
      {Bytes{'D', 'D', 'S', ' '}, "not a DDS file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    Image image;
    std::string reason;
    EXPECT_FALSE(DecodeDdsImage(c.file, &image, &reason));
    EXPECT_EQ(reason, c.reason);
  }
  CubeImage cube;
  std::string reason;
  EXPECT_FALSE(DecodeDdsCube(BuildDds(DdsHeader{}, Bytes(4)), &cube, &reason));
  EXPECT_EQ(reason, "not a cube map");
  EXPECT_FALSE(DecodeDdsCube(BuildDds(DdsHeader{.width = 65535, .height = 65535}.Cube(), {}), &cube,
                             &reason));
  EXPECT_EQ(reason, "65535 x 65535 is outside 1 ... 8192 a side");
}

TEST(DdsHostile, CorruptHeadersNeverReadOutOfBounds) {
  // Whatever a corrupt header lets through must still be read in bounds; the
  // sanitizer build checks that.
  std::srand(7);
  const Bytes valid = CubeWithMips();
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
