#include "catalogue/id_index.hpp"

namespace kbh {

// Fibonacci hashing spreads the arithmetic progressions that group keys form
// (subcategories step by 1, categories by 256).
size_t IdIndex::SlotOf(uint32_t key) const {
  return static_cast<size_t>((uint64_t{key} * 0x9E3779B97F4A7C15ull) >> shift_);
}

uint32_t IdIndex::FindGroup(uint32_t key) const {
  if (slots_.empty()) return kFree;
  const size_t mask = slots_.size() - 1;
  for (size_t at = SlotOf(key);; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.group == kFree || slot.key == key) return slot.group;
  }
}

CatalogueNode* IdIndex::Find(ItemId id) const {
  const uint32_t group = FindGroup(id >> 8);
  if (group == kFree) return nullptr;
  const std::vector<CatalogueNode*>& nodes = groups_[group];
  const uint8_t item = ItemNumberOf(id);
  return item < nodes.size() ? nodes[item] : nullptr;
}

CatalogueNode*& IdIndex::Insert(ItemId id, CatalogueNode* node) {
  const uint32_t key = id >> 8;
  uint32_t group = FindGroup(key);
  if (group == kFree) {
    // At most half full, so probes stay short and a free slot always exists.
    if ((groups_.size() + 1) * 2 > slots_.size()) Grow();
    group = static_cast<uint32_t>(groups_.size());
    groups_.emplace_back();
    const size_t mask = slots_.size() - 1;
    size_t at = SlotOf(key);
    while (slots_[at].group != kFree)
      at = (at + 1) & mask;
    slots_[at] = Slot{key, group};
  }
  std::vector<CatalogueNode*>& nodes = groups_[group];
  const uint8_t item = ItemNumberOf(id);
  if (item >= nodes.size()) nodes.resize(size_t{item} + 1, nullptr);
  if (nodes[item] == nullptr) nodes[item] = node;
  return nodes[item];
}

void IdIndex::Grow() {
  const size_t size = slots_.empty() ? 16 : slots_.size() * 2;
  std::vector<Slot> old(size);
  old.swap(slots_);
  shift_ = 64;
  for (size_t bits = size; bits > 1; bits >>= 1)
    --shift_;
  const size_t mask = size - 1;
  for (const Slot& slot : old) {
    if (slot.group == kFree) continue;
    size_t at = SlotOf(slot.key);
    while (slots_[at].group != kFree)
      at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace kbh
