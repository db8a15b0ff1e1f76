// The in-memory catalogue: a tree of categories, subcategories and items
// (parts), some carrying a PartRecord with descriptive texts and the actions
// that installing the part triggers. Filled once by the loader
// (data_store_loader.hpp) and only read afterwards.
//
// Shape: the store holds the first category; categories are chained by next.
// A category's children are its subcategories and, where the file put items
// directly under it, those items (always before the first subcategory), in
// file order in one chain. A subcategory's children are items.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/id_index.hpp"
#include "catalogue/item_id.hpp"
#include "platform/math/math.hpp"

namespace kbh {

// --- Part records ------------------------------------------------------------

// What installing a part does to other parts. Files may hold any byte; other
// types are kept but do nothing.
enum class ActionType : uint8_t {
  kRequire = 1,   // install the target if it is missing
  kExclude = 2,   // remove the target, or every installed part a wildcard matches
  kPosition = 4,  // move the target's model by position
  kPaint = 8,     // paint the target's model, or one subset of it
};

struct PaintPayload {
  // 0xAARRGGBB. The top byte also picks the subset: 0 all, n the n-th.
  uint32_t colour = 0;
  uint8_t finish = 0;  // 0 to 6, see the paint rule
};

struct PartAction {
  ActionType type{};
  ItemId target = 0;   // may hold wildcard bytes
  Vec3 position;       // kPosition only
  PaintPayload paint;  // kPaint only
  std::unique_ptr<PartAction> next;

  PartAction() = default;
  PartAction(const PartAction&) = delete;
  PartAction& operator=(const PartAction&) = delete;
  // A record may hold 65535 actions: unlink them one by one instead of
  // letting the chain of owners recurse that deep.
  ~PartAction();
};

struct PartRecord {
  std::string text1;  // the part's title (seller screen)
  std::string text2;  // a second line of the seller screen
  std::string text3;  // kept, shown nowhere
  std::string text4;  // the description; a part with an empty one has no seller entry
  std::string text5;  // the seller logo's name
  std::unique_ptr<PartAction> actions;  // in file order
};

// Links action behind the last action of the list that starts at first.
void AppendAction(std::unique_ptr<PartAction>& first, std::unique_ptr<PartAction> action);
// The action after action; null for null.
const PartAction* NextAction(const PartAction* action);

// --- Tree --------------------------------------------------------------------

enum class NodeType : uint8_t { kCategory = 1, kSubcategory = 2, kItem = 3 };

struct CatalogueNode {
  CatalogueNode* next = nullptr;        // next sibling
  CatalogueNode* firstChild = nullptr;  // null for items
  // As read from the file: a line feed stays part of the name unless a NUL
  // came before it. Windows-1252.
  std::string name;
  NodeType type = NodeType::kItem;
  ItemId id = 0;
  std::unique_ptr<PartRecord> record;

  // Bookkeeping that keeps appends and lookups independent of the tree's size.
  CatalogueNode* parent = nullptr;  // null for categories
  CatalogueNode* lastChild = nullptr;
  uint32_t childCount = 0;
  uint32_t ordinal = 0;  // position in the parent's (or the top-level) chain
};

struct DataStore {
  DataStore() = default;
  DataStore(const DataStore&) = delete;
  DataStore& operator=(const DataStore&) = delete;

  CatalogueNode* first = nullptr;  // first category; null when empty

  // The walk cursors, one per level, shared by every user: a walk must not
  // start another walk of its own level while it runs.
  const CatalogueNode* categoryCursor = nullptr;
  const CatalogueNode* subcategoryCursor = nullptr;
  const CatalogueNode* itemCursor = nullptr;

  // Owns every node, in blocks that are filled in order and never grow past
  // what they reserved, so the links stay valid and nodes made one after the
  // other lie side by side (the records that attach to them later are found
  // by walking memory forward rather than jumping around it).
  std::vector<std::vector<CatalogueNode>> nodeBlocks;
  size_t nodeCount = 0;
  CatalogueNode* lastCategory = nullptr;
  uint32_t categoryCount = 0;
  // For each id, the node FindById must answer: the first in pre-order.
  IdIndex firstById;
};

// Appends a category at the end of the top-level chain.
CatalogueNode* AddCategoryNode(DataStore& store, std::string_view name, ItemId id);
// Append a subcategory or an item at the end of parent's children; null
// (and nothing added) when parent is null.
CatalogueNode* AddSubcategoryNode(DataStore& store, CatalogueNode* parent, std::string_view name,
                                  ItemId id);
CatalogueNode* AddItemNode(DataStore& store, CatalogueNode* parent, std::string_view name,
                           ItemId id);

// Replaces node's record (the old one is destroyed) with record. False, and
// nothing changed, when node or record is null.
bool AttachRecord(CatalogueNode* node, std::unique_ptr<PartRecord> record);

// --- Looking up --------------------------------------------------------------

// The node whose id equals id exactly, or null. With several such nodes (a
// file that repeats a category), the first in pre-order: a node before its
// children, its children before its next sibling.
const CatalogueNode* FindById(const DataStore& store, ItemId id);
CatalogueNode* FindById(DataStore& store, ItemId id);
// The first category whose category-number byte equals number, or null.
const CatalogueNode* FindCategory(const DataStore& store, uint8_t number);

// --- Cursor walks ------------------------------------------------------------
// Each returns the node its cursor now points at, or null.

const CatalogueNode* FirstCategory(DataStore& store);
const CatalogueNode* NextCategory(DataStore& store);
// The first child of category (a subcategory, or an item placed directly
// under the category); null, cursor untouched, for a null category.
const CatalogueNode* FirstSubcategory(DataStore& store, const CatalogueNode* category);
const CatalogueNode* NextSubcategory(DataStore& store);
// The child of category at position index (0 = first), left in the
// subcategory cursor; null when the chain is shorter.
const CatalogueNode* SubcategoryAt(DataStore& store, const CatalogueNode* category, int index);
// An item is its own first item, so walking each child of a category and each
// item of that child covers items in subcategories and directly below it.
const CatalogueNode* FirstItem(DataStore& store, const CatalogueNode* node);
const CatalogueNode* NextItem(DataStore& store);

}  // namespace kbh
