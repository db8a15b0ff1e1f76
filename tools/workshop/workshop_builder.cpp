#include "tools/workshop/workshop_builder.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

#include "catalogue/part_files.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/mesh/xfile.hpp"
#include "platform/os/os.hpp"
#include "tools/workshop/interface_pictures.hpp"
#include "tools/workshop/lettering.hpp"
#include "tools/workshop/review_sheets.hpp"
#include "tools/workshop/skin.hpp"
#include "tools/workshop/skin_kit.hpp"
#include "tools/workshop/workshop_hall.hpp"

namespace kbh {

namespace {

namespace fs = std::filesystem;

// Writes files below the root and remembers which ones, so that stale files
// of the folders the builder owns can be cleared afterwards.
class TreeWriter {
 public:
  TreeWriter(std::string root, WorkshopSummary* summary)
      : root_(std::move(root)), summary_(summary) {}

  bool Write(const std::string& relative, const std::vector<uint8_t>& bytes, std::string* error) {
    const fs::path path = fs::path(root_) / relative;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec || bytes.empty() || !WriteWholeFile(path.string(), bytes)) {
      *error = "cannot write " + path.string();
      return false;
    }
    written_.insert(path.lexically_normal().string());
    summary_->bytes += bytes.size();
    return true;
  }

  // Removes files with the given extension in folder that this run did not
  // write.
  void RemoveStale(const std::string& folder, const std::string& extension) {
    std::error_code ec;
    const fs::path dir = fs::path(root_) / folder;
    if (!fs::is_directory(dir, ec)) return;
    std::vector<fs::path> stale;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
      const fs::path path = entry.path().lexically_normal();
      if (entry.is_regular_file(ec) && path.extension() == extension &&
          written_.count(path.string()) == 0) {
        stale.push_back(path);
      }
    }
    for (const fs::path& path : stale)
      fs::remove(path, ec);
  }

 private:
  std::string root_;
  WorkshopSummary* summary_;
  std::set<std::string> written_;
};

std::vector<uint8_t> EncodeTexture(const PartTexture& texture) {
  switch (texture.format) {
    case TextureFormat::kPng:
      return EncodePng(texture.image);
    case TextureFormat::kBmp:
      return EncodeBmp24(texture.image);
    case TextureFormat::kDds:
    default:
      return EncodeDds(texture.image,
                       texture.image.sourceFormat == FMT_X8R8G8B8 ? FMT_X8R8G8B8 : FMT_A8R8G8B8);
  }
}

// Every face and size the pictures letter with, opened up front so that a
// missing font stops the build with one clear message.
bool PrepareLettering(Lettering* lettering, std::string* error) {
  std::vector<TextStyle> styles = {
      {"DejaVu Sans", 17, 700},  {"DejaVu Serif", 28, 700}, {"DejaVu Sans", 12, 400},
      {"DejaVu Sans", 11, 400},  {"DejaVu Sans", 15, 700},  {"DejaVu Sans", 19, 700},
      {"DejaVu Serif", 21, 700}, {"DejaVu Sans", 12, 700},  {"DejaVu Sans", 22, 700},
      {"DejaVu Serif", 13, 400}, {"DejaVu Serif", 24, 700}, {"DejaVu Sans", 30, 700},
  };
  for (const std::vector<TextStyle>& more : {skin::SkinFonts(), ReviewFonts()})
    styles.insert(styles.end(), more.begin(), more.end());
  for (const TextStyle& style : styles) {
    if (!lettering->Prepare(style, error)) return false;
  }
  return true;
}

bool WriteSkin(const Lettering& lettering, TreeWriter* tree, WorkshopSummary* summary,
               skin::Skin* skin, std::string* error) {
  if (!skin::MakeSkin(lettering, skin, error)) return false;
  for (const skin::SkinFile& file : skin::SkinFiles(*skin)) {
    if (!tree->Write("gfx/gui/" + file.name, EncodeDds(*file.picture, file.picture->sourceFormat),
                     error)) {
      return false;
    }
    ++summary->otherPictures;
  }
  return true;
}

