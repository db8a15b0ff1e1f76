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

// The turntable's angle in radians at clock reading timeMs: one turn every
// 2 pi x 3 seconds (about 18.85 s). Single precision, as the rotation is
// stored, so the turn's speed is the same at any clock value.
float TurntableAngle(uint32_t timeMs);

// Runs passes until app.runState.running is cleared.
void RunMainLoop(App& app);

// One pass. False when Escape ended it before anything was drawn.
bool RunFrame(App& app);

}  // namespace kbh
