#include "workshop/installed_parts.hpp"

#include <algorithm>
#include <iterator>
#include <limits>
#include <unordered_map>
#include <utility>

#include "catalogue/part_files.hpp"
#include "gfx/texture.hpp"

namespace kbh {

namespace {

// The colour's top byte is the subset selector, not an alpha: the subset
// keeps the diffuse alpha it had, so a part painted by another part's
// build-in neither vanishes nor turns translucent, and a fade goes on.
void PaintSubset(const PaintPayload& paint, MeshRecord& mesh, uint32_t subset) {
  Material& material = mesh.materials[subset];
  const float alpha = material.diffuse.a;
  ApplyPaint(paint.colour, paint.finish, &material, &mesh.factors[subset]);
  material.diffuse.a = alpha;
}

bool IsStandardItem(const CatalogueNode* node) {
  return node != nullptr && node->type == NodeType::kItem &&
         KindOf(node->id) != CategoryKind::kActionOnly;
}

}  // namespace

InstalledPartList::InstalledPartList(GraphicsDevice& graphics, ProgramDir programDir)
    : graphics_(graphics), programDir_(std::move(programDir)) {}

InstalledPartList::~InstalledPartList() {
  RemoveAllParts();
}

PartModel* InstalledPartList::InstallPart(ItemId id) {
  entries_.push_back(std::make_unique<PartModel>());
  PartModel& model = *entries_.back();
  model.id = id;
  if (walkInstalls_ != nullptr && ++(*walkInstalls_)[id] > kMaxWalkInstallsPerPart)
    installRunaway_ = true;
  PathBuffer path;
  if (LoadPartMesh(graphics_, model, FormatPartFilePath(path, programDir_, kPartModel, id))) {
    const Vec3 centreOffset = ComputePartBounds(model);
    model.world = MatrixTranslation(centreOffset.x, centreOffset.y, centreOffset.z);
    // A part may well come without a texture of its own.
    LoadModelTexture(graphics_, FormatPartFilePath(path, programDir_, kPartTexture, id),
                     &model.texture);
  }
  model.image = LoadBmp(graphics_, FormatPartFilePath(path, programDir_, kPartPicture, id));
  return &model;
}

int InstalledPartList::RemovePart(ItemId id) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [id](const auto& model) { return model->id == id; });
  if (found != entries_.end()) RemoveEntry(found);
  return 1;
}

int InstalledPartList::ExchangePart(ItemId id) {
  const uint8_t category = CategoryNumberOf(id);
  const ItemId occupant = KindOf(id) == CategoryKind::kOnePerSubcategory
                              ? FindInstalledInSlot(category, SubcategoryNumberOf(id))
                              : FindInstalledInCategory(category);
  if (occupant != 0) RemovePart(occupant);
  InstallPart(id);
  return 1;
}

void InstalledPartList::RemoveAllParts() {
  walkCursor_ = {};
  savedCursor_ = {};
  scanCursor_ = {};
  entries_.clear();
}

void InstalledPartList::RemoveEntry(Entries::iterator entry) {
  StepBackFrom(walkCursor_, entry);
  StepBackFrom(savedCursor_, entry);
  StepBackFrom(scanCursor_, entry);
  entries_.erase(entry);
}

void InstalledPartList::StepBackFrom(Cursor& cursor, Entries::iterator entry) {
  if (cursor.state != Cursor::State::kOn || cursor.on != entry) return;
  if (entry == entries_.begin()) {
    cursor.state = Cursor::State::kBeforeHead;
  } else {
    cursor.on = std::prev(entry);
  }
}

PartModel* InstalledPartList::Step(Cursor& cursor) {
  Entries::iterator next;
  switch (cursor.state) {
    case Cursor::State::kNone:
      return nullptr;
    case Cursor::State::kBeforeHead:
      next = entries_.begin();
      break;
    case Cursor::State::kOn:
      next = std::next(cursor.on);
      break;
  }
  if (next == entries_.end()) {
    cursor.state = Cursor::State::kNone;
    return nullptr;
  }
  cursor.state = Cursor::State::kOn;
  cursor.on = next;
  return next->get();
}

PartModel* InstalledPartList::FirstInstalled() {
  savedCursor_ = walkCursor_;
  walkCursor_ = {Cursor::State::kBeforeHead, {}};
  return NextInstalled();
}

PartModel* InstalledPartList::NextInstalled() {
  PartModel* model = Step(walkCursor_);
  if (model == nullptr && savedCursor_.state != Cursor::State::kNone) {
    walkCursor_ = std::exchange(savedCursor_, Cursor{});
  }
  return model;
}

PartModel* InstalledPartList::ScanFirst() {
  scanCursor_ = {Cursor::State::kBeforeHead, {}};
  return Step(scanCursor_);
}

PartModel* InstalledPartList::ScanNext() {
  return Step(scanCursor_);
}

PartModel* InstalledPartList::FindInstalled(ItemId id) const {
  for (const auto& model : entries_) {
    if (model->id == id) return model.get();
  }
  return nullptr;
}

ItemId InstalledPartList::FindInstalledInCategory(uint8_t category) const {
  if (category == 0) return 0;
  for (const auto& model : entries_) {
    if (CategoryNumberOf(model->id) == category) return model->id;
  }
  return 0;
}

ItemId InstalledPartList::FindInstalledInSlot(uint8_t category, uint8_t subcategory) const {
  if (category == 0) return 0;
  for (const auto& model : entries_) {
    if (CategoryNumberOf(model->id) == category && SubcategoryNumberOf(model->id) == subcategory) {
      return model->id;
    }
  }
  return 0;
}

