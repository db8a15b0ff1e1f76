// The headless pictures of a workshop folder: a tiny workshop with a red
// gloss box and a chrome ball, made in a temporary folder.
#include "scene/scene_renderer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/gpu/gl_context.hpp"
#include "scene/scene_pass.hpp"
#include "tests/gl/gpu/d3d_reference.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/workshop/workshop_files.hpp"
#include "tools/catalogue/catalogue_compile.hpp"
#include "tools/common/json.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;

constexpr uint32_t kBackground = 0xFF305070;
constexpr ItemId kBox = 0x00010101;
constexpr ItemId kOtherBox = 0x00010102;
constexpr ItemId kMissingModel = 0x00010103;
constexpr ItemId kBall = 0x00020101;

// The box is painted red gloss with the selector byte 0 (so its alpha is 0
// until the TuneUp screen's reset); the ball is chrome and sits 150 to the
// right. The third item has no model.
constexpr const char* kCatalogue = R"({"categories": [
  {"id": "00010000", "type": 1, "name": "Rahmen", "children": [{"type": 2, "name": "Rahmen",
    "children": [{"type": 3, "name": "Kasten", "record": {"actions": [
      {"type": 8, "target": "00010101", "colour": "00C02020", "finish": 1}]}},
    {"type": 3, "name": "Flach"}, {"type": 3, "name": "Ohne Modell"}]}]},
  {"id": "00020000", "type": 1, "name": "Kugel", "children": [{"type": 2, "name": "Kugel",
    "children": [{"type": 3, "name": "Chromkugel", "record": {"actions": [
      {"type": 8, "target": "00020101", "colour": "00C0C0C0", "finish": 2},
      {"type": 4, "target": "00020101", "x": 150, "y": 0, "z": 0}]}}]}]}]})";

class SceneRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    JsonValue json;
    JsonError jsonError;
    ASSERT_TRUE(ParseJson(kCatalogue, &json, &jsonError));
    std::vector<uint8_t> khb;
    CompileError compileError;
    ASSERT_TRUE(CompileCatalogue(json, &khb, &compileError))
        << compileError.path << ": " << compileError.message;
    testing::WriteBytes(dir, "data/firstData.khb", khb);
    testing::WriteModel(dir, kBox, testing::BoxMesh({-60, -30, -20}, {60, 30, 20}, 2));
    testing::WriteModel(dir, kOtherBox, testing::BoxMesh({-80, -5, -40}, {80, 5, 40}));
    testing::WriteModel(dir, kBall, testing::SphereMesh(40.0f, 24, 48));
    testing::WriteCubeMap(dir, "gfx/env/envmap.dds",
                          {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF});
    Image background = testing::SolidPicture(1024, 768, kBackground);
    testing::WriteBytes(dir, "gfx/env/mainBG.dds", EncodeDds(background, FMT_X8R8G8B8));
    std::string error;
    renderer = SceneRenderer::Open(dir.Path().string(), &error);
    ASSERT_NE(renderer, nullptr) << error;
  }

  // Where a world point lands in the TuneUp view.
  static uint32_t TuneUpPixel(const Image& frame, Vec3 world) {
    const Matrix view = MatrixLookAtLH(kTuneUpCamera.eye, kTuneUpCamera.at, {0, 1, 0});
    const Matrix projection = MatrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 200, 1700);
    const Vec3 ndc = TransformCoord(world, MatrixMultiply(view, projection));
    return PixelAt(frame, static_cast<int>(std::lround((ndc.x + 1) * 512)),
                   static_cast<int>(std::lround((1 - ndc.y) * 384)));
  }
  static int CountDifferent(const Image& frame, uint32_t from) {
    return static_cast<int>(std::count_if(frame.texels.begin(), frame.texels.end(),
                                          [from](uint32_t texel) { return texel != from; }));
  }

  testing::TempDir dir;
  std::unique_ptr<SceneRenderer> renderer;
};

TEST_F(SceneRenderTest, OpenNeedsACatalogue) {
  testing::TempDir empty;
  std::string error;
  EXPECT_EQ(SceneRenderer::Open(empty.Path().string(), &error), nullptr);
  EXPECT_NE(error.find("firstData.khb"), std::string::npos) << error;
}

TEST_F(SceneRenderTest, TuneUpViewShowsThePaintedPartsOverTheBackground) {
  const Image frame = renderer->RenderTuneUpView(0.0f);
  ASSERT_EQ(frame.width, 1024);
  ASSERT_EQ(frame.height, 768);
  EXPECT_EQ(PixelAt(frame, 3, 3), kBackground);
  EXPECT_EQ(PixelAt(frame, 1020, 764), kBackground);
  // The box's front face: red, so its paint arrived and the reset made it
  // opaque.
  const uint32_t box = TuneUpPixel(frame, {0, 0, -20});
  EXPECT_GT(testing::Channel(box, 16), testing::Channel(box, 8) + 60) << std::hex << box;
  // The ball at its position, drawn.
  EXPECT_GT(ColorDistance(TuneUpPixel(frame, {150, 0, -40}), kBackground), 30);

  const Image turned = renderer->RenderTuneUpView(1.5707964f);
  EXPECT_LE(ColorDistance(TuneUpPixel(turned, {150, 0, -40}), kBackground), 2)
      << "the ball turned away with the moped";
  const Image wire = renderer->RenderTuneUpView(0.0f, FILL_WIREFRAME);
  EXPECT_LT(CountDifferent(wire, kBackground), CountDifferent(frame, kBackground) * 2 / 3);
  EXPECT_GT(CountDifferent(wire, kBackground), 100);
}

