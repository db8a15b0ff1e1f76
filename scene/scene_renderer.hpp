// Pictures of a workshop without the program: a headless device on a
// workshop folder (the program's data tree: data/firstData.khb,
// data/objects, ..., gfx/env/envmap.dds, gfx/env/mainBG.dds) that renders
// the TuneUp view, the Spray screen's preview of the whole moped and its
// view of a selected part, and close-ups of single parts. The demo-workshop builder makes its part
// pictures and previews with it; kbh-render is its command line.
//
// The passes run as the program runs them, with the blend states that the
// program's cursor leaves behind in every frame, so a picture shows what
// the program would show.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/data_store.hpp"
#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/image/image.hpp"
#include "scene/preview_animation.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {

class SceneRenderer {
 public:
  // Opens the workshop: a headless device, the catalogue, the light, the
  // environment map and the background, and the standard parts installed
  // as start-up installs them. Null, with the reason in *error, when the
  // device cannot be made or the catalogue cannot be read; a missing
  // environment map or background only leaves it out of the pictures.
  static std::unique_ptr<SceneRenderer> Open(const std::string& workshopDir, std::string* error);
  ~SceneRenderer();
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  // Builds the moped anew: the standard parts when ids is empty, otherwise
  // those parts in that order; then the actions of every installed part run
  // as at start-up, and every part is made opaque as the TuneUp screen's
  // first frame does (paint actions leave their subset selector in the
  // diffuse alpha).
  void InstallParts(const std::vector<ItemId>& ids);
  // The moped as it stands, for changes between pictures (paints, positions).
  InstalledPartList& Parts() { return *parts_; }
  const DataStore& Catalogue() const { return catalogue_; }

  // The TuneUp screen's picture, 1024 x 768: the background, then the
  // moped turned by angle radians about the vertical axis.
  Image RenderTuneUpView(float angle, uint32_t fillMode = FILL_SOLID);
  // The Spray screen's 450 x 260 preview of the whole moped, untouched by
  // fades, on its translucent black (alpha 160).
  Image RenderSprayPreview();
  // The Spray screen's 3D views, 1024 x 768: the background, the preview
  // at its place, and the installed part id as its large view shows it
  // spinMilliseconds after the camera arrived: whole for row 1, subset
  // row - 2 solid in the ghost of the rest for row >= 2. Empty for a part
  // that is not installed or has no model.
  Image RenderSprayView(ItemId id, uint16_t row, uint32_t spinMilliseconds = 0);
  // A close-up of one part, width x height, framing its bounding box from
  // the front left and above, on background (0xAARRGGBB; 0 = transparent).
  // A part that is not installed is built in first as the TuneUp screen
  // would (exchanging the occupant of its place), so it carries the paints
  // and position the catalogue gives it. Empty for a part without model or
  // a size outside 1 ... 4096.
  Image RenderPartPicture(ItemId id, int width, int height, uint32_t background = 0);

 private:
  SceneRenderer();
  void SetCursorBlendStates();
  // What the Spray screen's update does before its passes: every part
  // unturned and opaque, then the preview rendered.
  void PrepareSprayViews();

  MemoryLogSink logText_;
  std::unique_ptr<ErrorLog> log_;
  std::unique_ptr<GraphicsDevice> graphics_;
  std::unique_ptr<CubeTextureSlots> cubes_;
  std::unique_ptr<TextureRecord> background_;
  DataStore catalogue_;
  std::unique_ptr<InstalledPartList> parts_;
  std::unique_ptr<PreviewAnimation> preview_;
};

}  // namespace kbh
