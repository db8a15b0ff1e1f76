// What the soak feeds the program: a reproducible stream of pointer moves,
// held and quick clicks, drags, tab changes and key presses, weighted toward
// the widgets of the screen the last tab click chose, so that a long run
// exercises every list, arrow, button, slider and panel many times.
//
// Nothing in the stream ends the program: the quit key is never pressed and
// no button goes down or up over the turn-off button. Moving across it is
// allowed; it only lights up.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ui/screen_positions.hpp"

namespace kbh::testing {

struct SoakTarget {
  std::string name;
  layout::Rect area;
  // A slider's track: dragged along rather than clicked.
  bool dragAlong = false;
};

struct SoakTargets {
  // Indexed like the tabs: TuneUp, Spray, Seller, Options, Help, Account, Info.
  std::array<std::vector<SoakTarget>, layout::kTabCount> screens;
  std::array<SoakTarget, layout::kTabCount> tabs;
  layout::Rect turnOff;  // never pressed or released over
};

// A picture's width and height, by its file name in gfx/gui; {0, 0} when
// there is no such picture.
using PictureSize = std::function<layout::Point(const std::string& file)>;

// The widgets of every screen where the interface places them, each as
// large as the picture that draws it.
SoakTargets MakeSoakTargets(const PictureSize& pictureSize);

struct SoakAction {
  enum class Kind { kMove, kQuickClick, kHeldClick, kDrag, kKey };
  Kind kind = Kind::kMove;
  layout::Point at{0, 0};
  layout::Point to{0, 0};  // kDrag: where the button comes up
  int holdMs = 0;          // kHeldClick and kDrag
  std::string key;         // kKey, an xdotool key name
  std::string target;      // what it aims at, for the tally
};

// The keys the soak presses: every key the program reacts to except the
// quit key and the screenshot key (the soak asks for screenshots on a clock
// of its own), and a few it ignores. Never Escape.
const std::vector<std::string>& SoakKeys();

class SoakPlanner {
 public:
  SoakPlanner(uint32_t seed, SoakTargets targets);

  SoakAction Next();
  // The screen the last tab click chose (the program starts on TuneUp).
  int Screen() const { return screen_; }
  const SoakTargets& Targets() const { return targets_; }

 private:
  layout::Point Anywhere();
  layout::Point Inside(const layout::Rect& area);
  layout::Point ClickableAnywhere();
  bool OnTurnOff(layout::Point point) const;
  int Between(int low, int high);

  std::mt19937 random_;
  SoakTargets targets_;
  int screen_ = 0;
};

}  // namespace kbh::testing
