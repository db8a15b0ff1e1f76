#include "screens/tuneup_screen.hpp"

#include "platform/input/key_codes.hpp"
#include "scene/scene_pass.hpp"

namespace kbh {

namespace {

// 1/3000 rounded to single precision.
constexpr float kTurntableRadiansPerMs = 0.000333333f;

}  // namespace

float TurntableAngle(uint32_t timeMs) {
  return static_cast<float>(timeMs) * kTurntableRadiansPerMs;
}

void PrepareTuneUp(ScreenContext& context) {
  // Catalogue paints carry their subset selector in the colour's top byte,
  // which lands in the diffuse alpha; TuneUp shows every part opaque.
  context.installedParts->SetAllPartsAlpha(1.0f);
}

void DrawTuneUp3d(ScreenContext& context) {
  context.installedParts->SetAllPartsRotation(0.0f, TurntableAngle(context.clock()), 0.0f);
  if (KeyPressed(*context.input, kKeyW)) {
    uint32_t& fillMode = context.tuneUp.fillMode;
    fillMode = fillMode == FILL_SOLID ? FILL_WIREFRAME : FILL_SOLID;
  }
  RenderScene(*context.graphics, *context.cubeTextures, *context.installedParts,
              context.tuneUp.fillMode);
}

}  // namespace kbh
