#include "screens/spray_rules.hpp"

#include <cstdio>

#include "ui/screen_positions.hpp"
#include "workshop/paint.hpp"

namespace kbh {

namespace {

void EnableButton(Button& button) {
  button.Enable();
  button.Select();
}

void PaintSubset(MeshRecord& mesh, int64_t subset, uint32_t colour, uint8_t finish) {
  if (subset < 0 || subset >= mesh.subsetCount) return;
  const auto index = static_cast<size_t>(subset);
  if (index >= mesh.materials.size() || index >= mesh.factors.size()) return;
  ApplyPaint(colour, finish, &mesh.materials[index], &mesh.factors[index]);
}

void UpdateColourSelector(ScreenContext& context) {
  if (context.colourSelector->Update(*context.widgets) != kPointerOverPalette) return;
  Cursor& cursor = *context.cursor;
  cursor.SetKind(Cursor::kColourPick);
  cursor.hotX = layout::kColourPickHotSpot.x;
  cursor.hotY = layout::kColourPickHotSpot.y;
}

// The spray button is usable while the chosen part, with a mesh, and a row
// of its subset list are selected, and no other part waits for its flight.
void UpdateSprayButton(ScreenContext& context) {
  const ScrollBox& parts = *context.categoryList;
  const PartModel* model = context.installedParts->FindInstalled(parts.GetSelectedValue());
  const bool usable = parts.selected >= 0 && context.subsetList->selected >= 0 &&
                      model != nullptr && model->mesh != nullptr &&
                      !context.spray.partChangePending;
  if (usable) {
    EnableButton(context.menuBar->spray);
  } else {
    context.menuBar->spray.Disable();
  }
}

}  // namespace

bool FillSubsetList(ScrollBox& list, const PartModel* model) {
  if (model == nullptr || model->mesh == nullptr) {
    list.AddItem(kModelMissing, 0);
    list.disabled = ScrollBox::kDisable;
    return false;
  }
  list.AddItem(kWholePart, 0);
  list.disabled = ScrollBox::kEnable;
  const uint32_t subsets = model->mesh->subsetCount;
  if (subsets >= kFewestListedSubsets && subsets <= kMostListedSubsets) {
    for (uint32_t i = 1; i <= subsets; ++i) {
      char text[16];
      std::snprintf(text, sizeof text, kSubsetRowFormat, static_cast<int>(i));
      list.AddItem(text, 0);
    }
  }
  return true;
}

void PaintSelection(PartModel* model, const ScrollBox& subsets, uint32_t colour, uint8_t finish) {
  if (model == nullptr || model->mesh == nullptr) return;
  MeshRecord& mesh = *model->mesh;
  const int32_t row = subsets.selected;
  if (subsets.items.size() > 1 && row != 0) {
    PaintSubset(mesh, int64_t{row} - 1, colour, finish);
    return;
  }
  for (uint32_t subset = 0; subset < mesh.subsetCount; ++subset)
    PaintSubset(mesh, subset, colour, finish);
}

void UpdateSpray(ScreenContext& context) {
  ScrollBox& parts = *context.categoryList;
  ScrollBox& subsets = *context.subsetList;
  PreviewAnimation& preview = *context.preview;
  SprayState& state = context.spray;

  parts.Update(*context.widgets);
  subsets.Update(*context.widgets);
  UpdateColourSelector(context);

  const bool partChanged = parts.HasChanged() || state.partChangePending;
  parts.changed = 0;
  if (partChanged && parts.selected < 0) {
    state.partChangePending = false;
    subsets.Clear();
    subsets.Select(-1);
    preview.ClearPreview();
    context.menuBar->spray.Disable();
  }

  // The large view leaves its part faint; the preview shows every part as
  // built.
  context.installedParts->SetAllPartsRotation(0.0f, 0.0f, 0.0f);
  context.installedParts->SetAllPartsAlpha(1.0f);
  preview.RenderPreview(*context.installedParts);

  if (partChanged && parts.selected >= 0) {
    // Asked without IsRunning, which would swallow the end of a flight that
    // the preview still has to notice to let the part spin about its centre.
    if (preview.State() == AnimationState::kRunning) {
      state.partChangePending = true;
      context.menuBar->spray.Disable();
    } else {
      state.partChangePending = false;
      subsets.Clear();
      PartModel* model = context.installedParts->FindInstalled(parts.GetSelectedValue());
      if (!FillSubsetList(subsets, model)) {
        context.menuBar->spray.Disable();
        return;
      }
      EnableButton(context.menuBar->spray);
      subsets.Select(0);
      preview.StartCameraMove(model, context.clock());
    }
  }

  if (subsets.HasChanged()) UpdateSprayButton(context);

  if (context.menuBar->spray.IsClicked()) {
    PaintSelection(context.installedParts->FindInstalled(parts.GetSelectedValue()), subsets,
                   context.colourSelector->chosen, context.colourSelector->finish);
  }
}

}  // namespace kbh
