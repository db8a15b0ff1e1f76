// The Spray screen's two 3D views, driven by one animation:
//   - the preview: a 450 x 260 picture of the whole moped, rendered into a
//     texture of its own during the screen's update and drawn blended at
//     (525, 46), so its empty background darkens the screen behind it;
//   - the selected part: drawn large on the screen, first while the camera
//     flies to it and it fades in, then spinning about its own centre; either
//     whole, or one subset solid inside a faint ghost of the rest.
//
// Time comes from the caller (the program's millisecond tick), as for every
// Animation. The preview's texture and depth surface are device resources:
// release them (ReleasePreview, or destroy the object) before the graphics
// device.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/gpu/device_resource.hpp"
#include "scene/animation.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {

class PreviewAnimation : public Animation {
 public:
  PreviewAnimation(GraphicsDevice& graphics, const CubeTextureSlots& cubes);

  // Sets the flight's fixed start, fade-in with camera move over 500 ms, and
  // makes the preview's render texture and depth surface. False when either
  // cannot be made: then there is no preview picture at all (nothing is
  // rendered or drawn, and nothing is logged), while the selected-part view
  // works as before.
  bool InitPreview();
  // Frees the texture and the depth surface.
  void ReleasePreview();

  // Once a frame, on every screen: advances a running flight; the frame
  // after it finished, turns it idle and gives the part's mesh its centring
  // matrix as base matrix, so the spin turns it about its own centre.
  void UpdatePreview(uint32_t now);
  // Flies to model (nothing for null), which fades in on the way: the
  // camera ends 600 units in front of the centre of the part's bounding box
  // and 100 above it, both shifted 50 along x.
  void StartCameraMove(PartModel* model, uint32_t now);
  // No part in the large view, and idle.
  void ClearPreview();
  // Animation::ForgetModel, and the large view lets go of the part too.
  void ForgetModel(const PartModel* removed);

  // Renders every installed part with a mesh into the preview texture, as
  // they stand (unturned, opacity bytes ignored, faded parts included), on
  // translucent black. Runs outside the frame's scene: it sets its own
  // target and gives the device's back to it afterwards.
  void RenderPreview(InstalledPartList& parts);
  // The preview picture at (525, 46), blended. False when there is none.
  bool DrawPreview();
  // The large view of the part. row is the subset list's selected row + 1:
  // 0 or 1 draws the whole part without blending; row r >= 2 draws subset
  // r - 2 solid, then the other subsets at 20 % alpha (the part's alpha
  // stays 0.2 until the Spray update makes every part opaque again).
  void RenderSelectedPart(uint16_t row, uint32_t now);

  PartModel* PreviewModel() const { return previewModel_; }
  const TextureRecord* PreviewTexture() const { return previewTexture_.get(); }

 private:
  GraphicsDevice& graphics_;
  const CubeTextureSlots& cubes_;
  PartModel* previewModel_ = nullptr;
  std::unique_ptr<TextureRecord> previewTexture_;
  UniqueSurface previewDepth_;
};

// The preview's projection: its own field of view, aspect and depth range.
Matrix SprayPreviewProjection();
// Where the preview draws a part: T(position) x scaling x rotation x
// translation.
Matrix PreviewWorldMatrix(const PartModel& model);
// Where the large view draws its part: T(position) x B x scaling x rotation
// x B^-1 x translation, with B the mesh's base matrix, so that the rotation
// turns the part about the point B moves to the origin.
Matrix SelectedPartWorldMatrix(const PartModel& model);

}  // namespace kbh
