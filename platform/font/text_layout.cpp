#include "platform/font/text_layout.hpp"

#include <algorithm>
#include <climits>

namespace kbh {

namespace {

constexpr size_t kNoBreak = std::string_view::npos;

// Pens and line tops run in 64 bits so that no text, however long, can wrap
// them around; results are clamped when they leave.
using Pixels = int64_t;

int ClampToInt(Pixels value) {
  return static_cast<int>(std::clamp<Pixels>(value, INT_MIN, INT_MAX));
}

bool IsBreakSpace(uint8_t byte) {
  return byte == ' ' || byte == '\t';
}

// The room byte takes when the pen stands penX from the left edge of the box.
Pixels AdvanceAt(const Font& font, uint8_t byte, Pixels penX, bool expandTabs) {
  if (byte == '\t') {
    if (!expandTabs) return 0;
    const Pixels stop = Pixels{kTabStopChars} * std::max(1, font.averageCharWidth);
    return (penX / stop + 1) * stop - penX;
  }
  return font.glyphs[byte].advance;
}

// One line of the layout: bytes [begin, end) are drawn, next is where the
// following line starts.
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
  Pixels width = 0;
};

// Where the next line starts after the whitespace dropped at a wrap point. A
// line feed right behind that whitespace belongs to the same break, so a wrap
// at the end of a paragraph leaves no empty line behind.
size_t SkipBreakSpace(std::string_view text, size_t i) {
  while (i < text.size() && (IsBreakSpace(text[i]) || text[i] == '\r'))
    ++i;
  if (i < text.size() && text[i] == '\n') ++i;
  return i;
}

// The line that starts at begin. wrapWidth <= 0 means the line runs to the
// next line feed.
Line NextLine(const Font& font, std::string_view text, size_t begin, Pixels wrapWidth,
              bool expandTabs) {
  Pixels pen = 0;
  // Just behind the last byte that is not whitespace.
  size_t inkEnd = begin;
  Pixels inkWidth = 0;
  // The last whitespace that follows some ink: where a wrap prefers to break.
  size_t breakEnd = kNoBreak;
  size_t breakSpace = 0;
  Pixels breakWidth = 0;
  bool tookAny = false;

  for (size_t i = begin; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (byte == '\n') return {begin, i, i + 1, pen};
    if (byte == '\r') continue;
    const Pixels advance = AdvanceAt(font, byte, pen, expandTabs);
    const bool space = IsBreakSpace(byte);
    if (wrapWidth > 0 && pen + advance > wrapWidth) {
      if (space) return {begin, inkEnd, SkipBreakSpace(text, i), inkWidth};
      if (breakEnd != kNoBreak) {
        return {begin, breakEnd, SkipBreakSpace(text, breakSpace), breakWidth};
      }
      // A word longer than the line breaks after the last byte that fits; a
      // byte wider than the whole box still gets a line of its own, so the
      // layout always moves on.
      if (!tookAny) return {begin, i + 1, i + 1, advance};
      return {begin, i, i, pen};
    }
    if (space) {
      if (inkEnd > begin) {
        breakEnd = inkEnd;
        breakWidth = inkWidth;
        breakSpace = i;
      }
    } else {
      inkEnd = i + 1;
      inkWidth = pen + advance;
    }
    pen += advance;
    tookAny = true;
  }
  return {begin, text.size(), text.size(), pen};
}

void AppendQuad(const GlyphMetrics& glyph, Pixels x0, Pixels y0, const PixelRect* clip,
                std::vector<GlyphQuad>* quads) {
  Pixels x1 = x0 + glyph.width;
  Pixels y1 = y0 + glyph.height;
  Pixels u0 = glyph.atlasX;
  Pixels v0 = glyph.atlasY;
  Pixels u1 = u0 + glyph.width;
  Pixels v1 = v0 + glyph.height;
  if (clip) {
    // Texels map 1:1 onto pixels, so cutting the quad cuts its texture
    // rectangle by the same whole number of texels.
    const Pixels cutLeft = std::max<Pixels>(0, clip->left - x0);
    const Pixels cutTop = std::max<Pixels>(0, clip->top - y0);
    const Pixels cutRight = std::max<Pixels>(0, x1 - clip->right);
    const Pixels cutBottom = std::max<Pixels>(0, y1 - clip->bottom);
    x0 += cutLeft;
    u0 += cutLeft;
    y0 += cutTop;
    v0 += cutTop;
    x1 -= cutRight;
    u1 -= cutRight;
    y1 -= cutBottom;
    v1 -= cutBottom;
    if (x0 >= x1 || y0 >= y1) return;
  }
  quads->push_back({static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                    static_cast<float>(y1), static_cast<float>(u0), static_cast<float>(v0),
                    static_cast<float>(u1), static_cast<float>(v1)});
}

void EmitLine(const Font& font, std::string_view text, const Line& line, Pixels left, Pixels top,
              bool expandTabs, const PixelRect* clip, std::vector<GlyphQuad>* quads) {
  Pixels pen = 0;
  for (size_t i = line.begin; i < line.end; ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (byte == '\r') continue;
    const GlyphMetrics& glyph = font.glyphs[byte];
    if (glyph.width > 0 && glyph.height > 0) {
      AppendQuad(glyph, left + pen + glyph.bearingX, top + font.ascent - glyph.bearingY, clip,
                 quads);
    }
    pen += AdvanceAt(font, byte, pen, expandTabs);
  }
}

// Breaks the text into lines and, when quads is given, emits their glyphs.
TextSize Lay(const Font& font, std::string_view text, const PixelRect& box, uint32_t format,
             std::vector<GlyphQuad>* quads) {
  const Pixels boxWidth = Pixels{box.right} - box.left;
  const Pixels wrapWidth = (format & kTextWordBreak) && boxWidth > 0 ? boxWidth : 0;
  const bool expandTabs = (format & kTextExpandTabs) != 0;
  const PixelRect* clip = (format & kTextNoClip) ? nullptr : &box;

  Pixels widest = 0;
  Pixels lineTop = box.top;
  Pixels lineCount = 0;
  for (size_t pos = 0; pos < text.size();) {
    const Line line = NextLine(font, text, pos, wrapWidth, expandTabs);
    widest = std::max(widest, line.width);
    // Glyphs may reach a little beyond their line (accents, descenders);
    // only lines a whole step clear of the box are passed over unseen.
    const bool lineMayShow = !clip || (lineTop < Pixels{box.bottom} + font.lineStep &&
                                       lineTop + 2 * Pixels{font.lineStep} > box.top);
    if (quads && lineMayShow) {
      EmitLine(font, text, line, box.left, lineTop, expandTabs, clip, quads);
    }
    lineTop += font.lineStep;
    ++lineCount;
    pos = line.next;
  }
  return {ClampToInt(widest), ClampToInt(lineCount * font.lineStep)};
}

}  // namespace

void LayoutText(const Font& font, std::string_view text, const PixelRect& box, uint32_t format,
                TextLayout* layout) {
  layout->quads.clear();
  const bool measureOnly = (format & kTextCalcRect) != 0;
  layout->size = Lay(font, text, box, format, measureOnly ? nullptr : &layout->quads);
}

TextSize MeasureText(const Font& font, std::string_view text, int wrapWidth, uint32_t format) {
  return Lay(font, text, PixelRect{0, 0, wrapWidth, 0}, format | kTextCalcRect, nullptr);
}

}  // namespace kbh
