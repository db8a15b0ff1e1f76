#include "workshop/part_mesh.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "tests/unit/gfx/recording_graphics.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::BoxMesh;

class PartMeshTest : public testing::RecordingGraphicsTest {
 protected:
  std::string WriteMesh(const std::string& name, const MeshData& mesh) {
    testing::WriteBytes(dir, name, WriteXFile(mesh, XEncoding::kBinary));
    return dir / name;
  }
  testing::TempDir dir;
};

TEST_F(PartMeshTest, OneMaterialAndFactorPairPerSubset) {
  const std::string file = WriteMesh("three.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}, 3));
  std::unique_ptr<MeshRecord> mesh = LoadMeshFile(graphics, file.c_str());
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->subsetCount, 3u);
  ASSERT_EQ(mesh->materials.size(), 3u);
  ASSERT_EQ(mesh->factors.size(), 3u);
  PartModel model;
  ASSERT_TRUE(LoadPartMesh(graphics, model, file.c_str()));
  // A plain mesh and a part's: their materials and reflection differ.
  const Material plain = MakeMaterial(0xFFFFFFFF, 0xFFB2B2B2, 0xFFFFFFFF, 0xFF000000, 200.0f);
  const Material part = MakeMaterial(0xFFDADADA, 0x001E1E1E, 0x00EFEFEF, 0x00000000, 250.0f);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(std::memcmp(&mesh->materials[i], &plain, sizeof plain), 0);
    EXPECT_EQ(mesh->factors[i].reflection, 0);
    EXPECT_EQ(mesh->factors[i].opacity, 255);
    EXPECT_EQ(std::memcmp(&model.mesh->materials[i], &part, sizeof part), 0);
    EXPECT_EQ(model.mesh->factors[i].reflection, 13);
  }
  EXPECT_EQ(device().LiveMeshes(), 2u);
  ReleaseMesh(mesh);
  ReleaseMesh(mesh);  // an empty owner is fine
  EXPECT_EQ(device().LiveMeshes(), 1u);

  // Without a material list: one subset, given the mesh material as any.
  mesh = LoadMeshFile(graphics, WriteMesh("bare.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}, 0)).c_str());
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->subsetCount, 1u);
  ASSERT_EQ(mesh->materials.size(), 1u);
  EXPECT_EQ(std::memcmp(&mesh->materials[0], &plain, sizeof plain), 0);
  EXPECT_EQ(MeshVertexCount(*mesh), 24u);
  EXPECT_EQ(GetMeshAlpha(*mesh), 1.0f);
}

TEST_F(PartMeshTest, FilesThatDoNotLoadGiveNull) {
  EXPECT_EQ(LoadMeshFile(graphics, (dir / "missing.mxa").c_str()), nullptr);
  testing::WriteFileBytes(dir.Path() / "junk.mxa", "xof 0303txt 0032\nMesh { 99999999;");
  EXPECT_EQ(LoadMeshFile(graphics, (dir / "junk.mxa").c_str()), nullptr);
  const std::string good = WriteMesh("good.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}));
  device().FailNextCreate();
  EXPECT_EQ(LoadMeshFile(graphics, good.c_str()), nullptr);
  EXPECT_EQ(device().LiveMeshes(), 0u);
  PartModel model;
  EXPECT_FALSE(LoadPartMesh(graphics, model, (dir / "missing.mxa").c_str()));
  EXPECT_EQ(GetPartAlpha(&model), -1.0f);
  EXPECT_EQ(SetPartAlpha(&model, 0.5f), 1);
}

TEST_F(PartMeshTest, AlphaAppliesOnlyInsideZeroToOne) {
  PartModel model;
  ASSERT_TRUE(LoadPartMesh(graphics, model,
                           WriteMesh("two.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}, 2)).c_str()));
  SetPartAlpha(&model, 0.0f);
  for (float ignored : {1.5f, -0.1f, std::numeric_limits<float>::quiet_NaN()}) {
    SetPartAlpha(&model, ignored);
    EXPECT_EQ(model.mesh->materials[1].diffuse.a, 0.0f) << ignored;
  }
  SetPartAlpha(&model, 1.0f);
  EXPECT_EQ(model.mesh->materials[1].diffuse.a, 1.0f);
}

TEST_F(PartMeshTest, BoundsCoverEveryVertexOfTheFile) {
  MeshData box = BoxMesh({-1, 0, -2}, {3, 2, 2});
  PartModel model;
  ASSERT_TRUE(LoadPartMesh(graphics, model, WriteMesh("box.mxa", box).c_str()));
  Vec3 offset = ComputePartBounds(model);
  EXPECT_TRUE(model.extents.x == 4 && model.extents.y == 2 && model.extents.z == 4);
  EXPECT_TRUE(offset.x == -1 && offset.y == -1 && offset.z == 0);
  EXPECT_EQ(model.centreOffset.y, -1.0f);

  // A vertex that no triangle uses still counts: the file lists it.
  box.vertices.push_back({{-9, 0, 0}, {0, 1, 0}, 0, 0});
  ASSERT_TRUE(LoadPartMesh(graphics, model, WriteMesh("unused.mxa", box).c_str()));
  offset = ComputePartBounds(model);
  EXPECT_EQ(model.extents.x, 12.0f);
  EXPECT_EQ(offset.x, 3.0f);
}

TEST_F(PartMeshTest, ModelFileNamedByTheLowTwentyFourBits) {
  const ProgramDir programDir{dir.Path().string()};
  testing::WriteModel(dir, 0x030101, BoxMesh({0, 0, 0}, {1, 1, 1}));
  testing::WriteModel(dir, 0x0A0B0C, BoxMesh({0, 0, 0}, {1, 1, 1}));
  EXPECT_TRUE(ModelFileExists(programDir, 0x02030101));
  EXPECT_TRUE(ModelFileExists(programDir, 0x000A0B0C));  // upper-case digits
  EXPECT_FALSE(ModelFileExists(programDir, 0x01030102));
}

}  // namespace
}  // namespace kbh
