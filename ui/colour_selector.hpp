// The paint controls of the Spray screen: a colour picked from a palette or
// mixed with three percent sliders, one of four paint finishes chosen with
// two arrows, and a ball that shows the result with the reflection the moped
// itself is drawn with. The Spray screen paints with chosen and finish.
//
// The palette picture is never drawn here: the Spray screen's label picture
// shows the palette at the same place, and the selector only reads the
// colour under the pointer from its own copy.
#pragma once

#include <cstdint>
#include <memory>

#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "gfx/texture.hpp"
#include "ui/widgets/button.hpp"
#include "ui/widgets/slider.hpp"
#include "ui/widgets/widget_context.hpp"
#include "workshop/part_mesh.hpp"

namespace kbh {

// What Update reports, so that the screen can switch the pointer to the
// colour pick while it hovers over the palette.
constexpr int kPointerOverPalette = 48;
constexpr int kPointerElsewhere = 1;

// Colours the selector starts with and mixes: a slider-made colour is
// always opaque.
constexpr uint32_t kStartColour = 0xFFFFFFFF;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

struct ColorSelector {
  std::unique_ptr<MeshRecord> ball;
  // Only read, never drawn.
  std::unique_ptr<TextureRecord> palette;
  // Not owned: start-up hands in the main font after Load.
  FontRecord* font = nullptr;
  // 0 to 3, the paint rule's finishes with a name.
  uint8_t finish = kFinishMatt;
  uint32_t chosen = kStartColour;
  // What the ball shows this frame: the hovered palette colour or chosen.
  uint32_t preview = kStartColour;
  Button finishUp;
  Button finishDown;
  Slider red;
  Slider green;
  Slider blue;

  // The palette and the ball from "<programDir>/gfx/gui/", then the arrows
  // and the sliders (at 100 %); the ball starts painted with chosen and
  // finish. False when the palette or the ball does not load; a missing
  // arrow or knob only leaves that control invisible.
  bool Load(GraphicsDevice& graphics, const ProgramDir& programDir);
  // Once a frame on the Spray screen. Over the palette the ball previews the
  // colour under the pointer and a click chooses it (the sliders follow);
  // elsewhere at most one slider, red before green before blue, drives
  // chosen. Repaints the ball every time. kPointerOverPalette or
  // kPointerElsewhere.
  int Update(const WidgetContext& context);
  // The channels of chosen in percent, the finish's name, the arrows and the
  // sliders' knobs.
  void Draw(GraphicsDevice& graphics) const;
  // The ball, unmoved and unturned, through the paint ball camera, lit and
  // reflecting the environment map by its paint, without depth test or
  // blending. Nothing without a ball.
  void DrawBall(GraphicsDevice& graphics, const CubeTextureSlots& cubes);
  // Palette, ball, arrows and knobs; the selection stays.
  void Release();

  // Whether screen pixel (x, y) reads a palette texel: strictly right of and
  // below the palette's origin, inside its size.
  bool IsOverPalette(int32_t x, int32_t y) const;
};

// The opaque colour of three slider values in percent: each channel
// trunc(value x 2.55) in single precision, so 100 % gives 254, never 255.
uint32_t SliderColour(uint16_t redPercent, uint16_t greenPercent, uint16_t bluePercent);
// A colour byte as the percent the selector shows: trunc(byte x 0.39215687).
int ChannelPercent(uint32_t colour, int shift);

}  // namespace kbh
