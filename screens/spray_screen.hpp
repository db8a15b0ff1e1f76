// The Spray screen: a small picture of the whole moped, the chosen part
// large (flown to, then spinning), the installed parts and the chosen part's
// subsets, and the colour selector with its ball. The rules are in
// spray_rules.hpp.
#pragma once

#include "screens/screen.hpp"

namespace kbh {

void PrepareSpray(ScreenContext& context);
void UpdateSprayScreen(ScreenContext& context);
void DrawSpray3d(ScreenContext& context);
void DrawSpray2d(ScreenContext& context);

inline constexpr Screen kSprayScreen{PrepareSpray, UpdateSprayScreen, DrawSpray3d, DrawSpray2d};

}  // namespace kbh
