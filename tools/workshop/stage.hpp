// The fixed stage the program shows the moped on: its cameras, its light and
// the floor. The content is made to suit them: the backdrop is rendered
// through the turntable camera so that its floor meets the moped's wheels, and
// the environment map is the same hall seen from where the moped stands.
#pragma once

#include "platform/math/math.hpp"

namespace kbh {

struct StageCamera {
  Vec3 eye;
  Vec3 at;
  float fovY = 0.7853982f;
  float aspect = 4.0f / 3.0f;
  float zNear = 200.0f;
  float zFar = 1700.0f;
  int width = 1024;
  int height = 768;
};

// The turning moped of the workshop screen.
constexpr StageCamera kTurntableCamera{{-40.0f, 250.0f, -600.0f}, {0.0f, 0.0f, 0.0f}};
// The small picture of the whole moped on the paint screen.
constexpr StageCamera kPaintPreviewCamera{{40.0f, -45.0f, -400.0f},
                                          {40.0f, 25.0f, 0.0f},
                                          0.7853982f,
                                          1.7307693f,
                                          1.0f,
                                          1000.0f,
                                          450,
                                          260};

// The colour selector's preview ball on the paint screen: drawn through the
// workshop screen's projection from this eye, so it lands in the lower panel
// (the interface pictures leave it a window there).
constexpr StageCamera kColourBallCamera{{194.0f, 290.0f, -900.0f}, {180.0f, 275.0f, 0.0f}};

constexpr Vec3 kLightPosition{-120.0f, 450.0f, -600.0f};

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
