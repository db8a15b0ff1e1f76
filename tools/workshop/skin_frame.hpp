// The fixed frame of the interface: the four borders round the screen, the
// base panel that covers the lower part of the screen, the seven tabs and
// the quit button.
//
// The menu bar draws a tab only while it is hovered or active, and the quit
// button only while it is hovered; the base therefore shows all of them in
// their idle look. A tab's own picture is never drawn: it is the hit mask,
// opaque exactly where the tab can be clicked.
#pragma once

#include <array>

#include "platform/image/image.hpp"
#include "tools/workshop/lettering.hpp"
#include "tools/workshop/skin_kit.hpp"
#include "ui/screen_positions.hpp"

namespace kbh::skin {

struct TabLook {
  int width;
  int height;
  const char* caption;  // Windows-1252
  bool large;           // one of the three screen tabs along the top edge
};
// Indexed like the screens: TuneUp, Spray, Seller, Options, Help, Account, Info.
const std::array<TabLook, layout::kTabCount>& TabLooks();
inline constexpr int kTurnOffSize = 28;
// The top border's height; the statistics texts start below it.
inline constexpr int kTopBorderHeight = 10;

// Where the colour selector's ball lands on the screen: the circle round
// its silhouette. The ball is drawn before the menu bar, so the base and the
// paint screen's label leave it a window.
Circle ColourBallOnScreen();
// The hole the base leaves round the ball; every label but the paint
// screen's covers it again.
Circle BaseBallHole();

struct FramePictures {
  Image borderLeft;
  Image borderTop;
  Image borderRight;
  Image borderBottom;
  Image base;
  std::array<Image, layout::kTabCount> tabMasks;
  std::array<Image, layout::kTabCount> tabsLit;  // the "_active" pictures
  Image turnOff;                                 // hit mask, the idle look
  Image turnOffLit;
};
FramePictures MakeFramePictures(const Lettering& lettering);

}  // namespace kbh::skin
