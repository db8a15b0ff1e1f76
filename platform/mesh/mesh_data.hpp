// A mesh as the .x reader delivers it and the device draws it: one vertex
// buffer, one index buffer of triangles grouped by subset, and the attribute
// table saying which triangles belong to which subset.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/math.hpp"

namespace kbh {

struct MeshVertex {
  Vec3 position;
  Vec3 normal;
  float u = 0.0f;
  float v = 0.0f;
};

// One material slot of the file. Triangles [firstTriangle, firstTriangle +
// triangleCount) of the index buffer belong to it.
struct MeshSubset {
  uint32_t firstTriangle = 0;
  uint32_t triangleCount = 0;
};

struct MeshData {
  std::vector<MeshVertex> vertices;
  // Three indices per triangle, grouped by subset.
  std::vector<uint32_t> indices;
  // One entry per material slot of the file, in file order. A file in which
  // no mesh has a material list has one subset holding every triangle.
  std::vector<MeshSubset> subsets;
};

}  // namespace kbh
