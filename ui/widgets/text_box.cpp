#include "ui/widgets/text_box.hpp"

#include <cstring>
#include <string_view>

#include "gfx/draw2d.hpp"

namespace kbh {

namespace {

constexpr uint32_t kTextColor = 0xFFFFFAFA;
// The arrows stick out of the panel's corners by these many pixels, so they
// sit on its frame rather than over the text.
constexpr int32_t kArrowOverhangRight = 4;
constexpr int32_t kArrowOverhangVertical = 8;
// The track runs between the arrows, this far in from the right edge.
constexpr int32_t kTrackInsetRight = 11;
constexpr int32_t kTrackInsetVertical = 15;

std::string_view TextOf(const char* text) {
  return text != nullptr ? std::string_view(text, std::strlen(text)) : std::string_view();
}

void Measure(TextBox& box) {
  if (box.font == nullptr || box.text == nullptr) {
    box.textHeight = 0;
    return;
  }
  box.textHeight = MeasureTextInBox(box.font, TextOf(box.text), box.WrapWidth()).height;
}

void Render(TextBox& box, GraphicsDevice& graphics) {
  Device* device = graphics.GetDevice();
  if (device == nullptr || box.texture == nullptr) return;
  const TextureHandle keptTarget = device->GetRenderTarget();
  const SurfaceHandle keptDepth = device->GetDepthSurface();
  device->SetRenderTarget(box.texture->texture.get(), SurfaceHandle::kNone);
  device->Clear(kClearTarget, 0x00000000, 1.0f, 0);
  device->BeginScene();
  if (box.font != nullptr && box.text != nullptr) {
    // The box is as high as the texture below the text's top, so that
    // nothing past the texture's bottom is laid out.
    const PixelRect size{0, 0, box.WrapWidth(), box.height - box.scroll};
    DrawTextInBox(*device, box.font, 0, box.scroll, TextOf(box.text), kTextColor, size);
  }
  device->EndScene();
  device->SetRenderTarget(keptTarget, keptDepth);
}

int32_t StepOf(const TextBox& box) {
  return (box.font != nullptr ? box.font->lineHeight : 0) + 1;
}

}  // namespace

void TextBox::SetSize(GraphicsDevice& graphics, int32_t boxWidth, int32_t boxHeight) {
  width = boxWidth;
  height = boxHeight;
  ReleaseTexture(texture);
  texture = CreateRenderTexture(graphics, width, height);
}

void TextBox::SetFont(FontRecord* textFont) {
  font = textFont;
  Measure(*this);
}

void TextBox::SetPosition(int32_t left, int32_t top) {
  x = left;
  y = top;
}

bool TextBox::LoadUpArrow(GraphicsDevice& graphics, const char* highlightPath,
                          const char* normalPath) {
  upButton.LoadHighlightImage(graphics, highlightPath);
  const bool loaded = upButton.LoadImage(graphics, normalPath);
  upButton.Place(x + width - upButton.width + kArrowOverhangRight, y - kArrowOverhangVertical);
  upButton.Enable();
  return loaded;
}

bool TextBox::LoadDownArrow(GraphicsDevice& graphics, const char* highlightPath,
                            const char* normalPath) {
  downButton.LoadHighlightImage(graphics, highlightPath);
  const bool loaded = downButton.LoadImage(graphics, normalPath);
  downButton.Place(x + width - downButton.width + kArrowOverhangRight,
                   y + height - downButton.height + kArrowOverhangVertical);
  downButton.Enable();
  return loaded;
}

bool TextBox::LoadTrack(GraphicsDevice& graphics, const char* path) {
  ReleaseTexture(trackImage);
  trackImage = LoadBmp(graphics, path);
  return trackImage != nullptr;
}

void TextBox::SetText(GraphicsDevice& graphics, const char* newText) {
  text = newText;
  Measure(*this);
  Render(*this, graphics);
}

void TextBox::ScrollUp(GraphicsDevice& graphics) {
  if (scroll >= 0) return;
  scroll += StepOf(*this);
  Render(*this, graphics);
}

void TextBox::ScrollDown(GraphicsDevice& graphics) {
  if (scroll <= height - textHeight) return;
  scroll -= StepOf(*this);
  Render(*this, graphics);
}

void TextBox::Update(WidgetContext& context, GraphicsDevice& graphics) {
  upButton.Update(context);
  downButton.Update(context);
  uint32_t& stamp = context.textRepeatStamp;
  if (upButton.IsClicked()) {
    ScrollUp(graphics);
    stamp = 0;
  }
  if (downButton.IsClicked()) {
    ScrollDown(graphics);
    stamp = 0;
  }
  if (!upButton.IsHeld() && !downButton.IsHeld()) return;
  const uint32_t now = NowOf(context);
  if (stamp == 0) {
    stamp = now;
  } else if (now - stamp > kArrowRepeatMs) {
    stamp = 0;
    if (downButton.IsHeld()) ScrollDown(graphics);
    if (upButton.IsHeld()) ScrollUp(graphics);
  }
}

void TextBox::Draw(GraphicsDevice& graphics) const {
  DrawTexture(graphics, texture.get(), x, y);
  if (textHeight <= height) return;
  upButton.Draw(graphics);
  downButton.Draw(graphics);
  if (trackImage != nullptr) {
    DrawTextureScaled(graphics, trackImage.get(), x + width - kTrackInsetRight,
                      y + kTrackInsetVertical, trackImage->width, height - 2 * kTrackInsetVertical);
  }
}

void TextBox::Release() {
  ReleaseTexture(texture);
  ReleaseTexture(trackImage);
  upButton.Release();
  downButton.Release();
}

}  // namespace kbh
