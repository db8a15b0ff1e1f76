// Comparing a screenshot with a stored reference picture outside the
// regions that legitimately move (a turning model, the frame rate, the
// pointer). References are stored with those regions painted over in one
// flat colour: the file then says at a glance what is not compared, and it
// packs smaller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image/image.hpp"
#include "tests/e2e/support/screen_reading.hpp"

namespace kbh::testing {

// What the stored pictures show where nothing is compared.
constexpr uint32_t kMaskedColour = 0xFFFF00FFu;

inline bool InAnyRegion(const std::vector<Region>& regions, int x, int y) {
  for (const Region& region : regions) {
    if (x >= region.left && x < region.right && y >= region.top && y < region.bottom) return true;
  }
  return false;
}

// A pixel differs when some channel differs by more than `levels`.
inline bool PixelDiffers(uint32_t a, uint32_t b, int levels) {
  return Distance(a, b) > levels;
}

// Pixels outside the masks that differ by more than `levels` in some
// channel; every pixel when the sizes differ.
inline int CountDifferentOutside(const Image& shot, const Image& reference,
                                 const std::vector<Region>& masks, int levels) {
  if (shot.width != reference.width || shot.height != reference.height) {
    return std::max(shot.width * shot.height, reference.width * reference.height);
  }
  int count = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (InAnyRegion(masks, x, y)) continue;
      const size_t at = size_t(y) * shot.width + x;
      if (PixelDiffers(shot.texels[at], reference.texels[at], levels)) ++count;
    }
  }
  return count;
}

// The shot as it is stored: masked regions in the flat colour.
inline Image PaintedOver(const Image& shot, const std::vector<Region>& masks) {
  Image stored = shot;
  for (int y = 0; y < stored.height; ++y) {
    for (int x = 0; x < stored.width; ++x) {
      if (InAnyRegion(masks, x, y)) stored.texels[size_t(y) * stored.width + x] = kMaskedColour;
    }
  }
  return stored;
}

// For a person looking at a mismatch: differing pixels bright red, masked
// ones dark blue, the rest the reference darkened to a third so that the
// red stands out where it sits.
inline Image DifferencePicture(const Image& shot, const Image& reference,
                               const std::vector<Region>& masks, int levels) {
  Image difference;
  difference.width = shot.width;
  difference.height = shot.height;
  difference.texels.resize(size_t(shot.width) * shot.height);
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const size_t at = size_t(y) * shot.width + x;
      const uint32_t was = TexelAt(reference, x, y);
      uint32_t shown = 0xFF000000u;
      if (InAnyRegion(masks, x, y)) {
        shown = 0xFF000040u;
      } else if (PixelDiffers(shot.texels[at], was, levels)) {
        shown = 0xFFFF0000u;
      } else {
        for (int shift : {16, 8, 0})
          shown |= uint32_t(Channel(was, shift) / 3) << shift;
      }
      difference.texels[at] = shown;
    }
  }
  return difference;
}

// The renderer the program's log names ("adapter: ..." of the device's
// lines); empty when the log names none.
inline std::string RendererNamedIn(const std::string& log) {
  const std::string label = "adapter: ";
  const size_t at = log.find(label);
  if (at == std::string::npos) return "";
  const size_t start = at + label.size();
  return log.substr(start, log.find('\n', start) - start);
}

}  // namespace kbh::testing
