// The colour selector's paint ball on a headless device: at the vertices
// nearest the middle of the ball, each finish gives the colour Direct3D's
// lighting and the reflection blend work out for the paint table's
// material, and states left behind by other passes (depth test, blending)
// do not reach the ball.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "scene/scene_pass.hpp"
#include "tests/gl/gpu/d3d_reference.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "tests/unit/workshop/workshop_files.hpp"
#include "ui/colour_selector.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;

constexpr int kRings = 16;
constexpr int kSegments = 32;
constexpr float kRadius = 30.0f;
// DDS order: +X red, -X green, +Y blue, -Y yellow, +Z magenta, -Z cyan.
constexpr uint32_t kFaces[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};
constexpr uint32_t kBackground = 0xFF204060;
// The paint ball's camera, written out here.
constexpr Vec3 kEye{194, 290, -900};
constexpr Vec3 kAt{180, 275, 0};
// Signal red: bytes 179, 22, 27, mean brightness L = 228 / 765.
constexpr uint32_t kRed = 0xFFB3161B;

// The paint table for kRed, worked out by hand: diffuse the colour (or
// chrome's own grey 0x66), ambient 0.1255 L (chrome 0.12), specular
// 0.46 - 0.54 L, gloss 1.5 - 0.2 L, chromes 1.3; power 25, gloss 100; the
// reflection bytes 2, 15, 96, 206.
struct Paint {
  ColorValue diffuse;
  float ambient;
  float specular;
  float power;
  int reflection;
};
Paint PaintOf(int finish) {
  const float l = 228.0f / 765.0f;
  const ColorValue red{179 / 255.0f, 22 / 255.0f, 27 / 255.0f, 1.0f};
  const ColorValue grey{0.4f, 0.4f, 0.4f, 1.0f};
  switch (finish) {
    case 0:
      return {red, 0.1255f * l, 0.46f - 0.54f * l, 25.0f, 2};
    case 1:
      return {red, 0.1255f * l, 1.5f - 0.2f * l, 100.0f, 15};
    case 2:
      return {grey, 0.12f, 1.3f, 25.0f, 96};
    default:
      return {red, 0.1255f * l, 1.3f, 25.0f, 206};
  }
}

class ColourBallPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) << log.Text();
    testing::WriteBytes(dir, "gfx/gui/gui_colsel_palette.dds",
                        EncodeDds(testing::SolidPicture(8, 8, 0xFF808080), FMT_A8R8G8B8));
    testing::WriteBytes(
        dir, "gfx/gui/gui_colsel_ball.mxa",
        WriteXFile(testing::SphereMesh(kRadius, kRings, kSegments), XEncoding::kText));
    testing::WriteCubeMap(dir, "gfx/env/envmap.dds", kFaces);
    ASSERT_EQ(cubes.LoadCubeTexture(0, (dir / "gfx/env/envmap.dds").c_str()), 1);
    ASSERT_NE(cubes.GetCubeTexture(0), TextureHandle::kNone);
    SetupLights(graphics);
    ASSERT_TRUE(selector.Load(graphics, ProgramDir{dir.Path().string()}));
    SetMouse(context, &mouse);
  }
  void TearDown() override { selector.Release(); }

  // One Spray frame: the selector's update repaints the ball, then the ball
  // is drawn over the background.
  Image Render(uint32_t colour, uint8_t finish) {
    selector.chosen = colour;
    selector.finish = finish;
    selector.Update(context);
    graphics.BeginFrame();
    graphics.GetDevice()->Clear(kClearTarget, kBackground, 1.0f, 0);
    selector.DrawBall(graphics, cubes);
    Image frame = graphics.GetDevice()->ReadRenderTarget();
    graphics.EndFrame();
    return frame;
  }

  testing::LitScene Scene(int finish) const {
    testing::LitScene scene;
    const Paint paint = PaintOf(finish);
    scene.material.diffuse = paint.diffuse;
    scene.material.ambient = {paint.ambient, paint.ambient, paint.ambient, 1.0f};
    scene.material.specular = {paint.specular, paint.specular, paint.specular, 1.0f};
    scene.material.power = paint.power;
    scene.reflection = paint.reflection / 255.0;
    scene.faces = kFaces;
    scene.eye = kEye;
    scene.view = MatrixLookAtLH(kEye, kAt, {0, 1, 0});
    return scene;
  }

  // Screen position of a world point (pixel centres at whole coordinates):
  // the full-screen projection, 45 degrees at 4:3, near 200, far 1700.
  static Vec2 ScreenOf(Vec3 world) {
    const Matrix toScreen = MatrixMultiply(
        MatrixLookAtLH(kEye, kAt, {0, 1, 0}),
        MatrixPerspectiveFovLH(std::numbers::pi_v<float> / 4, 4.0f / 3.0f, 200.0f, 1700.0f));
    const Vec3 ndc = TransformCoord(world, toScreen);
    return {static_cast<float>((ndc.x + 1.0) * 0.5 * 1024.0),
            static_cast<float>((1.0 - ndc.y) * 0.5 * 768.0)};
  }

  // The pixel nearest to where a vertex of the sphere lands, and the colour
  // Gouraud shading gives that pixel's centre: the expected colours of the
  // corners of the front-facing triangle that covers it, interpolated. (Near
  // the highlight the colour changes by several levels per pixel, so the
  // vertex's own colour would not do.)
  struct Probe {
    int x, y;
    uint32_t expected;
    // Channels in which a corner reached 255: there the device clamps the
    // interpolated sum, not the corners, so the pixel may come out brighter
    // than the interpolated clamped corners.
    bool clamped[3] = {false, false, false};

    ::testing::AssertionResult Matches(uint32_t drawn, int tolerance) const {
      for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        const int delta = testing::Channel(drawn, shift) - testing::Channel(expected, shift);
        if (delta < -tolerance || (delta > tolerance && !clamped[c])) {
          return ::testing::AssertionFailure()
                 << std::hex << "expected " << expected << ", drawn " << drawn;
        }
      }
      return ::testing::AssertionSuccess();
    }
  };
  Probe ProbeAt(const testing::LitScene& scene, int ring, int segment) const {
    const Vec2 at = ScreenOf(testing::SpherePoint(ring, segment, kRings, kSegments) * kRadius);
    Probe probe{static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)), 0};
    const float px = static_cast<float>(probe.x);
    const float py = static_cast<float>(probe.y);
    for (size_t i = 0; i + 2 < sphere.indices.size(); i += 3) {
      Vec2 corner[3];
      uint32_t colour[3];
      for (int k = 0; k < 3; ++k) {
        const MeshVertex& v = sphere.vertices[sphere.indices[i + k]];
        corner[k] = ScreenOf(v.position);
        colour[k] = testing::ExpectedColour(scene, v.position, v.normal);
      }
      // Clockwise on screen (y down) faces the viewer.
      const float area = (corner[1].x - corner[0].x) * (corner[2].y - corner[0].y) -
                         (corner[2].x - corner[0].x) * (corner[1].y - corner[0].y);
      if (area <= 0.0f) continue;
      float weight[3];
      for (int k = 0; k < 3; ++k) {
        const Vec2 a = corner[(k + 1) % 3];
        const Vec2 b = corner[(k + 2) % 3];
        weight[k] = ((b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y)) / area;
      }
      if (weight[0] < 0 || weight[1] < 0 || weight[2] < 0) continue;
      probe.expected = 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        double value = 0.0;
        for (int k = 0; k < 3; ++k) {
          value += weight[k] * testing::Channel(colour[k], shift);
          probe.clamped[c] = probe.clamped[c] || testing::Channel(colour[k], shift) == 255;
        }
        probe.expected |= static_cast<uint32_t>(std::lround(value)) << shift;
      }
      return probe;
    }
    ADD_FAILURE() << "no triangle covers pixel " << probe.x << ", " << probe.y;
    return probe;
  }

  const MeshData sphere = testing::SphereMesh(kRadius, kRings, kSegments);
  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  testing::TempDir dir;
  CubeTextureSlots cubes{graphics};
  ColorSelector selector;
  MouseState mouse{0, 0, 0};  // nowhere near the palette or a slider
  WidgetContext context;
};

