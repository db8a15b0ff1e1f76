// One lit, reflecting sphere on headless GL, checked pixel by pixel against
// Direct3D 9's lighting formula computed here from scratch: emissive +
// ambient x (global ambient + light ambient x att) + diffuse x (N.L) x att,
// the stage blending the cube map over it by the texture factor's alpha, and
// specular (half vector, local viewer) added after texturing; att =
// 1 / (a0 + a1 d + a2 d^2), and nothing at all from a light out of range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tests/gl/gpu/headless.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;

constexpr float kRadius = 100.0f;
constexpr int kRings = 32;
constexpr int kSegments = 64;
constexpr Vec3 kEye{0, 0, -400};

// Pure face colours, DDS order: +X red, -X green, +Y blue, -Y yellow, +Z
// magenta, -Z cyan.
constexpr uint32_t kFaceColors[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                     0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};

// Ring i, segment j: the pole at ring 0 faces the camera (-z); segment 0 is
// +x, a quarter turn later +y.
Vec3 SpherePoint(int ring, int segment) {
  const double theta = std::numbers::pi * ring / kRings;
  const double phi = 2.0 * std::numbers::pi * segment / kSegments;
  return Vec3{static_cast<float>(std::sin(theta) * std::cos(phi)),
              static_cast<float>(std::sin(theta) * std::sin(phi)),
              static_cast<float>(-std::cos(theta))};
}

MeshData Sphere() {
  MeshData mesh;
  for (int i = 0; i <= kRings; ++i) {
    for (int j = 0; j <= kSegments; ++j) {
      const Vec3 n = SpherePoint(i, j);
      mesh.vertices.push_back({n * kRadius, n, 0, 0});
    }
  }
  auto index = [](int i, int j) { return static_cast<uint32_t>(i * (kSegments + 1) + j); };
  auto add = [&](uint32_t a, uint32_t b, uint32_t c) {
    const Vec3 pa = mesh.vertices[a].position;
    const Vec3 normal = Cross(mesh.vertices[b].position - pa, mesh.vertices[c].position - pa);
    if (Length(normal) < 1e-3f) return;  // degenerate at the poles
    // Front faces are clockwise as seen from outside: in a left-handed space
    // their cross product points outwards.
    if (Dot(normal, pa + mesh.vertices[b].position + mesh.vertices[c].position) < 0) {
      std::swap(b, c);
    }
    mesh.indices.insert(mesh.indices.end(), {a, b, c});
  };
  for (int i = 0; i < kRings; ++i) {
    for (int j = 0; j < kSegments; ++j) {
      add(index(i, j), index(i, j + 1), index(i + 1, j));
      add(index(i, j + 1), index(i + 1, j + 1), index(i + 1, j));
    }
  }
  mesh.subsets = {{0, static_cast<uint32_t>(mesh.indices.size() / 3)}};
  return mesh;
}

struct Rgb {
  double r = 0, g = 0, b = 0;
};

Rgb FromArgb(uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0};
}

