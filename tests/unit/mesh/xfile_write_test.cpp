#include <string>

#include "tests/unit/mesh/mesh_test_support.hpp"

namespace kbh {
namespace {

using testing::ExpectSameMesh;
using testing::ReadOrFail;
using testing::SampleMesh;

constexpr XEncoding kEncodings[] = {XEncoding::kText, XEncoding::kBinary,
                                    XEncoding::kCompressedText, XEncoding::kCompressedBinary};

TEST(WriteXFile, EveryEncodingReadsBackAsTheSameMeshWithOrWithoutSubsets) {
  MeshData mesh = SampleMesh();
  for (int withSubsets = 1; withSubsets >= 0; --withSubsets) {
    if (!withSubsets) mesh.subsets.clear();
    // Written without a material list, a mesh reads back as one subset.
    MeshData expected = mesh;
    if (!withSubsets) expected.subsets = {{0, static_cast<uint32_t>(mesh.indices.size() / 3)}};
    for (const XEncoding encoding : kEncodings) {
      SCOPED_TRACE(static_cast<int>(encoding));
      const std::vector<uint8_t> bytes = WriteXFile(mesh, encoding);
      ASSERT_FALSE(bytes.empty());
      ExpectSameMesh(ReadOrFail(bytes), expected);
      EXPECT_EQ(WriteXFile(mesh, encoding), bytes) << "output must not vary between runs";
    }
  }
}

// Other readers take compressed blocks of at most 32 KiB, each with its mark.
TEST(WriteXFile, LargeMeshSpansSeveralCompressedBlocks) {
  MeshData mesh;
  for (uint32_t i = 0; i < 20000; ++i) {
    const float f = static_cast<float>(i);
    mesh.vertices.push_back({{f, f * 0.5f, -f}, {0, 1, 0}, f / 7.0f, f / 11.0f});
  }
  for (uint32_t i = 0; i + 2 < 20000; ++i)
    mesh.indices.insert(mesh.indices.end(), {i, i + 1, i + 2});
  mesh.subsets = {{0, 10000}, {10000, 9998}};
  for (const XEncoding encoding : {XEncoding::kCompressedText, XEncoding::kCompressedBinary}) {
    const std::vector<uint8_t> bytes = WriteXFile(mesh, encoding);
    int blocks = 0;
    size_t offset = 20;  // past the header and the total size
    for (; offset < bytes.size(); ++blocks) {
      EXPECT_LE(bytes[offset] | bytes[offset + 1] << 8, 32768);
      EXPECT_EQ(bytes[offset + 4], 'C');
      EXPECT_EQ(bytes[offset + 5], 'K');
      offset += 4 + (bytes[offset + 2] | bytes[offset + 3] << 8);
    }
    EXPECT_EQ(offset, bytes.size());
    EXPECT_GT(blocks, 3);
    ExpectSameMesh(ReadOrFail(bytes), mesh);
  }
}

TEST(WriteXFile, RefusesMeshesThatWouldNotComeBackTheSame) {
  const auto refused = [](const MeshData& mesh) {
    for (const XEncoding encoding : kEncodings) {
      if (!WriteXFile(mesh, encoding).empty()) return false;
    }
    return true;
  };
  EXPECT_TRUE(refused(MeshData{}));
  MeshData bad[4] = {SampleMesh(), SampleMesh(), SampleMesh(), SampleMesh()};
  bad[0].indices[4] = 9;              // no such vertex
  bad[1].indices.push_back(0);        // a partial triangle
  bad[2].subsets = {{0, 2}, {3, 2}};  // a gap between subsets
  bad[3].subsets = {{0, 4}};          // triangles in no subset
  for (const MeshData& mesh : bad)
    EXPECT_TRUE(refused(mesh));
}

}  // namespace
}  // namespace kbh
