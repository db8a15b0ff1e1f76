#include "screens/spray_screen.hpp"

#include "gfx/draw2d.hpp"
#include "screens/spray_rules.hpp"
#include "screens/tuneup_rules.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

namespace {

void PlaceList(ScrollBox& list, const layout::ListPlace& place) {
  list.Clear();
  list.x = place.at.x;
  list.y = place.at.y;
  list.SetExtent(place.width, layout::kListRows);
}

}  // namespace

void PrepareSpray(ScreenContext& context) {
  context.preview->ClearPreview();
  context.spray.partChangePending = false;

  ScrollBox& parts = *context.categoryList;
  PlaceList(parts, layout::kSprayPartList);
  FillInstalledList(*context.catalogue, *context.installedParts, parts,
                    InstalledListFilter::kSpray);
  parts.Select(-1);
  // Nothing is chosen on entry, whatever the screen before left pending.
  parts.changed = 0;

  ScrollBox& subsets = *context.subsetList;
  PlaceList(subsets, layout::kSpraySubsetList);
  subsets.Select(-1);
  subsets.changed = 0;

  context.installedParts->SetAllPartsRotation(0.0f, 0.0f, 0.0f);
  context.menuBar->spray.Disable();
}

void UpdateSprayScreen(ScreenContext& context) {
  UpdateSpray(context);
}

void DrawSpray3d(ScreenContext& context) {
  GraphicsDevice& graphics = *context.graphics;
  context.preview->DrawPreview();
  DrawTexture(graphics, context.modelFrame->get(), layout::kModelFrame.x, layout::kModelFrame.y);
  const int32_t row = context.subsetList->selected;
  if (row != -1)
    context.preview->RenderSelectedPart(static_cast<uint16_t>(row + 1), context.clock());
  context.colourSelector->DrawBall(graphics, *context.cubeTextures);
}

void DrawSpray2d(ScreenContext& context) {
  GraphicsDevice& graphics = *context.graphics;
  const ScrollBoxSkin& skin = context.widgets->scrollSkin;
  context.categoryList->Draw(graphics, skin);
  context.subsetList->Draw(graphics, skin);
  context.colourSelector->Draw(graphics);
}

}  // namespace kbh
