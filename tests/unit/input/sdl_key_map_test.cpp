#include "platform/input/sdl_key_map.hpp"

#include <gtest/gtest.h>

#include <map>

#include "platform/input/key_codes.hpp"

namespace kbh {
namespace {

// SDL scancodes are the USB HID keyboard usage IDs; the numbers below come
// from the HID usage tables, so this checks the map against an independent
// source rather than against itself.
TEST(SdlKeyMap, SpotChecksAgainstTheSetOneScanCodes) {
  // Escape, left Control, W, A, right Control, up, left, keypad Enter, the
  // non-US backslash and hash.
  const std::pair<int, int> hidToSetOne[] = {{0x29, 0x01}, {0xE0, 0x1D}, {0x1A, 0x11}, {0x04, 0x1E},
                                             {0xE4, 0x9D}, {0x52, 0xC8}, {0x50, 0xCB}, {0x58, 0x9C},
                                             {0x64, 0x56}, {0x32, 0x2B}};
  for (const auto& [hid, code] : hidToSetOne)
    EXPECT_EQ(KeyCodeFromSdlScancode(hid), code) << "HID usage " << hid;
  EXPECT_EQ(KeyCodeFromSdlScancode(0), kKeyNone);
  EXPECT_EQ(KeyCodeFromSdlScancode(-1), kKeyNone);
  EXPECT_EQ(KeyCodeFromSdlScancode(100000), kKeyNone);
}

TEST(SdlKeyMap, CoversAFullKeyboardWithoutSharingCodes) {
  // Every code is reached by one scancode only, except the keys that share a
  // make code on purpose.
  std::map<uint8_t, int> sources;
  for (int scancode = 0; scancode < 1024; ++scancode) {
    const uint8_t code = KeyCodeFromSdlScancode(scancode);
    if (code != kKeyNone) ++sources[code];
  }
  for (const auto& [code, count] : sources) {
    const bool shared = code == kKeyBackslash || code == kKeyMute;
    EXPECT_EQ(count, shared ? 2 : 1) << "code 0x" << std::hex << int{code};
  }
  // 105 keys, 17 keypad keys among them, plus F13-F15 and the extras.
  EXPECT_GE(sources.size(), 105u);
  // All letters and digits of the main block.
  for (int hid = 0x04; hid <= 0x27; ++hid) {
    EXPECT_NE(KeyCodeFromSdlScancode(hid), kKeyNone) << "HID usage " << hid;
  }
}

}  // namespace
}  // namespace kbh
