// The window's icon, drawn in code so that no image file has to ship with
// the binary: a spoked wheel on a rounded blue tile.
#pragma once

#include <cstdint>
#include <vector>

namespace kbh {

constexpr int kWindowIconSize = 32;

// kWindowIconSize x kWindowIconSize texels, 0xAARRGGBB, rows top first.
std::vector<uint32_t> DrawWindowIcon();

}  // namespace kbh
