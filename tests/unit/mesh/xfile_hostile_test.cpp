// Malformed and hostile files: each is refused with a reason, quickly and
// without a large allocation (the sanitizer build would abort on one).
#include <string>

#include "platform/mesh/mszip.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/mesh/mesh_test_support.hpp"

namespace kbh {
namespace {

using testing::TextFile;

bool Refused(const std::vector<uint8_t>& bytes) {
  MeshData mesh;
  std::string error;
  const bool loaded = ReadXFile(bytes, &mesh, &error);
  if (loaded) return false;
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty() && mesh.subsets.empty());
  return true;
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t size) {
  return {bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size)};
}

MeshData LargeMesh() {
  MeshData mesh;
  for (uint32_t i = 0; i < 6000; ++i) {
    const float f = static_cast<float>(i);
    mesh.vertices.push_back({{f, -f, f * 0.25f}, {0, 0, 1}, f / 3, f / 9});
  }
  for (uint32_t i = 0; i + 2 < 6000; ++i)
    mesh.indices.insert(mesh.indices.end(), {i, i + 2, i + 1});
  mesh.subsets = {{0, 3000}, {3000, 2998}};
  return mesh;
}

TEST(ReadXFileHostile, BadHeadersAreRefused) {
  for (const char* text : {"", "xof 0303txt 003", "xof 0303txt 0016Mesh{}", "xof 0303zip 0032",
                           "XOF 0303txt 0032", "xof 0303txt 0032"}) {
    EXPECT_TRUE(Refused(testing::Bytes(text))) << text;
  }
}

TEST(ReadXFileHostile, GiantCountsAreRefused) {
  const std::string big = "4294967295";
  const std::string mesh = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; ";
  const std::string bodies[] = {
      "Mesh { " + big + "; 0;0;0;; }",
      "Mesh { 1; 0;0;0;; 1; " + big + ";0,0,0;; }",
      mesh + "MeshNormals { " + big + "; 0;0;1;; 1; 3;0,0,0;; } }",
      mesh + "MeshTextureCoords { " + big + "; 0;0;; } }",
      mesh + "MeshMaterialList { 1; " + big + "; 0;; } }",
      "Mesh { 99999999999; 0;0;0;; }",
  };
  for (const std::string& body : bodies)
    EXPECT_TRUE(Refused(TextFile(body))) << body;

  // Many lists, each declaring as many materials as the rest of the file
  // could hold: the file as a whole cannot pay for them.
  std::string greedy;
  for (int i = 0; i < 200; ++i) {
    greedy += mesh + "MeshMaterialList { " + std::to_string(8000 - i * 40) + "; 1; 0;; } }\n";
  }
  EXPECT_TRUE(Refused(TextFile(greedy)));

  // Binary: a list, a name and a vertex count that claim more than is there.
  const auto binary = [](std::initializer_list<uint8_t> tokens) {
    std::vector<uint8_t> bytes = testing::Bytes("xof 0303bin 0032");
    bytes.insert(bytes.end(), tokens);
    return bytes;
  };
  EXPECT_TRUE(Refused(binary(
      {1, 0, 4, 0, 0, 0, 'M', 'e', 's', 'h', 10, 0, 6, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})));
  EXPECT_TRUE(Refused(binary({1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'M'})));
  EXPECT_TRUE(Refused(binary(
      {1, 0, 4, 0, 0, 0, 'M', 'e', 's', 'h', 10, 0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0})));
}

// Every cut of a small file; cuts all through a large one, whose compressed
// forms span several blocks.
TEST(ReadXFileHostile, CutFilesAreRefused) {
  for (const MeshData& mesh : {testing::SampleMesh(), LargeMesh()}) {
    const bool small = mesh.vertices.size() < 100;
    for (const XEncoding encoding : {XEncoding::kText, XEncoding::kBinary,
                                     XEncoding::kCompressedText, XEncoding::kCompressedBinary}) {
      const std::vector<uint8_t> bytes = WriteXFile(mesh, encoding);
      // A text ends with "}\n": everything before the closing brace is a cut.
      const size_t end = bytes.size() - (encoding == XEncoding::kText ? 2 : 0);
      for (size_t size = 0; size < end; size += small ? 1 : bytes.size() / 97 + 1) {
        ASSERT_TRUE(Refused(Prefix(bytes, size))) << static_cast<int>(encoding) << " at " << size;
      }
    }
  }
}