TEST_F(SceneRenderTest, PartPictureFramesThePart) {
  const Image picture = renderer->RenderPartPicture(kBall, 64, 48);
  ASSERT_EQ(picture.width, 64);
  ASSERT_EQ(picture.height, 48);
  EXPECT_EQ(PixelAt(picture, 0, 0), 0u);  // transparent
  int top = 48, bottom = -1, left = 64, right = -1;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      if ((PixelAt(picture, x, y) >> 24) < 128) continue;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  // The ball fills 90 % of the height, in the middle.
  EXPECT_NEAR(bottom - top + 1, 43, 3);
  EXPECT_NEAR((top + bottom) / 2.0, 23.5, 1.5);
  EXPECT_NEAR((left + right) / 2.0, 31.5, 1.5);
  EXPECT_EQ(PixelAt(picture, 32, 24) >> 24, 255u);

  const Image onGrey = renderer->RenderPartPicture(kBall, 64, 48, 0xFF808080);
  EXPECT_EQ(PixelAt(onGrey, 0, 0), 0xFF808080u);
  EXPECT_EQ(PixelAt(onGrey, 32, 24), PixelAt(picture, 32, 24));
}

TEST_F(SceneRenderTest, PartPictureBuildsInAPartThatIsNotInstalled) {
  EXPECT_FALSE(renderer->RenderPartPicture(kOtherBox, 32, 32).texels.empty());
  EXPECT_NE(renderer->Parts().FindInstalled(kOtherBox), nullptr);
  EXPECT_EQ(renderer->Parts().FindInstalled(kBox), nullptr);  // exchanged
  EXPECT_TRUE(renderer->RenderPartPicture(kMissingModel, 32, 32).texels.empty());
  EXPECT_TRUE(renderer->RenderPartPicture(kBall, 0, 32).texels.empty());
  EXPECT_TRUE(renderer->RenderPartPicture(kBall, 32, 5000).texels.empty());
}

TEST_F(SceneRenderTest, SprayPreviewOfGivenPartsOnTranslucentBlack) {
  renderer->InstallParts({kBall});
  ASSERT_EQ(renderer->Parts().Count(), 1u);
  const PartModel* ball = renderer->Parts().FindInstalled(kBall);
  EXPECT_EQ(ball->position.x, 150.0f);  // its actions ran
  EXPECT_EQ(GetPartAlpha(ball), 1.0f);
  const Image preview = renderer->RenderSprayPreview();
  ASSERT_EQ(preview.width, 450);
  ASSERT_EQ(preview.height, 260);
  EXPECT_EQ(PixelAt(preview, 0, 0), 0xA0000000u);
  EXPECT_GT(CountDifferent(preview, 0xA0000000u), 1000);
}

TEST_F(SceneRenderTest, SprayViewShowsThePreviewAndThePartAndLeavesNoGhostBehind) {
  const Image before = renderer->RenderTuneUpView(0.0f);
  const Image view = renderer->RenderSprayView(kBox, 3);
  ASSERT_EQ(view.width, 1024);
  ASSERT_EQ(view.height, 768);
  // The preview's empty corner darkens the background: 160 / 255 black over
  // it. The top of the box, the subset shown solid, is seen from the
  // camera's end: 100 above the box's centre and 600 in front, looking at a
  // point 50 units to its right.
  EXPECT_LE(ColorDistance(PixelAt(view, 526, 47), 0xFF121E2A), 1);
  EXPECT_LE(ColorDistance(PixelAt(view, 5, 5), kBackground), 1);
  const Matrix toScreen =
      MatrixMultiply(MatrixLookAtLH({50, 100, -600}, {50, 0, 0}, {0, 1, 0}),
                     MatrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 200, 1700));
  const Vec3 ndc = TransformCoord({0, 30, 0}, toScreen);
  EXPECT_GT(ColorDistance(PixelAt(view, static_cast<int>(std::lround((ndc.x + 1) * 512)),
                                  static_cast<int>(std::lround((1 - ndc.y) * 384))),
                          kBackground),
            20);

  // The ghost's alpha is not left on the part for the next picture.
  EXPECT_EQ(GetPartAlpha(renderer->Parts().FindInstalled(kBox)), 1.0f);
  const Image after = renderer->RenderTuneUpView(0.0f);
  EXPECT_TRUE(std::equal(before.texels.begin(), before.texels.end(), after.texels.begin()));

  EXPECT_TRUE(renderer->RenderSprayView(kOtherBox, 1).texels.empty());  // not installed
}

}  // namespace
}  // namespace kbh
