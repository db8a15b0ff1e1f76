#include "app/frame_stats.hpp"

#include <gtest/gtest.h>

#include "app/main_loop.hpp"
#include "screens/tuneup_screen.hpp"

namespace kbh {
namespace {

TEST(FrameStats, APeriodEndsOnTheFirstPassASecondAfterItBeganAndCountsIt) {
  FrameStats stats;
  stats.frameTimerStart = 1000;
  // 90 passes over 1500 ms: the last one ends the period.
  for (uint32_t i = 1; i <= 89; ++i) {
    CountFrame(stats, 1000 + i * 10);
    ASSERT_EQ(stats.framesText, "Frames: Calculating...");
  }
  CountFrame(stats, 2500);
  EXPECT_EQ(stats.framesText, "Frames: 90");
  EXPECT_EQ(stats.minFrameRate, 90);
  EXPECT_EQ(stats.maxFrameRate, 90);
  EXPECT_EQ(stats.frameTimerStart, 2500u);
}

TEST(FrameStats, TheClockMayWrapInsideAPeriod) {
  FrameStats stats;
  stats.frameTimerStart = 0xFFFFFF00u;
  CountFrame(stats, 0x000000F0u);  // 496 ms later
  EXPECT_EQ(stats.framesText, "Frames: Calculating...");
  CountFrame(stats, 0x00000300u);  // 1024 ms later
  EXPECT_EQ(stats.framesText, "Frames: 2");
}

TEST(TurntableAngle, TurnsOnceIn18850MsAndKeepsGrowingPastTwoToThe31) {
  EXPECT_NEAR(TurntableAngle(18850) - TurntableAngle(0), 2.0f * 3.14159265f, 1e-3f);
  EXPECT_GT(TurntableAngle(0xC0000000u), TurntableAngle(0x40000000u));
}

}  // namespace
}  // namespace kbh
