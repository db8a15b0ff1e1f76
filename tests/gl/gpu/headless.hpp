// A GlDevice on a headless EGL context, as the pixel tests need it, and the
// small helpers they share for reading pixels back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "tests/support/skip.hpp"

namespace kbh::testing {

struct HeadlessDevice {
  std::unique_ptr<GraphicsSystem> system;
  std::unique_ptr<Device> device;
};

// samples: 0 for a single-sampled back buffer, 2 to ask for multisampling.
inline HeadlessDevice MakeHeadlessDevice(int samples = 0, int width = 1024, int height = 768) {
  HeadlessDevice made;
  made.system = CreateGlSystem(CreateHeadlessGlContext());
  if (made.system == nullptr) return made;
  PresentParameters parameters;
  parameters.backBufferWidth = width;
  parameters.backBufferHeight = height;
  parameters.backBufferFormat = FMT_X8R8G8B8;
  parameters.multiSampleType = samples;
  parameters.enableAutoDepthStencil = true;
  parameters.autoDepthStencilFormat = FMT_D24S8;
  parameters.presentationInterval = kPresentIntervalImmediate;
  if (made.system->CreateDevice(parameters, &made.device) != kD3dOk) made.device.reset();
  return made;
}

inline uint32_t PixelAt(const Image& image, int x, int y) {
  return image
      .texels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

inline int Channel(uint32_t argb, int shift) {
  return static_cast<int>((argb >> shift) & 0xFF);
}

// Largest difference of the red, green and blue bytes.
inline int ColorDistance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift : {16, 8, 0}) {
    largest = std::max(largest, std::abs(Channel(a, shift) - Channel(b, shift)));
  }
  return largest;
}

inline Image SolidImage(int width, int height, uint32_t argb, Format format) {
  Image image;
  image.width = width;
  image.height = height;
  image.sourceFormat = format;
  image.texels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), argb);
  return image;
}

}  // namespace kbh::testing

// Skips the test when this machine has no headless GL (fails where every test
// must run); fails when it has one but the device cannot be made on it.
#define KBH_REQUIRE_HEADLESS_DEVICE(made)                                           \
  do {                                                                              \
    if ((made).system == nullptr) {                                                 \
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine"; \
    }                                                                               \
    ASSERT_NE((made).device, nullptr) << "device creation failed on headless GL";   \
  } while (false)
