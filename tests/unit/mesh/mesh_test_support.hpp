// Shared helpers of the mesh tests: a small model with something of every
// kind in it, exact comparison, and reading a hand-written text body.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mesh/xfile.hpp"

namespace kbh::testing {

inline std::vector<uint8_t> Bytes(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// A text file from its body.
inline std::vector<uint8_t> TextFile(std::string_view body) {
  return Bytes(std::string("xof 0303txt 0032\n") + std::string(body));
}

inline MeshData ReadOrFail(const std::vector<uint8_t>& bytes) {
  MeshData mesh;
  std::string error;
  EXPECT_TRUE(ReadXFile(bytes, &mesh, &error)) << error;
  return mesh;
}

// Bit-exact equality, so that -0 and NaN payloads count too.
inline void ExpectSameMesh(const MeshData& actual, const MeshData& expected) {
  ASSERT_EQ(actual.vertices.size(), expected.vertices.size());
  for (size_t i = 0; i < actual.vertices.size(); ++i) {
    const MeshVertex& a = actual.vertices[i];
    const MeshVertex& e = expected.vertices[i];
    ASSERT_EQ(std::memcmp(&a, &e, sizeof a), 0)
        << "vertex " << i << ": (" << a.position.x << " " << a.position.y << " " << a.position.z
        << " / " << a.normal.x << " " << a.normal.y << " " << a.normal.z << " / " << a.u << " "
        << a.v << ") differs";
  }
  EXPECT_EQ(actual.indices, expected.indices);
  ASSERT_EQ(actual.subsets.size(), expected.subsets.size());
  for (size_t s = 0; s < actual.subsets.size(); ++s) {
    EXPECT_EQ(actual.subsets[s].firstTriangle, expected.subsets[s].firstTriangle) << s;
    EXPECT_EQ(actual.subsets[s].triangleCount, expected.subsets[s].triangleCount) << s;
  }
}

// Three subsets (one of them empty), an unused vertex, values that only an
// exact float form keeps (thirds, tiny and huge magnitudes, -0), and a
// vertex shared by triangles of different subsets.
inline MeshData SampleMesh() {
  MeshData mesh;
  const float third = 1.0f / 3.0f;
  for (int i = 0; i < 9; ++i) {
    const float f = static_cast<float>(i);
    mesh.vertices.push_back({{f * third, -f, f * 1e-7f}, {0.0f, -0.0f, 1.0f}, f * 0.1f, 1.0f - f});
  }
  mesh.vertices[3].position = {3.4e38f, -1e-40f, 123456.789f};
  mesh.vertices[4].normal = Normalize({1.0f, 2.0f, 3.0f});
  mesh.indices = {0, 1, 2, 2, 1, 3, 3, 4, 5, 5, 4, 6, 6, 7, 2};  // vertex 8 unused
  mesh.subsets = {{0, 2}, {2, 0}, {2, 3}};
  return mesh;
}

}  // namespace kbh::testing
