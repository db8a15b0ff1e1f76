#include "scene/stage.hpp"

#include <bit>
#include <cmath>

namespace kbh {

Light SceneLight() {
  Light light;
  light.type = LIGHT_POINT;
  light.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
  light.specular = {0.75f, 0.75f, 0.75f, 0.0f};
  light.ambient = {0.75f, 0.75f, 0.75f, 0.0f};
  light.position[0] = kLightPosition.x;
  light.position[1] = kLightPosition.y;
  light.position[2] = kLightPosition.z;
  light.range = kLightRange;
  // 4.5e-9, stored by its bits so that no decimal rounding can move it.
  light.attenuation0 = std::bit_cast<float>(0x319A9E6Bu);
  light.attenuation1 = 0.00075f;
  light.attenuation2 = 8e-7f;
  return light;
}

Matrix StageView(const StageCamera& camera) {
  return MatrixLookAtLH(camera.eye, camera.at, {0.0f, 1.0f, 0.0f});
}

Matrix StageProjection(const StageCamera& camera) {
  return MatrixPerspectiveFovLH(camera.fovY, camera.aspect, camera.zNear, camera.zFar);
}

bool ProjectToScreen(const StageCamera& camera, const Matrix& world, Vec3 point, Vec2* screen) {
  const Matrix toClip =
      MatrixMultiply(MatrixMultiply(world, StageView(camera)), StageProjection(camera));
  const float* m[4] = {toClip.m[0], toClip.m[1], toClip.m[2], toClip.m[3]};
  const float x = point.x * m[0][0] + point.y * m[1][0] + point.z * m[2][0] + m[3][0];
  const float y = point.x * m[0][1] + point.y * m[1][1] + point.z * m[2][1] + m[3][1];
  const float w = point.x * m[0][3] + point.y * m[1][3] + point.z * m[2][3] + m[3][3];
  if (w <= 1e-6f) return false;
  screen->x = (x / w * 0.5f + 0.5f) * static_cast<float>(camera.width);
  screen->y = (0.5f - y / w * 0.5f) * static_cast<float>(camera.height);
  return true;
}

Vec3 PixelRay(const StageCamera& camera, float x, float y) {
  const float t = std::tan(camera.fovY * 0.5f);
  const float ndcX = 2.0f * x / static_cast<float>(camera.width) - 1.0f;
  const float ndcY = 1.0f - 2.0f * y / static_cast<float>(camera.height);
  const Vec3 local{ndcX * t * camera.aspect, ndcY * t, 1.0f};
  // The view's rotation is orthonormal: its transpose takes camera
  // directions back to the world.
  const Matrix view = StageView(camera);
  return Normalize({local.x * view.m[0][0] + local.y * view.m[0][1] + local.z * view.m[0][2],
                    local.x * view.m[1][0] + local.y * view.m[1][1] + local.z * view.m[1][2],
                    local.x * view.m[2][0] + local.y * view.m[2][1] + local.z * view.m[2][2]});
}

}  // namespace kbh
