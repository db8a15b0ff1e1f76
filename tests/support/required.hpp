// Whether this run must have everything a test needs (Xvfb, xdotool,
// headless GL, the demo workshop, the shared corpus): in CI, or when
// KBH_REQUIRE_ALL=1 (which .ci/run sets). Then a test that would skip for want
// of one of them fails instead, so that a green run means every test ran.
#pragma once

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