// Pictures drawn by the scene renderer from the finished tree.
bool RenderPictures(const std::string& root, const WorkshopOptions& options, TreeWriter* tree,
                    WorkshopSummary* summary, ReviewContent* review, std::string* error) {
  const PictureHooks& renderer = options.renderer;
  if (renderer.partPicture) {
    for (const PartSource& part : DemoParts()) {
      Image picture;
      if (!renderer.partPicture(root, part.id, &picture)) {
        *error = "cannot render the picture of " + PartFileRelativePath(kPartModel, part.id);
        return false;
      }
      if (!tree->Write(PartFileRelativePath(kPartPicture, part.id),
                       EncodeDds(picture, FMT_X8R8G8B8), error)) {
        return false;
      }
      ++summary->partPictures;
    }
  }
  if (options.previewDir.empty()) return true;
  // Four quarter turns, the first a little round so that the moped is seen
  // three-quarter from the front.
  TreeWriter previews(options.previewDir, summary);
  if (renderer.turntableView) {
    for (int quarter = 0; quarter < 4; ++quarter) {
      Image view;
      const float angle = 0.6f + 1.5707964f * static_cast<float>(quarter);
      if (!renderer.turntableView(root, angle, &view)) {
        *error = "cannot render the turntable view";
        return false;
      }
      if (!previews.Write("turntable_" + std::to_string(quarter) + ".png", EncodePng(view),
                          error)) {
        return false;
      }
      if (quarter == 0) review->tuneUpView = view;
      ++summary->previews;
    }
  }
  if (renderer.paintPreview) {
    Image view;
    if (!renderer.paintPreview(root, &view)) {
      *error = "cannot render the paint preview";
      return false;
    }
    if (!previews.Write("paint_preview.png", EncodePng(view), error)) return false;
    ++summary->previews;
    review->sprayPreview = view;
  }
  return true;
}

// One sheet per tab next to the previews, from the finished tree.
bool WriteReviewSheets(const std::string& root, const WorkshopOptions& options,
                       const skin::Skin& skin, const Lettering& lettering, ReviewContent review,
                       WorkshopSummary* summary, std::string* error) {
  if (options.previewDir.empty()) return true;
  ReviewContent loaded = LoadReviewContent(root);
  loaded.tuneUpView = std::move(review.tuneUpView);
  loaded.sprayPreview = std::move(review.sprayPreview);
  TreeWriter previews(options.previewDir, summary);
  for (const ReviewSheet& sheet : MakeReviewSheets(skin, lettering, loaded)) {
    if (!previews.Write(sheet.name, EncodePng(sheet.picture), error)) return false;
    ++summary->previews;
  }
  return true;
}

}  // namespace

bool BuildWorkshop(const std::string& root, const WorkshopOptions& options,
                   WorkshopSummary* summary, std::string* error) {
  *summary = {};
  TreeWriter tree(root, summary);
  Lettering lettering;
  if (!PrepareLettering(&lettering, error)) return false;

  for (const PartSource& part : DemoParts()) {
    const PartMesh mesh = part.build();
    if (!tree.Write(PartFileRelativePath(kPartModel, part.id), WriteXFile(mesh.mesh, part.encoding),
                    error)) {
      return false;
    }
    ++summary->meshes;
  }
  for (const PartTexture& texture : MakePartTextures()) {
    if (!tree.Write(PartFileRelativePath(kPartTexture, texture.fileNumber), EncodeTexture(texture),
                    error)) {
      return false;
    }
    ++summary->textures;
  }
  for (const SellerLogo& logo : MakeSellerLogos(lettering)) {
    if (!tree.Write("data/logos/" + logo.name + ".dds", EncodeDds(logo.image, FMT_A8R8G8B8),
                    error)) {
      return false;
    }
    ++summary->otherPictures;
  }

  // The scene and the interface.
  const PartMesh ball = BuildPreviewBall();
  const struct {
    const char* path;
    std::vector<uint8_t> bytes;
  } pictures[] = {
      {"gfx/env/envmap.dds",
       EncodeCubeDds(RenderEnvironmentMap(options.environmentSize), FMT_X8R8G8B8)},
      {"gfx/env/mainBG.dds", EncodeDds(RenderBackdrop(), FMT_X8R8G8B8)},
      {"gfx/gui/kbh_load.dds", EncodeDds(MakeLoadingImage(lettering), FMT_A8R8G8B8)},
      {"gfx/gui/gui_colsel_palette.dds", EncodeDds(MakePalette(), FMT_A8R8G8B8)},
      {"gfx/gui/gui_Spray_modelframe.dds", EncodeDds(MakeModelFrame(lettering), FMT_A8R8G8B8)},
  };
  for (const auto& picture : pictures) {
    if (!tree.Write(picture.path, picture.bytes, error)) return false;
    ++summary->otherPictures;
  }
  if (!tree.Write("gfx/gui/gui_colsel_ball.mxa", WriteXFile(ball.mesh, XEncoding::kText), error)) {
    return false;
  }
  ++summary->meshes;
  skin::Skin skin;
  if (!WriteSkin(lettering, &tree, summary, &skin, error)) return false;

  // The images folder exists even while no part pictures are rendered, so the
  // tree has the layout the program expects.
  std::error_code ec;
  fs::create_directories(fs::path(root) / "data/images", ec);
  ReviewContent review;
  if (!RenderPictures(root, options, &tree, summary, &review, error)) return false;
  if (!WriteReviewSheets(root, options, skin, lettering, std::move(review), summary, error)) {
    return false;
  }
  tree.RemoveStale("data/objects", ".mxa");
  tree.RemoveStale("data/textures", ".khx");
  tree.RemoveStale("data/images", ".khi");
  tree.RemoveStale("data/logos", ".dds");
  tree.RemoveStale("gfx/gui", ".dds");
  return true;
}

}  // namespace kbh
