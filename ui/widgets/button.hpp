// Image buttons: a normal picture that is also the hit mask, plus optional
// pictures for hover and for the selected state. The menu tabs, the quit
// and workshop buttons, and the text boxes' arrows are all buttons.
//
// Immediate mode: Update reads the pointer once per frame and sets the
// per-frame bits; the owner reads them and decides whether to Draw at all.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "ui/widgets/widget_context.hpp"

namespace kbh {

struct Button {
  // Bits of flags. Clicked, held and hovered describe the last Update only.
  static constexpr uint16_t kClicked = 1;
  static constexpr uint16_t kHeld = 2;
  static constexpr uint16_t kHovered = 8;
  static constexpr uint16_t kSelected = 16;
  static constexpr uint16_t kDisabled = 32;

  // -1 until placed.
  int32_t x = -1;
  int32_t y = -1;
  // -1 until an image loaded; then the size of the image that loaded last,
  // whichever slot it went into.
  int32_t width = -1;
  int32_t height = -1;
  // Also the hit mask: the pointer counts only where its alpha is above 200.
  std::unique_ptr<TextureRecord> image;
  uint16_t flags = 0;
  // Shown while hovered.
  std::unique_ptr<TextureRecord> highlightImage;
  // Shown while selected and not hovered.
  std::unique_ptr<TextureRecord> selectedImage;

  // Each releases what the slot held and loads path into it; a file that
  // does not load leaves the slot empty and the size as it was. True when
  // it loaded.
  bool LoadImage(GraphicsDevice& graphics, const char* path);
  bool LoadHighlightImage(GraphicsDevice& graphics, const char* path);
  bool LoadSelectedImage(GraphicsDevice& graphics, const char* path);

  void Place(int32_t left, int32_t top);

  // Nothing changes while disabled. Otherwise the bits of the last frame are
  // dropped (selected stays) and set anew from the pointer.
  void Update(const WidgetContext& context);
  // The highlight picture while hovered, else the selected picture while
  // selected, each falling back on the other and then on the normal one.
  // Nothing while unplaced or without any loaded image size.
  void Draw(GraphicsDevice& graphics) const;

  void Select() { flags |= kSelected; }
  // Keeps every bit below disabled.
  void Enable() { flags &= kDisabled - 1; }
  // Drops every other bit with it: a disabled button is neither selected
  // nor under the pointer.
  void Disable() { flags = kDisabled; }

  bool IsClicked() const { return (flags & kClicked) != 0; }
  bool IsHeld() const { return (flags & kHeld) != 0; }
  bool IsHovered() const { return (flags & kHovered) != 0; }
  bool IsSelected() const { return (flags & kSelected) != 0; }
  bool IsDisabled() const { return (flags & kDisabled) != 0; }

  // Whether the pointer at (pointerX, pointerY) lies on the button: strictly
  // inside its rectangle and on a texel of the normal image with alpha above
  // 200 (X8R8G8B8 pictures have no alpha and count as opaque everywhere).
  // Without a normal image there is no mask and nothing is hit.
  bool Hits(int32_t pointerX, int32_t pointerY) const;

  // Releases all three images; size and place stay.
  void Release();
};

}  // namespace kbh
