// Checks that several content tests make on meshes.
#pragma once

#include <gtest/gtest.h>

#include "platform/mesh/mesh_data.hpp"

namespace kbh {

// Signed volume by the divergence theorem: positive when every triangle
// faces outwards, and equal to the enclosed volume when the shell is closed.
inline double SignedVolume(const MeshData& mesh) {
  double volume = 0.0;
  for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
    const Vec3 a = mesh.vertices[mesh.indices[t]].position;
    const Vec3 b = mesh.vertices[mesh.indices[t + 1]].position;
    const Vec3 c = mesh.vertices[mesh.indices[t + 2]].position;
    volume += Dot(a, Cross(b, c)) / 6.0;
  }
  return volume;
}

// Share of triangles whose face normal points the same way as the vertex
// normals at its corners.
inline double AgreeingShare(const MeshData& mesh) {
  size_t agree = 0;
  const size_t count = mesh.indices.size() / 3;
  for (size_t t = 0; t < count; ++t) {
    const MeshVertex& a = mesh.vertices[mesh.indices[3 * t]];
    const MeshVertex& b = mesh.vertices[mesh.indices[3 * t + 1]];
    const MeshVertex& c = mesh.vertices[mesh.indices[3 * t + 2]];
    const Vec3 face = Cross(b.position - a.position, c.position - a.position);
    if (Dot(face, a.normal + b.normal + c.normal) > 0.0f) ++agree;
  }
  return count == 0 ? 0.0 : static_cast<double>(agree) / static_cast<double>(count);
}

inline void ExpectUnitNormals(const MeshData& mesh) {
  for (const MeshVertex& v : mesh.vertices) {
    ASSERT_NEAR(Length(v.normal), 1.0f, 1e-3f);
  }
}

}  // namespace kbh
