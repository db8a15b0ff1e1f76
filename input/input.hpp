// Mouse and keyboard state for one frame.
//
// The program reads its input by polling once per frame, keyboard first, then
// mouse, before any screen logic runs. Polling turns the devices' buffered
// events into the small state everything else reads: where the pointer is,
// whether the left button is held or went down in this frame, and which keys
// went down in this frame. The system pointer is not used; the program draws
// its own at the position kept here, moved by the mouse's relative motion one
// to one.
//
// When the window loses the focus the devices stop delivering; each poll then
// tries to re-acquire its device once and reports nothing until that works.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/input/input_devices.hpp"

namespace kbh {

// Bits of MouseState::buttons. Only 0, kButtonHeld, kButtonHeld |
// kButtonWentDown and kButtonWentDown alone occur; the last one is a press
// whose release came in the same poll (a click shorter than a frame), so it
// counts as a click but not as a held button.
constexpr uint32_t kButtonHeld = 1;
constexpr uint32_t kButtonWentDown = 2;

// The pointer the widgets read; they keep a pointer to this record, so it
// stays where it is for the life of the Input object.
struct MouseState {
  int32_t x = 0;  // 0 … mouseMaxX inclusive
  int32_t y = 0;  // 0 … mouseMaxY inclusive
  uint32_t buttons = 0;
};

// A frame handles at most this many keyboard events; the rest wait in the
// device for the following frames, so a burst of keys is spread out rather
// than lost.
constexpr size_t kKeyboardEventsPerPoll = 64;

// The input object: one per program, created by start-up.
struct Input {
  MouseState mouse;
  // Indexed by key code (platform/input/key_codes.hpp): 1 for a key that went
  // down in this frame.
  std::array<uint8_t, 256> keyPressedTable{};
  // The pointer's upper limits, inclusive: the screen size, one past the last
  // pixel.
  int32_t mouseMaxX = 0;
  int32_t mouseMaxY = 0;
  std::unique_ptr<InputDevices> devices;
  bool keyboardOpen = false;
  bool mouseOpen = false;
};

// Takes over devices and sets the pointer limits to width and height. False
// when devices is null.
bool InitInput(Input& input, std::unique_ptr<InputDevices> devices, int32_t width, int32_t height);
// Opens and acquires the keyboard; false if it could not be opened or
// acquired.
bool InitKeyboard(Input& input);
// Opens the mouse, puts the pointer in the top-left corner with no button
// held, and acquires it; false if it could not be opened or acquired.
bool InitMouse(Input& input);

// Once per frame, keyboard first. Each returns false when its device could
// not be read (not initialised, or the focus was lost); it has then asked for
// the device again, and the frame has no input from it.
bool PollKeyboard(Input& input);
bool PollMouse(Input& input);

// 1 if the key went down in this frame. Only keys below the extended range
// (code < 0x80) ever register: the program looks keys up by their virtual-key
// translation, which the extended codes lack.
uint8_t KeyPressed(const Input& input, uint8_t code);

// Closes the keyboard, then the mouse, and releases the devices. Safe on an
// input object that was never, or only partly, initialised. Returns true.
bool ReleaseInput(Input& input);

}  // namespace kbh
