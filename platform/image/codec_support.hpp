// Small helpers the readers and writers share: fixed-width integers at byte
// offsets, and the size rules every picture must satisfy. Callers check that
// offset + width lies inside the buffer before reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image/image.hpp"
#include "platform/image/image_codec.hpp"

namespace kbh {

inline uint16_t ReadU16Le(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadU32Le(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

inline uint32_t ReadU32Be(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

inline void AppendU16Le(std::vector<uint8_t>* out, uint32_t value) {
  out->push_back(static_cast<uint8_t>(value));
  out->push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendU32Le(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<uint8_t>(value >> shift));
}

inline bool IsSideInRange(int64_t side) {
  return side >= 1 && side <= kMaxImageSide;
}

// A picture an encoder can write: a sane size and exactly one texel per pixel.
inline bool IsWellFormed(const Image& image) {
  return IsSideInRange(image.width) && IsSideInRange(image.height) &&
         image.texels.size() == static_cast<size_t>(image.width) * image.height;
}

}  // namespace kbh
