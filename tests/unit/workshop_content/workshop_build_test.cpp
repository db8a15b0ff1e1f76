// The builder is deterministic: building the workshop again gives, byte for
// byte, the tree the build made; and it writes every file the program needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "catalogue/part_files.hpp"
#include "platform/image/image_codec.hpp"
#include "scene/stage.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/workshop_content/workshop_tree.hpp"
#include "tools/workshop/interface_pictures.hpp"
#include "tools/workshop/workshop_builder.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

TEST(WorkshopBuild, RebuildingGivesTheSameBytesAndTakesRenderedPictures) {
  // A stand-in for the scene renderer: flat colours that tell the pictures
  // apart. It draws from the finished tree, so the meshes must be there.
  testing::TempDir previews;
  WorkshopOptions options;
  options.previewDir = previews.Path().string();
  int asked = 0;
  options.renderer.partPicture = [&](const std::string& root, uint32_t id, Image* picture) {
    ++asked;
    EXPECT_TRUE(fs::exists(fs::path(root) / PartFileRelativePath(kPartModel, id)));
    picture->width = 235;
    picture->height = 169;
    picture->texels.assign(235 * 169, 0xFF000000u | (id & 0xFFFFFFu));
    return true;
  };
  options.renderer.turntableView = [](const std::string& root, float angle, Image* picture) {
    EXPECT_TRUE(fs::exists(fs::path(root) / "gfx/env/envmap.dds"));
    picture->width = 4;
    picture->height = 3;
    picture->texels.assign(12, 0xFF000000u | static_cast<uint32_t>(angle * 100.0f));
    return true;
  };
  options.renderer.paintPreview = [](const std::string&, Image* picture) {
    picture->width = 450;
    picture->height = 260;
    picture->texels.assign(450 * 260, 0xFF808080u);
    return true;
  };
  // A stale part file from an earlier build goes; a file the builder does not
  // own stays.
  testing::TempDir dir;
  testing::WriteFileBytes(dir.Path() / "data/objects/FFFFFF.mxa", "old");
  testing::WriteFileBytes(dir.Path() / "data/objects/notes.txt", "mine");
  WorkshopSummary summary;
  std::string error;
  ASSERT_TRUE(BuildWorkshop(dir.Path().string(), options, &summary, &error)) << error;
  EXPECT_FALSE(fs::exists(dir.Path() / "data/objects/FFFFFF.mxa"));
  EXPECT_TRUE(fs::exists(dir.Path() / "data/objects/notes.txt"));
  EXPECT_EQ(summary.meshes, static_cast<int>(DemoParts().size()) + 1);
  EXPECT_EQ(asked, static_cast<int>(DemoParts().size()));
  EXPECT_EQ(summary.partPictures, asked);
  // Four turntable views, the paint preview and a review sheet per tab.
  EXPECT_EQ(summary.previews, 5 + 7);
  EXPECT_TRUE(fs::exists(previews.Path() / "turntable_3.png"));
  EXPECT_TRUE(fs::exists(previews.Path() / "paint_preview.png"));
  for (const char* tab : {"tuneup", "spray", "seller", "options", "help", "account", "info"}) {
    EXPECT_TRUE(fs::exists(previews.Path() / (std::string("skin_") + tab + ".png"))) << tab;
  }

  int compared = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.Path())) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), dir.Path());
    SCOPED_TRACE(relative.string());
    if (relative.parent_path() == "data/images") continue;  // not made by the build yet
    if (relative.filename() == "notes.txt") continue;
    const fs::path built = fs::path(KBH_WORKSHOP_DIR) / relative;
    ASSERT_TRUE(fs::exists(built));
    EXPECT_TRUE(testing::ReadFileBytes(entry.path()) == testing::ReadFileBytes(built));
    ++compared;
  }
  EXPECT_GT(compared, 60);

  // The program finds each file under the low 24 bits of its part's id.
  EXPECT_EQ(PartFileRelativePath(kPartModel, 0x01030101), "data/objects/030101.mxa");
  std::vector<uint8_t> bytes;
  Image picture;
  ASSERT_TRUE(ReadWholeFile((dir.Path() / "data/images/030101.khi").string(), &bytes));
  ASSERT_TRUE(DecodeImage(bytes, &picture));
  EXPECT_EQ(picture.width, 235);
  EXPECT_EQ(picture.texels[0] & 0xFFFFFFu, 0x030101u);
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

