// The reading rules on small hand-written files: every way of writing the
// same model gives the same mesh, and frames, normals, faces and material
// lists turn into vertices, triangles and subsets as the program expects.
#include <cmath>
#include <cstring>
#include <string>

#include "tests/unit/mesh/mesh_test_support.hpp"

namespace kbh {
namespace {

using testing::ExpectSameMesh;
using testing::ReadOrFail;
using testing::TextFile;

// --- One model, many spellings -----------------------------------------------

// A quad (subset 0) and a separate triangle (subset 1), all facing +z.
MeshData ReferenceModel() {
  MeshData mesh;
  const float corners[7][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {4, 0}, {6, 0}, {5, 2}};
  for (const auto& c : corners) {
    mesh.vertices.push_back({{c[0], c[1], 0}, {0, 0, 1}, c[0] / 8, c[1] / 4});
  }
  mesh.indices = {0, 1, 2, 0, 2, 3, 4, 5, 6};
  mesh.subsets = {{0, 2}, {2, 1}};
  return mesh;
}

constexpr const char* kQuadPositions = R"(
  4;
  0;0;0;, 2;0;0;, 2;2;0;, 0;2;0;;
)";
constexpr const char* kTrianglePositions = "4;0;0;, 6;0;0;, 5;2;0;";
constexpr const char* kWhite = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }";

std::string UvBlock(const std::string& pairs, int count) {
  return "MeshTextureCoords { " + std::to_string(count) + "; " + pairs + "; }";
}

const std::string kAllUvs = "0;0;, 0.25;0;, 0.25;0.5;, 0;0.5;, 0.5;0;, 0.75;0;, 0.625;0.5;";

TEST(ReadXFile, EveryWayOfWritingTheModelGivesTheSameMesh) {
  const MeshData reference = ReferenceModel();
  const std::string allPositions =
      std::string("7;\n0;0;0;, 2;0;0;, 2;2;0;, 0;2;0;,\n") + kTrianglePositions + ";;\n";
  const std::string perVertexNormals =
      "MeshNormals { 7; 0;0;1;, 0;0;1;, 0;0;1;, 0;0;1;, 0;0;1;, 0;0;1;, 0;0;1;; "
      "3; 3;0,1,2;, 3;0,2,3;, 3;4,5,6;; }";
  const std::string uvs = UvBlock(kAllUvs, 7);
  const std::string twoWhites = std::string(kWhite) + "\n" + kWhite;

  const std::string variants[] = {
      // Plain triangles, two inline materials.
      "Mesh {" + allPositions + "3; 3;0,1,2;, 3;0,2,3;, 3;4,5,6;;\n" + perVertexNormals + uvs +
          "MeshMaterialList { 2; 3; 0,0,1;; " + twoWhites + " } }",

      // The quad as one four-corner face, fanned on reading; one normal shared
      // by every corner.
      "Mesh ModelWithQuad {" + allPositions + "2; 4;0,1,2,3;, 3;4,5,6;;\n" +
          "MeshNormals { 1; 0;0;1;; 2; 4;0,0,0,0;, 3;0,0,0;; }" + uvs +
          "MeshMaterialList { 2; 2; 0,1;; " + twoWhites + " } }",

      // Subset 1's face first in the file, and a material list shorter than
      // the face list: the last entry repeats.
      "Mesh {" + allPositions + "3; 3;4,5,6;, 3;0,1,2;, 3;0,2,3;;\n" +
          "MeshNormals { 1; 0;0;1;; 3; 3;0,0,0;, 3;0,0,0;, 3;0,0,0;; }" + uvs +
          "MeshMaterialList { 2; 2; 1,0;; " + twoWhites + " } }",

      // Slots as references to top-level materials, with GUIDs, comments,
      // commas for semicolons, a Header, a template and an unknown object
      // whose string holds braces.
      std::string("template Dummy { <11111111-2222-3333-4444-555555555555> DWORD x; [...] }\n") +
          "Header { 1; 0; 1; }\n"
          "Material Red { 1;0;0;1;; 5; 1;1;1;; 0;0;0;; TextureFilename { \"r{e}d.png\"; } }\n"
          "Material Blue { 0;0;1;1;; 5; 1;1;1;; 0;0;0;; }\n"
          "# a comment\n"
          "Mesh M { <AAAAAAAA-0000-0000-0000-000000000000>  // another comment\n" +
          allPositions + "3, 3,0,1,2,, 3,0,2,3,, 3,4,5,6,,\n" + perVertexNormals + uvs +
          "Unknown { \"}\"; { Red } Nested { { } } }\n"
          "MeshMaterialList { 2; 3; 0,0,1;; {Red} { Blue } } }",

      // Two meshes, the second in a frame that moves it by (1, 0, 0).
      std::string("Mesh Quad {") + kQuadPositions +
          "2; 3;0,1,2;, 3;0,2,3;;\n"
          "MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; }" +
          UvBlock("0;0;, 0.25;0;, 0.25;0.5;, 0;0.5;", 4) + "MeshMaterialList { 1; 1; 0;; " +
          kWhite +
          " } }\n"
          "Frame Moved { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 1,0,0,1;; }\n"
          "  Mesh Triangle { 3; 3;0;0;, 5;0;0;, 4;2;0;; 1; 3;0,1,2;;\n"
          "    MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }" +
          UvBlock("0.5;0;, 0.75;0;, 0.625;0.5;", 3) + "MeshMaterialList { 1; 1; 0;; " + kWhite +
          " } } }",
  };
  for (size_t i = 0; i < std::size(variants); ++i) {
    SCOPED_TRACE("variant " + std::to_string(i));
    ExpectSameMesh(ReadOrFail(TextFile(variants[i])), reference);
  }
}

