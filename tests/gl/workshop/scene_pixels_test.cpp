// The TuneUp scene pass on a headless device, pixel by pixel against
// Direct3D 9's lighting with the program's light and camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "scene/scene_pass.hpp"
#include "tests/gl/gpu/d3d_reference.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;

constexpr int kRings = 32;
constexpr int kSegments = 64;
// DDS order: +X red, -X green, +Y blue, -Y yellow, +Z magenta, -Z cyan.
constexpr uint32_t kFaces[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};
constexpr uint32_t kBackground = 0xFF204060;
constexpr Vec3 kEye{-40, 250, -600};  // the program's camera

// One sphere vertex as the scene sees it.
struct Sample {
  Vec3 position;  // world
  Vec3 normal;
  bool visible = false;
  bool inRange = false;
  int face = 0;  // of the environment map, picked by the reflection vector
};

class ScenePixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) << log.Text();
    testing::WriteCubeMap(dir, "gfx/env/envmap.dds", kFaces);
    cubes.LoadCubeTexture(kEnvironmentMapSlot, (dir / "gfx/env/envmap.dds").c_str());
    ASSERT_NE(cubes.GetCubeTexture(0), TextureHandle::kNone);
    SetupLights(graphics);
    // As the cursor's drawing leaves them in every frame of the program.
    graphics.SetRenderStateCached(RS_SRCBLEND, BLEND_SRCALPHA);
    graphics.SetRenderStateCached(RS_DESTBLEND, BLEND_INVSRCALPHA);
    graphics.GetDevice()->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
  }

  PartModel* InstallSphere(ItemId id, float radius, Vec3 position) {
    testing::WriteModel(dir, id, testing::SphereMesh(radius, kRings, kSegments));
    PartModel* model = parts.InstallPart(id);
    EXPECT_NE(model->mesh, nullptr);
    model->position = position;
    radius_ = radius;
    return model;
  }

  Image Render(uint32_t fillMode = FILL_SOLID) {
    graphics.BeginFrame();
    graphics.GetDevice()->Clear(kClearTarget, kBackground, 1.0f, 0);
    RenderScene(graphics, cubes, parts, fillMode);
    Image frame = graphics.GetDevice()->ReadRenderTarget();
    graphics.EndFrame();
    return frame;
  }

  Sample SampleAt(const PartModel& model, int ring, int segment) const {
    Sample s;
    s.normal = testing::SpherePoint(ring, segment, kRings, kSegments);
    s.position = s.normal * radius_ + model.position;
    s.inRange = testing::Attenuation(testing::ProgramLight(), s.position) > 0;
    s.visible = Dot(s.normal, Normalize(kEye - s.position)) > 0.3f;
    s.face = testing::ReflectedFace(Scene(Material{}, 0, 1), s.position, s.normal);
    return s;
  }

  testing::LitScene Scene(const Material& m, double reflection, double alpha) const {
    testing::LitScene scene;
    scene.material = m;
    scene.reflection = reflection;
    scene.alpha = alpha;
    scene.background = kBackground;
    scene.faces = kFaces;
    scene.eye = kEye;
    scene.view = graphics.ViewMatrix();
    return scene;
  }
  uint32_t Expected(const Sample& s, const Material& m, double reflection, double alpha) const {
    return testing::ExpectedColour(Scene(m, reflection, alpha), s.position, s.normal);
  }

  uint32_t PixelOf(const Image& frame, Vec3 world) const {
    const Vec3 ndc = TransformCoord(
        world,
        MatrixMultiply(graphics.ViewMatrix(),
                       MatrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 200.0f, 1700.0f)));
    return PixelAt(frame, static_cast<int>(std::lround((ndc.x + 1.0) * 0.5 * 1024.0)),
                   static_cast<int>(std::lround((1.0 - ndc.y) * 0.5 * 768.0)));
  }

  // Compares every visible vertex whose neighbours' expected colours are
  // close to its own, so that the pixel nearest the vertex shows the
  // vertex's colour and not a steep blend towards a neighbour (across the
  // light's range, a cube face's edge or a tight highlight). Returns the
  // vertices compared.
  std::vector<Sample> CompareVertices(const Image& frame, const PartModel& model,
                                      const std::function<uint32_t(const Sample&)>& expected) {
    std::vector<Sample> compared;
    for (int ring = 2; ring < kRings - 1; ++ring) {
      for (int segment = 0; segment < kSegments; ++segment) {
        const Sample s = SampleAt(model, ring, segment);
        if (!s.visible) continue;
        const uint32_t want = expected(s);
        bool smooth = true;
        for (int dr = -1; dr <= 1; ++dr) {
          for (int ds = -1; ds <= 1; ++ds) {
            const Sample n = SampleAt(model, ring + dr, (segment + ds + kSegments) % kSegments);
            smooth = smooth && n.visible && ColorDistance(expected(n), want) <= 24;
          }
        }
        if (!smooth) continue;
        const uint32_t drawn = PixelOf(frame, s.position);
        EXPECT_LE(ColorDistance(drawn, want), 2)
            << "ring " << ring << " segment " << segment << std::hex << ": expected " << want
            << ", drawn " << drawn;
        compared.push_back(s);
      }
    }
    return compared;
  }

  static int CountIf(const std::vector<Sample>& samples,
                     const std::function<bool(const Sample&)>& test) {
    return static_cast<int>(std::count_if(samples.begin(), samples.end(), test));
  }

  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  testing::TempDir dir;
  CubeTextureSlots cubes{graphics};
  InstalledPartList parts{graphics, ProgramDir{dir.Path().string()}};
  float radius_ = 1.0f;
};

