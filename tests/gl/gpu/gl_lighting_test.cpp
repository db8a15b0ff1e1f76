// One lit, reflecting sphere on headless GL, checked pixel by pixel against
// Direct3D 9's lighting formula.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/gl/gpu/d3d_reference.hpp"
#include "tests/gl/gpu/headless.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;
using testing::SpherePoint;

constexpr float kRadius = 100.0f;
constexpr int kRings = 32;
constexpr int kSegments = 64;
constexpr Vec3 kEye{0, 0, -400};

// Pure face colours, DDS order: +X red, -X green, +Y blue, -Y yellow, +Z
// magenta, -Z cyan.
constexpr uint32_t kFaceColors[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                     0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};

uint32_t Grey(double level) {
  return 0xFF000000u | static_cast<uint32_t>(std::lround(level * 255)) * 0x10101u;
}

class GlLightingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    made_ = testing::MakeHeadlessDevice(0);
    KBH_REQUIRE_HEADLESS_DEVICE(made_);
    scene_.eye = kEye;
    scene_.view = MatrixLookAtLH(kEye, Vec3{}, Vec3{0, 1, 0});
    scene_.faces = kFaceColors;
    projection_ = MatrixPerspectiveFovLH(std::numbers::pi_v<float> / 4, 4.0f / 3.0f, 1, 1000);
    Device& d = *made_.device;
    d.SetTransform(TS_VIEW, scene_.view);
    d.SetTransform(TS_PROJECTION, projection_);
    sphere_ = d.CreateMesh(testing::SphereMesh(kRadius, kRings, kSegments));
    ASSERT_NE(sphere_, MeshHandle::kNone);
    CubeImage cube;
    cube.size = 4;
    for (int face = 0; face < 6; ++face)
      cube.faces[face].assign(16, kFaceColors[face]);
    cube_ = d.CreateCubeTexture(cube);
    ASSERT_NE(cube_, TextureHandle::kNone);
    // A material that nothing saturates.
    scene_.material.diffuse = {0.6f, 0.3f, 0.2f, 1.0f};
    scene_.material.ambient = {0.2f, 0.3f, 0.4f, 1.0f};
    scene_.material.specular = {0.5f, 0.5f, 0.5f, 1.0f};
    scene_.material.emissive = {0.02f, 0.03f, 0.04f, 0.0f};
    scene_.material.power = 10.0f;
  }

  // Draws the sphere as the scene pass does: lit, specular, cube map blended
  // in by the texture factor.
  Image Render() {
    Device& d = *made_.device;
    d.Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0);
    d.SetLight(0, scene_.light);
    d.LightEnable(0, true);
    d.SetMaterial(scene_.material);
    d.SetRenderState(RS_SPECULARENABLE, scene_.specular ? 1 : 0);
    d.SetRenderState(RS_AMBIENT, Grey(scene_.globalAmbient));
    d.SetRenderState(RS_DIFFUSEMATERIALSOURCE, MCS_MATERIAL);
    d.SetRenderState(RS_SPECULARMATERIALSOURCE, MCS_MATERIAL);
    d.SetRenderState(RS_TEXTUREFACTOR, static_cast<uint32_t>(std::lround(scene_.reflection * 255))
                                           << 24);
    d.SetTexture(0, cube_);
    d.SetTextureStageState(0, TSS_TEXCOORDINDEX, kTciCameraSpaceReflectionVector);
    d.SetTextureStageState(0, TSS_TEXTURETRANSFORMFLAGS, kTtffCount3);
    d.SetTextureStageState(0, TSS_COLOROP, TOP_BLENDFACTORALPHA);
    d.SetTransform(TS_WORLD, MatrixIdentity());
    d.DrawSubset(sphere_, 0);
    return d.ReadRenderTarget();
  }

  uint32_t Expected(int ring, int segment) const {
    const Vec3 n = SpherePoint(ring, segment, kRings, kSegments);
    return testing::ExpectedColour(scene_, n * kRadius, n);
  }

  // The pixel whose centre is nearest to where the vertex lands; Direct3D 9
  // puts pixel centres at whole coordinates.
  uint32_t PixelOfVertex(const Image& frame, int ring, int segment) const {
    const Vec3 p = SpherePoint(ring, segment, kRings, kSegments) * kRadius;
    const Vec3 ndc = TransformCoord(p, MatrixMultiply(scene_.view, projection_));
    return PixelAt(frame, static_cast<int>(std::lround((ndc.x + 1.0) * 0.5 * 1024.0)),
                   static_cast<int>(std::lround((1.0 - ndc.y) * 0.5 * 768.0)));
  }

  void ExpectVertex(const Image& frame, int ring, int segment) {
    const uint32_t expected = Expected(ring, segment);
    const uint32_t actual = PixelOfVertex(frame, ring, segment);
    EXPECT_LE(ColorDistance(actual, expected), 2)
        << "ring " << ring << " segment " << segment << std::hex << ": expected " << expected
        << ", drawn " << actual;
  }

  testing::HeadlessDevice made_;
  Matrix projection_;
  MeshHandle sphere_ = MeshHandle::kNone;
  TextureHandle cube_ = TextureHandle::kNone;
  testing::LitScene scene_;
};

