#include "catalogue/data_store.hpp"

#include <algorithm>
#include <vector>

namespace kbh {

// --- Part records ------------------------------------------------------------

PartAction::~PartAction() {
  std::unique_ptr<PartAction> rest = std::move(next);
  while (rest)
    rest = std::move(rest->next);
}

void AppendAction(std::unique_ptr<PartAction>& first, std::unique_ptr<PartAction> action) {
  std::unique_ptr<PartAction>* slot = &first;
  while (*slot)
    slot = &(*slot)->next;
  *slot = std::move(action);
}

const PartAction* NextAction(const PartAction* action) {
  return action == nullptr ? nullptr : action->next.get();
}

// --- Tree --------------------------------------------------------------------

namespace {

// The chain of ordinals from the top level down to node.
std::vector<uint32_t> PathOf(const CatalogueNode& node) {
  std::vector<uint32_t> path;
  for (const CatalogueNode* at = &node; at != nullptr; at = at->parent)
    path.push_back(at->ordinal);
  return {path.rbegin(), path.rend()};
}

// Pre-order is the lexicographic order of the ordinal paths, an ancestor (a
// prefix) coming before its descendants.
bool PrecedesInPreOrder(const CatalogueNode& a, const CatalogueNode& b) {
  return PathOf(a) < PathOf(b);
}

// Nodes are usually added in pre-order, so the first one to claim an id keeps
// it; only a repeated id added out of order needs the comparison.
void IndexNode(DataStore& store, CatalogueNode* node) {
  CatalogueNode*& first = store.firstById.Insert(node->id, node);
  if (first != node && PrecedesInPreOrder(*node, *first)) first = node;
}

// Blocks double from 64 to 16384 nodes: a small file pays for little, and a
// large one at most twice what it uses.
constexpr size_t kFirstBlockNodes = 64;
constexpr size_t kLargestBlockNodes = 16384;

CatalogueNode* NewNode(DataStore& store, std::string_view name, ItemId id, NodeType type) {
  if (store.nodeBlocks.empty() ||
      store.nodeBlocks.back().size() == store.nodeBlocks.back().capacity()) {
    const size_t size = store.nodeBlocks.empty()
                            ? kFirstBlockNodes
                            : std::min(store.nodeBlocks.back().capacity() * 2, kLargestBlockNodes);
    store.nodeBlocks.emplace_back().reserve(size);
  }
  CatalogueNode& node = store.nodeBlocks.back().emplace_back();
  ++store.nodeCount;
  node.name = name;
  node.id = id;
  node.type = type;
  return &node;
}

CatalogueNode* AddChild(DataStore& store, CatalogueNode* parent, std::string_view name, ItemId id,
                        NodeType type) {
  if (parent == nullptr) return nullptr;
  CatalogueNode* node = NewNode(store, name, id, type);
  node->parent = parent;
  node->ordinal = parent->childCount++;
  if (parent->lastChild == nullptr) {
    parent->firstChild = node;
  } else {
    parent->lastChild->next = node;
  }
  parent->lastChild = node;
  IndexNode(store, node);
  return node;
}

}  // namespace

CatalogueNode* AddCategoryNode(DataStore& store, std::string_view name, ItemId id) {
  CatalogueNode* node = NewNode(store, name, id, NodeType::kCategory);
  node->ordinal = store.categoryCount++;
  if (store.lastCategory == nullptr) {
    store.first = node;
  } else {
    store.lastCategory->next = node;
  }
  store.lastCategory = node;
  IndexNode(store, node);
  return node;
}

CatalogueNode* AddSubcategoryNode(DataStore& store, CatalogueNode* parent, std::string_view name,
                                  ItemId id) {
  return AddChild(store, parent, name, id, NodeType::kSubcategory);
}

CatalogueNode* AddItemNode(DataStore& store, CatalogueNode* parent, std::string_view name,
                           ItemId id) {
  return AddChild(store, parent, name, id, NodeType::kItem);
}

bool AttachRecord(CatalogueNode* node, std::unique_ptr<PartRecord> record) {
  if (node == nullptr || record == nullptr) return false;
  node->record = std::move(record);
  return true;
}

// --- Looking up --------------------------------------------------------------

const CatalogueNode* FindById(const DataStore& store, ItemId id) {
  return store.firstById.Find(id);
}

CatalogueNode* FindById(DataStore& store, ItemId id) {
  return store.firstById.Find(id);
}

const CatalogueNode* FindCategory(const DataStore& store, uint8_t number) {
  for (const CatalogueNode* category = store.first; category != nullptr;
       category = category->next) {
    if (CategoryNumberOf(category->id) == number) return category;
  }
  return nullptr;
}

// --- Cursor walks ------------------------------------------------------------

namespace {

const CatalogueNode* Advance(const CatalogueNode*& cursor) {
  if (cursor != nullptr) cursor = cursor->next;
  return cursor;
}

}  // namespace

const CatalogueNode* FirstCategory(DataStore& store) {
  store.categoryCursor = store.first;
  return store.categoryCursor;
}

const CatalogueNode* NextCategory(DataStore& store) {
  return Advance(store.categoryCursor);
}

const CatalogueNode* FirstSubcategory(DataStore& store, const CatalogueNode* category) {
  if (category == nullptr) return nullptr;
  store.subcategoryCursor = category->firstChild;
  return store.subcategoryCursor;
}

const CatalogueNode* NextSubcategory(DataStore& store) {
  return Advance(store.subcategoryCursor);
}

const CatalogueNode* SubcategoryAt(DataStore& store, const CatalogueNode* category, int index) {
  if (category == nullptr) return nullptr;
  const CatalogueNode* child = index < 0 ? nullptr : category->firstChild;
  for (int step = 0; step < index && child != nullptr; ++step)
    child = child->next;
  store.subcategoryCursor = child;
  return child;
}

const CatalogueNode* FirstItem(DataStore& store, const CatalogueNode* node) {
  if (node == nullptr) return nullptr;
  store.itemCursor = node->type == NodeType::kItem ? node : node->firstChild;
  return store.itemCursor;
}

const CatalogueNode* NextItem(DataStore& store) {
  return Advance(store.itemCursor);
}

}  // namespace kbh