// Binary records the writer never produces: 64-bit floats, single integers,
// lists split anywhere, strings with their terminator, template tokens.
class BinaryFile {
 public:
  explicit BinaryFile(const std::string& floatSize) : doubles_(floatSize == "0064") {
    Raw("xof 0303bin " + floatSize);
  }
  BinaryFile& Token(uint16_t token) { return Word(token, 2); }
  BinaryFile& Name(const std::string& name) { return Token(1).Word(name.size(), 4).Raw(name); }
  // The separator after a string stored as a 32-bit value.
  BinaryFile& String(const std::string& text) {
    return Token(2).Word(text.size(), 4).Raw(text).Word(20, 4);
  }
  BinaryFile& Integer(uint32_t value) { return Token(3).Word(value, 4); }
  BinaryFile& Guid() { return Token(5).Word(0x1234, 8).Word(0x5678, 8); }
  BinaryFile& Integers(std::initializer_list<uint32_t> values) {
    Token(6).Word(values.size(), 4);
    for (const uint32_t v : values)
      Word(v, 4);
    return *this;
  }
  BinaryFile& Floats(std::initializer_list<double> values) {
    Token(7).Word(values.size(), 4);
    for (const double v : values) {
      const float narrow = static_cast<float>(v);
      uint64_t bits = 0;
      std::memcpy(&bits, doubles_ ? static_cast<const void*>(&v) : &narrow, doubles_ ? 8 : 4);
      Word(bits, doubles_ ? 8 : 4);
    }
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  BinaryFile& Word(uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
      bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }
  BinaryFile& Raw(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  bool doubles_;
  std::vector<uint8_t> bytes_;
};

enum : uint16_t { kOpen = 10, kClose = 11, kOpenBracket = 14, kCloseBracket = 15, kComma = 19 };
enum : uint16_t { kSemicolon = 20, kTemplate = 31, kDword = 41, kArray = 52 };

TEST(ReadXFile, BinaryRecordsOfEveryShapeGiveTheSameMesh) {
  for (const char* floatSize : {"0064", "0032"}) {
    SCOPED_TRACE(floatSize);
    BinaryFile file(floatSize);
    // template Dummy { <guid> array DWORD x[2]; }
    file.Token(kTemplate).Name("Dummy").Token(kOpen).Guid();
    file.Token(kArray).Token(kDword).Name("x").Token(kOpenBracket).Integer(2);
    file.Token(kCloseBracket).Token(kSemicolon).Token(kClose);
    // A top-level material referenced below.
    file.Name("Material").Name("Red").Token(kOpen).Floats({1, 0, 0, 1, 5, 1, 1, 1, 0, 0, 0});
    file.Name("TextureFilename").Token(kOpen).String("red}.png").Token(kClose).Token(kClose);

    file.Name("Mesh").Token(kOpen).Guid().Integer(7);
    file.Floats({0, 0, 0, 2, 0, 0, 2, 2, 0}).Floats({0, 2, 0, 4, 0, 0, 6, 0, 0, 5, 2, 0});
    file.Integers({3, 3, 0, 1}).Token(kComma).Integers({2, 3, 0, 2, 3}).Integer(3);
    file.Integers({4, 5, 6});
    file.Name("MeshNormals").Token(kOpen).Integers({1}).Floats({0, 0, 1});
    file.Integers({3, 3, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0}).Token(kClose);
    file.Name("MeshTextureCoords").Token(kOpen).Integer(7);
    file.Floats({0, 0, 0.25, 0, 0.25, 0.5, 0, 0.5, 0.5, 0, 0.75, 0, 0.625, 0.5}).Token(kClose);
    file.Name("MeshMaterialList").Token(kOpen).Integers({2, 3, 0, 0, 1});
    file.Token(kOpen).Name("Red").Token(kClose);
    file.Name("Material").Token(kOpen).Floats({1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}).Token(kClose);
    file.Token(kClose).Token(kClose);
    ExpectSameMesh(ReadOrFail(file.Bytes()), ReferenceModel());
  }
}

// --- Frames ------------------------------------------------------------------

// The inner frame scales by 2 and moves up 5; the outer one turns a quarter
// about z and moves right 10. Local x parent: inner first.
TEST(ReadXFile, NestedFramesApplyInnerMatrixFirst) {
  const MeshData mesh = ReadOrFail(TextFile(R"(
    Frame Outer {
      FrameTransformMatrix { 0,1,0,0, -1,0,0,0, 0,0,1,0, 10,0,0,1;; }
      Frame Inner {
        FrameTransformMatrix { 2,0,0,0, 0,2,0,0, 0,0,2,0, 0,5,0,1;; }
        Mesh { 3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;;
          MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; } }
      }
      { Inner }
    })"));
  ASSERT_EQ(mesh.vertices.size(), 3u);
  // (1,0,0) -> (2,5,0) -> (5,2,0); (0,0,1) -> (0,5,2) -> (5,0,2). The normal
  // (1,0,0) is scaled to length 2, turned to +y, then unit length again.
  const auto near = [](Vec3 a, Vec3 b) { return Length(a - b) < 1e-5f; };
  EXPECT_TRUE(near(mesh.vertices[0].position, {5, 2, 0}));
  EXPECT_TRUE(near(mesh.vertices[2].position, {5, 0, 2}));
  EXPECT_TRUE(near(mesh.vertices[0].normal, {0, 1, 0}));
}

TEST(ReadXFile, MeshesInsideUnknownObjectsAreNotGeometry) {
  const MeshData mesh = ReadOrFail(TextFile(R"(
    Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
    AnimationSet { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } })"));
  EXPECT_EQ(mesh.vertices.size(), 3u);
  EXPECT_EQ(mesh.indices.size(), 3u);
}

// --- Vertices and normals ----------------------------------------------------

TEST(ReadXFile, PositionWithSeveralNormalValuesGetsOneVertexPerExtraValue) {
  const MeshData mesh = ReadOrFail(TextFile(R"(
    Mesh { 5; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;, 9;9;9;;
      3; 3;0,1,2;, 3;1,3,2;, 3;3,1,2;;
      MeshNormals { 4; 0;0;1;, 0;0;-1;, 0;-0;1;, 0;0;-1;;
        3; 3;0,0,0;, 3;1,1,2;, 3;1,3,2;; }
      MeshTextureCoords { 5; 0;0;, 0.5;0;, 0;0.5;, 0.5;0.5;, 1;1;; } })"));
  // Vertex 1 is met with (0,0,1) and then (0,0,-1): one extra vertex, reused
  // by the third face whose normal index differs but whose value is the
  // same. Vertex 2 is met with (0,0,1) and (0,-0,1): equal values, no split.
  // Vertex 4 is used by no face and is kept.
  ASSERT_EQ(mesh.vertices.size(), 6u);
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 5, 3, 2, 3, 5, 2}));
  const MeshVertex& extra = mesh.vertices[5];
  EXPECT_EQ(extra.position.x, 1.0f);
  EXPECT_EQ(extra.normal.z, -1.0f);
  EXPECT_EQ(extra.u, 0.5f);
  EXPECT_EQ(mesh.vertices[1].normal.z, 1.0f);
  EXPECT_EQ(mesh.vertices[4].position.z, 9.0f);
  // No material list anywhere: one subset of every triangle.
  ASSERT_EQ(mesh.subsets.size(), 1u);
  EXPECT_EQ(mesh.subsets[0].firstTriangle, 0u);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 3u);
}

