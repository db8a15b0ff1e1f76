// The TuneUp screen's status line ("Teil wird eingebaut!" and the like): one
// line of red text at a fixed place, in a font of its own.
#pragma once

#include <memory>

#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"

namespace kbh {

struct MessageLine {
  std::unique_ptr<FontRecord> font;
  // Not owned; null or empty shows nothing.
  const char* text = nullptr;

  // "Verdana" 13/500. False when the font cannot be made; the line then
  // draws nothing.
  bool CreateFont(GraphicsDevice& graphics);
  void SetText(const char* newText) { text = newText; }
  void Draw(GraphicsDevice& graphics) const;
  void ReleaseFont(GraphicsDevice& graphics);
};

}  // namespace kbh
