#include "scene/preview_animation.hpp"

#include "gfx/draw2d.hpp"
#include "scene/scene_pass.hpp"
#include "scene/stage.hpp"

namespace kbh {

namespace {

Matrix Translation(Vec3 v) {
  return MatrixTranslation(v.x, v.y, v.z);
}

// The states both views draw with. Solid fill although the program never
// asks for it here: the TuneUp screen's wireframe switch lives in the same
// cache and must not reach the Spray screen.
void SetPartViewStates(GraphicsDevice& graphics) {
  graphics.SetRenderStateCached(RS_LIGHTING, 1);
  graphics.SetRenderStateCached(RS_ZENABLE, ZB_TRUE);
  graphics.SetRenderStateCached(RS_CULLMODE, CULL_CCW);
  graphics.SetRenderStateCached(RS_FILLMODE, FILL_SOLID);
  graphics.SetRenderStateCached(RS_MULTISAMPLEANTIALIAS, 1);
  graphics.SetRenderStateCached(RS_SPECULARENABLE, 1);
}

void DrawSubsetAsLoaded(GraphicsDevice& graphics, const MeshRecord& mesh, uint32_t subset) {
  DrawReflectingSubset(graphics, mesh, subset, mesh.materials[subset]);
}

}  // namespace

Matrix SprayPreviewProjection() {
  return MatrixPerspectiveFovLH(kSprayPreviewCamera.fovY, kSprayPreviewCamera.aspect,
                                kSprayPreviewCamera.zNear, kSprayPreviewCamera.zFar);
}

Matrix PreviewWorldMatrix(const PartModel& model) {
  const Matrix place = Translation(model.position);
  const MeshRecord* mesh = model.mesh.get();
  if (mesh == nullptr) return place;
  return MatrixMultiply(MatrixMultiply(MatrixMultiply(place, mesh->scaling), mesh->rotation),
                        mesh->translation);
}

Matrix SelectedPartWorldMatrix(const PartModel& model) {
  const Matrix place = Translation(model.position);
  const MeshRecord* mesh = model.mesh.get();
  if (mesh == nullptr) return place;
  Matrix baseInverse = MatrixIdentity();
  // The base matrix is a translation, never singular; should it ever be,
  // the part turns about the origin instead of vanishing.
  if (!IsIdentity(mesh->baseMatrix)) MatrixInverse(mesh->baseMatrix, &baseInverse);
  Matrix world = MatrixMultiply(place, mesh->baseMatrix);
  world = MatrixMultiply(world, mesh->scaling);
  world = MatrixMultiply(world, mesh->rotation);
  world = MatrixMultiply(world, baseInverse);
  return MatrixMultiply(world, mesh->translation);
}

PreviewAnimation::PreviewAnimation(GraphicsDevice& graphics, const CubeTextureSlots& cubes)
    : graphics_(graphics), cubes_(cubes) {}

bool PreviewAnimation::InitPreview() {
  CameraPath path = Path();
  path.atFrom = kFlightStartLookAt;
  path.eyeFrom = kFlightStartEye;
  SetPath(path);
  SetMode(kAnimateFadeIn | kAnimateCamera);
  SetDuration(kFlightMilliseconds);

  ReleasePreview();
  Device* device = graphics_.GetDevice();
  if (device == nullptr) return false;
  previewTexture_ =
      CreateRenderTexture(graphics_, kSprayPreviewCamera.width, kSprayPreviewCamera.height);
  previewDepth_ = UniqueSurface(
      device, device->CreateDepthSurface(kSprayPreviewCamera.width, kSprayPreviewCamera.height));
  // A texture without its depth surface would show whatever it held: keep
  // both or neither.
  if (previewTexture_ == nullptr || !previewDepth_) ReleasePreview();
  return previewTexture_ != nullptr;
}

void PreviewAnimation::ReleasePreview() {
  ReleaseTexture(previewTexture_);
  previewDepth_.reset();
}

void PreviewAnimation::UpdatePreview(uint32_t now) {
  if (JustFinished()) {
    if (previewModel_ != nullptr && previewModel_->mesh != nullptr) {
      SetMeshBaseMatrix(*previewModel_->mesh, previewModel_->world);
    }
  } else if (State() == AnimationState::kRunning) {
    Advance(now);
  }
}

void PreviewAnimation::StartCameraMove(PartModel* model, uint32_t now) {
  if (model == nullptr) return;
  if (model->mesh != nullptr) SetMeshBaseMatrix(*model->mesh, MatrixIdentity());
  SetModel(model);
  // The centre of the part's bounding box where the scene puts it: the
  // position plus minus the centre offset.
  const Vec3 p = model->position;
  const Vec3 c = model->centreOffset;
  CameraPath path = Path();
  path.atTo = {kFlightEndShiftX - c.x + p.x, p.y - c.y, p.z - c.z};
  path.eyeTo = {kFlightEndShiftX - c.x + p.x, kFlightEndHeight - c.y + p.y,
                p.z - (c.z + kFlightEndDistance)};
  SetPath(path);
  Start(now);
  previewModel_ = model;
}

void PreviewAnimation::ClearPreview() {
  previewModel_ = nullptr;
  Stop();
}

void PreviewAnimation::ForgetModel(const PartModel* removed) {
  Animation::ForgetModel(removed);
  if (removed != nullptr && previewModel_ == removed) ClearPreview();
}

void PreviewAnimation::RenderPreview(InstalledPartList& parts) {
  Device* device = graphics_.GetDevice();
  if (device == nullptr || previewTexture_ == nullptr || !previewDepth_) return;
  const TextureHandle keptTarget = device->GetRenderTarget();
  const SurfaceHandle keptDepth = device->GetDepthSurface();
  device->SetRenderTarget(previewTexture_->texture.get(), previewDepth_.get());
  device->Clear(kClearTarget | kClearZBuffer, kSprayPreviewClearColor, 1.0f, 0);
  device->BeginScene();

  SetPartViewStates(graphics_);
  device->SetTransform(TS_PROJECTION, SprayPreviewProjection());
  graphics_.SetViewLookAt(kSprayPreviewCamera.eye, kSprayPreviewCamera.at);
  BeginReflection(graphics_, cubes_);
  // The whole moped as built: neither the opacity bytes nor the fades apply.
  for (PartModel* model = parts.ScanFirst(); model != nullptr; model = parts.ScanNext()) {
    const MeshRecord* mesh = model->mesh.get();
    if (mesh == nullptr) continue;
    device->SetTransform(TS_WORLD, PreviewWorldMatrix(*model));
    for (uint32_t subset = 0; subset < mesh->subsetCount; ++subset)
      DrawSubsetAsLoaded(graphics_, *mesh, subset);
  }
  EndReflection(graphics_);
  graphics_.SetRenderStateCached(RS_MULTISAMPLEANTIALIAS, 0);

  device->EndScene();
  device->SetRenderTarget(keptTarget, keptDepth);
}

bool PreviewAnimation::DrawPreview() {
  return DrawTexture(graphics_, previewTexture_.get(), kSprayPreviewX, kSprayPreviewY) != 0;
}

void PreviewAnimation::RenderSelectedPart(uint16_t row, uint32_t now) {
  Device* device = graphics_.GetDevice();
  PartModel* model = previewModel_;
  if (device == nullptr || model == nullptr || model->mesh == nullptr) return;
  MeshRecord& mesh = *model->mesh;

  SetPartViewStates(graphics_);
  if (State() != AnimationState::kIdle) {
    // Flying (or arrived in this very frame): the flight's view of the part
    // standing still.
    SetMeshBaseMatrix(mesh, model->world);
    SetMeshRotation(mesh, 0.0f, 0.0f, 0.0f);
    graphics_.SetViewMatrix(View());
  } else {
    graphics_.SetViewLookAt(Path().eyeTo, Path().atTo);
    const uint32_t sinceArrival = now - EndTime();
    SetMeshRotation(mesh, 0.0f, static_cast<float>(sinceArrival) * kSpinRadiansPerMillisecond,
                    0.0f);
  }
  device->SetTransform(TS_PROJECTION, StageProjection(kTuneUpCamera));
  BeginReflection(graphics_, cubes_);
  device->SetTransform(TS_WORLD, SelectedPartWorldMatrix(*model));

  if (row <= 1) {
    graphics_.SetRenderStateCached(RS_ALPHABLENDENABLE, 0);
    for (uint32_t subset = 0; subset < mesh.subsetCount; ++subset)
      DrawSubsetAsLoaded(graphics_, mesh, subset);
  } else {
    const uint32_t chosen = row - 2u;
    // The chosen subset first, so that the ghost behind it fails the depth
    // test instead of being blended over it.
    if (chosen < mesh.subsetCount) DrawSubsetAsLoaded(graphics_, mesh, chosen);
    graphics_.SetRenderStateCached(RS_SHADEMODE, SHADE_GOURAUD);
    SetMeshAlpha(mesh, kGhostAlpha);
    device->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
    graphics_.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
    graphics_.SetRenderStateCached(RS_SRCBLEND, BLEND_SRCALPHA);
    graphics_.SetRenderStateCached(RS_DESTBLEND, BLEND_INVSRCALPHA);
    for (uint32_t subset = 0; subset < mesh.subsetCount; ++subset) {
      if (subset != chosen) DrawSubsetAsLoaded(graphics_, mesh, subset);
    }
  }
  EndReflection(graphics_);
  graphics_.SetRenderStateCached(RS_MULTISAMPLEANTIALIAS, 0);
}

}  // namespace kbh
