// Text on screen: fonts with their atlas texture on the device, and the two
// ways the program draws text (one unclipped line at a point; word-wrapped
// text clipped to a box), plus the measuring the text boxes need.
//
// Text is Windows-1252. Every function accepts a null font record and then
// does nothing (measuring answers 0), as the statistics line relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/font/font.hpp"
#include "platform/font/text_layout.hpp"
#include "platform/gpu/device.hpp"

namespace kbh {

struct FontRecord {
  std::unique_ptr<Font> font;
  TextureHandle atlas = TextureHandle::kNone;
  // Row step of multi-line lists: height x 96 dpi / 100, truncated (13 for a
  // height of 14). Deliberately not the font's own line step: list layouts
  // were designed around this number.
  int32_t lineHeight = 0;
  // Reused by every draw with this font, so drawing a frame's texts
  // allocates nothing once each has been seen.
  TextLayout scratch;
};

// The screen's vertical resolution in dots per inch that lineHeight assumes.
constexpr int kScreenDpi = 96;

// A font of face faceName at cell height `height` (pixels) and Windows weight
// `weight`, its atlas uploaded to device. reserved is accepted and ignored.
// Null when the font cannot be opened or its texture not created.
std::unique_ptr<FontRecord> CreateTextFont(Device& device, int height, int weight,
                                           const void* reserved, std::string_view faceName);

// Releases the atlas and the record and leaves record null; false when it was
// null already.
bool ReleaseTextFont(Device& device, std::unique_ptr<FontRecord>& record);

// The text with its top-left corner at (x, y), unclipped and unwrapped; a
// line feed still starts a new line below.
void DrawTextAt(Device& device, FontRecord* font, int x, int y, std::string_view text,
                uint32_t color);

// The text word-wrapped inside the box from (x, y) to (x + w, y + h), where
// w and h are size.right and size.bottom (size.left and size.top are not
// used), tabs expanded, cut to the box.
void DrawTextInBox(Device& device, FontRecord* font, int x, int y, std::string_view text,
                   uint32_t color, PixelRect size);

// The size DrawTextInBox gives the text in a box of the given width: the
// widest line and the number of lines x the font's line step.
TextSize MeasureTextInBox(const FontRecord* font, std::string_view text, int width);

}  // namespace kbh