TEST(ReadXFileHostile, DeepNestingIsRefused) {
  const std::string mesh = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }";
  const auto frames = [&](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
      text += "Frame {";
    text += mesh;
    for (int i = 0; i < depth; ++i)
      text += "}";
    return TextFile(text);
  };
  testing::ReadOrFail(frames(60));
  EXPECT_TRUE(Refused(frames(70)));
  EXPECT_TRUE(Refused(frames(100000)));
  EXPECT_TRUE(Refused(TextFile(mesh + "Unknown " + std::string(100000, '{'))));
  EXPECT_TRUE(Refused(TextFile(std::string(100000, '{') + std::string(100000, '}') + mesh)));

  std::vector<uint8_t> binary = testing::Bytes("xof 0303bin 0032");
  for (int i = 0; i < 100000; ++i)
    binary.insert(binary.end(), {1, 0, 1, 0, 0, 0, 'F', 10, 0});
  EXPECT_TRUE(Refused(binary));
}

// Blocks of one repeated byte, each declaring and inflating to the largest
// block size: a few hundred bytes a megabyte.
std::vector<uint8_t> FillerBlocks(uint32_t blockCount) {
  std::vector<uint8_t> oneBlock;
  EXPECT_TRUE(DeflateMsZip(std::vector<uint8_t>(kMsZipBlockSize, 0), &oneBlock));
  std::vector<uint8_t> bytes = testing::Bytes("xof 0303bzip0032");
  const uint32_t total = blockCount * uint32_t{kMsZipBlockSize} + 16;
  bytes.insert(bytes.end(),
               {uint8_t(total), uint8_t(total >> 8), uint8_t(total >> 16), uint8_t(total >> 24)});
  for (uint32_t i = 0; i < blockCount; ++i)
    bytes.insert(bytes.end(), oneBlock.begin() + 4, oneBlock.end());
  return bytes;
}

// Up to 4 MiB unpack whatever the file's size (and this filler then holds no
// triangle); beyond that the body may be at most 32 times the packed bytes,
// which filler is not, so it is refused before anything is inflated.
TEST(ReadXFileHostile, FillerThatInflatesFarBeyondItsSizeIsRefusedUnread) {
  const struct {
    uint32_t blocks;
    const char* error;
  } cases[] = {
      {128, "the file holds no triangles"},
      {129, "declared uncompressed size of 4227072 bytes exceeds the limit of 4194304"},
      // zlib packs a block of zeros into 46 bytes: 4 + 8000 * (6 + 46) packed
      // bytes allow 32 times that.
      {8000, "declared uncompressed size of 262144000 bytes exceeds the limit of 13312128"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blocks);
    MeshData mesh;
    std::string error;
    EXPECT_FALSE(ReadXFile(FillerBlocks(c.blocks), &mesh, &error));
    EXPECT_EQ(error, c.error);
  }
}

// Every byte of small files in each encoding changed in turn: a refusal or a
// mesh, never a crash or a read out of bounds.
TEST(ReadXFileHostile, ChangedBytesNeverCrash) {
  MeshData small = testing::SampleMesh();
  for (const XEncoding encoding : {XEncoding::kText, XEncoding::kBinary, XEncoding::kCompressedText,
                                   XEncoding::kCompressedBinary}) {
    const std::vector<uint8_t> good = WriteXFile(small, encoding);
    for (size_t i = 16; i < good.size(); ++i) {
      for (const uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{'{'}, uint8_t{'9'}}) {
        std::vector<uint8_t> bytes = good;
        bytes[i] = value;
        MeshData mesh;
        if (ReadXFile(bytes, &mesh)) {
          for (const uint32_t index : mesh.indices)
            ASSERT_LT(index, mesh.vertices.size());
        }
      }
    }
  }
}

}  // namespace
}  // namespace kbh
