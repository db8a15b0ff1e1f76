#include "screens/tuneup_rules.hpp"

#include "workshop/part_mesh.hpp"

namespace kbh {

namespace {

bool IsListedKind(ItemId id) {
  const CategoryKind kind = KindOf(id);
  return kind == CategoryKind::kOnePerCategory || kind == CategoryKind::kOnePerSubcategory ||
         kind == CategoryKind::kSeveralPerCategory;
}

bool PassesFilter(const DataStore& catalogue, const PartModel& model, InstalledListFilter filter) {
  if (filter == InstalledListFilter::kSpray) return model.mesh != nullptr;
  const CatalogueNode* node = FindById(catalogue, model.id);
  return node != nullptr && node->record != nullptr && !node->record->text4.empty();
}

// Enabling a workshop button also lights it.
void EnableButton(Button& button) {
  button.Enable();
  button.Select();
}

void StartFader(Animation& fader, PartModel* model, uint32_t mode, uint32_t duration,
                uint32_t now) {
  fader.SetModel(model);
  fader.SetMode(mode);
  fader.SetDuration(duration);
  fader.Start(now);
}

// Everything that holds a part by its address lets go of it before it goes:
// the two faders and the Spray screen's large view.
void ForgetInFaders(ScreenContext& context, const PartModel* model) {
  if (model == nullptr) return;
  context.tuneUp.installFader.ForgetModel(model);
  context.tuneUp.removeFader.ForgetModel(model);
  if (context.preview != nullptr) context.preview->ForgetModel(model);
}

// Removes the part with this id, after the faders let go of it.
void RemoveFadedPart(ScreenContext& context, ItemId id) {
  if (id == 0) return;
  ForgetInFaders(context, context.installedParts->FindInstalled(id));
  context.installedParts->RemovePart(id);
}

// The part ExchangePart will take away for id: by slot in a kind-1
// category, by category in every other.
ItemId ExchangedOccupant(const InstalledPartList& parts, ItemId id) {
  const uint8_t category = CategoryNumberOf(id);
  return KindOf(id) == CategoryKind::kOnePerSubcategory
             ? parts.FindInstalledInSlot(category, SubcategoryNumberOf(id))
             : parts.FindInstalledInCategory(category);
}

// The faders let go of every part that id's exclude actions may remove.
void ForgetExcludedBy(ScreenContext& context, ItemId id) {
  const CatalogueNode* node = FindById(*context.catalogue, id);
  if (node == nullptr || node->record == nullptr) return;
  InstalledPartList& parts = *context.installedParts;
  for (const PartAction* action = node->record->actions.get(); action != nullptr;
       action = NextAction(action)) {
    if (action->type != ActionType::kExclude) continue;
    for (PartModel* model = parts.ScanFirst(); model != nullptr; model = parts.ScanNext()) {
      const bool removed = HasWildcard(action->target) ? IdMatches(model->id, action->target)
                                                       : model->id == action->target;
      if (removed) ForgetInFaders(context, model);
    }
  }
}

// Exchanges in the pending part, runs its actions and fades it in.
void InstallPendingPart(ScreenContext& context, uint32_t now) {
  TuneUpState& state = context.tuneUp;
  InstalledPartList& parts = *context.installedParts;
  const ItemId id = state.pendingId;
  // The faded occupant and the part the exchange takes away are found by
  // different rules and may differ (several parts per category); one that
  // stays must not stay invisible.
  PartModel* faded = state.installFader.Model();
  ForgetInFaders(context, parts.FindInstalled(ExchangedOccupant(parts, id)));
  parts.ExchangePart(id);
  ForgetExcludedBy(context, id);
  parts.ApplyPartActions(context.catalogue, id);
  if (faded != nullptr && state.installFader.Model() == faded) SetPartAlpha(faded, 1.0f);
  // Looked up after the actions, which may have removed the part again.
  PartModel* model = parts.FindInstalled(id);
  if (model == nullptr) {
    state.installFader.SetModel(nullptr);
    return;
  }
  SetPartAlpha(model, 0.0f);
  StartFader(state.installFader, model, kAnimateFadeIn, kFadeMs, now);
}

void OnCategoryChanged(ScreenContext& context, const CatalogueNode* category, CategoryKind kind,
                       uint8_t categoryNumber) {
  ScrollBox& subcategories = *context.subcategoryList;
  ScrollBox& partList = *context.partList;
  MenuBar& menu = *context.menuBar;
  DataStore& catalogue = *context.catalogue;
  subcategories.Clear();
  partList.Clear();

  const CatalogueNode* child = FirstSubcategory(catalogue, category);
  if (child != nullptr && child->type == NodeType::kItem) {
    subcategories.AddItem(kNoSubcategory, 0);
    subcategories.disabled = ScrollBox::kDisable;
    // Only the parts: a subcategory that follows them cannot be built in.
    for (; child != nullptr && child->type == NodeType::kItem; child = NextSubcategory(catalogue))
      partList.AddItem(child->name, child->id);
  } else {
    subcategories.disabled = ScrollBox::kEnable;
    for (; child != nullptr; child = NextSubcategory(catalogue))
      subcategories.AddItem(child->name, child->id);
  }

  if (kind == CategoryKind::kOnePerSubcategory || kind == CategoryKind::kSeveralPerCategory) {
    menu.remove.Disable();
    menu.buildIn.Disable();
  } else if (context.installedParts->FindInstalledInCategory(categoryNumber) != 0) {
    EnableButton(menu.remove);
    menu.buildIn.Disable();
  } else {
    menu.remove.Disable();
    menu.buildIn.Disable();
  }
}

void OnSubcategoryChanged(ScreenContext& context, const CatalogueNode* category, CategoryKind kind,
                          uint8_t categoryNumber) {
  ScrollBox& subcategories = *context.subcategoryList;
  ScrollBox& partList = *context.partList;
  MenuBar& menu = *context.menuBar;
  DataStore& catalogue = *context.catalogue;
  const CatalogueNode* child = SubcategoryAt(catalogue, category, subcategories.selected);
  for (const CatalogueNode* item = FirstItem(catalogue, child); item != nullptr;
       item = NextItem(catalogue))
    partList.AddItem(item->name, item->id);
  if (kind == CategoryKind::kOnePerSubcategory) {
    const auto slot = static_cast<uint8_t>(subcategories.selected + 1);
    if (context.installedParts->FindInstalledInSlot(categoryNumber, slot) != 0) {
      EnableButton(menu.remove);
    } else {
      menu.remove.Disable();
    }
  }
  menu.buildIn.Disable();
}

void OnPartChanged(ScreenContext& context) {
  const ScrollBox& partList = *context.partList;
  MenuBar& menu = *context.menuBar;
  if (partList.selected < 0) {
    menu.buildIn.Disable();
  } else if (context.installedParts->FindInstalled(partList.GetSelectedValue()) != nullptr) {
    menu.buildIn.Disable();
    EnableButton(menu.remove);
  } else {
    EnableButton(menu.buildIn);
  }
}

// False when the click ends this frame's update (the model file is missing).
bool OnBuildInClicked(ScreenContext& context, const CatalogueNode* category, ItemId selectedValue,
                      uint32_t now) {
  TuneUpState& state = context.tuneUp;
  InstalledPartList& parts = *context.installedParts;
  context.menuBar->buildIn.Disable();
  // The button is only enabled with a part selected; a click that gets here
  // without one has nothing to build in.
  if (selectedValue == 0 || context.partList->selected < 0) return true;
  const ItemId categoryId = category != nullptr ? category->id : (selectedValue & 0xFFFF0000u);
  state.pendingId =
      PendingIdFromLists(categoryId, context.subcategoryList->selected,
                         context.subcategoryList->disabled, context.partList->selected);
  if (!ModelFileExists(*context.programDir, state.pendingId)) {
    context.messageLine->SetText(kStatusFileMissing);
    return false;
  }
  const uint8_t categoryNumber = CategoryNumberOf(selectedValue);
  const ItemId occupantId =
      KindOf(selectedValue) == CategoryKind::kOnePerCategory
          ? parts.FindInstalledInCategory(categoryNumber)
          : parts.FindInstalledInSlot(categoryNumber, SubcategoryNumberOf(state.pendingId));
  PartModel* occupant = occupantId != 0 ? parts.FindInstalled(occupantId) : nullptr;
  if (occupant != nullptr) {
    context.messageLine->SetText(kStatusExchanging);
    StartFader(state.installFader, occupant, kAnimateFadeOut,
               occupant->mesh != nullptr ? kFadeMs : kFadeWithoutMeshMs, now);
  } else {
    context.messageLine->SetText(kStatusInstalling);
    InstallPendingPart(context, now);
  }
  return true;
}

void OnRemoveClicked(ScreenContext& context, ItemId selectedValue, uint32_t now) {
  if (selectedValue == 0) return;
  TuneUpState& state = context.tuneUp;
  InstalledPartList& parts = *context.installedParts;
  const uint8_t categoryNumber = CategoryNumberOf(selectedValue);
  ItemId id = 0;
  switch (KindOf(selectedValue)) {
    case CategoryKind::kOnePerSubcategory:
      if (context.subcategoryList->selected >= 0) {
        id = parts.FindInstalledInSlot(categoryNumber,
                                       static_cast<uint8_t>(context.subcategoryList->selected + 1));
      }
      break;
    case CategoryKind::kSeveralPerCategory:
      if (context.partList->selected >= 0) id = context.partList->GetSelectedValue();
      break;
    default:
      id = parts.FindInstalledInCategory(categoryNumber);
      break;
  }
  PartModel* model = id != 0 ? parts.FindInstalled(id) : nullptr;
  if (model != nullptr) {
    // The user asked for the earlier part to go as well: a second removal
    // must not leave it faded out but installed.
    if (state.removeFader.IsActive() && state.removeFader.Model() != model)
      RemoveFadedPart(context, state.removeFader.GetModelId());
    // A part that is going needs no fade-in any more.
    if (state.installFader.Model() == model && state.installFader.Mode() == kAnimateFadeIn)
      state.installFader.Stop();
    SetPartAlpha(model, 1.0f);
    StartFader(state.removeFader, model, kAnimateFadeOut, kFadeMs, now);
    context.messageLine->SetText(kStatusRemoving);
  }
  context.menuBar->remove.Disable();
}

void StepRemoveFader(ScreenContext& context, uint32_t now) {
  Animation& fader = context.tuneUp.removeFader;
  if (!fader.IsActive()) return;
  if (!fader.JustFinished()) {
    fader.Advance(now);
    return;
  }
  RemoveFadedPart(context, fader.GetModelId());
  fader.SetModel(nullptr);
  context.messageLine->SetText("");
  // Only a part that is not installed can be built in: enabling the button
  // for an installed one would install it twice.
  const ScrollBox& partList = *context.partList;
  if (partList.selected >= 0 &&
      context.installedParts->FindInstalled(partList.GetSelectedValue()) == nullptr)
    EnableButton(context.menuBar->buildIn);
}

void StepInstallFader(ScreenContext& context, uint32_t now) {
  Animation& fader = context.tuneUp.installFader;
  if (!fader.IsActive()) return;
  if (!fader.JustFinished()) {
    fader.Advance(now);
    return;
  }
  if (fader.Mode() == kAnimateFadeOut) {
    InstallPendingPart(context, now);
    return;
  }
  SetPartAlpha(fader.Model(), 1.0f);
  fader.SetModel(nullptr);
  EnableButton(context.menuBar->remove);
  context.messageLine->SetText("");
}

}  // namespace

void FillCategoryList(DataStore& catalogue, ScrollBox& list) {
  for (const CatalogueNode* category = FirstCategory(catalogue); category != nullptr;
       category = NextCategory(catalogue)) {
    if (IsListedKind(category->id)) list.AddItem(category->name, category->id);
  }
}

void FillInstalledList(const DataStore& catalogue, InstalledPartList& parts, ScrollBox& list,
                       InstalledListFilter filter) {
  for (const PartModel* model = parts.ScanFirst(); model != nullptr; model = parts.ScanNext()) {
    if (!PassesFilter(catalogue, *model, filter)) continue;
    const ItemId id = model->id;
    const CatalogueNode* category = FindById(catalogue, id & 0xFFFF0000u);
    const CatalogueNode* subcategory = FindById(catalogue, id & 0xFFFFFF00u);
    switch (KindOf(id)) {
      case CategoryKind::kOnePerCategory:
        if (category != nullptr) list.AddItem(category->name, id);
        break;
      case CategoryKind::kOnePerSubcategory:
        if (category != nullptr && subcategory != nullptr)
          list.AddItem(category->name + " :: " + subcategory->name, id);
        break;
      case CategoryKind::kSeveralPerCategory:
        if (const CatalogueNode* item = FindById(catalogue, id)) list.AddItem(item->name, id);
        break;
      default:
        break;
    }
  }
}

ItemId PendingIdFromLists(ItemId categoryId, int32_t subcategoryIndex, uint8_t subcategoryDisabled,
                          int32_t partIndex) {
  const auto subcategory = static_cast<uint8_t>(subcategoryIndex + 1 + (subcategoryDisabled & 1));
  const auto item = static_cast<uint8_t>(partIndex + 1);
  return MakeItemId(static_cast<uint8_t>(categoryId >> 24), CategoryNumberOf(categoryId),
                    subcategory, item);
}

void UpdateTuneUp(ScreenContext& context) {
  ScrollBox& categories = *context.categoryList;
  ScrollBox& subcategories = *context.subcategoryList;
  ScrollBox& partList = *context.partList;
  MenuBar& menu = *context.menuBar;
  const uint32_t now = context.clock();

  categories.Update(*context.widgets);
  subcategories.Update(*context.widgets);
  partList.Update(*context.widgets);

  const ItemId selectedValue = categories.GetSelectedValue();
  const CategoryKind kind = KindOf(selectedValue);
  const uint8_t categoryNumber = CategoryNumberOf(selectedValue);
  const CatalogueNode* category = FindCategory(*context.catalogue, categoryNumber);

  if (categories.HasChanged()) {
    if (categories.selected < 0) {
      subcategories.Clear();
      partList.Clear();
      menu.remove.Disable();
      menu.buildIn.Disable();
      return;
    }
    OnCategoryChanged(context, category, kind, categoryNumber);
  }
  if (subcategories.HasChanged()) {
    partList.Clear();
    if (subcategories.selected < 0) {
      menu.buildIn.Disable();
      if (kind == CategoryKind::kOnePerSubcategory) menu.remove.Disable();
      return;
    }
    OnSubcategoryChanged(context, category, kind, categoryNumber);
  }
  if (partList.HasChanged()) OnPartChanged(context);
  if (menu.buildIn.IsClicked() && !OnBuildInClicked(context, category, selectedValue, now)) return;
  if (menu.remove.IsClicked()) OnRemoveClicked(context, selectedValue, now);
  StepRemoveFader(context, now);
  StepInstallFader(context, now);
}

void AdvanceFaders(TuneUpState& state, uint32_t now) {
  state.installFader.Advance(now);
  state.removeFader.Advance(now);
}

}  // namespace kbh
