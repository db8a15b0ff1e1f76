#include "platform/os/windows1252.hpp"

#include <gtest/gtest.h>

namespace kbh {
namespace {

TEST(Windows1252, MapsTheCodePageAndKeepsItsGapsAsTheirOwnCodePoints) {
  EXPECT_EQ(Windows1252ToCodePoint(0xFC), U'\u00FC');  // u with umlaut
  EXPECT_EQ(Windows1252ToCodePoint(0x80), U'\u20AC');  // euro sign
  EXPECT_EQ(Windows1252ToCodePoint(0x84), U'\u201E');  // low double quote
  EXPECT_EQ(Windows1252ToCodePoint(0x9F), U'\u0178');
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(Windows1252ToCodePoint(undefined), char32_t{undefined});
  }
}

TEST(Windows1252, EveryByteStringRoundTripsThroughUtf8) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte)
    all += static_cast<char>(byte);
  std::string back;
  char32_t unmappable = 0;
  ASSERT_TRUE(Utf8ToWindows1252(Windows1252ToUtf8(all), &back, &unmappable));
  EXPECT_EQ(back, all);
  EXPECT_EQ(Windows1252ToUtf8("Gr\xF6\xDF"
                              "e"),
            "Gr\u00F6\u00DFe");
  EXPECT_FALSE(Utf8ToWindows1252("\u4E2D", &back, &unmappable));  // no such byte
  EXPECT_EQ(unmappable, U'\u4E2D');
}

}  // namespace
}  // namespace kbh
