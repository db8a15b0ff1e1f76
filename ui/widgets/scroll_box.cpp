#include "ui/widgets/scroll_box.hpp"

#include "gfx/draw2d.hpp"

namespace kbh {

namespace {

constexpr uint32_t kItemColor = 0xFFFFFFFF;
constexpr uint32_t kDisabledItemColor = 0xFFB4B4B4;
// The arrow column reaches this far right of the box and the arrows this far
// above and below it, so the arrows sit on the box's frame.
constexpr int32_t kArrowColumnOverhang = 5;
constexpr int32_t kArrowOverhang = 4;
// The arrow column starts this far inside the arrows' outer edges, and each
// arrow's zone reaches this far past its picture's inner edge.
constexpr int32_t kArrowZoneSlack = 2;
// The selection bar leaves room for the arrow column when it shows.
constexpr int32_t kScrollBarGap = 8;

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

Size SizeOf(const ScrollBoxSkin& skin, int slot) {
  const TextureRecord* image = skin.images[slot].get();
  if (image == nullptr) return {};
  return {image->width, image->height};
}

int32_t LineHeightOf(const FontRecord* font) {
  return font != nullptr ? font->lineHeight : 0;
}

}  // namespace

void ScrollBox::AddItem(std::string_view text, uint32_t value) {
  items.push_back(ScrollItem{std::string(text), value});
  count = static_cast<int32_t>(items.size());
}

void ScrollBox::Clear() {
  items.clear();
  count = 0;
  first = 0;
  hovered = -1;
  selected = -1;
}

void ScrollBox::SetExtent(int32_t boxWidth, uint8_t rowCount) {
  width = boxWidth;
  rows = rowCount;
  if (font != nullptr) height = rows * font->lineHeight + 4;
}

void ScrollBox::Select(int32_t index) {
  if (index != selected) changed = 1;
  selected = (index >= 0 && index < count) ? index : -1;
}

uint32_t ScrollBox::GetSelectedValue() const {
  if (selected < 0 || selected >= count) return 0;
  return items[static_cast<size_t>(selected)].value;
}

void ScrollBox::ScrollUp() {
  if (first > 0) --first;
}

void ScrollBox::ScrollDown() {
  if (first < count - rows) ++first;
}

void ScrollBox::Update(WidgetContext& context) {
  arrowState = kOnNoArrow;
  if (IsDisabled()) {
    hovered = -1;
    return;
  }
  const MouseState mouse = PointerOf(context);
  const int64_t mx = mouse.x;
  const int64_t my = mouse.y;
  const int64_t right = int64_t{x} + width;
  const int64_t bottom = int64_t{y} + height;

  if (count > rows) {
    const Size up = SizeOf(context.scrollSkin, kScrollUpArrow);
    const Size down = SizeOf(context.scrollSkin, kScrollDownArrow);
    const bool inArrowColumn = right - up.width + kArrowColumnOverhang < mx &&
                               mx < right + kArrowColumnOverhang && y - kArrowZoneSlack < my &&
                               my < bottom + kArrowZoneSlack;
    if (inArrowColumn) {
      uint32_t& stamp = context.scrollRepeatStamp;
      const auto step = [&](void (ScrollBox::*scroll)()) {
        const uint32_t now = NowOf(context);
        if (LeftWentDown(mouse)) {
          (this->*scroll)();
          stamp = now;
        }
        if (stamp != 0 && LeftHeld(mouse) && now - stamp > kArrowRepeatMs) {
          (this->*scroll)();
          stamp = now;
        }
      };
      if (my < y + up.height - kArrowZoneSlack) {
        step(&ScrollBox::ScrollUp);
        arrowState = kOnUpArrow;
      }
      if (my > bottom - down.height + kArrowZoneSlack) {
        step(&ScrollBox::ScrollDown);
        arrowState = kOnDownArrow;
      }
      return;
    }
  }

  if (!(x <= mx && mx <= right && y <= my && my <= bottom)) {
    hovered = -1;
    return;
  }
  const int32_t lineHeight = LineHeightOf(font);
  if (count > 0) {
    // Without a font there are no rows to point at.
    const int64_t row = lineHeight > 0 ? (my - y) / lineHeight : rows;
    hovered = (row < count && row < rows) ? first + static_cast<int32_t>(row) : -1;
  }
  changed = 0;
  if (LeftWentDown(mouse)) {
    // A click below the last row selects nothing, which is a change too.
    if (selected != hovered) changed = 1;
    selected = hovered;
  }
}

void ScrollBox::Draw(GraphicsDevice& graphics, const ScrollBoxSkin& skin) const {
  const int32_t lineHeight = LineHeightOf(font);
  const bool scrollBarShown = count > rows;

  const int32_t selectedRow = selected - first;
  if (!IsDisabled() && selected != -1 && selectedRow >= 0 && selectedRow < rows) {
    DrawTextureScaled(graphics, skin.images[kScrollSelectionBar].get(), x,
                      y + 2 + selectedRow * lineHeight,
                      scrollBarShown ? width - kScrollBarGap : width, lineHeight);
  }

  if (Device* device = graphics.GetDevice(); device != nullptr && first >= 0) {
    const uint32_t color = IsDisabled() ? kDisabledItemColor : kItemColor;
    for (int32_t i = 0; i < rows && first + i < count; ++i) {
      DrawTextAt(*device, font, x + 2, y + 1 + i * lineHeight,
                 items[static_cast<size_t>(first + i)].text, color);
    }
  }

  if (scrollBarShown) {
    const Size up = SizeOf(skin, kScrollUpArrow);
    const Size down = SizeOf(skin, kScrollDownArrow);
    const Size track = SizeOf(skin, kScrollTrack);
    const int32_t columnRight = x + width + kArrowColumnOverhang;
    DrawTexture(graphics,
                skin.images[arrowState == kOnUpArrow ? kScrollUpArrowHover : kScrollUpArrow].get(),
                columnRight - up.width, y - kArrowOverhang);
    DrawTexture(
        graphics,
        skin.images[arrowState == kOnDownArrow ? kScrollDownArrowHover : kScrollDownArrow].get(),
        columnRight - down.width, y + height + kArrowOverhang - down.height);
    DrawTextureScaled(graphics, skin.images[kScrollTrack].get(), columnRight - track.width,
                      y - kArrowOverhang + up.height, track.width,
                      height + 2 * kArrowOverhang - 2 * down.height);
  }
}

void ScrollBox::ReleaseSkin(ScrollBoxSkin& skin) {
  for (auto& image : skin.images)
    ReleaseTexture(image);
  Clear();
}

bool LoadSkinImage(ScrollBoxSkin& skin, GraphicsDevice& graphics, int slot, const char* path) {
  if (slot < 0 || slot >= kScrollSkinSlotCount) return false;
  ReleaseTexture(skin.images[static_cast<size_t>(slot)]);
  skin.images[static_cast<size_t>(slot)] = LoadBmp(graphics, path);
  return skin.images[static_cast<size_t>(slot)] != nullptr;
}

}  // namespace kbh
