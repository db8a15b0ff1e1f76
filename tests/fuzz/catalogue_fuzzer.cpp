// Feeds arbitrary bytes to the catalogue loader. Besides the sanitizers'
// findings it traps when the tree breaks a promise its users rely on.
#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// FindById answers the first node in pre-order with the id; numbered
// children never take the wildcard byte.
void CheckTree(kbh::DataStore& store) {
  std::unordered_map<kbh::ItemId, const kbh::CatalogueNode*> firstSeen;
  std::vector<const kbh::CatalogueNode*> categories;
  for (const kbh::CatalogueNode* node = store.first; node != nullptr; node = node->next) {
    categories.push_back(node);
  }
  // Pre-order with an explicit stack: siblings pushed in reverse.
  std::vector<const kbh::CatalogueNode*> stack(categories.rbegin(), categories.rend());
  while (!stack.empty()) {
    const kbh::CatalogueNode* node = stack.back();
    stack.pop_back();
    firstSeen.try_emplace(node->id, node);
    Require(kbh::FindById(store, node->id) == firstSeen[node->id]);
    if (node->type != kbh::NodeType::kCategory) {
      Require(kbh::SubcategoryNumberOf(node->id) != kbh::kWildcardByte);
      Require(kbh::ItemNumberOf(node->id) != kbh::kWildcardByte);
    }
    std::vector<const kbh::CatalogueNode*> children;
    for (const kbh::CatalogueNode* child = node->firstChild; child != nullptr;
         child = child->next) {
      children.push_back(child);
    }
    stack.insert(stack.end(), children.rbegin(), children.rend());
    if (node->record != nullptr) {
      Require(node->record->text4.size() < 1000);
      Require(node->record->text1.size() < 500 && node->record->text5.size() < 50);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kbh::DataStore store;
  kbh::LoadReport report;
  kbh::LoadDataStoreFromBytes(bytes, store, &report);
  CheckTree(store);
  // The report must not change what is loaded.
  kbh::DataStore plain;
  kbh::LoadDataStoreFromBytes(bytes, plain);
  Require(plain.nodeCount == store.nodeCount);
  return 0;
}
