// List boxes: rows of text in a font's row height, one row selectable, with
// an arrow column to scroll when there are more entries than rows. The
// arrows step once at the press and again while held; there is no thumb to
// drag, the track between the arrows is decoration.
//
// The screen logic places a box (font, x, y, SetExtent), fills it, calls
// Update once per frame and reads HasChanged and the selection after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "ui/widgets/widget_context.hpp"

namespace kbh {

struct ScrollItem {
  std::string text;
  uint32_t value = 0;
};

struct ScrollBox {
  // The disabled byte as the screen logic writes it: bit 0 is what counts.
  static constexpr uint8_t kDisable = 3;
  static constexpr uint8_t kEnable = 2;

  std::vector<ScrollItem> items;
  // Not owned; its lineHeight is the row height.
  FontRecord* font = nullptr;
  int32_t width = -1;
  int32_t height = -1;
  int32_t x = 0;
  int32_t y = 0;
  uint8_t rows = 0;
  // The entry shown in the top row.
  int32_t first = 0;
  int32_t count = 0;
  // -1 = none.
  int32_t hovered = -1;
  int32_t selected = -1;
  // 1 once the selection changed; cleared by the next Update with the
  // pointer over the list.
  uint8_t changed = 0;
  // Bit 0: no input, grey text, no selection bar.
  uint8_t disabled = 0;
  // Which arrow the pointer is on: kOnNoArrow, kOnUpArrow or kOnDownArrow.
  uint16_t arrowState = 0;
  static constexpr uint16_t kOnNoArrow = 0;
  static constexpr uint16_t kOnUpArrow = 1;
  static constexpr uint16_t kOnDownArrow = 2;

  // Appends a copy of text.
  void AddItem(std::string_view text, uint32_t value);
  // No entries, scrolled to the top, nothing hovered or selected.
  void Clear();
  // With a font set, the height follows: rows x lineHeight + 4.
  void SetExtent(int32_t boxWidth, uint8_t rowCount);
  // Out-of-range indexes select nothing. A different index sets changed.
  void Select(int32_t index);
  // 0 when nothing is selected.
  uint32_t GetSelectedValue() const;
  bool HasChanged() const { return changed != 0; }
  bool IsDisabled() const { return (disabled & 1) != 0; }
  // One entry at a time, never before the first entry or past the last page.
  void ScrollUp();
  void ScrollDown();

  void Update(WidgetContext& context);
  void Draw(GraphicsDevice& graphics, const ScrollBoxSkin& skin) const;

  // Releases the shared skin, then clears this box: shutdown calls it on
  // every box, and releasing empty slots again does nothing.
  void ReleaseSkin(ScrollBoxSkin& skin);
};

// Releases what the slot held and loads path into it; true when it loaded.
// Slots outside the skin are refused.
bool LoadSkinImage(ScrollBoxSkin& skin, GraphicsDevice& graphics, int slot, const char* path);

}  // namespace kbh
