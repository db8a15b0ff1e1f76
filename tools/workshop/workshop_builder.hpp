// Writes the demo workshop: every file the program reads at start-up and
// when parts are built in, except the catalogue itself (compiled from
// assets/catalogue.json by kbh-catalogue). The result depends on nothing but
// this code: no clocks, no randomness, no order that could change between
// runs, so two builds give the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/image/image.hpp"
#include "tools/workshop/part_table.hpp"

namespace kbh {

struct WorkshopOptions {
  // Side of each face of the reflection map.
  int environmentSize = 256;
  // The seller screen's picture of a part (about 235 x 169), rendered by the
  // program's own scene renderer from the part's mesh. Until that renderer
  // can run headless here this stays empty and no .khi files are written;
  // the seller screen then shows no picture, as it does for any part whose
  // picture is missing.
  std::function<bool(const PartSource& part, const PartMesh& mesh, Image* picture)> partPicture;
};

struct WorkshopSummary {
  int meshes = 0;
  int textures = 0;
  int partPictures = 0;
  int otherPictures = 0;
  uint64_t bytes = 0;
};

// Builds the tree under root (created if missing). Files this builder owns
// that it no longer writes (a part dropped from the table) are removed.
// False, with the reason in *error, when a file cannot be written or the
// lettering has no font.
bool BuildWorkshop(const std::string& root, const WorkshopOptions& options,
                   WorkshopSummary* summary, std::string* error);

// The file name of a part's mesh, texture or picture below the workshop root.
std::string PartFileName(const char* folder, uint32_t id, const char* extension);

}  // namespace kbh
