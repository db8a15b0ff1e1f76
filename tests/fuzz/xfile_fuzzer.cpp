// Feeds arbitrary bytes to the .x reader. Besides the sanitizers' findings it
// traps when a mesh it accepts breaks a promise the device and the scene rely
// on: every index inside the vertex buffer, whole triangles, and subsets that
// tile the front of the index buffer in order.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/mesh/xfile.hpp"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckMesh(const kbh::MeshData& mesh) {
  Require(!mesh.vertices.empty());
  Require(!mesh.indices.empty() && mesh.indices.size() % 3 == 0);
  for (const uint32_t index : mesh.indices)
    Require(index < mesh.vertices.size());
  // Subsets follow one another without gaps; triangles of no subset may
  // only come after the last of them.
  const size_t triangleCount = mesh.indices.size() / 3;
  size_t next = 0;
  for (const kbh::MeshSubset& subset : mesh.subsets) {
    Require(subset.firstTriangle == next);
    Require(size_t{subset.triangleCount} <= triangleCount - next);
    next += subset.triangleCount;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kbh::MeshData mesh;
  std::string error;
  if (kbh::ReadXFile(std::span<const uint8_t>(data, size), &mesh, &error)) {
    CheckMesh(mesh);
  } else {
    // A refusal always says why and leaves nothing half-loaded behind.
    Require(!error.empty());
    Require(mesh.vertices.empty() && mesh.indices.empty() && mesh.subsets.empty());
  }
  return 0;
}
