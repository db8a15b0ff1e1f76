#include "gfx/text.hpp"

#include <algorithm>
#include <climits>

namespace kbh {

namespace {

// Box edges from caller coordinates, saturated instead of wrapping around.
int EdgeAt(int origin, int extent) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{origin} + extent, INT_MIN, INT_MAX));
}

void DrawLaidOut(Device& device, FontRecord& font, uint32_t color, const PixelRect* clip) {
  if (font.scratch.quads.empty()) return;
  device.DrawGlyphs(font.atlas, font.scratch.quads, color, clip);
}

}  // namespace

std::unique_ptr<FontRecord> CreateTextFont(Device& device, int height, int weight,
                                           const void* /*reserved*/, std::string_view faceName) {
  auto record = std::make_unique<FontRecord>();
  record->font = OpenFont(faceName, height, weight);
  if (!record->font) return nullptr;
  record->lineHeight = kScreenDpi * height / 100;
  record->atlas = device.CreateTexture(record->font->atlas);
  if (record->atlas == TextureHandle::kNone) return nullptr;
  return record;
}

bool ReleaseTextFont(Device& device, std::unique_ptr<FontRecord>& record) {
  if (!record) return false;
  if (record->atlas != TextureHandle::kNone) device.ReleaseTexture(record->atlas);
  record.reset();
  return true;
}

void DrawTextAt(Device& device, FontRecord* font, int x, int y, std::string_view text,
                uint32_t color) {
  if (!font || !font->font) return;
  LayoutText(*font->font, text, PixelRect{x, y, x, y}, kTextNoClip, &font->scratch);
  DrawLaidOut(device, *font, color, nullptr);
}

void DrawTextInBox(Device& device, FontRecord* font, int x, int y, std::string_view text,
                   uint32_t color, PixelRect size) {
  if (!font || !font->font) return;
  const PixelRect box{x, y, EdgeAt(x, size.right), EdgeAt(y, size.bottom)};
  LayoutText(*font->font, text, box, kTextWordBreak | kTextExpandTabs, &font->scratch);
  // The quads are already cut to the box; no clip needs to reach the device.
  DrawLaidOut(device, *font, color, nullptr);
}

TextSize MeasureTextInBox(const FontRecord* font, std::string_view text, int width) {
  if (!font || !font->font) return {};
  return MeasureText(*font->font, text, width, kTextWordBreak | kTextExpandTabs);
}

}  // namespace kbh
