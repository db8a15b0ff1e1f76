// The program's own mouse pointer. The system pointer is hidden and the
// mouse is read as relative motion, so the program draws the pointer itself,
// last in every frame, at the position the input keeps.
//
// Every frame the screen logic sets the position, kind 0 and the normal hot
// spot; a screen may then switch to another kind (the colour pick over the
// Spray palette) with its own hot spot.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"

namespace kbh {

struct Cursor {
  // Kinds with a picture; 1 and 2 have none, 4 and above draw nothing.
  static constexpr int32_t kNormal = 0;
  static constexpr int32_t kColourPick = 3;
  static constexpr int32_t kKindCount = 4;

  int32_t kind = kNormal;
  int32_t x = 0;
  int32_t y = 0;
  // The picture's pixel that sits on the pointer position.
  int32_t hotX = 0;
  int32_t hotY = 0;
  std::array<std::unique_ptr<TextureRecord>, kKindCount> images;

  // Loads the pictures of kinds 0 and 3 from "<programDir>/gfx/gui/". A
  // missing file leaves its kind invisible; always returns true.
  bool LoadImages(GraphicsDevice& graphics, const ProgramDir& programDir);
  void SetKind(int32_t newKind) { kind = newKind; }
  void SetPosition(int32_t pointerX, int32_t pointerY) {
    x = pointerX;
    y = pointerY;
  }
  // Blends the picture over the frame by its alpha: stage 0 modulates the
  // texture's alpha, blending is on for the draw and off again after it.
  void Draw(GraphicsDevice& graphics) const;
  void ReleaseImages();
};

}  // namespace kbh
