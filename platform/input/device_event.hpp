// The records a keyboard or mouse device buffers, in the form the input
// module reads them: one record per change, as a buffered DirectInput device
// reports it.
//
//   keyboard: offset = the key's code (key_codes.hpp), data = 0x80 when the
//             key went down, 0 when it came up; auto-repeat is not reported.
//   mouse:    offset 0 / 4 = x / y axis with data the signed relative motion
//             (two's complement in the unsigned field), offset 8 = the wheel
//             in steps of 120 per notch, offsets 12 to 15 = buttons 0 to 3
//             (left, right, middle, first extra) with data 0x80 / 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kbh {

enum class InputDeviceKind : uint8_t { kKeyboard, kMouse };

struct DeviceEvent {
  uint32_t offset = 0;
  uint32_t data = 0;
  uint32_t timestamp = 0;  // the TickCount at which the change happened
  uint32_t sequence = 0;   // increasing over both devices: their events can be merged in order
};

constexpr uint32_t kMouseOffsetX = 0;
constexpr uint32_t kMouseOffsetY = 4;
constexpr uint32_t kMouseOffsetWheel = 8;
constexpr uint32_t kMouseOffsetButton0 = 12;
constexpr uint32_t kMouseButtonCount = 4;
constexpr int32_t kWheelStep = 120;

// Data of a key or button that went down; 0 means it came up.
constexpr uint32_t kPressedData = 0x80;

// Events each device holds until they are read; later ones are dropped.
constexpr size_t kDeviceBufferSize = 256;

}  // namespace kbh
