// From SDL's scancodes, which number the physical keys as USB HID usages, to
// the program's key codes (key_codes.hpp). Covers every key of a 105-key
// keyboard, the numeric keypad, F1 to F15, the Japanese and Brazilian extra
// keys and the common media and browser keys.
#pragma once

#include <cstdint>

namespace kbh {

// kKeyNone for scancodes that have no code, negative ones included.
uint8_t KeyCodeFromSdlScancode(int scancode);

}  // namespace kbh
