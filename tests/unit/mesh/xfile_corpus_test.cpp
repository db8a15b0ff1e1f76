// Real files from public projects, with the counts an independent reader
// gave for them in expected.json.
#include <cmath>
#include <filesystem>
#include <string>

#include "tests/support/skip.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/mesh/mesh_test_support.hpp"
#include "tools/common/json.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::path(KBH_CORPUS_DIR) / "x";

std::vector<uint8_t> Load(const std::string& name) {
  const std::string bytes = testing::ReadFileBytes(kFolder / name);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TEST(XFileCorpus, EveryFileGivesItsExpectedCounts) {
  if (!fs::exists(kFolder)) KBH_SKIP_OR_FAIL() << "corpus folder absent";
  JsonValue expected;
  JsonError jsonError;
  ASSERT_TRUE(ParseJson(testing::ReadFileBytes(kFolder / "expected.json"), &expected, &jsonError));
  const auto number = [](const JsonValue* value) { return value ? std::stol(value->text) : -1; };
  for (const auto& file : fs::directory_iterator(kFolder)) {
    const std::string name = file.path().filename().string();
    if (name.ends_with(".md") || name.ends_with(".json")) continue;
    SCOPED_TRACE(name);
    const JsonValue* entry = expected.Find(name);
    ASSERT_NE(entry, nullptr) << "no expected counts";

    MeshData mesh;
    std::string error;
    const bool loaded = ReadXFile(Load(name), &mesh, &error);
    ASSERT_EQ(loaded, entry->Find("loads")->boolean) << error;
    if (!loaded) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(static_cast<long>(mesh.vertices.size()), number(entry->Find("vertices")));
    EXPECT_EQ(static_cast<long>(mesh.indices.size() / 3), number(entry->Find("triangles")));
    std::vector<long> perSubset;
    std::vector<long> expectedPerSubset;
    uint32_t next = 0;
    for (const MeshSubset& subset : mesh.subsets) {
      EXPECT_EQ(subset.firstTriangle, next) << "subsets tile the index buffer";
      next += subset.triangleCount;
      perSubset.push_back(subset.triangleCount);
    }
    for (const JsonValue& count : entry->Find("triangles_per_subset")->items)
      expectedPerSubset.push_back(number(&count));
    EXPECT_EQ(perSubset, expectedPerSubset);
  }
}

// The same cube stored three ways by the same exporter.
TEST(XFileCorpus, TextBinaryAndCompressedCubesAgree) {
  if (!fs::exists(kFolder)) KBH_SKIP_OR_FAIL() << "corpus folder absent";
  const MeshData text = testing::ReadOrFail(Load("test_cube_text.x"));
  const MeshData binary = testing::ReadOrFail(Load("test_cube_binary.x"));
  const MeshData compressed = testing::ReadOrFail(Load("test_cube_compressed.x"));
  testing::ExpectSameMesh(compressed, binary);
  ASSERT_EQ(text.vertices.size(), binary.vertices.size());
  EXPECT_EQ(text.indices, binary.indices);
  for (size_t i = 0; i < text.vertices.size(); ++i) {
    const MeshVertex& a = text.vertices[i];
    const MeshVertex& b = binary.vertices[i];
    // Text keeps six decimals.
    EXPECT_NEAR(a.position.x, b.position.x, 1e-5f);
    EXPECT_NEAR(a.position.y, b.position.y, 1e-5f);
    EXPECT_NEAR(a.position.z, b.position.z, 1e-5f);
    EXPECT_NEAR(Dot(a.normal, b.normal), 1.0f, 1e-5f);
  }
}

// The skybox is six unit-cube faces in one frame that scales them by 3:
// the frame applies and normals stay unit length.
TEST(XFileCorpus, FramedMeshesAreMovedAndKeepUnitNormals) {
  if (!fs::exists(kFolder)) KBH_SKIP_OR_FAIL() << "corpus folder absent";
  const MeshData mesh = testing::ReadOrFail(Load("lobby_skybox.x"));
  for (const MeshVertex& v : mesh.vertices) {
    EXPECT_FLOAT_EQ(std::fabs(v.position.x), 3.0f);
    EXPECT_FLOAT_EQ(std::fabs(v.position.y), 3.0f);
    EXPECT_FLOAT_EQ(std::fabs(v.position.z), 3.0f);
    EXPECT_NEAR(Length(v.normal), 1.0f, 1e-6f);
  }
}

}  // namespace
}  // namespace kbh
