// The Seller screen: the installed parts that have a description, and the
// seller panel (title, description, logo, picture) of the one chosen. The
// first row is chosen whenever the screen is entered.
#pragma once

#include "screens/screen.hpp"

namespace kbh {

void PrepareSeller(ScreenContext& context);
void UpdateSeller(ScreenContext& context);
void DrawSeller2d(ScreenContext& context);

inline constexpr Screen kSellerScreen{PrepareSeller, UpdateSeller, NothingToDo, DrawSeller2d};

}  // namespace kbh