namespace {

Image LoadPicture(const char* path) {
  std::vector<uint8_t> bytes;
  Image image;
  EXPECT_TRUE(ReadWholeFile(testing::WorkshopPath(path), &bytes));
  EXPECT_TRUE(DecodeImage(bytes, &image));
  return image;
}

float Luminance(uint32_t argb) {
  return (static_cast<float>((argb >> 16) & 255) + static_cast<float>((argb >> 8) & 255) +
          static_cast<float>(argb & 255)) /
         (3.0f * 255.0f);
}

}  // namespace

TEST(WorkshopBuild, TheBackdropFitsTheStage) {
  const Image backdrop = LoadPicture("gfx/env/mainBG.dds");
  ASSERT_EQ(backdrop.texels.size(), 1024u * 768u);
  const auto at = [&](int x, int y) { return backdrop.texels[static_cast<size_t>(y) * 1024 + x]; };
  // Under the moped: the dark turntable with its shadow.
  Vec2 centre;
  ASSERT_TRUE(ProjectToScreen(kTuneUpCamera, MatrixIdentity(), {0, kFloorY, 0}, &centre));
  EXPECT_LT(Luminance(at(static_cast<int>(centre.x), static_cast<int>(centre.y))), 0.2f);
  // Behind the moped's top: the hall's wall, neither black nor glaring.
  const float wall = Luminance(at(512, 60));
  EXPECT_GT(wall, 0.2f);
  EXPECT_LT(wall, 0.8f);
  // Where the interface panel lies, the picture is calm: no edges.
  float low = 1.0f, high = 0.0f;
  for (int y = 560; y < 768; y += 3) {
    for (int x = 0; x < 1024; x += 7) {
      low = std::min(low, Luminance(at(x, y)));
      high = std::max(high, Luminance(at(x, y)));
    }
  }
  EXPECT_LT(high - low, 0.1f);
}

TEST(WorkshopBuild, InterfacePicturesCarryTheirMarks) {
  // The palette runs through the hues at mid height and from light to dark.
  const Image palette = MakePalette();
  const uint32_t red = palette.texels[30 * 100 + 0];
  EXPECT_GT((red >> 16) & 255, 200u);
  EXPECT_LT((red >> 8) & 255, 60u);
  EXPECT_GT(Luminance(palette.texels[0 * 100 + 40]), Luminance(palette.texels[59 * 100 + 40]));
  // The loading picture leaves a dark groove for the bar and is lettered.
  const Image loading = LoadPicture("gfx/gui/kbh_load.dds");
  for (int x = 0; x < 215; x += 5) {
    EXPECT_LT(Luminance(loading.texels[static_cast<size_t>(kLoadingBarRow) * loading.width + x]),
              0.1f);
  }
  int bright = 0;
  for (int y = 8; y < 44; ++y) {
    for (int x = 0; x < loading.width; ++x) {
      if (Luminance(loading.texels[static_cast<size_t>(y) * loading.width + x]) > 0.6f) ++bright;
    }
  }
  EXPECT_GT(bright, 200) << "the title was drawn";
}

TEST(WorkshopBuild, EveryLogoBelongsToASellerAndSomeNeedFitting) {
  DataStore store;
  ASSERT_TRUE(LoadDataStore(testing::WorkshopPath("data/firstData.khb"), store));
  std::set<std::string> sellers;
  for (const CatalogueNode* item : testing::AllItems(store)) {
    if (item->record && !item->record->text5.empty()) sellers.insert(item->record->text5);
  }
  std::set<std::string> logos;
  bool wide = false, tall = false;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(testing::WorkshopPath("data/logos"))) {
    logos.insert(entry.path().stem().string());
    const Image logo = LoadPicture(("data/logos/" + entry.path().filename().string()).c_str());
    // The seller screen fits logos into 190 x 66.
    wide = wide || logo.width > 190;
    tall = tall || logo.height * std::min(logo.width, 190) > 66 * logo.width;
  }
  EXPECT_EQ(logos, sellers);
  EXPECT_GE(logos.size(), 4u);
  EXPECT_TRUE(wide) << "no logo needs shrinking to the box's width";
  EXPECT_TRUE(tall) << "no logo needs shrinking to the box's height";
}

}  // namespace
}  // namespace kbh
