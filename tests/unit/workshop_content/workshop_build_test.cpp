// The builder is deterministic: building the workshop again gives, byte for
// byte, the tree the build made; and it writes every file the program needs.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/image/image_codec.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/workshop_content/workshop_tree.hpp"
#include "tools/workshop/workshop_builder.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

TEST(WorkshopBuild, RebuildingGivesTheSameBytes) {
  testing::TempDir dir;
  WorkshopSummary summary;
  std::string error;
  ASSERT_TRUE(BuildWorkshop(dir.Path().string(), WorkshopOptions{}, &summary, &error)) << error;
  EXPECT_EQ(summary.meshes, static_cast<int>(DemoParts().size()) + 1);

  int compared = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.Path())) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), dir.Path());
    SCOPED_TRACE(relative.string());
    const fs::path built = fs::path(KBH_WORKSHOP_DIR) / relative;
    ASSERT_TRUE(fs::exists(built));
    EXPECT_TRUE(testing::ReadFileBytes(entry.path()) == testing::ReadFileBytes(built));
    ++compared;
  }
  EXPECT_GT(compared, 60);
}

TEST(WorkshopBuild, ThePicturesTheProgramNeedsAreThereInTheirSizes) {
  const struct {
    const char* path;
    int width;
    int height;
    Format format;
  } pictures[] = {
      {"gfx/env/mainBG.dds", 1024, 768, FMT_X8R8G8B8},
      {"gfx/gui/kbh_load.dds", 260, 124, FMT_A8R8G8B8},
      {"gfx/gui/gui_Spray_modelframe.dds", 480, 310, FMT_A8R8G8B8},
      {"gfx/gui/gui_colsel_palette.dds", 100, 60, FMT_A8R8G8B8},
  };
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.path);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(testing::WorkshopPath(p.path), &bytes));
    Image image;
    ASSERT_TRUE(DecodeImage(bytes, &image));
    EXPECT_EQ(image.width, p.width);
    EXPECT_EQ(image.height, p.height);
    EXPECT_EQ(image.sourceFormat, p.format);
  }
  // The preview shows through the frame's window; the palette's picks are
  // opaque colours.
  std::vector<uint8_t> bytes;
  Image frame;
  ASSERT_TRUE(ReadWholeFile(testing::WorkshopPath("gfx/gui/gui_Spray_modelframe.dds"), &bytes));
  ASSERT_TRUE(DecodeImage(bytes, &frame));
  for (int y = 34; y < 34 + 260; y += 13) {
    for (int x = 15; x < 15 + 450; x += 17) {
      ASSERT_EQ(frame.texels[static_cast<size_t>(y) * frame.width + x] >> 24, 0u);
    }
  }
  EXPECT_EQ(frame.texels[5 * frame.width + 240] >> 24, 255u);
  Image palette;
  ASSERT_TRUE(ReadWholeFile(testing::WorkshopPath("gfx/gui/gui_colsel_palette.dds"), &bytes));
  ASSERT_TRUE(DecodeImage(bytes, &palette));
  for (const uint32_t texel : palette.texels)
    ASSERT_EQ(texel >> 24, 255u);

  CubeImage cube;
  ASSERT_TRUE(ReadWholeFile(testing::WorkshopPath("gfx/env/envmap.dds"), &bytes));
  ASSERT_TRUE(DecodeCubeImage(bytes, &cube));
  EXPECT_EQ(cube.size, 256);
  MeshData ball;
  ASSERT_TRUE(ReadWholeFile(testing::WorkshopPath("gfx/gui/gui_colsel_ball.mxa"), &bytes));
  ASSERT_TRUE(ReadXFile(bytes, &ball));
}

}  // namespace
}  // namespace kbh
