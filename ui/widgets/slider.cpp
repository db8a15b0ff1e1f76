#include "ui/widgets/slider.hpp"

#include "gfx/draw2d.hpp"

namespace kbh {

void Slider::SetValue(float fraction) {
  if (!(fraction >= 0.0f && fraction <= 1.0f)) return;  // also refuses NaN
  value = static_cast<uint16_t>(fraction * 100.0f);
}

void Slider::Update(const WidgetContext& context) {
  const MouseState mouse = PointerOf(context);
  moved = 0;
  if (!LeftHeld(mouse)) grabbed = 0;
  const int64_t left = x;
  const int64_t right = left + width;
  if (LeftWentDown(mouse)) {
    const int64_t halfBand = height / 2;
    grabbed =
        left <= mouse.x && mouse.x <= right && y - halfBand <= mouse.y && mouse.y <= y + halfBand
            ? 1
            : 0;
  }
  if (grabbed == 0) return;
  moved = 1;
  if (mouse.x < left) {
    value = 0;
  } else if (mouse.x > right) {
    value = 100;
  } else if (width == 0) {
    value = 0;  // a track without length: the pointer sits on its left end
  } else {
    value = static_cast<uint16_t>(static_cast<double>(mouse.x - left) * 100.0 / width);
  }
}

void Slider::Draw(GraphicsDevice& graphics) const {
  if (trackImage != nullptr) {
    DrawTextureScaled(graphics, trackImage.get(), x,
                      static_cast<int32_t>(y - trackImage->height * 0.5),
                      static_cast<int32_t>(width), trackImage->height);
  }
  if (knobImage != nullptr) {
    DrawTexture(graphics, knobImage.get(),
                static_cast<int32_t>(x + value * width * 0.01 - knobImage->width * 0.5),
                static_cast<int32_t>(y - knobImage->height * 0.5));
  }
}

bool Slider::LoadTrackImage(GraphicsDevice& graphics, const char* path) {
  ReleaseTexture(trackImage);
  trackImage = LoadBmp(graphics, path);
  return trackImage != nullptr;
}

bool Slider::LoadKnobImage(GraphicsDevice& graphics, const char* path) {
  ReleaseTexture(knobImage);
  knobImage = LoadBmp(graphics, path);
  return knobImage != nullptr;
}

void Slider::Release() {
  ReleaseTexture(trackImage);
  ReleaseTexture(knobImage);
}

}  // namespace kbh
