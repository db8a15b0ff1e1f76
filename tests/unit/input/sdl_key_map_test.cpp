#include "platform/input/sdl_key_map.hpp"

#include <gtest/gtest.h>

#include <map>

#include "platform/input/key_codes.hpp"

namespace kbh {
namespace {

// SDL scancodes are the USB HID keyboard usage IDs; the numbers below come
// from the HID usage tables, so this checks the map against an independent
// source rather than against itself.
constexpr int kHidA = 0x04;
constexpr int kHidW = 0x1A;
constexpr int kHidEscape = 0x29;
constexpr int kHidNonUsHash = 0x32;
constexpr int kHidRight = 0x4F;
constexpr int kHidLeft = 0x50;
constexpr int kHidDown = 0x51;
constexpr int kHidUp = 0x52;
constexpr int kHidKeypadEnter = 0x58;
constexpr int kHidNonUsBackslash = 0x64;
constexpr int kHidLeftControl = 0xE0;
constexpr int kHidRightControl = 0xE4;

TEST(SdlKeyMap, SpotChecksAgainstTheSetOneScanCodes) {
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidEscape), 0x01);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidLeftControl), 0x1D);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidW), 0x11);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidA), 0x1E);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidRightControl), 0x9D);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidUp), 0xC8);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidDown), 0xD0);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidLeft), 0xCB);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidRight), 0xCD);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidKeypadEnter), 0x9C);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidNonUsBackslash), 0x56);
  EXPECT_EQ(KeyCodeFromSdlScancode(kHidNonUsHash), 0x2B);
}

TEST(SdlKeyMap, UnknownAndOutOfRangeScancodesHaveNoCode) {
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
  for (int hid = kHidA; hid <= 0x27; ++hid) {
    EXPECT_NE(KeyCodeFromSdlScancode(hid), kKeyNone) << "HID usage " << hid;
  }
}

}  // namespace
}  // namespace kbh
