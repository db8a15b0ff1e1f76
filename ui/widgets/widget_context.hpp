// What all widgets share: the pointer they read, the clock their arrows
// repeat by, the scroll boxes' common skin and the two repeat stamps.
//
// The program owns one WidgetContext and hands it to every widget's Update
// (and the skin to the scroll boxes' Draw). Keeping this state in one object
// instead of in the widget modules lets tests run any number of independent
// interfaces side by side with a scripted pointer and a fake clock.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "gfx/texture.hpp"
#include "input/input.hpp"

namespace kbh {

// The seven pictures every scroll box is drawn with, by slot.
enum ScrollSkinSlot : int {
  kScrollUpArrow = 0,
  kScrollDownArrow = 1,
  kScrollTrack = 2,
  kScrollSelectionBar = 3,
  // Loaded and released with the rest, never drawn: the boxes have no thumb.
  kScrollThumb = 4,
  kScrollUpArrowHover = 5,
  kScrollDownArrowHover = 6,
};
constexpr int kScrollSkinSlotCount = 7;

struct ScrollBoxSkin {
  // An empty slot draws nothing and measures 0 x 0.
  std::array<std::unique_ptr<TextureRecord>, kScrollSkinSlotCount> images;
};

struct WidgetContext {
  // Set once by start-up, before any widget is updated; the record must
  // outlive the widgets. Without it the widgets see no pointer at all.
  const MouseState* mouse = nullptr;
  // Milliseconds, wrapping at 2^32; the program passes its shell's clock.
  std::function<uint32_t()> clock;
  ScrollBoxSkin scrollSkin;
  // When a scroll-box arrow last stepped; 0 until the first arrow press of
  // the run. Deliberately never reset: holding any box's arrow steps once
  // more than 100 ms after the last step of any box.
  uint32_t scrollRepeatStamp = 0;
  // When the held text-box arrow started waiting for its next step; 0 = idle.
  uint32_t textRepeatStamp = 0;
};

// Holding an arrow steps again after more than this many milliseconds.
constexpr uint32_t kArrowRepeatMs = 100;

void SetMouse(WidgetContext& context, const MouseState* mouse);

// The pointer this frame; a pointer far off screen with no button when no
// mouse was set.
MouseState PointerOf(const WidgetContext& context);
// The clock's reading; 0 without a clock.
uint32_t NowOf(const WidgetContext& context);

inline bool LeftWentDown(const MouseState& mouse) {
  return (mouse.buttons & kButtonWentDown) != 0;
}
inline bool LeftHeld(const MouseState& mouse) {
  return (mouse.buttons & kButtonHeld) != 0;
}

}  // namespace kbh
