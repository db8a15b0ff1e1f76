// kbh-workshop-builder OUT_DIR [PREVIEW_DIR]: writes the demo workshop into
// OUT_DIR, renders the part pictures with the program's own scene pass, and
// writes previews of the standard moped into PREVIEW_DIR.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/scene_renderer.hpp"
#include "tools/workshop/workshop_builder.hpp"

namespace {

// The seller screen shows part pictures on their own; a light studio grey
// keeps chrome and black rubber readable.
constexpr uint32_t kPictureBackground = 0xFFD9D6CF;
constexpr int kPictureWidth = 235;
constexpr int kPictureHeight = 169;

// The scene is opened once, on the finished tree, when the first picture is
// asked for; every picture after that reuses the device and the catalogue.
class PictureStudio {
 public:
  kbh::SceneRenderer* Open(const std::string& root) {
    if (scene_ == nullptr && !failed_) {
      std::string error;
      scene_ = kbh::SceneRenderer::Open(root, &error);
      if (scene_ == nullptr) {
        std::fprintf(stderr, "kbh-workshop-builder: cannot render: %s\n", error.c_str());
        failed_ = true;
      }
    }
    return scene_.get();
  }

 private:
  std::unique_ptr<kbh::SceneRenderer> scene_;
  bool failed_ = false;
};

bool Delivered(kbh::Image picture, kbh::Image* out) {
  if (picture.texels.empty()) return false;
  *out = std::move(picture);
  return true;
}

// The Spray screen with the frame chosen, at the end of the camera's flight:
// the whole part, and one subset solid inside the ghost of the rest. The
// frame, because its tubes show the ghost against the floor.
bool WriteSprayViews(kbh::SceneRenderer& scene, const std::string& previewDir) {
  constexpr kbh::ItemId kFrame = 0x00010101;
  const struct {
    const char* name;
    uint16_t row;
  } views[] = {{"spray_selected_whole.png", 1}, {"spray_selected_subset.png", 3}};
  scene.InstallParts({});
  for (const auto& view : views) {
    const kbh::Image picture = scene.RenderSprayView(kFrame, view.row);
    const std::string path = (std::filesystem::path(previewDir) / view.name).string();
    if (picture.texels.empty() || !kbh::WriteWholeFile(path, kbh::EncodePng(picture))) {
      std::fprintf(stderr, "kbh-workshop-builder: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: kbh-workshop-builder OUT_DIR [PREVIEW_DIR]\n");
    return 2;
  }
  PictureStudio studio;
  kbh::WorkshopOptions options;
  if (argc == 3) options.previewDir = argv[2];
  options.renderer.partPicture = [&](const std::string& root, uint32_t id, kbh::Image* out) {
    kbh::SceneRenderer* scene = studio.Open(root);
    return scene != nullptr && Delivered(scene->RenderPartPicture(id, kPictureWidth, kPictureHeight,
                                                                  kPictureBackground),
                                         out);
  };
  options.renderer.turntableView = [&](const std::string& root, float angle, kbh::Image* out) {
    kbh::SceneRenderer* scene = studio.Open(root);
    if (scene == nullptr) return false;
    scene->InstallParts({});  // part pictures swapped parts in; show the standard moped
    return Delivered(scene->RenderTuneUpView(angle), out);
  };
  options.renderer.paintPreview = [&](const std::string& root, kbh::Image* out) {
    kbh::SceneRenderer* scene = studio.Open(root);
    if (scene == nullptr) return false;
    scene->InstallParts({});
    return Delivered(scene->RenderSprayPreview(), out);
  };

  kbh::WorkshopSummary summary;
  std::string error;
  if (!kbh::BuildWorkshop(argv[1], options, &summary, &error)) {
    std::fprintf(stderr, "kbh-workshop-builder: %s\n", error.c_str());
    return 1;
  }
  kbh::SceneRenderer* scene = options.previewDir.empty() ? nullptr : studio.Open(argv[1]);
  if (scene != nullptr) {
    if (!WriteSprayViews(*scene, options.previewDir)) return 1;
    summary.previews += 2;
  }
  std::printf(
      "kbh-workshop-builder: %d meshes, %d textures, %d pictures, %d part pictures, %d previews "
      "(%.1f MB) in %s\n",
      summary.meshes, summary.textures, summary.otherPictures, summary.partPictures,
      summary.previews, static_cast<double>(summary.bytes) / (1024.0 * 1024.0), argv[1]);
  return 0;
}