uint32_t ToArgb(Rgb c) {
  auto byte = [](double v) {
    return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  return 0xFF000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

struct Scene {
  Light light;
  Material material;
  Rgb globalAmbient;
  bool specular = true;
  double reflection = 0.0;  // texture factor alpha, 0..1
};

int MajorFace(double x, double y, double z) {
  const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  if (ax >= ay && ax >= az) return x > 0 ? 0 : 1;
  if (ay >= az) return y > 0 ? 2 : 3;
  return z > 0 ? 4 : 5;
}

// The colour Direct3D gives the sphere's vertex (ring, segment). World and
// camera space differ only by the translation of the eye.
uint32_t Expected(const Scene& s, int ring, int segment) {
  const Vec3 n = SpherePoint(ring, segment);
  const double px = n.x * kRadius - kEye.x, py = n.y * kRadius - kEye.y,
               pz = n.z * kRadius - kEye.z;
  const double lx = s.light.position[0] - kEye.x - px, ly = s.light.position[1] - kEye.y - py,
               lz = s.light.position[2] - kEye.z - pz;
  const double d = std::sqrt(lx * lx + ly * ly + lz * lz);
  const double att =
      d > s.light.range
          ? 0.0
          : 1.0 / (s.light.attenuation0 + s.light.attenuation1 * d + s.light.attenuation2 * d * d);
  const double nDotL = std::max(0.0, (n.x * lx + n.y * ly + n.z * lz) / d);
  const Material& m = s.material;
  const Light& l = s.light;
  Rgb lit{m.emissive.r + m.ambient.r * (s.globalAmbient.r + l.ambient.r * att) +
              m.diffuse.r * l.diffuse.r * nDotL * att,
          m.emissive.g + m.ambient.g * (s.globalAmbient.g + l.ambient.g * att) +
              m.diffuse.g * l.diffuse.g * nDotL * att,
          m.emissive.b + m.ambient.b * (s.globalAmbient.b + l.ambient.b * att) +
              m.diffuse.b * l.diffuse.b * nDotL * att};
  lit = {std::min(lit.r, 1.0), std::min(lit.g, 1.0), std::min(lit.b, 1.0)};

  double specularTerm = 0.0;
  if (s.specular && nDotL > 0.0 && att > 0.0) {
    const double pl = std::sqrt(px * px + py * py + pz * pz);
    double hx = -px / pl + lx / d, hy = -py / pl + ly / d, hz = -pz / pl + lz / d;
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double nDotH = (n.x * hx + n.y * hy + n.z * hz) / hl;
    if (nDotH > 0.0) specularTerm = std::pow(nDotH, m.power) * att;
  }
  // The reflection vector in camera space picks the cube face.
  const double pl = std::sqrt(px * px + py * py + pz * pz);
  const double ux = px / pl, uy = py / pl, uz = pz / pl;
  const double nDotU = n.x * ux + n.y * uy + n.z * uz;
  const Rgb env = FromArgb(
      kFaceColors[MajorFace(ux - 2 * n.x * nDotU, uy - 2 * n.y * nDotU, uz - 2 * n.z * nDotU)]);
  const double a = s.reflection;
  return ToArgb(
      Rgb{env.r * a + lit.r * (1 - a) + std::min(1.0, m.specular.r * l.specular.r * specularTerm),
          env.g * a + lit.g * (1 - a) + std::min(1.0, m.specular.g * l.specular.g * specularTerm),
          env.b * a + lit.b * (1 - a) + std::min(1.0, m.specular.b * l.specular.b * specularTerm)});
}

class GlLightingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    made_ = testing::MakeHeadlessDevice(0);
    KBH_REQUIRE_HEADLESS_DEVICE(made_);
    view_ = MatrixLookAtLH(kEye, Vec3{}, Vec3{0, 1, 0});
    projection_ = MatrixPerspectiveFovLH(std::numbers::pi_v<float> / 4, 4.0f / 3.0f, 1, 1000);
    Device& d = *made_.device;
    d.SetTransform(TS_VIEW, view_);
    d.SetTransform(TS_PROJECTION, projection_);
    sphere_ = d.CreateMesh(Sphere());
    ASSERT_NE(sphere_, MeshHandle::None);
    CubeImage cube;
    cube.size = 4;
    for (int face = 0; face < 6; ++face)
      cube.faces[face].assign(16, kFaceColors[face]);
    cube_ = d.CreateCubeTexture(cube);
    ASSERT_NE(cube_, TextureHandle::None);

    // The program's light and a material that nothing saturates.
    scene_.light.type = LIGHT_POINT;
    scene_.light.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    scene_.light.specular = {0.75f, 0.75f, 0.75f, 0.0f};
    scene_.light.ambient = {0.75f, 0.75f, 0.75f, 0.0f};
    scene_.light.position[0] = -120.0f;
    scene_.light.position[1] = 450.0f;
    scene_.light.position[2] = -600.0f;
    scene_.light.range = 1000.0f;
    scene_.light.attenuation0 = 4.5e-9f;
    scene_.light.attenuation1 = 0.00075f;
    scene_.light.attenuation2 = 8e-7f;
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
    d.SetRenderState(RS_AMBIENT, ToArgb(scene_.globalAmbient));
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

  // The pixel whose centre is nearest to where the vertex lands; Direct3D 9
  // puts pixel centres at whole coordinates.
  uint32_t PixelOfVertex(const Image& frame, int ring, int segment) const {
    const Vec3 p = SpherePoint(ring, segment) * kRadius;
    const Vec3 ndc = TransformCoord(p, MatrixMultiply(view_, projection_));
    const double x = (ndc.x + 1.0) * 0.5 * 1024.0;
    const double y = (1.0 - ndc.y) * 0.5 * 768.0;
    return PixelAt(frame, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
  }

  void ExpectVertex(const Image& frame, int ring, int segment) {
    const uint32_t expected = Expected(scene_, ring, segment);
    const uint32_t actual = PixelOfVertex(frame, ring, segment);
    EXPECT_LE(ColorDistance(actual, expected), 2)
        << "ring " << ring << " segment " << segment << std::hex << ": expected " << expected
        << ", drawn " << actual;
  }

  testing::HeadlessDevice made_;
  Matrix view_;
  Matrix projection_;
  MeshHandle sphere_ = MeshHandle::None;
  TextureHandle cube_ = TextureHandle::None;
  Scene scene_;
};

TEST_F(GlLightingTest, LitReflectingSphereMatchesTheFormula) {
  scene_.reflection = 64.0 / 255.0;
  const Image frame = Render();
  // The centre faces the camera and reflects the -Z face.
  EXPECT_LE(ColorDistance(PixelAt(frame, 512, 384), Expected(scene_, 0, 0)), 2);
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
  EXPECT_EQ(Expected(scene_, 14, 0), ToArgb({0.02, 0.03, 0.04}));
  ExpectVertex(frame, 14, 0);
  ExpectVertex(frame, 14, 40);
}

TEST_F(GlLightingTest, MeshWhollyOutOfRangeGetsEmissiveAndGlobalAmbient) {
  scene_.light.range = 200.0f;
  scene_.globalAmbient = {0.25, 0.25, 0.25};
  scene_.specular = true;
  const Image frame = Render();
  EXPECT_EQ(Expected(scene_, 0, 0), ToArgb({0.02 + 0.05, 0.03 + 0.075, 0.04 + 0.1}));
  ExpectVertex(frame, 0, 0);
  ExpectVertex(frame, 10, 20);
}

}  // namespace
}  // namespace kbh
