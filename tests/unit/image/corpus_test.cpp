// Real-world DDS and BMP files against reference PNGs decoded by another
// program. Uncompressed formats must match exactly; block formats within a
// few levels, because decoders round the interpolated colours differently.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/image/image_codec.hpp"
#include "tests/support/temp_dir.hpp"

namespace kbh {
namespace {

struct CorpusFile {
  const char* name;
  Format format;
  int width;
  int height;
  int tolerance;
  // The reference decoder ignored this file's channel masks, which put red in
  // the lowest byte, and stored red and blue swapped.
  bool referenceSwapsRedAndBlue = false;
};

const CorpusFile kCorpusFiles[] = {
    {"Font.dds", FMT_A8R8G8B8, 950, 20, 0},
    {"LobbyCube.dds", FMT_DXT1, 256, 256, 4},
    {"MarbleClouds.dds", FMT_DXT5, 512, 512, 4},
    {"Tiny_skin.dds", FMT_X8R8G8B8, 256, 256, 0},
    {"brass.dds", FMT_DXT1, 16, 16, 4},
    {"colorgradient.dds", FMT_R8G8B8, 256, 1, 0},
    {"crane_wheel.dds", FMT_DXT1, 128, 128, 4},
    {"default.dds", FMT_X8R8G8B8, 1, 1, 0},
    {"dxutcontrols.dds", FMT_A8B8G8R8, 256, 256, 0, true},
    {"ground_norm.dds", FMT_R8G8B8, 32, 32, 0},
    {"seafloor.dds", FMT_DXT1, 256, 256, 4},
    {"tiger.bmp", FMT_P8, 256, 256, 0},
};

std::filesystem::path CorpusDir() {
  return std::filesystem::path(KBH_CORPUS_DIR) / "dds";
}

bool Load(const std::filesystem::path& path, std::vector<uint8_t>* bytes) {
  const std::string text = testing::ReadFileBytes(path);
  bytes->assign(text.begin(), text.end());
  return !bytes->empty();
}

uint32_t SwapRedAndBlue(uint32_t texel) {
  return (texel & 0xFF00FF00) | ((texel >> 16) & 0xFF) | ((texel & 0xFF) << 16);
}

int LargestChannelDifference(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
  }
  return largest;
}

class Corpus : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(Corpus, MatchesItsReferencePicture) {
  if (!std::filesystem::is_directory(CorpusDir())) GTEST_SKIP() << "corpus folder absent";
  const CorpusFile& file = GetParam();
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> referenceBytes;
  const std::string stem = std::filesystem::path(file.name).stem().string();
  ASSERT_TRUE(Load(CorpusDir() / file.name, &bytes));
  ASSERT_TRUE(Load(CorpusDir() / ("ref_" + stem + ".png"), &referenceBytes));

  Image image;
  Image reference;
  ASSERT_TRUE(DecodeImage(bytes, &image));
  ASSERT_TRUE(DecodeImage(referenceBytes, &reference));  // PNG, read by stb_image
  EXPECT_EQ(image.sourceFormat, file.format);
  ASSERT_EQ(image.width, file.width);
  ASSERT_EQ(image.height, file.height);
  ASSERT_EQ(reference.width, file.width);
  ASSERT_EQ(reference.height, file.height);

  if (file.referenceSwapsRedAndBlue) {
    for (uint32_t& texel : reference.texels)
      texel = SwapRedAndBlue(texel);
  }
  // A reference without alpha is written as opaque; compare colour only then.
  const bool referenceHasAlpha = reference.sourceFormat == FMT_A8R8G8B8;
  int worst = 0;
  size_t worstIndex = 0;
  for (size_t i = 0; i < image.texels.size(); ++i) {
    const uint32_t mask = referenceHasAlpha ? 0xFFFFFFFF : 0x00FFFFFF;
    const int difference =
        LargestChannelDifference(image.texels[i] & mask, reference.texels[i] & mask);
    if (difference > worst) {
      worst = difference;
      worstIndex = i;
    }
  }
  EXPECT_LE(worst, file.tolerance)
      << std::hex << "texel " << std::dec << worstIndex << ": " << std::hex
      << image.texels[worstIndex] << " against " << reference.texels[worstIndex];
}

INSTANTIATE_TEST_SUITE_P(Dds, Corpus, ::testing::ValuesIn(kCorpusFiles), [](const auto& test) {
  std::string name = test.param.name;
  for (char& c : name)
    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

TEST(CorpusCube, LobbyCubeHasSixDistinctFaces) {
  if (!std::filesystem::is_directory(CorpusDir())) GTEST_SKIP() << "corpus folder absent";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(Load(CorpusDir() / "LobbyCube.dds", &bytes));
  CubeImage cube;
  ASSERT_TRUE(DecodeCubeImage(bytes, &cube));
  EXPECT_EQ(cube.size, 256);
  EXPECT_EQ(cube.sourceFormat, FMT_DXT1);
  for (int face = 1; face < 6; ++face)
    EXPECT_NE(cube.faces[face], cube.faces[face - 1]);
  Image first;
  ASSERT_TRUE(DecodeImage(bytes, &first));
  EXPECT_EQ(first.texels, cube.faces[0]);
}

}  // namespace
}  // namespace kbh
