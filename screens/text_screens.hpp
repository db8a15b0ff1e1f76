// The Help and Info screens: one scrolling text panel each, which keeps its
// scroll position across screen changes. Neither has anything to prepare.
#pragma once

#include "screens/screen.hpp"

namespace kbh {

void UpdateHelp(ScreenContext& context);
void DrawHelp2d(ScreenContext& context);
void UpdateInfo(ScreenContext& context);
void DrawInfo2d(ScreenContext& context);

inline constexpr Screen kHelpScreen{NothingToDo, UpdateHelp, NothingToDo, DrawHelp2d};
inline constexpr Screen kInfoScreen{NothingToDo, UpdateInfo, NothingToDo, DrawInfo2d};

}  // namespace kbh
