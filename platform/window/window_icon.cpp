#include "platform/window/window_icon.hpp"

#include <algorithm>
#include <cmath>

namespace kbh {

namespace {

struct Rgba {
  float r, g, b, a;
};

// What covers the point (x, y), in icon pixels from the top left corner.
Rgba Shade(float x, float y) {
  constexpr float kSize = static_cast<float>(kWindowIconSize);
  constexpr float kCorner = 6.0f;
  // The tile: a square with rounded corners.
  const float cx = std::clamp(x, kCorner, kSize - kCorner);
  const float cy = std::clamp(y, kCorner, kSize - kCorner);
  if (std::hypot(x - cx, y - cy) > kCorner) return {0, 0, 0, 0};
  const Rgba tile{0.11f, 0.32f, 0.52f, 1.0f};
  const Rgba metal{0.93f, 0.94f, 0.96f, 1.0f};
  const Rgba tyre{0.08f, 0.08f, 0.09f, 1.0f};

  const float dx = x - kSize * 0.5f;
  const float dy = y - kSize * 0.5f;
  const float r = std::hypot(dx, dy);
  if (r > 13.0f) return tile;
  if (r > 10.0f) return tyre;
  if (r > 8.5f) return metal;  // rim
  if (r < 2.5f) return metal;  // hub
  // Six spokes.
  const float angle = std::atan2(dy, dx);
  const float sector = std::remainder(angle, 3.14159265f / 3.0f);
  if (std::fabs(sector * r) < 0.8f) return metal;
  return tile;
}

}  // namespace

std::vector<uint32_t> DrawWindowIcon() {
  constexpr int kSamples = 4;  // per axis, for smooth edges
  std::vector<uint32_t> texels(static_cast<size_t>(kWindowIconSize) * kWindowIconSize);
  for (int y = 0; y < kWindowIconSize; ++y) {
    for (int x = 0; x < kWindowIconSize; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Rgba c = Shade(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples,
                               static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      const auto channel = [](float value) {
        return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
      };
      const float n = kSamples * kSamples;
      const float coverage = a / n;
      const float unpremultiply = a > 0.0f ? 1.0f / a : 0.0f;
      texels[static_cast<size_t>(y) * kWindowIconSize + x] =
          channel(coverage) << 24 | channel(r * unpremultiply) << 16 |
          channel(g * unpremultiply) << 8 | channel(b * unpremultiply);
    }
  }
  return texels;
}

}  // namespace kbh
