#include "platform/os/windows1252.hpp"

#include <gtest/gtest.h>

namespace kbh {
namespace {

TEST(Windows1252, EveryByteHasOneCodePointAndComesBack) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte)
    all += static_cast<char>(byte);
  std::string back;
  char32_t unmappable = 0;
  ASSERT_TRUE(Utf8ToWindows1252(Windows1252ToUtf8(all), &back, &unmappable));
  EXPECT_EQ(back, all);
  // The five undefined bytes stand for themselves; the rest of 0x80-0x9F
  // are typographic characters.
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(Windows1252ToCodePoint(undefined), char32_t{undefined});
  }
  EXPECT_EQ(Windows1252ToCodePoint(0x80), U'\u20AC');
  EXPECT_EQ(Windows1252ToCodePoint(0x9F), U'\u0178');
  EXPECT_EQ(Windows1252ToUtf8("Gr\xF6\xDF"
                              "e \x84"
                              "x\x93"),
            "Gr\xC3\xB6\xC3\x9F"
            "e \xE2\x80\x9Ex\xE2\x80\x9C");
}

TEST(Windows1252, CharactersOutsideTheCodePageAreNamed) {
  std::string out;
  char32_t unmappable = 0;
  EXPECT_FALSE(Utf8ToWindows1252("ab\xE4\xB8\xAD", &out, &unmappable));  // U+4E2D
  EXPECT_EQ(unmappable, U'\u4E2D');
  EXPECT_EQ(out, "ab");
  // U+0080 is not the byte 0x80 (that is the euro sign).
  EXPECT_FALSE(Utf8ToWindows1252("\xC2\x80", &out, &unmappable));
  EXPECT_EQ(unmappable, U'\u0080');
  EXPECT_FALSE(Utf8ToWindows1252("\xF0\x9F\x98\x80", &out, &unmappable));
  EXPECT_EQ(unmappable, U'\U0001F600');
}

}  // namespace
}  // namespace kbh