TEST(ReadXFile, MissingNormalsAndTextureCoordinatesAreZero) {
  const MeshData mesh = ReadOrFail(TextFile("Mesh { 3; 1;2;3;, 4;5;6;, 7;8;9;; 1; 3;0,1,2;; }"));
  ASSERT_EQ(mesh.vertices.size(), 3u);
  for (const MeshVertex& v : mesh.vertices)
    EXPECT_TRUE(v.normal.x == 0 && v.normal.y == 0 && v.normal.z == 0 && v.u == 0 && v.v == 0);
}

// --- Faces and subsets -------------------------------------------------------

TEST(ReadXFile, PolygonsAreFannedAndShortFacesKeepTheirMaterialEntry) {
  const MeshData mesh = ReadOrFail(TextFile(R"(
    Mesh { 5; 0;0;0;, 1;0;0;, 2;1;0;, 1;2;0;, 0;1;0;;
      3; 2;0,1;, 5;0,1,2,3,4;, 3;4,3,2;;
      MeshMaterialList { 3; 3; 2,0,1;; {A} {B} {C} } })"));
  // The two-corner face draws nothing but still takes material 2.
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4, 4, 3, 2}));
  ASSERT_EQ(mesh.subsets.size(), 3u);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 3u);
  EXPECT_EQ(mesh.subsets[1].triangleCount, 1u);
  EXPECT_EQ(mesh.subsets[2].firstTriangle, 4u);
  EXPECT_EQ(mesh.subsets[2].triangleCount, 0u);
}

