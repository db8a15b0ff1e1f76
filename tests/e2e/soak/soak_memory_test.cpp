// The soak's memory verdict: which sample is the baseline and what counts as
// growth.
#include "tests/e2e/soak/soak_memory.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace kbh::testing {
namespace {

TEST(SoakMemoryTest, ReadsTheResidentSizeFromTheProcessStatus) {
  EXPECT_EQ(ParseResidentKb("Name:\tkolbenhof\nVmPeak:\t  900000 kB\nVmRSS:\t  123456 kB\n"
                            "RssAnon:\t  100000 kB\n"),
            123456);
  EXPECT_EQ(ParseResidentKb("Name:\tzombie\nState:\tZ (zombie)\n"), -1);
  EXPECT_GT(ReadResidentKb(getpid()), 0);
}

TEST(SoakMemoryTest, GrowthIsMeasuredFromTheFirstMinutesEnd) {
  struct Case {
    const char* name;
    double runSeconds;
    std::vector<MemorySample> samples;
    double baselineSeconds;
    bool withinLimit;
  };
  const Case cases[] = {
      // Filling up during the first minute does not count; 4.8 % after it does not fail.
      {"ten minutes, small growth",
       600,
       {{0, 300000}, {30, 400000}, {60, 500000}, {600, 524000}},
       60,
       true},
      {"ten minutes, 5 % exactly",
       600,
       {{0, 300000}, {60, 500000}, {300, 510000}, {600, 525000}},
       60,
       false},
      {"first sample late", 600, {{0, 300000}, {62, 500000}, {600, 501000}}, 62, true},
      // A minute-long run compares with its 12th second.
      {"one minute", 60, {{0, 300000}, {10, 400000}, {15, 500000}, {60, 530000}}, 15, false},
      {"one minute, flat", 60, {{0, 300000}, {10, 400000}, {15, 500000}, {60, 501000}}, 15, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MemoryVerdict verdict = JudgeMemory(c.samples, c.runSeconds, 5.0);
    EXPECT_EQ(verdict.baseline.seconds, c.baselineSeconds);
    EXPECT_EQ(verdict.withinLimit, c.withinLimit) << verdict.growthPercent;
    EXPECT_EQ(verdict.start.kb, 300000);
  }
  EXPECT_NE(JudgeMemory({{0, 1}, {60, 1}}, 60, 5.0).baselineRule.find("shorter than two minutes"),
            std::string::npos);
}

TEST(SoakMemoryTest, PrintsStartBaselineEndAndEverySample) {
  const std::vector<MemorySample> samples = {{0, 102400}, {60, 204800}, {120, 207872}};
  const MemoryVerdict verdict = JudgeMemory(samples, 120, 5.0);
  EXPECT_EQ(FormatMemoryCurve(samples, verdict, 60),
            "resident memory (VmRSS): start 100.0 MB, after 60 s 200.0 MB, end (120 s) 203.0 MB: "
            "+1.5 % from the baseline after the first minute\n"
            "samples every 60 s, MB:\n 100.0 200.0 203.0\n");
}

}  // namespace
}  // namespace kbh::testing
