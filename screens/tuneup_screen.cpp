#include "screens/tuneup_screen.hpp"

#include "platform/input/key_codes.hpp"
#include "scene/scene_pass.hpp"
#include "screens/tuneup_rules.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

namespace {

// 1/3000 rounded to single precision.
constexpr float kTurntableRadiansPerMs = 0.000333333f;

// Empty, placed and sized; a list rebuilt on entry has no selection change
// pending from the screen that used it before.
void PlaceList(ScrollBox& list, const layout::ListPlace& place) {
  list.Clear();
  list.Select(-1);
  list.SetExtent(place.width, layout::kListRows);
  list.x = place.at.x;
  list.y = place.at.y;
  list.changed = 0;
}

}  // namespace

float TurntableAngle(uint32_t timeMs) {
  return static_cast<float>(timeMs) * kTurntableRadiansPerMs;
}

void PrepareTuneUp(ScreenContext& context) {
  // Catalogue paints carry their subset selector in the colour's top byte,
  // which lands in the diffuse alpha; TuneUp shows every part opaque.
  context.installedParts->SetAllPartsAlpha(1.0f);
  PlaceList(*context.categoryList, layout::kTuneUpCategoryList);
  FillCategoryList(*context.catalogue, *context.categoryList);
  PlaceList(*context.subcategoryList, layout::kTuneUpSubcategoryList);
  PlaceList(*context.partList, layout::kTuneUpPartList);
  context.menuBar->buildIn.Disable();
  context.menuBar->remove.Disable();
}

void UpdateTuneUpScreen(ScreenContext& context) {
  UpdateTuneUp(context);
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

namespace kbh {

void DrawTuneUp2d(ScreenContext& context) {
  GraphicsDevice& graphics = *context.graphics;
  const ScrollBoxSkin& skin = context.widgets->scrollSkin;
  context.categoryList->Draw(graphics, skin);
  context.subcategoryList->Draw(graphics, skin);
  context.partList->Draw(graphics, skin);
  context.messageLine->Draw(graphics);
}

}  // namespace kbh
