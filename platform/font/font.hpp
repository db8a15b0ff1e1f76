// Fonts as the rest of the program sees them: plain data made once, when the
// font is opened. All 256 Windows-1252 glyphs are rasterised up front into one
// atlas picture, so laying out and drawing text never touches the font library
// again and works the same with a hand-made font in tests.
//
// Typical use:
//   std::unique_ptr<Font> font = OpenFont("Verdana", 14, 520);
//   device.CreateTexture(font->atlas);              // once
//   TextLayout layout;
//   LayoutText(*font, "Gr\xFC\xDF" "e", box, kTextNoClip, &layout);  // per draw
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/image.hpp"

namespace kbh {

// Where one glyph sits in the atlas and how it sits on the line, in whole
// pixels. A glyph without a shape (space, undefined and control bytes) has an
// empty atlas rectangle.
struct GlyphMetrics {
  // How far the pen moves after the glyph; 0 for bytes that draw nothing.
  int advance = 0;
  // From the pen position to the left edge of the glyph picture.
  int bearingX = 0;
  // From the baseline up to the top edge of the glyph picture.
  int bearingY = 0;
  // The glyph picture inside the atlas, in texels.
  int atlasX = 0;
  int atlasY = 0;
  int width = 0;
  int height = 0;
};

struct Font {
  // The cell height that was asked for (ascent + descent at design size).
  int cellHeight = 0;
  // Baseline below the top of a line, and depth below the baseline.
  int ascent = 0;
  int descent = 0;
  // Distance between the tops of two lines of a layout: ascent + descent.
  int lineStep = 0;
  // The face's own average character width at this size; tabs stop at
  // multiples of eight of it.
  int averageCharWidth = 1;
  // Indexed by the Windows-1252 byte.
  std::array<GlyphMetrics, 256> glyphs{};
  // White texels whose alpha is the glyph coverage (A8R8G8B8), so that a tint
  // colour multiplies straight through.
  Image atlas;

  // Which face answered the request, for logs and tests.
  std::string familyName;
  std::string fileName;
  // The face's weight on the 100..900 scale, and whether strokes are thickened
  // because the family has no face heavy enough.
  int faceWeight = 400;
  bool syntheticBold = false;
};

// Largest cell height a font may be opened at; bounds the atlas to a few
// megabytes whatever a caller asks.
constexpr int kMaxFontCellHeight = 256;

// Finds the installed face closest to faceName ("Verdana" resolves to a
// metric-compatible or similar sans face) at the Windows weight (100..900;
// 0 means regular), and rasterises it at cellHeight pixels (ascent + descent,
// 1..kMaxFontCellHeight). Null when the height is out of range, no face is
// installed or the face cannot be read.
std::unique_ptr<Font> OpenFont(std::string_view faceName, int cellHeight, int weight);

}  // namespace kbh