TEST_F(GlLightingTest, LitReflectingSphereMatchesTheFormula) {
  scene_.reflection = 64.0 / 255.0;
  const Image frame = Render();
  // The centre faces the camera and reflects the -Z face.
  EXPECT_LE(ColorDistance(PixelAt(frame, 512, 384), Expected(0, 0)), 2);
  ExpectVertex(frame, 2, 0);
  ExpectVertex(frame, 2, 16);
  // Further out the reflection turns to the face on that side: +X right, +Y
  // up, -X left, -Y down, with nothing mirrored.
  ExpectVertex(frame, 6, 0);
  ExpectVertex(frame, 6, 16);
  ExpectVertex(frame, 6, 32);
  ExpectVertex(frame, 6, 48);
}

TEST_F(GlLightingTest, ReflectionByteRunsFromLitColourToEnvironment) {
  scene_.reflection = 0.0;
  Image frame = Render();
  ExpectVertex(frame, 0, 0);
  ExpectVertex(frame, 6, 16);
  scene_.reflection = 1.0;
  scene_.specular = false;
  frame = Render();
  EXPECT_EQ(PixelOfVertex(frame, 6, 16), 0xFF0000FFu);
  EXPECT_EQ(PixelOfVertex(frame, 6, 48), 0xFFFFFF00u);
}

TEST_F(GlLightingTest, LightRangeCutsEveryTermAcrossTheMesh) {
  // The light sits at the eye and reaches the near half of the sphere only:
  // the mesh straddles the range.
  scene_.light.position[0] = kEye.x;
  scene_.light.position[1] = kEye.y;
  scene_.light.position[2] = kEye.z;
  scene_.light.range = 350.0f;
  scene_.specular = false;
  const Image frame = Render();
  ExpectVertex(frame, 0, 0);
  ExpectVertex(frame, 2, 8);
  // Out of range: not even the ambient term, only the emissive colour.
  EXPECT_EQ(Expected(14, 0), 0xFF05080Au);
  ExpectVertex(frame, 14, 0);
  ExpectVertex(frame, 14, 40);
}

TEST_F(GlLightingTest, MeshWhollyOutOfRangeGetsEmissiveAndGlobalAmbient) {
  scene_.light.range = 200.0f;
  scene_.globalAmbient = 0.25;
  const Image frame = Render();
  EXPECT_EQ(Expected(0, 0), 0xFF121B24u);  // 0.02 + 0.05, 0.03 + 0.075, 0.04 + 0.1
  ExpectVertex(frame, 0, 0);
  ExpectVertex(frame, 10, 20);
}

TEST_F(GlLightingTest, HighlightNarrowsPastGlsExponentLimit) {
  // A dark surface with a grey highlight: the falloff stays unsaturated and
  // changes by less than the tolerance between a vertex and its pixel centre.
  scene_.material.diffuse = {0.3f, 0.2f, 0.1f, 1.0f};
  scene_.material.ambient = {0.1f, 0.1f, 0.1f, 1.0f};
  scene_.material.specular = {0.55f, 0.55f, 0.55f, 1.0f};
  scene_.reflection = 0.0;
  const struct {
    float power;
    int fewestDiscriminating;
  } cases[] = {{250.0f, 8}, {160.0f, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "power " << c.power);
    scene_.material.power = c.power;
    const Image frame = Render();
    // Every vertex in front where GL's clamped exponent would be told apart
    // from the asked one.
    int discriminating = 0;
    for (int ring = 1; ring < kRings; ++ring) {
      for (int segment = 0; segment < kSegments; ++segment) {
        const Vec3 n = SpherePoint(ring, segment, kRings, kSegments);
        if (Dot(n, Normalize(kEye - n * kRadius)) < 0.5f) continue;
        testing::LitScene clamped = scene_;
        clamped.material.power = 128.0f;
        if (ColorDistance(testing::ExpectedColour(clamped, n * kRadius, n),
                          Expected(ring, segment)) < 10) {
          continue;
        }
        ++discriminating;
        ExpectVertex(frame, ring, segment);
      }
    }
    EXPECT_GE(discriminating, c.fewestDiscriminating);
  }
}

TEST_F(GlLightingTest, ExponentPastGlsLimitKeepsTheRangeCut) {
  // Lit on the CPU for both reasons at once: the far half is out of range.
  scene_.light.position[0] = kEye.x;
  scene_.light.position[1] = kEye.y;
  scene_.light.position[2] = kEye.z;
  scene_.light.range = 350.0f;
  scene_.material.power = 250.0f;
  const Image frame = Render();
  ExpectVertex(frame, 1, 0);
  ExpectVertex(frame, 2, 8);
  EXPECT_EQ(Expected(14, 0), 0xFF05080Au);
  ExpectVertex(frame, 14, 0);
}

}  // namespace
}  // namespace kbh
