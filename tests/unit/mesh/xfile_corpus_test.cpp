// Real files from public projects, with the counts an independent reader
// gave for them in expected.json.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.hpp"
#include "tests/unit/mesh/mesh_test_support.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::path(KBH_CORPUS_DIR) / "x";

// expected.json holds one flat object per file; these pick its fields.
std::string Entry(const std::string& json, const std::string& name) {
  const size_t start = json.find("\"" + name + "\": {");
  return start == std::string::npos ? "" : json.substr(start, json.find('}', start) - start);
}

// The number after "key": in an entry, or all numbers of the list there.
std::vector<long> Numbers(const std::string& entry, const std::string& key) {
  size_t at = entry.find("\"" + key + "\":");
  if (at == std::string::npos) return {};
  at += key.size() + 3;
  const bool list = entry[entry.find_first_not_of(" \n", at)] == '[';
  const size_t stop = std::min(entry.size(), entry.find_first_of(list ? "]" : ",\n", at));
  std::vector<long> numbers;
  for (size_t i = at; i < stop;) {
    if (!std::isdigit(static_cast<unsigned char>(entry[i]))) {
      ++i;
      continue;
    }
    size_t used = 0;
    numbers.push_back(std::stol(entry.substr(i), &used));
    i += used;
  }
  return numbers;
}

std::vector<uint8_t> Load(const std::string& name) {
  const std::string bytes = testing::ReadFileBytes(kFolder / name);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TEST(XFileCorpus, EveryFileGivesItsExpectedCounts) {
  if (!fs::exists(kFolder)) GTEST_SKIP() << "corpus folder absent";
  const std::string expected = testing::ReadFileBytes(kFolder / "expected.json");
  for (const auto& file : fs::directory_iterator(kFolder)) {
    const std::string name = file.path().filename().string();
    if (name.ends_with(".md") || name.ends_with(".json")) continue;
    SCOPED_TRACE(name);
    const std::string entry = Entry(expected, name);
    ASSERT_FALSE(entry.empty()) << "no expected counts";

    MeshData mesh;
    std::string error;
    const bool loaded = ReadXFile(Load(name), &mesh, &error);
    ASSERT_EQ(loaded, entry.find("\"loads\": true") != std::string::npos) << error;
    if (!loaded) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(mesh.vertices.size(), Numbers(entry, "vertices").at(0));
    EXPECT_EQ(mesh.indices.size() / 3, Numbers(entry, "triangles").at(0));
    std::vector<long> perSubset;
    uint32_t next = 0;
    for (const MeshSubset& subset : mesh.subsets) {
      EXPECT_EQ(subset.firstTriangle, next) << "subsets tile the index buffer";
      next += subset.triangleCount;
      perSubset.push_back(subset.triangleCount);
    }
    EXPECT_EQ(perSubset, Numbers(entry, "triangles_per_subset"));
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
