// The TuneUp screen: the moped turning on its turntable, drawn solid or as a
// wireframe (the W key switches), with the three catalogue lists below it,
// the build-in and remove buttons and the status line (tuneup_rules.hpp).
#pragma once

#include <cstdint>

#include "screens/screen.hpp"

namespace kbh {

// The turntable's angle in radians at clock reading timeMs: one turn every
// 2 pi x 3 seconds (about 18.85 s). Single precision, as the rotation is
// stored, so the turn's speed is the same at any clock value.
float TurntableAngle(uint32_t timeMs);

void PrepareTuneUp(ScreenContext& context);
void UpdateTuneUpScreen(ScreenContext& context);
void DrawTuneUp3d(ScreenContext& context);
void DrawTuneUp2d(ScreenContext& context);

inline constexpr Screen kTuneUpScreen{PrepareTuneUp, UpdateTuneUpScreen, DrawTuneUp3d,
                                      DrawTuneUp2d};

}  // namespace kbh
