// Text layout with the rules of the DrawText calls the program makes: lines
// end at "\n" (a "\r" is ignored, so "\r\n" ends a line too), word wrap inside
// a box, tab stops, measuring, clipping. The result is a list of textured quads
// at whole-pixel positions, ready for Device::DrawGlyphs with the font's atlas.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/font/font.hpp"
#include "platform/gpu/device.hpp"

namespace kbh {

// Format flags, numbered as DrawText numbers them. Text always starts at the
// box's top left.
constexpr uint32_t kTextWordBreak = 0x10;
constexpr uint32_t kTextExpandTabs = 0x40;
constexpr uint32_t kTextNoClip = 0x100;
constexpr uint32_t kTextCalcRect = 0x400;

// Tab stops lie at multiples of this many average character widths from the
// left edge of the box.
constexpr int kTabStopChars = 8;

struct TextSize {
  // The widest line (whitespace dropped at wrap points does not count).
  int width = 0;
  // Number of lines × the font's line step.
  int height = 0;
};

struct TextLayout {
  // Reused between layouts: keep one TextLayout per call site and drawing
  // allocates nothing once it has seen its longest text.
  std::vector<GlyphQuad> quads;
  TextSize size;
};

// Lays text out in box: with kTextWordBreak, lines wrap at the box width
// (a width <= 0 never wraps); with kTextExpandTabs, tabs jump to the next tab
// stop (otherwise they take no room); without kTextNoClip, glyphs are cut to
// the box; with kTextCalcRect, only layout->size is filled and no quads.
// layout->quads is replaced, its capacity kept.
void LayoutText(const Font& font, std::string_view text, const PixelRect& box, uint32_t format,
                TextLayout* layout);

// The size the text takes when wrapped at wrapWidth (with kTextWordBreak)
// under the given format: the answer of a calculate-rectangle call.
TextSize MeasureText(const Font& font, std::string_view text, int wrapWidth, uint32_t format);

}  // namespace kbh
