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

// The program's own scene renderer, run headless on the finished tree: it
// draws the seller screen's part pictures and the previews people look at.
// Each function is optional; what is missing is skipped (the seller screen
// then shows no picture for a part, as it does for any part whose picture is
// absent). main.cpp wires in what the scene library offers.
struct PictureHooks {
  // A part as the seller screen shows it (about 235 x 169), painted as its
  // catalogue record paints it.
  std::function<bool(const std::string& root, uint32_t id, Image* picture)> partPicture;
  // The standard moped from the workshop screen's camera at a turn angle.
  std::function<bool(const std::string& root, float angle, Image* picture)> turntableView;
  // The paint screen's small picture of the whole moped.
  std::function<bool(const std::string& root, Image* picture)> paintPreview;
};

struct WorkshopOptions {
  // Side of each face of the reflection map.
  int environmentSize = 256;
  PictureHooks renderer;
  // Where the preview PNGs go (outside the tree); empty for none.
  std::string previewDir;
};

struct WorkshopSummary {
  int meshes = 0;
  int textures = 0;
  int partPictures = 0;
  int otherPictures = 0;
  int previews = 0;
  uint64_t bytes = 0;
};

// Builds the tree under root (created if missing), then lets the renderer
// draw from the finished tree; the catalogue (compiled separately) should be
// in place by then for the pictures to show the catalogue's paints. Files
// this builder owns that it no longer writes (a part dropped from the table)
// are removed. False, with the reason in *error, when a file cannot be
// written, a renderer function fails or the lettering has no font.
bool BuildWorkshop(const std::string& root, const WorkshopOptions& options,
                   WorkshopSummary* summary, std::string* error);

}  // namespace kbh
