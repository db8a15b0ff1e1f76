// Access to the demo workshop the build generated (build/<preset>/workshop):
// its catalogue as the program loads it, and the meshes of its parts.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"
#include "catalogue/part_files.hpp"
#include "platform/mesh/xfile.hpp"
#include "platform/os/os.hpp"

namespace kbh::testing {

inline std::string WorkshopPath(const std::string& relative) {
  return std::string(KBH_WORKSHOP_DIR) + "/" + relative;
}

inline std::string MeshPath(ItemId id) {
  return WorkshopPath(PartFileRelativePath(kPartModel, id));
}

// False when the file is missing or not a mesh.
inline bool LoadWorkshopMesh(ItemId id, MeshData* mesh) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(MeshPath(id), &bytes) && ReadXFile(bytes, mesh);
}

// Every item node of the catalogue, in catalogue order.
inline std::vector<const CatalogueNode*> AllItems(const DataStore& store) {
  std::vector<const CatalogueNode*> items;
  for (const CatalogueNode* c = store.first; c; c = c->next) {
    for (const CatalogueNode* child = c->firstChild; child; child = child->next) {
      if (child->type == NodeType::kItem) {
        items.push_back(child);
        continue;
      }
      for (const CatalogueNode* item = child->firstChild; item; item = item->next) {
        items.push_back(item);
      }
    }
  }
  return items;
}

inline std::vector<const PartAction*> Actions(const CatalogueNode* node) {
  std::vector<const PartAction*> actions;
  if (!node || !node->record) return actions;
  for (const PartAction* a = node->record->actions.get(); a; a = a->next.get()) {
    actions.push_back(a);
  }
  return actions;
}

}  // namespace kbh::testing
