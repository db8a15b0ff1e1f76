// The mesh most tests need: a box with face normals and as many material
// slots as a test asks for.
#pragma once

#include <cstdint>

#include "platform/mesh/mesh_data.hpp"

namespace kbh::testing {

// A box from low to high: 24 vertices with face normals, 12 triangles split
// as evenly as possible over subsetCount subsets (none: no material list).
inline MeshData BoxMesh(Vec3 low, Vec3 high, uint32_t subsetCount = 1) {
  MeshData mesh;
  const Vec3 corner[8] = {{low.x, low.y, low.z},    {high.x, low.y, low.z}, {high.x, high.y, low.z},
                          {low.x, high.y, low.z},   {low.x, low.y, high.z}, {high.x, low.y, high.z},
                          {high.x, high.y, high.z}, {low.x, high.y, high.z}};
  // Each face as four corners, clockwise seen from outside (left-handed).
  const int faces[6][4] = {{0, 3, 2, 1}, {5, 6, 7, 4}, {4, 7, 3, 0},
                           {1, 2, 6, 5}, {3, 7, 6, 2}, {4, 0, 1, 5}};
  const Vec3 normals[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  for (int f = 0; f < 6; ++f) {
    const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
    for (int k = 0; k < 4; ++k)
      mesh.vertices.push_back({corner[faces[f][k]], normals[f], 0.0f, 0.0f});
    mesh.indices.insert(mesh.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
  }
  uint32_t first = 0;
  for (uint32_t s = 0; s < subsetCount; ++s) {
    const uint32_t end = 12 * (s + 1) / subsetCount;
    mesh.subsets.push_back({first, end - first});
    first = end;
  }
  return mesh;
}

}  // namespace kbh::testing
