#include "workshop/part_mesh.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "catalogue/part_files.hpp"
#include "platform/mesh/xfile.hpp"
#include "platform/os/os.hpp"

namespace kbh {

namespace {

// The largest model file read. The reader bounds everything it allocates by
// the bytes it is given, so this bounds the whole load.
constexpr size_t kMaxMeshFileBytes = size_t{256} << 20;

}  // namespace

Material DefaultMeshMaterial() {
  return MakeMaterial(0xFFFFFFFF, 0xFFB2B2B2, 0xFFFFFFFF, 0xFF000000, 200.0f);
}

Material PartModelMaterial() {
  return MakeMaterial(0xFFDADADA, 0x001E1E1E, 0x00EFEFEF, 0x00000000, 250.0f);
}

std::unique_ptr<MeshRecord> LoadMeshFile(GraphicsDevice& graphics, const char* fileName) {
  Device* device = graphics.GetDevice();
  if (device == nullptr || fileName == nullptr) return nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, &bytes, kMaxMeshFileBytes)) return nullptr;
  auto record = std::make_unique<MeshRecord>();
  if (!ReadXFile(bytes, &record->data)) return nullptr;
  record->mesh = UniqueMesh(device, device->CreateMesh(record->data));
  if (!record->mesh) return nullptr;
  record->subsetCount = static_cast<uint32_t>(record->data.subsets.size());
  record->materials.assign(record->subsetCount, DefaultMeshMaterial());
  record->factors.assign(record->subsetCount, FactorPair{0, 255});
  return record;
}

void ReleaseMesh(std::unique_ptr<MeshRecord>& mesh) {
  mesh.reset();
}

void SetMeshRotation(MeshRecord& mesh, float x, float y, float z) {
  mesh.rotation = MatrixRotationXYZ(x, y, z);
}

void SetMeshRotationMatrix(MeshRecord& mesh, const Matrix& matrix) {
  mesh.rotation = matrix;
}

void SetMeshBaseMatrix(MeshRecord& mesh, const Matrix& matrix) {
  mesh.baseMatrix = matrix;
}

void SetMeshTranslation(MeshRecord& mesh, float x, float y, float z) {
  mesh.translation = MatrixTranslation(x, y, z);
}

void SetMeshScaling(MeshRecord& mesh, float x, float y, float z) {
  mesh.scaling = MatrixScaling(x, y, z);
}

void SetMeshAlpha(MeshRecord& mesh, float alpha) {
  if (!(alpha >= 0.0f && alpha <= 1.0f)) return;
  for (Material& material : mesh.materials)
    material.diffuse.a = alpha;
}

float GetMeshAlpha(const MeshRecord& mesh) {
  return mesh.materials.empty() ? -1.0f : mesh.materials.front().diffuse.a;
}

uint32_t MeshVertexCount(const MeshRecord& mesh) {
  return static_cast<uint32_t>(mesh.data.vertices.size());
}

bool LoadPartMesh(GraphicsDevice& graphics, PartModel& model, const char* fileName) {
  model.mesh = LoadMeshFile(graphics, fileName);
  if (model.mesh == nullptr) return false;
  const Material material = PartModelMaterial();
  std::fill(model.mesh->materials.begin(), model.mesh->materials.end(), material);
  for (FactorPair& factors : model.mesh->factors)
    factors.reflection = kPartModelReflection;
  return true;
}

Vec3 ComputePartBounds(PartModel& model) {
  const std::vector<MeshVertex>* vertices =
      model.mesh != nullptr ? &model.mesh->data.vertices : nullptr;
  if (vertices == nullptr || vertices->empty()) {
    model.extents = {};
    model.centreOffset = {};
    return model.centreOffset;
  }
  Vec3 low = vertices->front().position;
  Vec3 high = low;
  for (const MeshVertex& vertex : *vertices) {
    low = {std::min(low.x, vertex.position.x), std::min(low.y, vertex.position.y),
           std::min(low.z, vertex.position.z)};
    high = {std::max(high.x, vertex.position.x), std::max(high.y, vertex.position.y),
            std::max(high.z, vertex.position.z)};
  }
  model.extents = {std::fabs(high.x - low.x), std::fabs(high.y - low.y), std::fabs(high.z - low.z)};
  model.centreOffset = {-(low.x + high.x) * 0.5f, -(low.y + high.y) * 0.5f,
                        -(low.z + high.z) * 0.5f};
  return model.centreOffset;
}

std::string ModelFilePath(const ProgramDir& dir, ItemId id) {
  PathBuffer path;
  return FormatPartFilePath(path, dir, kPartModel, id);
}

bool ModelFileExists(const ProgramDir& dir, ItemId id) {
  FILE* file = OpenFile(ModelFilePath(dir, id), "r");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

int SetPartRotation(PartModel* model, float x, float y, float z) {
  if (model != nullptr && model->mesh != nullptr) SetMeshRotation(*model->mesh, x, y, z);
  return 1;
}

int SetPartTranslation(PartModel* model, float x, float y, float z) {
  if (model != nullptr && model->mesh != nullptr) SetMeshTranslation(*model->mesh, x, y, z);
  return 1;
}

int SetPartAlpha(PartModel* model, float alpha) {
  if (model != nullptr && model->mesh != nullptr) SetMeshAlpha(*model->mesh, alpha);
  return 1;
}

float GetPartAlpha(const PartModel* model) {
  if (model == nullptr || model->mesh == nullptr) return -1.0f;
  return GetMeshAlpha(*model->mesh);
}

}  // namespace kbh
