// Tests that need something a machine may lack (an X server, xdotool,
// headless GL, the demo workshop, the shared corpus) skip with a message on a
// developer's machine. In CI, or when the run asks for everything
// (KBH_REQUIRE_ALL=1, which .ci/run sets), the same test fails instead: a
// green run there means that every test ran.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace kbh::testing {

inline bool EnvironmentFlagSet(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return false;
  const std::string_view text(value);
  return !text.empty() && text != "0" && text != "false";
}

inline bool EverythingRequired() {
  return EnvironmentFlagSet("KBH_REQUIRE_ALL") || EnvironmentFlagSet("CI");
}

}  // namespace kbh::testing

// Use as KBH_SKIP_OR_FAIL() is used: KBH_SKIP_OR_FAIL() << "why";
#define KBH_SKIP_OR_FAIL()                                             \
  return GTEST_MESSAGE_("needed by this test but missing: ",           \
                        ::kbh::testing::EverythingRequired()           \
                            ? ::testing::TestPartResult::kFatalFailure \
                            : ::testing::TestPartResult::kSkip)
