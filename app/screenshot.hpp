// Screenshots: the back buffer as the user sees it, in back-buffer pixels.
#pragma once

#include "gfx/graphics_device.hpp"

namespace kbh {

// Writes the current render target 0 (during a frame: the back buffer) to
// fileName, replacing any file of that name: an uncompressed 24-bit BMP with
// rows bottom-up, or a PNG for a name ending in "png". Returns 1 in every
// case; a failed write is not reported.
int SaveScreenShot(GraphicsDevice& graphics, const char* fileName);

}  // namespace kbh
