#include "screens/seller_screen.hpp"

#include "screens/tuneup_rules.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

namespace {

void ShowSelectedSeller(ScreenContext& context) {
  const ScrollBox& list = *context.categoryList;
  const ItemId id = list.selected >= 0 ? list.GetSelectedValue() : 0;
  const PartModel* part = id != 0 ? context.installedParts->FindInstalled(id) : nullptr;
  const CatalogueNode* item = id != 0 ? FindById(*context.catalogue, id) : nullptr;
  SelectSeller(*context.infoScreen, *context.graphics, part, item);
}

}  // namespace

void PrepareSeller(ScreenContext& context) {
  ScrollBox& list = *context.categoryList;
  list.Clear();
  list.x = layout::kSellerPartList.at.x;
  list.y = layout::kSellerPartList.at.y;
  list.SetExtent(layout::kSellerPartList.width, layout::kListRows);
  FillInstalledList(*context.catalogue, *context.installedParts, list,
                    InstalledListFilter::kSeller);
  // An empty list selects nothing and the panel stays hidden.
  list.Select(0);
  // Chosen here rather than left to the first update, whose list may see
  // the pointer and drop the change: the panel must never keep a part that
  // was removed while another screen was active.
  ShowSelectedSeller(context);
  list.changed = 0;
}

void UpdateSeller(ScreenContext& context) {
  ScrollBox& list = *context.categoryList;
  list.Update(*context.widgets);
  if (list.HasChanged() && list.selected >= 0) ShowSelectedSeller(context);
  // The list keeps its change flag while the pointer is elsewhere (on the
  // description's arrows, say); choosing once is enough, and choosing again
  // would lay the description out anew in every frame.
  list.changed = 0;
  UpdateInfoBox(*context.infoScreen, *context.widgets, *context.graphics);
}

void DrawSeller2d(ScreenContext& context) {
  const ScrollBox& list = *context.categoryList;
  list.Draw(*context.graphics, context.widgets->scrollSkin);
  if (list.selected >= 0) DrawSellerPanel(*context.infoScreen, *context.graphics, *context.logos);
}

}  // namespace kbh
