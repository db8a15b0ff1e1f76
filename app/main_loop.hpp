// The main loop: one frame per pass, as fast as the device presents, until
// Escape or a close request ends it. The order of a pass is fixed: messages,
// input, the screen's logic, statistics, then drawing back to front, the
// screenshot, and presenting.
#pragma once

#include <cstdint>

#include "app/app.hpp"

namespace kbh {

// The statistics texts: opaque, almost white.
constexpr uint32_t kStatisticsColor = 0xFFFAFAFA;

// Runs passes until app.runState.running is cleared.
void RunMainLoop(App& app);

// One pass. False when Escape ended it before anything was drawn.
bool RunFrame(App& app);

}  // namespace kbh
