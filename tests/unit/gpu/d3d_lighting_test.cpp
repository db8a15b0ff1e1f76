#include "platform/gpu/d3d_lighting.hpp"

#include <gtest/gtest.h>

namespace kbh {
namespace {

LightingSetup PointLightAt(Vec3 position, float range) {
  LightingSetup s;
  s.lightEnabled = true;
  s.lightType = LIGHT_POINT;
  s.lightPosition = position;
  s.lightDiffuse = {1, 1, 1, 0};
  s.lightSpecular = {1, 1, 1, 0};
  s.lightAmbient = {0.5f, 0.5f, 0.5f, 0};
  s.range = range;
  s.attenuation0 = 1.0f;
  s.material.diffuse = {0.2f, 0.2f, 0.2f, 0.25f};
  s.material.ambient = {1, 1, 1, 1};
  s.material.specular = {1, 1, 1, 1};
  s.material.emissive = {0.1f, 0.2f, 0.3f, 0};
  s.material.power = 4.0f;
  s.globalAmbient = {0.1f, 0.1f, 0.1f, 0};
  s.specularEnabled = true;
  return s;
}

TEST(D3dLightingTest, OutOfRangeTheLightGivesNothingNotEvenAmbient) {
  const LightingSetup s = PointLightAt({0, 0, 0}, 10.0f);
  const VertexColors inside = LightVertex(s, {0, 0, 10}, {0, 0, -1});
  EXPECT_FLOAT_EQ(inside.diffuse.r, 0.1f + 1.0f * (0.1f + 0.5f) + 0.2f);
  const VertexColors outside = LightVertex(s, {0, 0, 10.01f}, {0, 0, -1});
  EXPECT_FLOAT_EQ(outside.diffuse.r, 0.1f + 0.1f);
  EXPECT_FLOAT_EQ(outside.diffuse.b, 0.3f + 0.1f);
  EXPECT_EQ(outside.specular.r, 0.0f);
  EXPECT_EQ(outside.diffuse.a, 0.25f);  // alpha is the material's diffuse alpha
}

TEST(D3dLightingTest, AttenuationAndFacing) {
  LightingSetup s = PointLightAt({0, 0, 0}, 100.0f);
  s.attenuation0 = 0.0f;
  s.attenuation1 = 0.1f;
  EXPECT_FLOAT_EQ(PointLightAttenuation(s, 20.0f), 0.5f);
  EXPECT_EQ(PointLightAttenuation(s, 100.5f), 0.0f);
  // Facing away: ambient only, no diffuse and no specular.
  const VertexColors away = LightVertex(s, {0, 0, 20}, {0, 0, 1});
  EXPECT_FLOAT_EQ(away.diffuse.g, 0.2f + 1.0f * (0.1f + 0.5f * 0.5f));
  EXPECT_EQ(away.specular.g, 0.0f);
  // Facing the light and the eye (at the origin): full specular, clamped.
  s.attenuation1 = 0.0f;
  s.attenuation0 = 0.5f;
  const VertexColors facing = LightVertex(s, {0, 0, 20}, {0, 0, -1});
  EXPECT_EQ(facing.diffuse.r, 1.0f);
  EXPECT_EQ(facing.specular.r, 1.0f);
  s.specularEnabled = false;
  EXPECT_EQ(LightVertex(s, {0, 0, 20}, {0, 0, -1}).specular.r, 0.0f);
}

TEST(D3dLightingTest, SphereAgainstRange) {
  const Vec3 light{0, 0, 0};
  EXPECT_EQ(ClassifySphereAgainstRange({0, 0, 50}, 10, light, 60), RangeCoverage::kInside);
  EXPECT_EQ(ClassifySphereAgainstRange({0, 0, 50}, 10, light, 59), RangeCoverage::kStraddles);
  EXPECT_EQ(ClassifySphereAgainstRange({0, 0, 50}, 10, light, 41), RangeCoverage::kStraddles);
  EXPECT_EQ(ClassifySphereAgainstRange({0, 0, 50}, 10, light, 39), RangeCoverage::kOutside);
}

}  // namespace
}  // namespace kbh
