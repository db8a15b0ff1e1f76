#include "input/input.hpp"

#include <algorithm>

#include "platform/input/key_codes.hpp"

namespace kbh {

namespace {

// The extended codes translate to no virtual key, and unknown keys arrive as
// code 0: neither registers.
bool HasVirtualKey(uint32_t code) {
  return code != kKeyNone && code < kKeyExtendedBit;
}

// Wide arithmetic: a device may report any 32-bit delta, and the sum must
// clamp rather than overflow.
int32_t MoveClamped(int32_t position, uint32_t data, int32_t maximum) {
  const int64_t moved = int64_t{position} + static_cast<int32_t>(data);
  return static_cast<int32_t>(std::clamp<int64_t>(moved, 0, std::max(maximum, 0)));
}

}  // namespace

bool InitInput(Input& input, std::unique_ptr<InputDevices> devices, int32_t width, int32_t height) {
  if (devices == nullptr) return false;
  input.devices = std::move(devices);
  input.mouseMaxX = width;
  input.mouseMaxY = height;
  return true;
}

bool InitKeyboard(Input& input) {
  if (input.devices == nullptr || !input.devices->Open(InputDeviceKind::kKeyboard)) return false;
  input.keyboardOpen = true;
  return input.devices->Acquire(InputDeviceKind::kKeyboard);
}

bool InitMouse(Input& input) {
  if (input.devices == nullptr || !input.devices->Open(InputDeviceKind::kMouse)) return false;
  input.mouseOpen = true;
  input.mouse = MouseState{};
  return input.devices->Acquire(InputDeviceKind::kMouse);
}

bool PollKeyboard(Input& input) {
  input.keyPressedTable.fill(0);
  if (input.devices == nullptr || !input.keyboardOpen) return false;

  std::array<DeviceEvent, kKeyboardEventsPerPoll> events;
  size_t count = 0;
  if (!input.devices->Read(InputDeviceKind::kKeyboard, events, &count)) {
    input.devices->Acquire(InputDeviceKind::kKeyboard);
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    const DeviceEvent& event = events[i];
    if (!HasVirtualKey(event.offset)) continue;
    // Key-ups need no handling: the table only ever says "went down now".
    if ((event.data & kPressedData) != 0) input.keyPressedTable[event.offset] = 1;
  }
  return true;
}

bool PollMouse(Input& input) {
  // The went-down bit lasts exactly one frame; the held bit survives.
  input.mouse.buttons &= kButtonHeld;
  if (input.devices == nullptr || !input.mouseOpen) return false;

  std::array<DeviceEvent, kDeviceBufferSize> events;
  size_t count = 0;
  if (!input.devices->Read(InputDeviceKind::kMouse, events, &count)) {
    // The release of a button held when the focus went away will never be
    // reported; a button still counted as held would keep dragging whatever
    // it grabbed once the window is back.
    input.mouse.buttons = 0;
    input.devices->Acquire(InputDeviceKind::kMouse);
    return false;
  }
  MouseState& mouse = input.mouse;
  for (size_t i = 0; i < count; ++i) {
    const DeviceEvent& event = events[i];
    switch (event.offset) {
      case kMouseOffsetX:
        mouse.x = MoveClamped(mouse.x, event.data, input.mouseMaxX);
        break;
      case kMouseOffsetY:
        mouse.y = MoveClamped(mouse.y, event.data, input.mouseMaxY);
        break;
      case kMouseOffsetButton0:
        // A release keeps a went-down bit that a press of this same poll set:
        // a tap or a fast click at a low frame rate arrives as press and
        // release together, and the widgets must still see it as one click.
        mouse.buttons = (event.data & 0xFF) != 0 ? (mouse.buttons | kButtonHeld | kButtonWentDown)
                                                 : (mouse.buttons & kButtonWentDown);
        break;
      default:
        break;  // the wheel and the other buttons mean nothing to the program
    }
  }
  return true;
}

uint8_t KeyPressed(const Input& input, uint8_t code) {
  return input.keyPressedTable[code];
}

bool ReleaseInput(Input& input) {
  if (input.devices != nullptr) {
    if (input.keyboardOpen) input.devices->Close(InputDeviceKind::kKeyboard);
    if (input.mouseOpen) input.devices->Close(InputDeviceKind::kMouse);
  }
  input.keyboardOpen = false;
  input.mouseOpen = false;
  input.devices.reset();
  return true;
}

}  // namespace kbh
