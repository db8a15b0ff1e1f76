// kbh-workshop-builder OUT_DIR [PREVIEW_DIR]: writes the demo workshop into
// OUT_DIR, and previews of the standard moped into PREVIEW_DIR once the scene
// renderer can draw them.
#include <cstdio>
#include <string>

#include "tools/workshop/workshop_builder.hpp"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: kbh-workshop-builder OUT_DIR [PREVIEW_DIR]\n");
    return 2;
  }
  kbh::WorkshopOptions options;
  if (argc == 3) options.previewDir = argv[2];
  kbh::WorkshopSummary summary;
  std::string error;
  if (!kbh::BuildWorkshop(argv[1], options, &summary, &error)) {
    std::fprintf(stderr, "kbh-workshop-builder: %s\n", error.c_str());
    return 1;
  }
  std::printf(
      "kbh-workshop-builder: %d meshes, %d textures, %d pictures, %d part pictures, %d previews "
      "(%.1f MB) in %s\n",
      summary.meshes, summary.textures, summary.otherPictures, summary.partPictures,
      summary.previews, static_cast<double>(summary.bytes) / (1024.0 * 1024.0), argv[1]);
  return 0;
}
