// Reading what the program shows in a screenshot, as a user reads it: the
// number of the statistics line, coloured pixels, changed regions. The
// number is read by matching the main font's own glyphs at the place the
// text is drawn, so a test can say "the vertex count fell" without trusting
// the count the program computes.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/font/font.hpp"
#include "platform/font/text_layout.hpp"
#include "platform/image/image.hpp"
#include "tests/e2e/support/program_session.hpp"

namespace kbh::testing {

inline uint32_t TexelAt(const Image& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0xFF000000u;
  return image.texels[size_t(y) * image.width + x];
}

struct Region {
  int left;
  int top;
  int right;
  int bottom;
};

// Pixels of the region for which pick() holds.
template <typename Pick>
int CountPixels(const Image& shot, Region region, Pick pick) {
  int count = 0;
  for (int y = region.top; y < region.bottom; ++y) {
    for (int x = region.left; x < region.right; ++x)
      count += pick(TexelAt(shot, x, y)) ? 1 : 0;
  }
  return count;
}

// Pixels that differ by more than `levels` in some channel.
inline int CountDifferent(const Image& a, const Image& b, Region region, int levels = 40) {
  int count = 0;
  for (int y = region.top; y < region.bottom; ++y) {
    for (int x = region.left; x < region.right; ++x) {
      if (Distance(TexelAt(a, x, y), TexelAt(b, x, y)) > levels) ++count;
    }
  }
  return count;
}

inline int Channel(uint32_t colour, int shift) {
  return int((colour >> shift) & 0xFF);
}

// Whether one channel clearly outweighs both others, as a painted surface
// keeps its hue under the light.
inline bool Dominated(uint32_t colour, int shift) {
  const int own = Channel(colour, shift);
  for (int other : {16, 8, 0}) {
    if (other != shift && own < Channel(colour, other) + 50) return false;
  }
  return true;
}

// Pearson correlation of a glyph's coverage with the brightness below it.
inline double GlyphMatch(const Image& shot, const Font& font, const GlyphQuad& quad) {
  const int width = int(quad.x1 - quad.x0);
  const int height = int(quad.y1 - quad.y0);
  const int atlasX = int(quad.u0);  // texels of the atlas
  const int atlasY = int(quad.v0);
  double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
  int n = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double coverage = double(TexelAt(font.atlas, atlasX + x, atlasY + y) >> 24);
      const uint32_t seen = TexelAt(shot, int(quad.x0) + x, int(quad.y0) + y);
      const double light = Channel(seen, 16) + Channel(seen, 8) + Channel(seen, 0);
      sa += coverage, sb += light, saa += coverage * coverage, sbb += light * light;
      sab += coverage * light, ++n;
    }
  }
  if (n == 0) return 0;
  const double va = saa - sa * sa / n;
  const double vb = sbb - sb * sb / n;
  if (va <= 0 || vb <= 0) return 0;
  return (sab - sa * sb / n) / std::sqrt(va * vb);
}

// The program's fonts, opened once per test program.
struct FontChoice {
  const char* face;
  int height;
  int weight;
};
inline constexpr FontChoice kMainFont{"Verdana", 14, 520};
inline constexpr FontChoice kTextBoxFont{"Verdana", 15, 600};
inline constexpr FontChoice kStatusFont{"Verdana", 13, 500};
inline constexpr FontChoice kSellerFont{"Verdana", 13, 600};

inline const Font* FontOf(FontChoice choice) {
  static std::map<std::tuple<std::string, int, int>, std::unique_ptr<Font>> fonts;
  auto& font = fonts[{choice.face, choice.height, choice.weight}];
  if (font == nullptr) font = OpenFont(choice.face, choice.height, choice.weight);
  return font.get();
}

// The weakest match of any glyph of text laid out at (x, y) (Windows-1252
// bytes, lines split at "\n"); 0 when nothing can be compared.
inline double TextMatch(const Image& shot, FontChoice choice, const std::string& text, int x,
                        int y) {
  const Font* font = FontOf(choice);
  if (font == nullptr) return 0;
  TextLayout layout;
  LayoutText(*font, text, PixelRect{x, y, x, y}, kTextNoClip, &layout);
  double weakest = layout.quads.empty() ? 0 : 1;
  for (const GlyphQuad& quad : layout.quads)
    weakest = std::min(weakest, GlyphMatch(shot, *font, quad));
  return weakest;
}

// Whether text is drawn at (x, y): every glyph matches clearly.
inline bool ShowsText(const Image& shot, FontChoice choice, const std::string& text, int x, int y) {
  return TextMatch(shot, choice, text, x, y) > 0.6;
}

// Whether text is drawn anywhere with its top-left corner inside region.
inline bool ShowsTextWithin(const Image& shot, FontChoice choice, const std::string& text,
                            Region region) {
  for (int y = region.top; y < region.bottom; ++y) {
    for (int x = region.left; x < region.right; ++x) {
      if (ShowsText(shot, choice, text, x, y)) return true;
    }
  }
  return false;
}

// The number that follows `label` in text drawn with the main font at
// (x, y); -1 when no digit can be read there.
inline long ReadNumberAfter(const Image& shot, const std::string& label, int x, int y) {
  std::string digits;
  while (digits.size() < 9) {
    char best = 0;
    double bestMatch = 0.6;  // below this the place shows no digit
    for (char digit = '0'; digit <= '9'; ++digit) {
      const std::string text = label + digits + digit;
      const Font* font = FontOf(kMainFont);
      if (font == nullptr) return -1;
      TextLayout layout;
      LayoutText(*font, text, PixelRect{x, y, x, y}, kTextNoClip, &layout);
      if (layout.quads.empty()) continue;
      const double match = GlyphMatch(shot, *font, layout.quads.back());
      if (match > bestMatch) bestMatch = match, best = digit;
    }
    if (best == 0) break;
    digits += best;
  }
  return digits.empty() ? -1 : std::stol(digits);
}

// "Vertices: %u" of the statistics line.
inline long ReadVertexCount(const Image& shot) {
  return ReadNumberAfter(shot, "Vertices: ", 150, 15);
}

}  // namespace kbh::testing
