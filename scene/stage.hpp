// The fixed stage the program shows the moped on: every camera, the light, the
// projections and the floor, for the program's passes and the content tools
// alike. The content is made to suit them: the backdrop is rendered
// through the turntable camera so that its floor meets the moped's wheels, and
// the environment map is the same hall seen from where the moped stands.
#pragma once

#include <cstdint>

#include "platform/gpu/d3d_types.hpp"
#include "platform/math/math.hpp"

namespace kbh {

// A fixed camera: where it looks from and to (up is always +y), and its
// projection. width and height are the picture it renders, for the content
// tools that place things in screen pixels.
struct StageCamera {
  Vec3 eye;
  Vec3 at;
  float fovY = 0.7853982f;  // pi / 4 in single precision
  float aspect = 4.0f / 3.0f;
  float zNear = 200.0f;
  float zFar = 1700.0f;
  int width = 1024;
  int height = 768;
};

// The turning moped of the TuneUp screen. Its projection is the one every
// full-screen pass uses: 45 degrees, the back buffer's 4:3, near 200, far
// 1700.
constexpr StageCamera kTuneUpCamera{{-40.0f, 250.0f, -600.0f}, {0.0f, 0.0f, 0.0f}};
// The small picture of the whole moped on the Spray screen, with a
// projection of its own for its 450 x 260 picture.
constexpr StageCamera kSprayPreviewCamera{{40.0f, -45.0f, -400.0f},
                                          {40.0f, 25.0f, 0.0f},
                                          0.7853982f,
                                          1.7307693f,
                                          1.0f,
                                          1000.0f,
                                          450,
                                          260};
// Where the preview picture sits on the screen (its top-left corner), and the
// translucent black (alpha 160) it starts from: where no part is, the
// screen's background shows through, darkened.
constexpr int kSprayPreviewX = 525;
constexpr int kSprayPreviewY = 46;
constexpr uint32_t kSprayPreviewClearColor = 0xA0000000;

// The flight to a part chosen for painting. Every flight starts at the same
// distant point, below and to the left, and takes half a second.
constexpr Vec3 kFlightStartLookAt{-300.0f, -250.0f, 330.0f};
constexpr Vec3 kFlightStartEye{-100.0f, -200.0f, -1200.0f};
constexpr uint32_t kFlightMilliseconds = 500;
// It ends in front of the part's centre (towards -z) and above it, eye and
// look-at point both shifted along x, so the part sits a little left of the
// view's centre; the full-screen projection shows it.
constexpr float kFlightEndShiftX = 50.0f;
constexpr float kFlightEndHeight = 100.0f;
constexpr float kFlightEndDistance = 600.0f;
// After arriving the part spins about the vertical axis: one radian a second.
constexpr float kSpinRadiansPerMillisecond = 0.001f;
// The rest of the part around a chosen subset.
constexpr float kGhostAlpha = 0.2f;

// The paint ball of the Spray screen, seen through the full-screen projection.
constexpr StageCamera kColourBallCamera{{194.0f, 290.0f, -900.0f}, {180.0f, 275.0f, 0.0f}};

// The one light of every 3D pass: white, from the upper left front.
constexpr Vec3 kLightPosition{-120.0f, 450.0f, -600.0f};
constexpr float kLightRange = 1000.0f;
Light SceneLight();

// The moped stands on this floor; the panel of the interface covers the
// screen from this row down.
constexpr float kFloorY = -20.0f;
constexpr int kPanelTopRow = 515;

Matrix StageView(const StageCamera& camera);
Matrix StageProjection(const StageCamera& camera);
// Screen position (pixels, y down) of a world point; false behind the eye.
bool ProjectToScreen(const StageCamera& camera, const Matrix& world, Vec3 point, Vec2* screen);
// The world direction of the ray through a pixel position (x, y in pixels).
Vec3 PixelRay(const StageCamera& camera, float x, float y);

}  // namespace kbh
