#include "platform/font/font_rules.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace kbh {
namespace {

TEST(FontRules, WeightPicksTheNearestFaceAsTheWindowsMapperDoes) {
  const std::vector<int> family = {200, 400, 700};  // extra light, regular, bold
  EXPECT_EQ(ChooseNearestWeight(family, 520), 1);
  EXPECT_EQ(ChooseNearestWeight(family, 600), 2);
  EXPECT_EQ(ChooseNearestWeight(family, 0), 1);  // "don't care" is regular
  EXPECT_EQ(ChooseNearestWeight(family, 1000), 2);
  EXPECT_EQ(ChooseNearestWeight(family, 100), 0);
  // Ties: bold requests go heavier, light ones lighter.
  EXPECT_EQ(ChooseNearestWeight(std::vector<int>{400, 700}, 550), 1);
  EXPECT_EQ(ChooseNearestWeight(std::vector<int>{200, 300}, 250), 0);
  EXPECT_EQ(ChooseNearestWeight(std::vector<int>{}, 400), -1);

  EXPECT_TRUE(NeedsSyntheticBold(600, 400));
  EXPECT_FALSE(NeedsSyntheticBold(520, 400));
  EXPECT_FALSE(NeedsSyntheticBold(600, 700));
}

TEST(FontRules, CellHeightSpansTheWindowsAscentAndDescent) {
  // A face with 2048 units per em, winAscent 1901 and winDescent 483.
  const CellScale scale = ScaleToCellHeight(2048, 1901, 483, 14);
  EXPECT_NEAR(scale.pixelsPerEm, 2048.0 * 14 / 2384, 1e-9);
  EXPECT_EQ(scale.ascent, 11);
  EXPECT_EQ(scale.descent, 3);

  // Without vertical metrics the em square is the cell.
  const CellScale bare = ScaleToCellHeight(1000, 0, 0, 20);
  EXPECT_DOUBLE_EQ(bare.pixelsPerEm, 20.0);
  EXPECT_EQ(bare.ascent + bare.descent, 20);
}

}  // namespace
}  // namespace kbh
