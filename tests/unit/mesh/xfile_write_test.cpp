#include <string>

#include "tests/unit/mesh/mesh_test_support.hpp"

namespace kbh {
namespace {

using testing::ExpectSameMesh;
using testing::ReadOrFail;
using testing::SampleMesh;

constexpr XEncoding kEncodings[] = {XEncoding::Text, XEncoding::Binary, XEncoding::CompressedText,
                                    XEncoding::CompressedBinary};

TEST(WriteXFile, EveryEncodingReadsBackAsTheSameMesh) {
  const MeshData mesh = SampleMesh();
  for (const XEncoding encoding : kEncodings) {
    SCOPED_TRACE(static_cast<int>(encoding));
    const std::vector<uint8_t> bytes = WriteXFile(mesh, encoding);
    ASSERT_FALSE(bytes.empty());
    ExpectSameMesh(ReadOrFail(bytes), mesh);
    EXPECT_EQ(WriteXFile(mesh, encoding), bytes) << "output must not vary between runs";
  }
}

TEST(WriteXFile, HeadersNameTheEncoding) {
  const MeshData mesh = SampleMesh();
  const auto header = [&](XEncoding encoding) {
    const std::vector<uint8_t> bytes = WriteXFile(mesh, encoding);
    return std::string(bytes.begin(), bytes.begin() + 16);
  };
  EXPECT_EQ(header(XEncoding::Text), "xof 0303txt 0032");
  EXPECT_EQ(header(XEncoding::Binary), "xof 0303bin 0032");
  EXPECT_EQ(header(XEncoding::CompressedText), "xof 0303tzip0032");
  EXPECT_EQ(header(XEncoding::CompressedBinary), "xof 0303bzip0032");
}

TEST(WriteXFile, LargeMeshSpansSeveralCompressedBlocks) {
  MeshData mesh;
  for (uint32_t i = 0; i < 20000; ++i) {
    const float f = static_cast<float>(i);
    mesh.vertices.push_back({{f, f * 0.5f, -f}, {0, 1, 0}, f / 7.0f, f / 11.0f});
  }
  for (uint32_t i = 0; i + 2 < 20000; ++i)
    mesh.indices.insert(mesh.indices.end(), {i, i + 1, i + 2});
  mesh.subsets = {{0, 10000}, {10000, 9998}};
  for (const XEncoding encoding : {XEncoding::CompressedText, XEncoding::CompressedBinary}) {
    const std::vector<uint8_t> bytes = WriteXFile(mesh, encoding);
    // Total size field, then blocks of at most 32 KiB each.
    const uint32_t total = bytes[16] | bytes[17] << 8 | bytes[18] << 16 | uint32_t{bytes[19]} << 24;
    EXPECT_GT(total, 3u * 32768u);
    size_t offset = 20;
    int blocks = 0;
    while (offset < bytes.size()) {
      const uint32_t raw = bytes[offset] | bytes[offset + 1] << 8;
      const uint32_t packed = bytes[offset + 2] | bytes[offset + 3] << 8;
      EXPECT_LE(raw, 32768u);
      EXPECT_EQ(bytes[offset + 4], 'C');
      EXPECT_EQ(bytes[offset + 5], 'K');
      offset += 4 + packed;
      ++blocks;
    }
    EXPECT_EQ(offset, bytes.size());
    EXPECT_GT(blocks, 3);
    ExpectSameMesh(ReadOrFail(bytes), mesh);
  }
}

TEST(WriteXFile, MeshWithoutSubsetsKeepsItsTriangles) {
  MeshData mesh = SampleMesh();
  mesh.subsets.clear();
  for (const XEncoding encoding : kEncodings) {
    ExpectSameMesh(ReadOrFail(WriteXFile(mesh, encoding)), mesh);
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

  MeshData badIndex = SampleMesh();
  badIndex.indices[4] = 9;
  EXPECT_TRUE(refused(badIndex));

  MeshData partialTriangle = SampleMesh();
  partialTriangle.indices.push_back(0);
  EXPECT_TRUE(refused(partialTriangle));

  MeshData gap = SampleMesh();
  gap.subsets = {{0, 2}, {3, 2}};
  EXPECT_TRUE(refused(gap));

  MeshData uncovered = SampleMesh();
  uncovered.subsets = {{0, 4}};
  EXPECT_TRUE(refused(uncovered));
}

}  // namespace
}  // namespace kbh
