// Part models and the meshes they show. A mesh file (.mxa) is a DirectX .x
// file under another name; the program ignores the materials the file names
// and gives every subset a material of its own, which paints change later.
//
// A MeshRecord owns a device mesh and the loaded vertices beside it: the
// bounding box and the vertex count are read from that copy, never back
// from the device. Records (and the PartModels holding them) own device
// resources, so they must be released before the graphics device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/item_id.hpp"
#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/gpu/device_resource.hpp"
#include "platform/math/math.hpp"
#include "platform/mesh/mesh_data.hpp"
#include "workshop/paint.hpp"

namespace kbh {

// --- Meshes ------------------------------------------------------------------

struct MeshRecord {
  UniqueMesh mesh;
  MeshData data;
  // One material and one factor pair per subset, in the file's order.
  uint32_t subsetCount = 0;
  std::vector<Material> materials;
  std::vector<FactorPair> factors;
  // The Spray preview sets baseMatrix to the part's centring matrix so that
  // the part turns about its own centre; the TuneUp scene does not use it.
  Matrix baseMatrix = MatrixIdentity();
  Matrix rotation = MatrixIdentity();
  Matrix translation = MatrixIdentity();
  Matrix scaling = MatrixIdentity();
};

// Every subset of a freshly loaded mesh: white, taking 70 % of the ambient
// light, with a tight white highlight.
Material DefaultMeshMaterial();
// Every subset of an installed part: a light grey metal with a faint
// reflection until a paint says otherwise.
Material PartModelMaterial();
constexpr uint8_t kPartModelReflection = 13;

// A new record for the mesh file, or null when the file is missing, is no
// valid .x file, or the device cannot take the mesh. Nothing is logged: a
// part without a model is a normal state of the workshop.
std::unique_ptr<MeshRecord> LoadMeshFile(GraphicsDevice& graphics, const char* fileName);
// Frees the record and its device mesh; accepts an empty owner.
void ReleaseMesh(std::unique_ptr<MeshRecord>& mesh);

// rotation := RotationX(x) * RotationY(y) * RotationZ(z), radians.
void SetMeshRotation(MeshRecord& mesh, float x, float y, float z);
void SetMeshRotationMatrix(MeshRecord& mesh, const Matrix& matrix);
void SetMeshBaseMatrix(MeshRecord& mesh, const Matrix& matrix);
void SetMeshTranslation(MeshRecord& mesh, float x, float y, float z);
void SetMeshScaling(MeshRecord& mesh, float x, float y, float z);
// Sets the diffuse alpha of every subset's material; values outside 0..1
// (NaN included) change nothing, so a fader that overshoots is harmless.
void SetMeshAlpha(MeshRecord& mesh, float alpha);
// The diffuse alpha of the first subset's material; -1.0 for a mesh without
// subsets, which has nothing to show.
float GetMeshAlpha(const MeshRecord& mesh);
uint32_t MeshVertexCount(const MeshRecord& mesh);

// --- Part models ---------------------------------------------------------------

struct PartModel {
  // The translation by centreOffset once the mesh loaded: it centres the
  // mesh on the origin for the views that turn a single part.
  Matrix world = MatrixIdentity();
  // Where position actions move the part; the scene draws it there.
  Vec3 position;
  // Minus the centre of the mesh's bounding box, and the box's size.
  Vec3 centreOffset;
  Vec3 extents;
  // Null when the model file did not load: such a part is listed but
  // neither drawn, counted, measured nor painted.
  std::unique_ptr<MeshRecord> mesh;
  // The seller screen's picture of the part, null without one.
  std::unique_ptr<TextureRecord> image;
  ItemId id = 0;
  // The part's own texture, if its file loaded.
  UniqueTexture texture;
};

// Loads the mesh file into model.mesh (replacing what was there) and gives
// every subset the part-model material and the reflection byte 13. False
// when the mesh did not load.
bool LoadPartMesh(GraphicsDevice& graphics, PartModel& model, const char* fileName);

// Measures the mesh's bounding box over all its vertices, stores extents
// and centre offset in the model, and returns the centre offset. A model
// without mesh gets zeros.
Vec3 ComputePartBounds(PartModel& model);

// The model file of a part (catalogue/part_files.hpp).
std::string ModelFilePath(const ProgramDir& dir, ItemId id);
// True when that file can be opened for reading.
bool ModelFileExists(const ProgramDir& dir, ItemId id);

// The part-level forms of the mesh setters: a null model or one without mesh
// is left alone; the setters return 1 and GetPartAlpha returns -1.0.
int SetPartRotation(PartModel* model, float x, float y, float z);
int SetPartTranslation(PartModel* model, float x, float y, float z);
int SetPartAlpha(PartModel* model, float alpha);
float GetPartAlpha(const PartModel* model);

}  // namespace kbh
