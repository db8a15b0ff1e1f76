#include "ui/widgets/message_line.hpp"

#include "ui/screen_positions.hpp"

namespace kbh {

namespace {

constexpr int kFontHeight = 13;
constexpr int kFontWeight = 500;
constexpr uint32_t kTextColor = 0xFFDD5252;

}  // namespace

bool MessageLine::CreateFont(GraphicsDevice& graphics) {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return false;
  font = CreateTextFont(*device, kFontHeight, kFontWeight, nullptr, "Verdana");
  return font != nullptr;
}

void MessageLine::Draw(GraphicsDevice& graphics) const {
  Device* device = graphics.GetDevice();
  if (device == nullptr || text == nullptr || text[0] == '\0') return;
  DrawTextAt(*device, font.get(), layout::kMessageLine.x, layout::kMessageLine.y, text, kTextColor);
}

void MessageLine::ReleaseFont(GraphicsDevice& graphics) {
  if (Device* device = graphics.GetDevice(); device != nullptr) {
    ReleaseTextFont(*device, font);
  } else {
    font.reset();
  }
}

}  // namespace kbh
