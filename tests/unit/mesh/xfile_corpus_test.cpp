// Real files from public projects, with the counts an independent reader
// gave for them in expected.json.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "tests/support/temp_dir.hpp"
#include "tests/unit/mesh/json_lite.hpp"
#include "tests/unit/mesh/mesh_test_support.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::path(KBH_CORPUS_DIR) / "x";

std::vector<uint8_t> Load(const std::string& name) {
  const std::string bytes = testing::ReadFileBytes(kFolder / name);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TEST(XFileCorpus, EveryFileGivesItsExpectedCounts) {
  if (!fs::exists(kFolder)) GTEST_SKIP() << "corpus folder absent";
  testing::Json expected;
  ASSERT_TRUE(
      testing::JsonParser(testing::ReadFileBytes(kFolder / "expected.json")).Parse(&expected));
  ASSERT_EQ(expected.kind, testing::Json::Kind::Object);

  std::set<std::string> listed;
  for (const auto& [name, want] : expected.members) {
    SCOPED_TRACE(name);
    listed.insert(name);
    MeshData mesh;
    std::string error;
    const bool loaded = ReadXFile(Load(name), &mesh, &error);
    ASSERT_EQ(loaded, want.Find("loads")->boolean) << error;
    if (!loaded) {
      EXPECT_FALSE(error.empty());
      EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty() && mesh.subsets.empty());
      continue;
    }
    EXPECT_EQ(mesh.vertices.size(), want.Find("vertices")->number);
    EXPECT_EQ(mesh.indices.size() / 3, want.Find("triangles")->number);
    ASSERT_EQ(mesh.subsets.size(), want.Find("subsets")->number);
    const std::vector<testing::Json>& perSubset = want.Find("triangles_per_subset")->items;
    uint32_t next = 0;
    for (size_t s = 0; s < mesh.subsets.size(); ++s) {
      EXPECT_EQ(mesh.subsets[s].triangleCount, perSubset[s].number) << "subset " << s;
      EXPECT_EQ(mesh.subsets[s].firstTriangle, next) << "subsets tile the index buffer";
      next += mesh.subsets[s].triangleCount;
    }
    EXPECT_TRUE(std::all_of(mesh.indices.begin(), mesh.indices.end(),
                            [&](uint32_t i) { return i < mesh.vertices.size(); }));
  }
  // A file added to the folder without its expected counts would go untested.
  for (const auto& entry : fs::directory_iterator(kFolder)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".md") || name.ends_with(".json")) continue;
    EXPECT_TRUE(listed.count(name)) << name << " has no entry in expected.json";
  }
}

// The same cube stored three ways by the same exporter.
TEST(XFileCorpus, TextBinaryAndCompressedCubesAgree) {
  if (!fs::exists(kFolder)) GTEST_SKIP() << "corpus folder absent";
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
  if (!fs::exists(kFolder)) GTEST_SKIP() << "corpus folder absent";
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
