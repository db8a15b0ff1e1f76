#include "platform/font/text_layout.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/font/fake_font.hpp"

namespace kbh {
namespace {

// Blocks 10 pixels wide, line step 14 (ascent 11 + descent 3), tab stops
// every 80 pixels.
constexpr int kAdvance = 10;
constexpr int kAscent = 11;
constexpr int kLineStep = 14;

const Font& Blocks() {
  static const Font font = MakeBlockFont(kAdvance, kAscent, kLineStep - kAscent);
  return font;
}

// Which byte an unclipped quad of the block font shows.
char ByteOf(const GlyphQuad& quad) {
  const int column = (static_cast<int>(quad.u0) - 1) / (kAdvance + 1);
  const int row = (static_cast<int>(quad.v0) - 1) / (kAscent + 1);
  return static_cast<char>(row * 16 + column);
}

// The drawn text as a grid of characters, one string per line, blanks where
// nothing was drawn; positions must fall on the grid.
std::vector<std::string> Drawn(const TextLayout& layout, int left = 0, int top = 0) {
  std::vector<std::string> lines;
  for (const GlyphQuad& quad : layout.quads) {
    const int x = static_cast<int>(quad.x0) - left;
    const int y = static_cast<int>(quad.y0) - top;
    EXPECT_EQ(x % kAdvance, 0) << "glyph off the grid";
    EXPECT_EQ(y % kLineStep, 0) << "line off the grid";
    const size_t row = y / kLineStep;
    const size_t column = x / kAdvance;
    if (lines.size() <= row) lines.resize(row + 1);
    if (lines[row].size() <= column) lines[row].resize(column + 1, ' ');
    lines[row][column] = ByteOf(quad);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TextLayout Lay(std::string_view text, PixelRect box, uint32_t format) {
  TextLayout layout;
  LayoutText(Blocks(), text, box, format, &layout);
  return layout;
}

constexpr uint32_t kBox = kTextWordBreak | kTextExpandTabs;

TEST(TextLayout, WrapsBreaksTabsAndLineEnds) {
  const struct {
    std::string_view text;
    int width;
    uint32_t format;
    Lines lines;
  } cases[] = {
      // Wraps at the last space that fits, also when the line fills the box.
      {"aaa bbb ccc", 75, kBox, {"aaa bbb", "ccc"}},
      {"aaa bbb ccc", 70, kBox, {"aaa bbb", "ccc"}},
      {"aaa bbb ccc", 69, kBox, {"aaa", "bbb", "ccc"}},
      // Blanks at a break go; a paragraph's leading blanks are text.
      {"aaa   bbb", 50, kBox, {"aaa", "bbb"}},
      {"aaaa bbb", 40, kBox, {"aaaa", "bbb"}},
      {"  ab cd", 60, kBox, {"  ab", "cd"}},
      // A word too long for a line gets its own line, then breaks anywhere.
      {"abcdefghij", 35, kBox, {"abc", "def", "ghi", "j"}},
      {"xy abcdefgh", 35, kBox, {"xy", "abc", "def", "gh"}},
      {"abc", 5, kBox, {"a", "b", "c"}},
      // No wrapping without the word break flag or without a width.
      {"aaa bbb ccc", 20, kTextNoClip, {"aaa bbb ccc"}},
      {"aaa bbb ccc", 0, kBox | kTextNoClip, {"aaa bbb ccc"}},
      // Tabs stop every eight average widths, unexpanded take no room, and an
      // indenting tab stays when the word behind it breaks.
      {"a\tb", 0, kTextExpandTabs | kTextNoClip, {"a       b"}},
      {"a\tb", 0, kTextNoClip, {"ab"}},
      {"\tabcdef", 120, kBox, {"        abcd", "ef"}},
      // Line feeds end lines; carriage returns are ignored.
      {"a\r\nb", 0, kTextNoClip, {"a", "b"}},
      {"a\nb", 0, kTextNoClip, {"a", "b"}},
      {"a\rb", 0, kTextNoClip, {"ab"}},
      // Windows-1252 glyphs; undefined and control bytes take no room.
      {"M\xFCller", 0, kTextNoClip, {"M\xFCller"}},
      {"a\x81\x8D\x8F\x90\x9D\x01\x7Fz", 0, kTextNoClip, {"az"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Drawn(Lay(c.text, {0, 0, c.width, 100}, c.format)), c.lines);
  }
}

TEST(TextLayout, SizesAndTabStops) {
  TextLayout layout = Lay("aaa bbb ccc", {0, 0, 75, 100}, kBox);
  EXPECT_EQ(layout.size.width, 70);
  EXPECT_EQ(layout.size.height, 2 * kLineStep);
  // Blanks dropped at a break do not count towards the width.
  EXPECT_EQ(Lay("aaa   bbb", {0, 0, 50, 100}, kBox).size.width, 30);
  EXPECT_EQ(Lay("a\x81\x9Dz", {0, 0, 0, 0}, kTextNoClip).size.width, 2 * kAdvance);
  EXPECT_EQ(MeasureText(Blocks(), "aaa bbb ccc", -5, kBox).width, 110);

  // From column 9 the next stop is column 16; stops count from the box's left
  // edge, not from the screen's.
  EXPECT_EQ(Drawn(Lay("abcdefghi\tb", {0, 0, 0, 100}, kTextExpandTabs | kTextNoClip))[0].size(),
            17u);
  EXPECT_EQ(Drawn(Lay("a\tb", {300, 0, 0, 100}, kTextExpandTabs | kTextNoClip), 300),
            (Lines{"a       b"}));

  const auto height = [](std::string_view text) {
    return MeasureText(Blocks(), text, 100, kBox).height / kLineStep;
  };
  EXPECT_EQ(height(""), 0);
  EXPECT_EQ(height("\n"), 1);
  EXPECT_EQ(height("a\n"), 1);
  EXPECT_EQ(height("a\n\nb"), 3);
  EXPECT_EQ(height("a\r\n\r\nb\r\n"), 3);
  // A wrap right at the end of a paragraph leaves no empty line behind.
  EXPECT_EQ(Lay("aaaa \nbb", {0, 0, 40, 100}, kBox).size.height, 2 * kLineStep);
}

TEST(TextLayout, MeasuringDrawsNothingAndMatchesTheDrawnLayout) {
  const std::string text = "Teil wird\tausgetauscht!\nNeue Zeile mit einem langen Wort";
  TextLayout drawn = Lay(text, {0, 0, 130, 1000}, kBox);
  TextLayout measured = Lay(text, {0, 0, 130, 1000}, kBox | kTextCalcRect);
  const TextSize size = MeasureText(Blocks(), text, 130, kBox);
  EXPECT_TRUE(measured.quads.empty());
  EXPECT_EQ(drawn.size.height, static_cast<int>(Drawn(drawn).size()) * kLineStep);
  EXPECT_LE(drawn.size.width, 130);
  for (const TextSize& other : {measured.size, size}) {
    EXPECT_EQ(other.width, drawn.size.width);
    EXPECT_EQ(other.height, drawn.size.height);
  }
}

TEST(TextLayout, ClipsGlyphsToTheBoxUnlessToldNotTo) {
  // 3.5 characters wide, 1.5 lines high.
  const PixelRect box{100, 50, 135, 71};
  TextLayout layout = Lay("abcdef\nghijkl\nmnopqr", box, 0);
  ASSERT_EQ(layout.quads.size(), 4u + 4u);  // abc + d cut, then ghi + j cut
  const GlyphQuad& d = layout.quads[3];
  EXPECT_EQ(d.x0, 130);
  EXPECT_EQ(d.x1, 135);
  EXPECT_EQ(d.u1 - d.u0, 5);
  const GlyphQuad& g = layout.quads[4];
  EXPECT_EQ(g.y0, 64);
  EXPECT_EQ(g.y1, 71);
  EXPECT_EQ(g.v1 - g.v0, 7);
  for (const GlyphQuad& quad : layout.quads) {
    EXPECT_GE(quad.x0, box.left);
    EXPECT_LE(quad.x1, box.right);
    EXPECT_GE(quad.y0, box.top);
    EXPECT_LE(quad.y1, box.bottom);
  }
  // The measured size is that of the whole text, clipped or not.
  EXPECT_EQ(layout.size.height, 3 * kLineStep);
  EXPECT_EQ(layout.size.width, 60);

  EXPECT_EQ(Lay("abcdef\nghijkl\nmnopqr", box, kTextNoClip).quads.size(), 18u);
}

TEST(TextLayout, ReusesTheQuadBuffer) {
  TextLayout layout;
  LayoutText(Blocks(), "a long line of text to draw", {0, 0, 0, 0}, kTextNoClip, &layout);
  const GlyphQuad* buffer = layout.quads.data();
  LayoutText(Blocks(), "short", {0, 0, 0, 0}, kTextNoClip, &layout);
  EXPECT_EQ(layout.quads.size(), 5u);
  EXPECT_EQ(layout.quads.data(), buffer);
}

}  // namespace
}  // namespace kbh