void InstalledPartList::SetAllPartsRotation(float x, float y, float z) {
  for (PartModel* model = ScanFirst(); model != nullptr; model = ScanNext()) {
    if (model->mesh != nullptr) SetMeshRotation(*model->mesh, x, y, z);
  }
}

void InstalledPartList::SetAllPartsAlpha(float alpha) {
  for (PartModel* model = ScanFirst(); model != nullptr; model = ScanNext()) {
    if (model->mesh != nullptr) SetMeshAlpha(*model->mesh, alpha);
  }
}

uint32_t InstalledPartList::CountVertices() {
  uint64_t total = 0;
  for (PartModel* model = ScanFirst(); model != nullptr; model = ScanNext()) {
    if (model->mesh != nullptr) total += MeshVertexCount(*model->mesh);
  }
  return static_cast<uint32_t>(std::min<uint64_t>(total, std::numeric_limits<uint32_t>::max()));
}

void InstalledPartList::ExcludeMatching(ItemId target) {
  PartModel* model = FirstInstalled();
  while (model != nullptr) {
    const ItemId id = model->id;
    model = NextInstalled();
    if (IdMatches(id, target)) RemovePart(id);
  }
}

bool InstalledPartList::ApplyPartActions(const DataStore* catalogue, ItemId id) {
  if (catalogue == nullptr) return false;
  const CatalogueNode* node = FindById(*catalogue, id);
  if (node != nullptr && node->record != nullptr) {
    for (const PartAction* action = node->record->actions.get(); action != nullptr;
         action = action->next.get()) {
      switch (action->type) {
        case ActionType::kRequire:
          // The required part's own actions are not run.
          if (FindInstalled(action->target) == nullptr) InstallPart(action->target);
          break;
        case ActionType::kExclude:
          if (HasWildcard(action->target)) {
            ExcludeMatching(action->target);
          } else {
            RemovePart(action->target);
          }
          break;
        case ActionType::kPosition:
        case ActionType::kPaint:
          ApplyPositionOrPaint(*action, FindInstalled(action->target));
          break;
        default:
          break;
      }
    }
  }
  if (id == 0) return true;
  // What the other installed parts prescribe for this one: a part installed
  // after the parts that position or paint it still gets their settings.
  for (PartModel* model = FirstInstalled(); model != nullptr; model = NextInstalled()) {
    const CatalogueNode* other = FindById(*catalogue, model->id);
    if (other == nullptr || other->record == nullptr) continue;
    for (const PartAction* action = other->record->actions.get(); action != nullptr;
         action = action->next.get()) {
      if ((action->type == ActionType::kPosition || action->type == ActionType::kPaint) &&
          IdMatches(action->target, id)) {
        ApplyPositionOrPaint(*action, FindInstalled(id));
      }
    }
  }
  return true;
}

int InstalledPartList::LoadStandardParts(DataStore& catalogue) {
  for (const CatalogueNode* category = FirstCategory(catalogue); category != nullptr;
       category = NextCategory(catalogue)) {
    const CategoryKind kind = KindOf(category->id);
    for (const CatalogueNode* child = FirstSubcategory(catalogue, category); child != nullptr;
         child = NextSubcategory(catalogue)) {
      const CatalogueNode* item = FirstItem(catalogue, child);
      if (kind == CategoryKind::kSeveralPerCategory) {
        // Every item of the first child: the items placed directly under
        // the category are followed by its subcategories, which are skipped.
        for (; item != nullptr; item = NextItem(catalogue)) {
          if (IsStandardItem(item)) InstallPart(item->id);
        }
        break;
      }
      if (IsStandardItem(item)) InstallPart(item->id);
      if (kind != CategoryKind::kOnePerSubcategory) break;
    }
  }

  ApplyActionsOfAllParts(catalogue);
  return 1;
}

void InstalledPartList::ApplyActionsOfAllParts(const DataStore& catalogue) {
  // Parts that the actions install join the walk. Actions that remove and
  // re-install parts in a circle would never let it end, so the walk counts
  // the installs it causes per id: a sound catalogue puts a part back once
  // or twice, a circle does it on every step. The parts installed before the
  // walk are not counted, however often a catalogue repeats one of them.
  std::unordered_map<ItemId, int> installs;
  walkInstalls_ = &installs;
  for (PartModel* model = FirstInstalled(); model != nullptr; model = NextInstalled()) {
    ApplyPartActions(&catalogue, model->id);
    if (installRunaway_) {
      graphics_.Log().WriteLog("\n error: part actions keep re-installing parts; stopped");
      walkCursor_ = std::exchange(savedCursor_, Cursor{});
      break;
    }
  }
  walkInstalls_ = nullptr;
  installRunaway_ = false;
}

void ApplyPositionOrPaint(const PartAction& action, PartModel* model) {
  if (model == nullptr) return;
  if (action.type == ActionType::kPosition) {
    model->position = action.position;
    return;
  }
  if (action.type != ActionType::kPaint || model->mesh == nullptr) return;
  MeshRecord& mesh = *model->mesh;
  const uint32_t selector = action.paint.colour >> 24;
  if (selector == 0) {
    for (uint32_t subset = 0; subset < mesh.subsetCount; ++subset)
      PaintSubset(action.paint, mesh, subset);
  } else if (selector <= mesh.subsetCount) {
    PaintSubset(action.paint, mesh, selector - 1);
  }
}

}  // namespace kbh
