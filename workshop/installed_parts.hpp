// The moped on screen: the ordered list of installed parts, each a PartModel
// with its mesh, texture and picture. Installing, removing and exchanging
// parts, the catalogue's actions that installing a part triggers on others
// (require, exclude, position, paint), and the standard parts of start-up.
//
// Walks. Two kinds of walk keep their position in the list itself, as the
// workshop code expects:
//   - FirstInstalled / NextInstalled, with one saved cursor so that one walk
//     may run inside another (the inner walk's end resumes the outer one);
//   - ScanFirst / ScanNext, on a cursor of their own, for passes (drawing,
//     counting) that must not disturb a walk they may run inside.
// Removing a part never leaves a cursor dangling: a cursor that stood on the
// removed part steps back, so the walk's next step lands on the part that
// followed it (or on a part appended since). Searches use no cursor.
//
// The list owns device resources through its models: destroy it before the
// graphics device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

#include "catalogue/data_store.hpp"
#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "workshop/part_mesh.hpp"

namespace kbh {

class InstalledPartList {
 public:
  InstalledPartList(GraphicsDevice& graphics, ProgramDir programDir);
  ~InstalledPartList();
  InstalledPartList(const InstalledPartList&) = delete;
  InstalledPartList& operator=(const InstalledPartList&) = delete;

  // --- Changing the list ---------------------------------------------------
  // Appends a part for id and loads its model, texture and picture
  // (catalogue/part_files.hpp). The part stays in the list even when its
  // files are missing. Never null.
  PartModel* InstallPart(ItemId id);
  // Removes the first part whose id equals id exactly; nothing when there is
  // none. Returns 1.
  int RemovePart(ItemId id);
  // Removes the part occupying id's place, then installs id: in a kind-1
  // category the place is the subcategory, in every other the category.
  // Returns 1.
  int ExchangePart(ItemId id);
  // Releases every part; the list is empty and every walk ended afterwards.
  void RemoveAllParts();

  // --- Walks ---------------------------------------------------------------
  // Starts a walk (saving the position of a walk already running) and
  // returns the first part, or null for an empty list.
  PartModel* FirstInstalled();
  // The next part; null when the walk has ended, and then the saved walk,
  // if any, resumes where it was.
  PartModel* NextInstalled();
  // The same walk order on the scan cursor, which nothing else moves.
  PartModel* ScanFirst();
  PartModel* ScanNext();

  // --- Searches ------------------------------------------------------------
  // The first part whose id equals id exactly, or null.
  PartModel* FindInstalled(ItemId id) const;
  // The id of the first part of category number category (byte 2); 0 when
  // there is none or category is 0.
  ItemId FindInstalledInCategory(uint8_t category) const;
  // The id of the first part of that category and subcategory (bytes 2 and
  // 1); 0 when there is none or category is 0.
  ItemId FindInstalledInSlot(uint8_t category, uint8_t subcategory) const;
  size_t Count() const { return entries_.size(); }

  // --- All parts at once ---------------------------------------------------
  // Each applies to the parts that have a mesh.
  void SetAllPartsRotation(float x, float y, float z);
  void SetAllPartsAlpha(float alpha);
  // The sum of the vertex counts of all meshes, for the statistics line.
  uint32_t CountVertices();

  // --- Catalogue actions ---------------------------------------------------
  // Runs the actions of id's own record, then the position and paint
  // actions of every installed part that target id (wildcards included).
  // False when there is no catalogue.
  bool ApplyPartActions(const DataStore* catalogue, ItemId id);
  // Installs the standard parts of every category, then runs the actions of
  // every installed part (ApplyActionsOfAllParts). Returns 1.
  int LoadStandardParts(DataStore& catalogue);
  // ApplyPartActions for every installed part in list order, those that the
  // actions install included. Actions that install one id more than eight
  // times during the walk end it with the log line
  // "\n error: part actions keep re-installing parts; stopped".
  void ApplyActionsOfAllParts(const DataStore& catalogue);

 private:
  using Entries = std::list<std::unique_ptr<PartModel>>;
  // Where a walk stands: nowhere (ended), before the first entry, or on an
  // entry, whose successor is the walk's next step.
  struct Cursor {
    enum class State : uint8_t { kNone, kBeforeHead, kOn };
    State state = State::kNone;
    Entries::iterator on;
  };

  PartModel* Step(Cursor& cursor);
  void RemoveEntry(Entries::iterator entry);
  void StepBackFrom(Cursor& cursor, Entries::iterator entry);
  void ExcludeMatching(ItemId target);

  GraphicsDevice& graphics_;
  ProgramDir programDir_;
  Entries entries_;
  Cursor walkCursor_;
  Cursor savedCursor_;
  Cursor scanCursor_;
  // While ApplyActionsOfAllParts runs: how often each id was installed by
  // the walk's actions, and whether one went past the limit.
  static constexpr int kMaxWalkInstallsPerPart = 8;
  std::unordered_map<ItemId, int>* walkInstalls_ = nullptr;
  bool installRunaway_ = false;
};

// Applies a position action (the model moves to its position) or a paint
// action (the colour's top byte picks the subset: 0 all, n the n-th, past
// the subset count none) to model. Null models, models without mesh and
// other action types are left alone.
void ApplyPositionOrPaint(const PartAction& action, PartModel* model);

}  // namespace kbh
