// Horizontal percent sliders (the Spray screen's colour channels): a knob on
// a track, grabbed by a press on the track's band and dragged while the left
// button stays down, even when the pointer leaves the band.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "ui/widgets/widget_context.hpp"

namespace kbh {

struct Slider {
  // The track's left end and its vertical centre line.
  int32_t x = 0;
  int32_t y = 0;
  // Track length in pixels.
  uint32_t width = 100;
  // The band around the centre line in which a press grabs the knob.
  uint32_t height = 20;
  // 0 to 100.
  uint16_t value = 0;
  // Optional, stretched over the track's length.
  std::unique_ptr<TextureRecord> trackImage;
  std::unique_ptr<TextureRecord> knobImage;
  // 1 when the pointer drove the value in the last Update.
  uint8_t moved = 0;
  // 1 while the knob is held.
  uint8_t grabbed = 0;

  // A fraction from 0.0 to 1.0 as a percent; anything else changes nothing.
  void SetValue(float fraction);
  void Update(const WidgetContext& context);
  void Draw(GraphicsDevice& graphics) const;

  // Each releases what the slot held first; true when the file loaded.
  bool LoadTrackImage(GraphicsDevice& graphics, const char* path);
  bool LoadKnobImage(GraphicsDevice& graphics, const char* path);
  void Release();
};

}  // namespace kbh
