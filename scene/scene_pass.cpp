#include "scene/scene_pass.hpp"

namespace kbh {

namespace {

// 1/255 in the single precision every byte-to-float step of the program uses.
constexpr float kByteScale = 0.003921569f;

}  // namespace

void SetupLights(GraphicsDevice& graphics) {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return;
  device->SetLight(0, SceneLight());
  device->LightEnable(0, true);
}

void SetModelPassStates(GraphicsDevice& graphics, uint32_t fillMode) {
  graphics.SetRenderStateCached(RS_LIGHTING, 1);
  graphics.SetRenderStateCached(RS_ZENABLE, ZB_TRUE);
  graphics.SetRenderStateCached(RS_CULLMODE, CULL_CCW);
  graphics.SetRenderStateCached(RS_FILLMODE, fillMode);
  graphics.SetRenderStateCached(RS_MULTISAMPLEANTIALIAS, 1);
  graphics.SetRenderStateCached(RS_SPECULARENABLE, 1);
}

void BeginReflection(GraphicsDevice& graphics, const CubeTextureSlots& cubes) {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return;
  graphics.SetTextureCached(0, cubes.GetCubeTexture(kEnvironmentMapSlot));
  device->SetTextureStageState(0, TSS_TEXCOORDINDEX, kTciCameraSpaceReflectionVector);
  device->SetTextureStageState(0, TSS_TEXTURETRANSFORMFLAGS, kTtffCount3);
  device->SetTextureStageState(0, TSS_COLOROP, TOP_BLENDFACTORALPHA);
}

void EndReflection(GraphicsDevice& graphics) {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return;
  device->SetTextureStageState(0, TSS_TEXCOORDINDEX, kTciPassThru);
  device->SetTextureStageState(0, TSS_TEXTURETRANSFORMFLAGS, kTtffDisable);
  device->SetTextureStageState(0, TSS_COLOROP, TOP_MODULATE);
  graphics.SetTextureCached(0, TextureHandle::kNone);
}

void DrawReflectingSubset(GraphicsDevice& graphics, const MeshRecord& mesh, uint32_t subset,
                          const Material& material) {
  Device* device = graphics.GetDevice();
  if (device == nullptr || subset >= mesh.subsetCount) return;
  graphics.SetRenderStateCached(RS_TEXTUREFACTOR, uint32_t{mesh.factors[subset].reflection} << 24);
  device->SetMaterial(material);
  device->DrawSubset(mesh.mesh.get(), subset);
}

Matrix SceneWorldMatrix(const PartModel& model) {
  const Matrix place = MatrixTranslation(model.position.x, model.position.y, model.position.z);
  if (model.mesh == nullptr) return place;
  // The rotation comes last: it turns the whole moped about the vertical
  // axis through the world origin, not each part about its own centre.
  return MatrixMultiply(MatrixMultiply(place, model.mesh->translation), model.mesh->rotation);
}

bool DrawScenePart(GraphicsDevice& graphics, const PartModel& model, const Matrix& world) {
  Device* device = graphics.GetDevice();
  const MeshRecord* mesh = model.mesh.get();
  // A fully faded part costs nothing; exactly 0, so that the first frames of
  // a fade-in (alpha just above 0) are drawn.
  if (device == nullptr || mesh == nullptr || GetMeshAlpha(*mesh) == 0.0f) return false;
  device->SetTransform(TS_WORLD, world);
  for (uint32_t subset = 0; subset < mesh->subsetCount; ++subset) {
    Material material = mesh->materials[subset];
    material.diffuse.a =
        static_cast<float>(mesh->factors[subset].opacity) * kByteScale * material.diffuse.a;
    DrawReflectingSubset(graphics, *mesh, subset, material);
  }
  return true;
}

int RenderScene(GraphicsDevice& graphics, const CubeTextureSlots& cubes, InstalledPartList& parts,
                uint32_t fillMode) {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return 1;
  SetModelPassStates(graphics, fillMode);
  graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
  graphics.SetViewLookAt(kTuneUpCamera.eye, kTuneUpCamera.at);
  device->SetTransform(TS_PROJECTION, StageProjection(kTuneUpCamera));

  BeginReflection(graphics, cubes);
  for (PartModel* model = parts.ScanFirst(); model != nullptr; model = parts.ScanNext()) {
    if (model->mesh != nullptr) DrawScenePart(graphics, *model, SceneWorldMatrix(*model));
  }
  EndReflection(graphics);
  return 1;
}

}  // namespace kbh
