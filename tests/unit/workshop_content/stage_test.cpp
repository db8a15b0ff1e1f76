// The stage the content is made for: the turntable camera's projection, and
// the reflection map's faces pointing where the program will look them up
// (camera-space directions of the turntable camera, cube faces in DDS order).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene/stage.hpp"
#include "tools/workshop/workshop_hall.hpp"

namespace kbh {
namespace {

float Luminance(uint32_t argb) {
  return (static_cast<float>((argb >> 16) & 255) + static_cast<float>((argb >> 8) & 255) +
          static_cast<float>(argb & 255)) /
         (3.0f * 255.0f);
}

// What a cube-map lookup returns for a camera-space direction: the face of
// the largest component and the texel under it, rows top first (the table
// Direct3D and GL share).
uint32_t Lookup(const CubeImage& cube, Vec3 r) {
  const float ax = std::fabs(r.x), ay = std::fabs(r.y), az = std::fabs(r.z);
  int face;
  float sc, tc, ma;
  if (ax >= ay && ax >= az) {
    ma = ax;
    face = r.x > 0 ? 0 : 1;
    sc = r.x > 0 ? -r.z : r.z;
    tc = -r.y;
  } else if (ay >= az) {
    ma = ay;
    face = r.y > 0 ? 2 : 3;
    sc = r.x;
    tc = r.y > 0 ? r.z : -r.z;
  } else {
    ma = az;
    face = r.z > 0 ? 4 : 5;
    sc = r.z > 0 ? r.x : -r.x;
    tc = -r.y;
  }
  const int x = std::clamp(static_cast<int>((sc / ma + 1.0f) * 0.5f * cube.size), 0, cube.size - 1);
  const int y = std::clamp(static_cast<int>((tc / ma + 1.0f) * 0.5f * cube.size), 0, cube.size - 1);
  return cube.faces[face][static_cast<size_t>(y) * cube.size + x];
}

// A world direction as the turntable camera sees it.
Vec3 ToCamera(Vec3 world) {
  return TransformNormal(Normalize(world), StageView(kTuneUpCamera));
}

TEST(Stage, TheTurntableCameraLooksAtTheOrigin) {
  Vec2 screen;
  ASSERT_TRUE(ProjectToScreen(kTuneUpCamera, MatrixIdentity(), {0, 0, 0}, &screen));
  EXPECT_NEAR(screen.x, 512.0f, 1e-3f);
  EXPECT_NEAR(screen.y, 384.0f, 1e-3f);
  // A pixel's ray leads back to that pixel, and up on screen is up in the hall.
  for (const Vec2 pixel : {Vec2{100.5f, 700.5f}, Vec2{900.5f, 40.5f}, Vec2{512.0f, 515.0f}}) {
    const Vec3 point = kTuneUpCamera.eye + PixelRay(kTuneUpCamera, pixel.x, pixel.y) * 500.0f;
    ASSERT_TRUE(ProjectToScreen(kTuneUpCamera, MatrixIdentity(), point, &screen));
    EXPECT_NEAR(screen.x, pixel.x, 0.01f);
    EXPECT_NEAR(screen.y, pixel.y, 0.01f);
  }
  EXPECT_GT(PixelRay(kTuneUpCamera, 512, 100).y, PixelRay(kTuneUpCamera, 512, 600).y);
}

TEST(Stage, TheReflectionMapShowsTheHallWhereTheProgramLooks) {
  const CubeImage cube = RenderEnvironmentMap(32);
  ASSERT_EQ(cube.size, 32);
  for (const auto& face : cube.faces)
    ASSERT_EQ(face.size(), 32u * 32u);
  // Straight down from the moped: the grey concrete floor.
  const uint32_t floor = Lookup(cube, ToCamera({0, -1, 0}));
  EXPECT_GT(Luminance(floor), 0.25f);
  EXPECT_LT(Luminance(floor), 0.7f);
  // Towards the open door behind the viewer: daylight, the brightest thing
  // chrome can show.
  EXPECT_GT(Luminance(Lookup(cube, ToCamera(Vec3{-100, 150, -1400} - Vec3{0, 50, 0}))), 0.9f);
  // Up at a lamp over the moped.
  EXPECT_GT(Luminance(Lookup(cube, ToCamera(Vec3{0, 560, 34} - Vec3{0, 50, 0}))), 0.95f);
  // The ceiling beside the lamps is dark: the contrast that makes chrome read.
  EXPECT_LT(Luminance(Lookup(cube, ToCamera(Vec3{-380, 560, 230} - Vec3{0, 50, 0}))), 0.45f);
}

}  // namespace
}  // namespace kbh
