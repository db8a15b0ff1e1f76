#include "catalogue/data_store.hpp"

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
  auto [entry, inserted] = store.firstById.try_emplace(node->id, node);
  if (!inserted && PrecedesInPreOrder(*node, *entry->second)) entry->second = node;
}

CatalogueNode* NewNode(DataStore& store, std::string_view name, ItemId id, NodeType type) {
  CatalogueNode& node = store.nodes.emplace_back();
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
  const auto entry = store.firstById.find(id);
  return entry == store.firstById.end() ? nullptr : entry->second;
}

CatalogueNode* FindById(DataStore& store, ItemId id) {
  const auto entry = store.firstById.find(id);
  return entry == store.firstById.end() ? nullptr : entry->second;
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
