#include "tools/workshop/lettering.hpp"

#include "platform/font/text_layout.hpp"

namespace kbh {

bool Lettering::Prepare(const TextStyle& style, std::string* error) {
  const auto key = std::make_tuple(style.face, style.cellHeight, style.weight);
  if (fonts_.count(key) != 0) return true;
  std::unique_ptr<Font> font = OpenFont(style.face, style.cellHeight, style.weight);
  if (!font) {
    if (error) *error = "no installed font answers \"" + style.face + "\"";
    return false;
  }
  fonts_.emplace(key, std::move(font));
  return true;
}

const Font* Lettering::Find(const TextStyle& style) const {
  const auto it = fonts_.find(std::make_tuple(style.face, style.cellHeight, style.weight));
  return it == fonts_.end() ? nullptr : it->second.get();
}

int Lettering::Width(const TextStyle& style, std::string_view text) const {
  const Font* font = Find(style);
  if (!font) return 0;
  int width = 0;
  for (const char c : text)
    width += font->glyphs[static_cast<uint8_t>(c)].advance;
  return width;
}

void Lettering::Draw(Canvas& canvas, const TextStyle& style, std::string_view text, int x, int y,
                     const PaintFunction& paint) const {
  const Font* font = Find(style);
  if (!font) return;
  int pen = x;
  const int baseline = y + font->ascent;
  for (const char c : text) {
    const GlyphMetrics& glyph = font->glyphs[static_cast<uint8_t>(c)];
    const int left = pen + glyph.bearingX;
    const int top = baseline - glyph.bearingY;
    for (int gy = 0; gy < glyph.height; ++gy) {
      for (int gx = 0; gx < glyph.width; ++gx) {
        const uint32_t texel =
            font->atlas.texels[static_cast<size_t>(glyph.atlasY + gy) * font->atlas.width +
                               glyph.atlasX + gx];
        const float coverage = static_cast<float>(texel >> 24) / 255.0f;
        if (coverage <= 0.0f) continue;
        const int px = left + gx;
        const int py = top + gy;
        canvas.Blend(px, py, paint(static_cast<float>(px) + 0.5f, static_cast<float>(py) + 0.5f),
                     coverage);
      }
    }
    pen += glyph.advance;
  }
}

void Lettering::Draw(Canvas& canvas, const TextStyle& style, std::string_view text, int x, int y,
                     Rgba colour) const {
  Draw(canvas, style, text, x, y, [colour](float, float) { return colour; });
}

void Lettering::DrawCentred(Canvas& canvas, const TextStyle& style, std::string_view text,
                            int centreX, int y, Rgba colour) const {
  Draw(canvas, style, text, centreX - Width(style, text) / 2, y, colour);
}

int Lettering::DrawInBox(Canvas& canvas, const TextStyle& style, std::string_view text, int x,
                         int y, int width, int height, Rgba colour) const {
  const Font* font = Find(style);
  if (!font) return 0;
  TextLayout layout;
  LayoutText(*font, text, PixelRect{x, y, x + width, y + height}, kTextWordBreak | kTextExpandTabs,
             &layout);
  for (const GlyphQuad& quad : layout.quads) {
    const int left = static_cast<int>(quad.x0), top = static_cast<int>(quad.y0);
    const int u0 = static_cast<int>(quad.u0), v0 = static_cast<int>(quad.v0);
    for (int gy = 0; gy < static_cast<int>(quad.y1 - quad.y0); ++gy) {
      for (int gx = 0; gx < static_cast<int>(quad.x1 - quad.x0); ++gx) {
        const uint32_t texel =
            font->atlas.texels[static_cast<size_t>(v0 + gy) * font->atlas.width + u0 + gx];
        canvas.Blend(left + gx, top + gy, colour, static_cast<float>(texel >> 24) / 255.0f);
      }
    }
  }
  return layout.size.height;
}

}  // namespace kbh
