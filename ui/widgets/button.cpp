#include "ui/widgets/button.hpp"

#include "gfx/draw2d.hpp"

namespace kbh {

namespace {

// Texels at or below this alpha let clicks through: the soft edges of a
// round button belong to what lies behind it.
constexpr uint32_t kHitAlphaAbove = 200;

bool LoadInto(std::unique_ptr<TextureRecord>& slot, Button& button, GraphicsDevice& graphics,
              const char* path) {
  ReleaseTexture(slot);
  slot = LoadBmp(graphics, path);
  if (slot == nullptr) return false;
  button.width = slot->width;
  button.height = slot->height;
  return true;
}

}  // namespace

bool Button::LoadImage(GraphicsDevice& graphics, const char* path) {
  return LoadInto(image, *this, graphics, path);
}

bool Button::LoadHighlightImage(GraphicsDevice& graphics, const char* path) {
  return LoadInto(highlightImage, *this, graphics, path);
}

bool Button::LoadSelectedImage(GraphicsDevice& graphics, const char* path) {
  return LoadInto(selectedImage, *this, graphics, path);
}

void Button::Place(int32_t left, int32_t top) {
  x = left;
  y = top;
}

bool Button::Hits(int32_t pointerX, int32_t pointerY) const {
  if (image == nullptr) return false;
  // 64-bit sums: an unplaced button (-1) or a huge size must not wrap.
  if (!(x < pointerX && int64_t{pointerX} < int64_t{x} + width)) return false;
  if (!(y < pointerY && int64_t{pointerY} < int64_t{y} + height)) return false;
  if (image->format == FMT_X8R8G8B8) return true;
  const uint32_t texel = ReadTexel(image.get(), pointerX - x, pointerY - y);
  return (texel >> 24) > kHitAlphaAbove;
}

void Button::Update(const WidgetContext& context) {
  if (IsDisabled()) return;
  flags &= kSelected;
  const MouseState mouse = PointerOf(context);
  if (!Hits(mouse.x, mouse.y)) return;
  flags |= kHovered;
  if (LeftHeld(mouse)) flags |= kHeld;
  if (LeftWentDown(mouse)) flags |= kClicked;
}

void Button::Draw(GraphicsDevice& graphics) const {
  if (x == -1 || y == -1 || width == -1 || height == -1) return;
  const TextureRecord* shown = image.get();
  if (IsHovered()) {
    if (highlightImage != nullptr) {
      shown = highlightImage.get();
    } else if (IsSelected() && selectedImage != nullptr) {
      shown = selectedImage.get();
    }
  } else if (IsSelected()) {
    if (selectedImage != nullptr) {
      shown = selectedImage.get();
    } else if (highlightImage != nullptr) {
      shown = highlightImage.get();
    }
  }
  DrawTexture(graphics, shown, x, y);
}

void Button::Release() {
  ReleaseTexture(image);
  ReleaseTexture(highlightImage);
  ReleaseTexture(selectedImage);
}

}  // namespace kbh
