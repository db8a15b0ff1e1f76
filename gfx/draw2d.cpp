#include "gfx/draw2d.hpp"

namespace kbh {

namespace {

int DrawPicture(GraphicsDevice& graphics, const TextureRecord* record, const Matrix& transform,
                Vec3 position) {
  if (record == nullptr || record->blend == 255) return 0;
  Device* device = graphics.GetDevice();
  if (device == nullptr || !record->texture) return 0;
  graphics.SetRenderStateCached(RS_ZENABLE, ZB_FALSE);
  graphics.SetRenderStateCached(RS_MULTISAMPLEANTIALIAS, 0);
  SpriteDraw sprite;
  sprite.texture = record->texture.get();
  sprite.transform = transform;
  sprite.position = position;
  sprite.alphaBlend = record->format == FMT_A8R8G8B8 || record->blend != 0;
  device->DrawSprite(sprite);
  return 1;
}

}  // namespace

int DrawTexture(GraphicsDevice& graphics, const TextureRecord* record, int x, int y) {
  return DrawPicture(graphics, record, MatrixIdentity(),
                     Vec3{static_cast<float>(x), static_cast<float>(y), 0.0f});
}

int DrawTextureScaled(GraphicsDevice& graphics, const TextureRecord* record, int x, int y, int w,
                      int h) {
  if (record == nullptr || record->width <= 0 || record->height <= 0) return 0;
  const Vec2 scaling{static_cast<float>(w) / static_cast<float>(record->width),
                     static_cast<float>(h) / static_cast<float>(record->height)};
  const Matrix transform =
      MatrixTransformation2D(scaling, 0.0f, Vec2{static_cast<float>(x), static_cast<float>(y)});
  return DrawPicture(graphics, record, transform, Vec3{});
}

void Line::Draw(const Vec2* points, int count, uint32_t color) {
  Device* device = graphics_.GetDevice();
  if (device == nullptr || points == nullptr) return;
  for (int i = 0; i + 1 < count; ++i)
    device->DrawLine(points[i], points[i + 1], width_, color);
}

std::unique_ptr<Line> CreateLine(GraphicsDevice& graphics) {
  if (graphics.GetDevice() == nullptr) return nullptr;
  return std::make_unique<Line>(graphics);
}

void ReleaseLine(std::unique_ptr<Line>& line) {
  line.reset();
}

}  // namespace kbh
