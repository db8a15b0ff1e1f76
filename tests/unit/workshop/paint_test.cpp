#include "workshop/paint.hpp"

#include <gtest/gtest.h>

namespace kbh {
namespace {

Material Marked() {
  // Every member distinct, so that a test sees what changed and what did not.
  Material m;
  m.diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
  m.ambient = {0.5f, 0.5f, 0.5f, 0.25f};
  m.specular = {0.6f, 0.6f, 0.6f, 0.75f};
  m.emissive = {0.7f, 0.7f, 0.7f, 0.5f};
  m.power = 7.0f;
  return m;
}

void ExpectRgb(const ColorValue& c, float value) {
  EXPECT_FLOAT_EQ(c.r, value);
  EXPECT_FLOAT_EQ(c.g, value);
  EXPECT_FLOAT_EQ(c.b, value);
}

TEST(ApplyPaint, FinishTableForMaterial) {
  const uint32_t colour = 0x80FF8000;  // alpha 0x80, orange
  const float brightness = (255.0f + 128.0f + 0.0f) * 0.003921569f * 0.33333334f;
  struct Row {
    uint8_t finish;
    bool diffuseFromColour;
    float ambient, specular, power;
  };
  const Row rows[] = {
      {0, true, 0.1255f * brightness, 0.46f - 0.54f * brightness, 25.0f},
      {1, true, 0.1255f * brightness, 1.5f - 0.2f * brightness, 100.0f},
      {3, true, 0.1255f * brightness, 1.3f, 25.0f},
      {5, true, 0.1255f * brightness, 0.46f - 0.54f * brightness, 25.0f},
      {6, true, 0.1255f * brightness, 0.46f - 0.54f * brightness, 25.0f},
      {4, false, 0.1255f * brightness, 0.46f - 0.54f * brightness, 25.0f},
      {9, false, 0.1255f * brightness, 0.46f - 0.54f * brightness, 25.0f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.finish));
    Material m = Marked();
    ApplyPaint(colour, row.finish, &m, nullptr);
    if (row.diffuseFromColour) {
      EXPECT_FLOAT_EQ(m.diffuse.r, 1.0f * 255 * 0.003921569f);
      EXPECT_FLOAT_EQ(m.diffuse.g, 128 * 0.003921569f);
      EXPECT_FLOAT_EQ(m.diffuse.b, 0.0f);
      EXPECT_FLOAT_EQ(m.diffuse.a, 128 * 0.003921569f);  // the alpha byte reaches the material
    } else {
      EXPECT_FLOAT_EQ(m.diffuse.r, 0.1f);
      EXPECT_FLOAT_EQ(m.diffuse.a, 0.4f);
    }
    ExpectRgb(m.ambient, row.ambient);
    ExpectRgb(m.specular, row.specular);
    ExpectRgb(m.emissive, 0.0f);
    EXPECT_FLOAT_EQ(m.power, row.power);
    // Only red, green and blue are written; the alphas stay.
    EXPECT_FLOAT_EQ(m.ambient.a, 0.25f);
    EXPECT_FLOAT_EQ(m.specular.a, 0.75f);
    EXPECT_FLOAT_EQ(m.emissive.a, 0.5f);
  }
}

TEST(ApplyPaint, ChromeIgnoresTheColour) {
  Material red = Marked();
  Material blue = Marked();
  ApplyPaint(0x00FF0000, 2, &red, nullptr);
  ApplyPaint(0xFF0000FF, 2, &blue, nullptr);
  for (const Material* m : {&red, &blue}) {
    EXPECT_FLOAT_EQ(m->diffuse.r, 0x66 * 0.003921569f);
    EXPECT_FLOAT_EQ(m->diffuse.a, 255 * 0.003921569f);
    ExpectRgb(m->ambient, 0.12f);
    ExpectRgb(m->specular, 1.3f);
    EXPECT_FLOAT_EQ(m->power, 25.0f);
  }
}

TEST(ApplyPaint, BlackAndWhiteBoundTheBrightnessTerms) {
  Material black = Marked();
  ApplyPaint(0xFF000000, 0, &black, nullptr);
  ExpectRgb(black.ambient, 0.0f);
  ExpectRgb(black.specular, 0.46f);
  Material white = Marked();
  ApplyPaint(0xFFFFFFFF, 0, &white, nullptr);
  EXPECT_NEAR(white.ambient.r, 0.1255f, 1e-6f);
  EXPECT_NEAR(white.specular.r, -0.08f, 1e-6f);  // negative values are passed on
}

TEST(ApplyPaint, FactorTable) {
  struct Row {
    uint8_t finish, reflection, opacity;
  };
  const Row rows[] = {{0, 2, 99},  {1, 15, 99},  {2, 96, 99},  {3, 206, 99},
                      {4, 77, 99}, {5, 206, 34}, {6, 48, 208}, {7, 77, 99}};
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.finish));
    FactorPair factors{77, 99};
    ApplyPaint(0xFFFFFFFF, row.finish, nullptr, &factors);
    EXPECT_EQ(factors.reflection, row.reflection);
    EXPECT_EQ(factors.opacity, row.opacity);
  }
}

TEST(ApplyPaint, NothingGivenChangesNothing) {
  ApplyPaint(0xFFFFFFFF, 3, nullptr, nullptr);  // must simply return
  EXPECT_STREQ(PaintFinishName(3), "Chrom, eingef\xE4rbt");
  EXPECT_STREQ(PaintFinishName(4), "");
}

}  // namespace
}  // namespace kbh
