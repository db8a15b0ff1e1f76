// The Spray screen's 3D views on a headless device, pixel by pixel: the
// preview's empty background over the screen behind it, and a subset solid
// inside the 20 % ghost of the rest of its part. Expected colours come from
// the blend equation result = source x a + behind x (1 - a), worked out here.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/draw2d.hpp"
#include "platform/gpu/gl_context.hpp"
#include "scene/preview_animation.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::Channel;
using testing::PixelAt;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// a x source + (1 - a) x behind, per colour byte, to the nearest level.
uint32_t Blend(uint32_t source, double alpha, uint32_t behind) {
  uint32_t result = 0xFF000000;
  for (int shift : {16, 8, 0}) {
    const double value = alpha * Channel(source, shift) + (1.0 - alpha) * Channel(behind, shift);
    result |= static_cast<uint32_t>(std::lround(value)) << shift;
  }
  return result;
}

// Largest difference of red, green and blue, with both colours named on
// failure.
::testing::AssertionResult Near(uint32_t drawn, uint32_t expected, int tolerance) {
  if (testing::ColorDistance(drawn, expected) <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << std::hex << "drawn " << drawn << ", expected " << expected;
}

class PreviewPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, kWidth, kHeight, 32))
        << log.Text();
    ASSERT_TRUE(preview.InitPreview());
  }

  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  testing::TempDir dir;
  CubeTextureSlots cubes{graphics};
  InstalledPartList parts{graphics, ProgramDir{dir.Path().string()}};
  PreviewAnimation preview{graphics, cubes};
};

TEST_F(PreviewPixelsTest, EmptyPreviewDarkensThePictureBehindItAsBlackAtAlpha160) {
  // Every pixel of the picture behind is different, so a preview drawn a
  // pixel off, or scaled, shows.
  Image behind = testing::SolidImage(kWidth, kHeight, 0, FMT_X8R8G8B8);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      behind.texels[static_cast<size_t>(y * kWidth + x)] =
          0xFF000000u | static_cast<uint32_t>(x & 0xFF) << 16 |
          static_cast<uint32_t>(y & 0xFF) << 8 | static_cast<uint32_t>((x + y) & 0xFF);
    }
  }
  TextureRecord background;
  background.texture =
      UniqueTexture(graphics.GetDevice(), graphics.GetDevice()->CreateTexture(behind));
  background.width = kWidth;
  background.height = kHeight;
  background.format = FMT_X8R8G8B8;

  preview.RenderPreview(parts);  // no parts: the empty background alone
  graphics.BeginFrame();
  ASSERT_EQ(DrawTexture(graphics, &background, 0, 0), 1);
  ASSERT_TRUE(preview.DrawPreview());
  const Image frame = graphics.GetDevice()->ReadRenderTarget();
  graphics.EndFrame();

  struct Probe {
    int x;
    int y;
    bool covered;
  };
  // The corners of the 450 x 260 picture at (525, 46), and just outside.
  const Probe probes[] = {
      {525, 46, true},   {974, 46, true},   {525, 305, true},  {974, 305, true},
      {750, 176, true},  {600, 200, true},  {524, 46, false},  {525, 45, false},
      {975, 305, false}, {974, 306, false}, {100, 100, false},
  };
  for (const Probe& probe : probes) {
    SCOPED_TRACE(::testing::Message() << probe.x << ", " << probe.y);
    const uint32_t under = PixelAt(behind, probe.x, probe.y);
    const uint32_t expected = probe.covered ? Blend(0xFF000000, 160.0 / 255.0, under) : under;
    EXPECT_TRUE(Near(PixelAt(frame, probe.x, probe.y), expected, 1));
  }
}

TEST_F(PreviewPixelsTest, ChosenSubsetIsSolidInsideTheGhostOfTheRest) {
  // Two quads facing the camera side by side at z = 0, one subset each:
  // x 100 ... 200 is subset 0, x 200 ... 300 subset 1, y 50 ... 150.
  MeshData quads;
  const float left[2] = {100.0f, 200.0f};
  for (uint32_t s = 0; s < 2; ++s) {
    const float x0 = left[s];
    const float x1 = x0 + 100.0f;
    const uint32_t base = static_cast<uint32_t>(quads.vertices.size());
    // Clockwise seen from -z: bottom left, top left, top right, bottom right.
    for (Vec3 corner : {Vec3{x0, 50, 0}, Vec3{x0, 150, 0}, Vec3{x1, 150, 0}, Vec3{x1, 50, 0}})
      quads.vertices.push_back({corner, {0, 0, -1}, 0, 0});
    quads.indices.insert(quads.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    quads.subsets.push_back({2 * s, 2});
  }
  testing::WriteModel(dir, 0x010101, quads);
  PartModel* part = parts.InstallPart(0x010101);
  ASSERT_NE(part->mesh, nullptr);
  ASSERT_EQ(part->mesh->subsetCount, 2u);
  // Lit colour = emissive alone: no diffuse, ambient or specular colour, no
  // reflection.
  const uint32_t colours[2] = {0xFFC82828, 0xFF28C828};
  for (uint32_t s = 0; s < 2; ++s) {
    part->mesh->materials[s] = MakeMaterial(0xFF000000, 0, 0, colours[s], 0.0f);
    part->mesh->factors[s].reflection = 0;
  }

  // Fly there and arrive: the camera ends at (50 + 200, 100 + 100, -600)
  // looking at (250, 100, 0), 50 units right of the quads' centre.
  preview.StartCameraMove(part, 1000);
  preview.UpdatePreview(1500);
  preview.UpdatePreview(1516);
  const Matrix toScreen =
      MatrixMultiply(MatrixLookAtLH({250, 200, -600}, {250, 100, 0}, {0, 1, 0}),
                     MatrixPerspectiveFovLH(0.7853982f, 4.0f / 3.0f, 200.0f, 1700.0f));
  auto pixelOf = [&](const Image& frame, Vec3 world) {
    const Vec3 ndc = TransformCoord(world, toScreen);
    return PixelAt(frame, static_cast<int>(std::lround((ndc.x + 1.0) * 0.5 * kWidth)),
                   static_cast<int>(std::lround((1.0 - ndc.y) * 0.5 * kHeight)));
  };
  const Vec3 middleOf[2] = {{150, 100, 0}, {250, 100, 0}};
  constexpr uint32_t kBehind = 0xFF3060A0;

  struct Case {
    uint16_t row;
    double alpha[2];  // of each subset as drawn
  };
  const Case cases[] = {
      {1, {1.0, 1.0}},  // the whole part
      {2, {1.0, 0.2}},  // subset 0 chosen
      {3, {0.2, 1.0}},  // subset 1 chosen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    SetPartAlpha(part, 1.0f);  // as the Spray update does every frame
    graphics.BeginFrame();
    graphics.GetDevice()->Clear(kClearTarget, kBehind, 1.0f, 0);
    preview.RenderSelectedPart(c.row, 1500);
    const Image frame = graphics.GetDevice()->ReadRenderTarget();
    graphics.EndFrame();
    for (int s = 0; s < 2; ++s) {
      SCOPED_TRACE(s);
      EXPECT_TRUE(Near(pixelOf(frame, middleOf[s]), Blend(colours[s], c.alpha[s], kBehind), 2));
    }
    // Outside the part the background is untouched.
    EXPECT_EQ(pixelOf(frame, {150, 200, 0}), kBehind);
  }
}

}  // namespace
}  // namespace kbh
