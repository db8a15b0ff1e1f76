#include "platform/os/clock.hpp"

#include <gtest/gtest.h>

namespace kbh {
namespace {

TEST(TickCount, WrapsAfterTwoToThe32Milliseconds) {
  // 4294967.295 s is the last millisecond before the wrap.
  EXPECT_EQ(TickCountFromMonotonic(4294967, 295'000'000), 0xFFFFFFFFu);
  EXPECT_EQ(TickCountFromMonotonic(4294967, 296'000'000), 0u);
  EXPECT_EQ(TickCountFromMonotonic(4294967, 296'999'999), 0u);
  const uint32_t before = TickCountFromMonotonic(4294967, 290'000'000);
  const uint32_t after = TickCountFromMonotonic(4294968, 10'000'000);
  EXPECT_EQ(after - before, 720u) << "differences across the wrap stay right";
}

TEST(TickCount, AdvancesAtLeastBySleepTime) {
  const uint32_t start = TickCount();
  SleepMs(30);
  const uint32_t elapsed = TickCount() - start;
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace kbh