TEST_F(ColourBallPixelsTest, EachFinishShowsItsLitAndReflectedColourAtTheMiddleOfTheBall) {
  // The ball's middle faces the eye, direction (194, 290, -900) from the
  // centre: about 19 degrees from the -z pole towards +x and +y, so between
  // rings 1 and 2 and around segment 5 (56 degrees round from +x).
  const int vertices[][2] = {{1, 5}, {2, 5}, {2, 4}, {1, 6}, {0, 0}};
  uint32_t middles[4] = {};
  for (uint8_t finish = 0; finish < 4; ++finish) {
    SCOPED_TRACE(::testing::Message() << "finish " << int(finish));
    const Image frame = Render(kRed, finish);
    const testing::LitScene scene = Scene(finish);
    for (const auto& vertex : vertices) {
      const Probe probe = ProbeAt(scene, vertex[0], vertex[1]);
      const uint32_t drawn = PixelAt(frame, probe.x, probe.y);
      EXPECT_TRUE(probe.Matches(drawn, 2)) << "near ring " << vertex[0] << " segment " << vertex[1];
    }
    const Probe middle = ProbeAt(scene, 2, 5);
    middles[finish] = PixelAt(frame, middle.x, middle.y);
  }
  // And the four are told apart at a glance.
  for (int a = 0; a < 4; ++a) {
    for (int b = a + 1; b < 4; ++b)
      EXPECT_GT(ColorDistance(middles[a], middles[b]), 20) << a << " and " << b;
  }
}

TEST_F(ColourBallPixelsTest, DepthTestAndBlendingLeftOnByOtherPassesDoNotReachTheBall) {
  const Image plain = Render(kRed, 1);
  // A quarter-opaque paint, blending on as the cursor leaves it, and a depth
  // buffer that would hide everything.
  graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
  graphics.SetRenderStateCached(RS_SRCBLEND, BLEND_SRCALPHA);
  graphics.SetRenderStateCached(RS_DESTBLEND, BLEND_INVSRCALPHA);
  graphics.SetRenderStateCached(RS_ZENABLE, ZB_TRUE);
  graphics.GetDevice()->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
  selector.chosen = 0x40B3161B;
  selector.finish = 1;
  selector.Update(context);
  graphics.BeginFrame();
  graphics.GetDevice()->Clear(kClearTarget | kClearZBuffer, kBackground, 0.0f, 0);
  selector.DrawBall(graphics, cubes);
  const Image hostile = graphics.GetDevice()->ReadRenderTarget();
  graphics.EndFrame();
  for (const auto& vertex : {std::array{2, 5}, std::array{1, 6}, std::array{3, 20}}) {
    SCOPED_TRACE(::testing::Message() << vertex[0] << ", " << vertex[1]);
    const Probe probe = ProbeAt(Scene(1), vertex[0], vertex[1]);
    EXPECT_NE(PixelAt(hostile, probe.x, probe.y), kBackground);
    EXPECT_LE(ColorDistance(PixelAt(hostile, probe.x, probe.y), PixelAt(plain, probe.x, probe.y)),
              1);
  }
}

}  // namespace
}  // namespace kbh
