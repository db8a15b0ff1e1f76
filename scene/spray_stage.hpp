// The Spray screen's fixed views: the small preview picture of the whole
// moped with its own camera and projection, and where the camera flies when
// a part is chosen for painting. The selected part itself is seen through the
// device's projection (gfx/graphics_device.hpp).
#pragma once

#include <cstdint>

#include "platform/math/math.hpp"

namespace kbh {

// --- The preview picture -------------------------------------------------------
// Its place on the 1024 x 768 screen (top-left corner) and its size.
constexpr int kSprayPreviewX = 525;
constexpr int kSprayPreviewY = 46;
constexpr int kSprayPreviewWidth = 450;
constexpr int kSprayPreviewHeight = 260;
// Translucent black (alpha 160): where no part is, the screen's background
// shows through, darkened.
constexpr uint32_t kSprayPreviewClearColor = 0xA0000000;

// Low and a little to the right, looking slightly up at the whole moped.
constexpr Vec3 kSprayPreviewEye{40.0f, -45.0f, -400.0f};
constexpr Vec3 kSprayPreviewLookAt{40.0f, 25.0f, 0.0f};
constexpr float kSprayPreviewFieldOfView = 0.7853982f;  // pi / 4
// 450 / 260 as the program has always rounded it.
constexpr float kSprayPreviewAspect = 1.7307693f;
constexpr float kSprayPreviewNear = 1.0f;
constexpr float kSprayPreviewFar = 1000.0f;

// --- The flight to a selected part ---------------------------------------------
// Every flight starts at the same distant point, below and to the left.
constexpr Vec3 kFlightStartLookAt{-300.0f, -250.0f, 330.0f};
constexpr Vec3 kFlightStartEye{-100.0f, -200.0f, -1200.0f};
constexpr uint32_t kFlightMilliseconds = 500;
// It ends in front of the part's centre (towards -z) and above it, eye and
// look-at point both shifted along x, so the part sits a little left of the
// view's centre.
constexpr float kFlightEndShiftX = 50.0f;
constexpr float kFlightEndHeight = 100.0f;
constexpr float kFlightEndDistance = 600.0f;
// After arriving the part spins about the vertical axis: one radian a second.
constexpr float kSpinRadiansPerMillisecond = 0.001f;
// The rest of the part around a chosen subset.
constexpr float kGhostAlpha = 0.2f;

}  // namespace kbh
