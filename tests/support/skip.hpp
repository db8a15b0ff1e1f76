// Tests that need something a machine may lack (an X server, xdotool,
// headless GL, the demo workshop, the shared corpus) skip with a message on a
// developer's machine. In CI, or when the run asks for everything
// (KBH_REQUIRE_ALL=1, which .ci/run sets), the same test fails instead: a
// green run there means that every test ran.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/required.hpp"

// Use as GTEST_SKIP() is used: KBH_SKIP_OR_FAIL() << "why";
#define KBH_SKIP_OR_FAIL()                                             \
  return GTEST_MESSAGE_("needed by this test but missing: ",           \
                        ::kbh::testing::EverythingRequired()           \
                            ? ::testing::TestPartResult::kFatalFailure \
                            : ::testing::TestPartResult::kSkip)