TEST_F(ScenePixelsTest, LitColourFollowsTheFormulaAcrossTheLightsRange) {
  // Far enough from the light that its range cuts through the part the
  // camera sees. Reflection 0: the lit colour alone, though the cube map is
  // bound.
  PartModel* sphere = InstallSphere(0x010101, 100.0f, {0, -100, 330});
  ApplyPaint(0xFFC08040, kFinishMatt, &sphere->mesh->materials[0], &sphere->mesh->factors[0]);
  sphere->mesh->factors[0].reflection = 0;
  const Material material = sphere->mesh->materials[0];
  const Image frame = Render();
  const std::vector<Sample> compared = CompareVertices(
      frame, *sphere, [&](const Sample& s) { return Expected(s, material, 0.0, 1.0); });
  EXPECT_GE(CountIf(compared, [](const Sample& s) { return s.inRange; }), 50);
  // Out of range the part gets nothing, not even the light's ambient term:
  // those vertices are black.
  EXPECT_GE(CountIf(compared,
                    [&](const Sample& s) {
                      return !s.inRange && Expected(s, material, 0.0, 1.0) == 0xFF000000u;
                    }),
            20);
}

TEST_F(ScenePixelsTest, FullReflectionShowsTheEnvironmentAlone) {
  // No highlight: the faces' own colours, each where the reflection vector
  // points.
  PartModel* sphere = InstallSphere(0x010101, 100.0f, {0, 0, 0});
  ApplyPaint(0xFF8080C0, kFinishGloss, &sphere->mesh->materials[0], nullptr);
  sphere->mesh->materials[0].specular = {0, 0, 0, 1};
  sphere->mesh->factors[0].reflection = 255;
  const std::vector<Sample> compared =
      CompareVertices(Render(), *sphere, [](const Sample& s) { return kFaces[s.face]; });
  int facesSeen = 0;
  for (int face = 0; face < 6; ++face)
    facesSeen += CountIf(compared, [face](const Sample& s) { return s.face == face; }) > 0;
  EXPECT_GE(facesSeen, 4);
}

TEST_F(ScenePixelsTest, OpacityBlendsOverWhatIsBehindAndLeavesTheMaterial) {
  PartModel* sphere = InstallSphere(0x010101, 100.0f, {0, 0, 0});
  ApplyPaint(0xFFE0A020, kFinishMatt, &sphere->mesh->materials[0], &sphere->mesh->factors[0]);
  sphere->mesh->factors[0].reflection = 0;
  const Material material = sphere->mesh->materials[0];
  for (uint8_t opacity : {uint8_t{0}, uint8_t{128}, uint8_t{255}}) {
    sphere->mesh->factors[0].opacity = opacity;
    const Image frame = Render();
    const double alpha = static_cast<float>(opacity) * 0.003921569f;
    const std::vector<Sample> compared = CompareVertices(
        frame, *sphere, [&](const Sample& s) { return Expected(s, material, 0.0, alpha); });
    EXPECT_GE(compared.size(), 100u) << int{opacity};
    EXPECT_EQ(sphere->mesh->materials[0].diffuse.a, 1.0f);
  }
  // Opacity 0 leaves the background exactly.
  sphere->mesh->factors[0].opacity = 0;
  EXPECT_EQ(PixelOf(Render(), {0, 0, -100}), kBackground);
}

TEST_F(ScenePixelsTest, FullyFadedPartIsNotDrawnButANearlyFadedOneIs) {
  // A small sphere drawn first, a large one behind it on the line from the
  // eye. Drawn at all, even nearly transparent, the small one fills the
  // depth buffer and hides the large one.
  PartModel* front = InstallSphere(0x010101, 40.0f, {0, 0, -150});
  testing::WriteModel(dir, 0x020101, testing::SphereMesh(50.0f, kRings, kSegments));
  parts.InstallPart(0x020101)->position = {20, -125, 75};
  const Vec3 middle{0, 0, -150};
  SetPartAlpha(front, 0.0f);
  const uint32_t backVisible = PixelOf(Render(), middle);
  EXPECT_GT(ColorDistance(backVisible, kBackground), 40);
  SetPartAlpha(front, 0.001f);
  EXPECT_LE(ColorDistance(PixelOf(Render(), middle), kBackground), 1);
}

}  // namespace
}  // namespace kbh
