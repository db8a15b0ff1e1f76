// 2D drawing of pictures and lines in back-buffer pixels, origin top left,
// y down. Each call draws at once, in call order. (Text is gfx/text.)
#pragma once

#include <memory>

#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/math/math.hpp"

namespace kbh {

// The picture at its own size with its top-left corner at (x, y), texel for
// pixel. 1 when drawn; 0 for a null record or one whose blend byte is 255.
// Turns the depth test and multisampling off through the cache (the 3D
// passes turn them on again for themselves). A8R8G8B8 pictures and those
// with a non-zero blend byte are alpha-blended, all others opaque.
int DrawTexture(GraphicsDevice& graphics, const TextureRecord* record, int x, int y);
// The same, stretched so the picture covers w x h pixels.
int DrawTextureScaled(GraphicsDevice& graphics, const TextureRecord* record, int x, int y, int w,
                      int h);

// Thick lines, as the loading bar draws them: antialiased, solid and
// alpha-blended, with square-cut ends exactly at the end points.
class Line {
 public:
  explicit Line(GraphicsDevice& graphics) : graphics_(graphics) {}
  void SetWidth(float width) { width_ = width; }
  float Width() const { return width_; }
  // A polyline through count points.
  void Draw(const Vec2* points, int count, uint32_t color);

 private:
  GraphicsDevice& graphics_;
  float width_ = 1.0f;
};

// Null without a device.
std::unique_ptr<Line> CreateLine(GraphicsDevice& graphics);
void ReleaseLine(std::unique_ptr<Line>& line);

}  // namespace kbh
