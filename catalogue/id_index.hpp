// The id index behind FindById. Ids are grouped by their top three bytes (a
// category, or a subcategory together with its items): a small hash table
// finds the group, and the item byte indexes an array inside it. Records
// arrive in file order, so consecutive lookups land in the same array; a flat
// table of a million ids would instead miss the cache on almost every lookup
// and make loading grow faster than the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/item_id.hpp"

namespace kbh {

struct CatalogueNode;

class IdIndex {
 public:
  // The node stored for id, or null.
  CatalogueNode* Find(ItemId id) const;
  // Stores node (not null) for id unless id is there already. Returns the
  // entry for id, which the caller may point at another node; valid until
  // the next insertion.
  CatalogueNode*& Insert(ItemId id, CatalogueNode* node);

 private:
  static constexpr uint32_t kFree = UINT32_MAX;
  struct Slot {
    uint32_t key = 0;  // the id's top three bytes
    uint32_t group = kFree;
  };
  size_t SlotOf(uint32_t key) const;
  uint32_t FindGroup(uint32_t key) const;
  void Grow();

  std::vector<Slot> slots_;
  int shift_ = 64;
  // Indexed by the item byte; only as long as the highest item byte stored,
  // so a file pays for an entry with the records that numbered it.
  std::vector<std::vector<CatalogueNode*>> groups_;
};

}  // namespace kbh