// Subsets of all meshes in file order; a mesh without a list adds no subset
// and its triangles follow all the others.
TEST(ReadXFile, SubsetsOfSeveralMeshesFollowEachOther) {
  const std::string tri = "3; 0;0;0;, 1;0;0;, 0;1;0;; ";
  const MeshData mesh = ReadOrFail(TextFile(
      "Mesh First { " + tri + "2; 3;0,1,2;, 3;2,1,0;; MeshMaterialList { 2; 2; 1,0;; {A} {B} } }" +
      "Mesh Plain { " + tri + "1; 3;0,1,2;; }" + "Frame F { Mesh Third { " + tri +
      "1; 3;2,1,0;; MeshMaterialList { 1; 1; 0;; {C} } } }"));
  ASSERT_EQ(mesh.vertices.size(), 9u);
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{2, 1, 0, 0, 1, 2, 8, 7, 6, 3, 4, 5}));
  ASSERT_EQ(mesh.subsets.size(), 3u);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 1u);
  EXPECT_EQ(mesh.subsets[1].triangleCount, 1u);
  EXPECT_EQ(mesh.subsets[2].firstTriangle, 2u);
  EXPECT_EQ(mesh.subsets[2].triangleCount, 1u);
}

TEST(ReadXFile, BadIndicesAreRefusedWithAReason) {
  const std::string cases[] = {
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }",
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; } }",
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 0;; } }",
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 1;; {A} } }",
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } trailing",
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;zero;; 1; 3;0,1,2;; }",
      "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 0; }",  // no triangle at all
      "Header { 1; 0; 1; }",                     // no mesh at all
  };
  for (const std::string& body : cases) {
    MeshData mesh;
    std::string error;
    EXPECT_FALSE(ReadXFile(testing::TextFile(body), &mesh, &error)) << body;
    EXPECT_FALSE(error.empty()) << body;
    EXPECT_TRUE(mesh.vertices.empty()) << body;
  }
}

TEST(ReadXFile, NumbersInUnusualSpellings) {
  const MeshData mesh = ReadOrFail(
      TextFile("Mesh { 3.000000; +1e1;-0.5;1.#QNAN0;, 1.#INF00;-1.#IND00;2;, 1e-50;1e50;3;; "
               "1; 3;0,1,2;; }"));
  ASSERT_EQ(mesh.vertices.size(), 3u);
  EXPECT_EQ(mesh.vertices[0].position.x, 10.0f);
  EXPECT_EQ(mesh.vertices[0].position.y, -0.5f);
  EXPECT_TRUE(std::isnan(mesh.vertices[0].position.z));
  EXPECT_TRUE(std::isinf(mesh.vertices[1].position.x));
  EXPECT_TRUE(std::isnan(mesh.vertices[1].position.y));
  EXPECT_EQ(mesh.vertices[2].position.x, 0.0f);
  EXPECT_TRUE(std::isinf(mesh.vertices[2].position.y));
}

}  // namespace
}  // namespace kbh
