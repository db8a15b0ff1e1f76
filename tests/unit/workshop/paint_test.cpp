#include "workshop/paint.hpp"

#include <gtest/gtest.h>

namespace kbh {
namespace {

constexpr float kByte = 0.003921569f;  // 1/255 as the program converts bytes

// Every member distinct, so that a test sees what changed and what did not.
Material Marked() {
  Material m;
  m.diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
  m.ambient = {0.5f, 0.5f, 0.5f, 0.25f};
  m.specular = {0.6f, 0.6f, 0.6f, 0.75f};
  m.emissive = {0.7f, 0.7f, 0.7f, 0.5f};
  m.power = 7.0f;
  return m;
}

TEST(ApplyPaint, MaterialAndFactorsOfEveryFinish) {
  const uint32_t colour = 0x80FF8000;  // alpha 0x80, orange
  const float brightness = (255.0f + 128.0f + 0.0f) * kByte * 0.33333334f;
  const float ambient = 0.1255f * brightness;
  const float plain = 0.46f - 0.54f * brightness;
  struct Row {
    uint8_t finish;
    uint32_t diffuse;  // 0: the diffuse colour stays
    float ambient, specular, power;
    uint8_t reflection, opacity;  // 77 and 99 stay
  };
  const Row rows[] = {
      {0, colour, ambient, plain, 25, 2, 99},
      {1, colour, ambient, 1.5f - 0.2f * brightness, 100, 15, 99},
      {2, 0xFF666666, 0.12f, 1.3f, 25, 96, 99},  // chrome ignores the colour
      {3, colour, ambient, 1.3f, 25, 206, 99},
      {4, 0, ambient, plain, 25, 77, 99},
      {5, colour, ambient, plain, 25, 206, 34},
      {6, colour, ambient, plain, 25, 48, 208},
      {9, 0, ambient, plain, 25, 77, 99},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.finish));
    Material m = Marked();
    FactorPair factors{77, 99};
    ApplyPaint(colour, row.finish, &m, &factors);
    const Material marked = Marked();
    const ColorValue diffuse =
        row.diffuse == 0
            ? marked.diffuse
            : ColorValue{((row.diffuse >> 16) & 0xFF) * kByte, ((row.diffuse >> 8) & 0xFF) * kByte,
                         (row.diffuse & 0xFF) * kByte, (row.diffuse >> 24) * kByte};
    // The alpha byte reaches the material's diffuse alpha.
    EXPECT_FLOAT_EQ(m.diffuse.r, diffuse.r);
    EXPECT_FLOAT_EQ(m.diffuse.g, diffuse.g);
    EXPECT_FLOAT_EQ(m.diffuse.a, diffuse.a);
    // Only red, green and blue are written; the alphas stay.
    for (auto [written, value, alpha] : {std::tuple{m.ambient, row.ambient, 0.25f},
                                         {m.specular, row.specular, 0.75f},
                                         {m.emissive, 0.0f, 0.5f}}) {
      EXPECT_FLOAT_EQ(written.r, value);
      EXPECT_FLOAT_EQ(written.g, value);
      EXPECT_FLOAT_EQ(written.b, value);
      EXPECT_FLOAT_EQ(written.a, alpha);
    }
    EXPECT_FLOAT_EQ(m.power, row.power);
    EXPECT_EQ(factors.reflection, row.reflection);
    EXPECT_EQ(factors.opacity, row.opacity);
  }
}

TEST(ApplyPaint, BlackAndWhiteBoundTheBrightnessTermsAndNothingGivenChangesNothing) {
  Material black = Marked();
  ApplyPaint(0xFF000000, 0, &black, nullptr);
  EXPECT_FLOAT_EQ(black.ambient.r, 0.0f);
  EXPECT_FLOAT_EQ(black.specular.r, 0.46f);
  Material white = Marked();
  ApplyPaint(0xFFFFFFFF, 0, &white, nullptr);
  EXPECT_NEAR(white.ambient.r, 0.1255f, 1e-6f);
  EXPECT_NEAR(white.specular.r, -0.08f, 1e-6f);  // negative values are passed on
  ApplyPaint(0xFFFFFFFF, 3, nullptr, nullptr);   // must simply return
}

}  // namespace
}  // namespace kbh
