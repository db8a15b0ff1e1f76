#include "platform/font/fake_font.hpp"

#include <algorithm>

#include "platform/font/windows1252.hpp"

namespace kbh {

Font MakeBlockFont(int advance, int ascent, int descent) {
  advance = std::max(1, advance);
  ascent = std::max(1, ascent);
  descent = std::max(0, descent);
  Font font;
  font.cellHeight = ascent + descent;
  font.ascent = ascent;
  font.descent = descent;
  font.lineStep = ascent + descent;
  font.averageCharWidth = advance;
  font.familyName = "Block";

  // One cell per byte on a 16 x 16 grid with a clear texel between cells.
  const int cellWidth = advance + 1;
  const int cellHeight = ascent + 1;
  Image& atlas = font.atlas;
  atlas.width = 16 * cellWidth + 1;
  atlas.height = 16 * cellHeight + 1;
  atlas.sourceFormat = FMT_A8R8G8B8;
  atlas.texels.assign(static_cast<size_t>(atlas.width) * atlas.height, 0x00FFFFFFu);
  for (int byte = 0; byte < 256; ++byte) {
    if (!IsPrintableWindows1252(static_cast<uint8_t>(byte))) continue;
    GlyphMetrics& glyph = font.glyphs[byte];
    glyph.advance = advance;
    if (byte == ' ' || byte == 0xA0) continue;
    glyph.bearingY = ascent;
    glyph.atlasX = 1 + (byte % 16) * cellWidth;
    glyph.atlasY = 1 + (byte / 16) * cellHeight;
    glyph.width = advance;
    glyph.height = ascent;
    for (int row = 0; row < ascent; ++row) {
      std::fill_n(atlas.texels.begin() + (glyph.atlasY + row) * atlas.width + glyph.atlasX, advance,
                  0xFFFFFFFFu);
    }
  }
  return font;
}

}  // namespace kbh
