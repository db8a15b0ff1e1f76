// The loading screen: the loading picture with a progress bar below it, which
// start-up redraws as one whole frame after each of its steps, so the user
// sees that the program is alive while the catalogue and models load.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "gfx/draw2d.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/math/math.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

// Where the picture and the bar sit: ui/screen_positions.hpp. The frame
// around the bar is a wider, translucent white line behind it.
constexpr float kProgressFrameWidth = 12.0f;
constexpr uint32_t kProgressFrameColor = 0xBEFFFFFF;
constexpr float kProgressBarWidth = 10.0f;
constexpr uint32_t kProgressBarColor = 0xFF1B5184;
// The first and the last picture stay up this long, so that even a fast
// start shows the screen and its full bar.
constexpr uint32_t kProgressPauseMs = 500;

struct LoadingScreen {
  std::unique_ptr<TextureRecord> image;
  std::unique_ptr<Line> line;
  // The bar's end points; both lie on the bar's row.
  std::array<Vec2, 2> ends{};
  // How the screen waits at 0 and 100 percent. Start-up passes the program's
  // sleep; tests pass one that returns at once.
  std::function<void(uint32_t milliseconds)> pause;
};

// Loads the picture from path and makes the line object. False, with nothing
// held, when either cannot be made.
bool StatusScreenLoad(LoadingScreen& screen, GraphicsDevice& graphics, const char* path);

// Draws one complete frame: the picture, the bar's frame and the bar for
// percent (0 to 100; more counts as 100), then presents it. Pauses at 0 and
// 100 percent.
void StatusScreenProgress(LoadingScreen& screen, GraphicsDevice& graphics, uint16_t percent);

// Releases the picture and the line object; calling it again finds nothing.
void StatusScreenRelease(LoadingScreen& screen);

}  // namespace kbh
