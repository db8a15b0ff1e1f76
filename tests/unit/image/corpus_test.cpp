// Real-world DDS and BMP files against reference PNGs decoded by another
// program. Uncompressed formats must match exactly; block formats within a
// few levels, because decoders round the interpolated colours differently.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/image/image_codec.hpp"
#include "tests/support/skip.hpp"
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

const std::filesystem::path kCorpusDir = std::filesystem::path(KBH_CORPUS_DIR) / "dds";

std::vector<uint8_t> Load(const std::string& name) {
  const std::string text = testing::ReadFileBytes(kCorpusDir / name);
  return std::vector<uint8_t>(text.begin(), text.end());
}

int LargestChannelDifference(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8)
    largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return largest;
}

TEST(Corpus, EveryFileMatchesItsReferencePicture) {
  if (!std::filesystem::is_directory(kCorpusDir)) KBH_SKIP_OR_FAIL() << "corpus folder absent";
  for (const CorpusFile& file : kCorpusFiles) {
    SCOPED_TRACE(file.name);
    Image image;
    Image reference;
    ASSERT_TRUE(DecodeImage(Load(file.name), &image));
    const std::string stem = std::filesystem::path(file.name).stem().string();
    ASSERT_TRUE(DecodeImage(Load("ref_" + stem + ".png"), &reference));
    EXPECT_EQ(image.sourceFormat, file.format);
    ASSERT_EQ(image.width, file.width);
    ASSERT_EQ(image.height, file.height);
    ASSERT_EQ(reference.texels.size(), image.texels.size());

    // A reference without alpha is written as opaque; compare colour only then.
    const uint32_t mask = reference.sourceFormat == FMT_A8R8G8B8 ? 0xFFFFFFFF : 0x00FFFFFF;
    int worst = 0;
    size_t worstIndex = 0;
    for (size_t i = 0; i < image.texels.size(); ++i) {
      uint32_t expected = reference.texels[i];
      if (file.referenceSwapsRedAndBlue) {
        expected = (expected & 0xFF00FF00) | ((expected >> 16) & 0xFF) | ((expected & 0xFF) << 16);
      }
      const int difference = LargestChannelDifference(image.texels[i] & mask, expected & mask);
      if (difference > worst) {
        worst = difference;
        worstIndex = i;
      }
    }
    EXPECT_LE(worst, file.tolerance)
        << "texel " << worstIndex << ": " << std::hex << image.texels[worstIndex] << " against "
        << reference.texels[worstIndex];
  }
}

TEST(Corpus, LobbyCubeHasSixDistinctFaces) {
  if (!std::filesystem::is_directory(kCorpusDir)) KBH_SKIP_OR_FAIL() << "corpus folder absent";
  const std::vector<uint8_t> bytes = Load("LobbyCube.dds");
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
