#include "workshop/part_mesh.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/unit/gfx/recording_graphics.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::BoxMesh;

void ExpectMaterial(const Material& actual, const Material& expected) {
  EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0);
}

class PartMeshTest : public testing::RecordingGraphicsTest {
 protected:
  std::string WriteMesh(const std::string& name, const MeshData& mesh) {
    testing::WriteBytes(dir, name, WriteXFile(mesh, XEncoding::Binary));
    return dir / name;
  }
  testing::TempDir dir;
};

TEST_F(PartMeshTest, MaterialsAndFactorsPerSubset) {
  const std::string file = WriteMesh("three.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}, 3));
  std::unique_ptr<MeshRecord> mesh = LoadMeshFile(graphics, file.c_str());
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(device().LiveMeshes(), 1u);
  ASSERT_EQ(mesh->subsetCount, 3u);
  ASSERT_EQ(mesh->materials.size(), 3u);
  ASSERT_EQ(mesh->factors.size(), 3u);
  for (uint32_t i = 0; i < 3; ++i) {
    ExpectMaterial(mesh->materials[i],
                   MakeMaterial(0xFFFFFFFF, 0xFFB2B2B2, 0xFFFFFFFF, 0xFF000000, 200.0f));
    EXPECT_EQ(mesh->factors[i].reflection, 0);
    EXPECT_EQ(mesh->factors[i].opacity, 255);
  }
  EXPECT_TRUE(IsIdentity(mesh->baseMatrix) && IsIdentity(mesh->rotation) &&
              IsIdentity(mesh->translation) && IsIdentity(mesh->scaling));

  PartModel model;
  ASSERT_TRUE(LoadPartMesh(graphics, model, file.c_str()));
  for (uint32_t i = 0; i < 3; ++i) {
    ExpectMaterial(model.mesh->materials[i],
                   MakeMaterial(0xFFDADADA, 0x001E1E1E, 0x00EFEFEF, 0x00000000, 250.0f));
    EXPECT_EQ(model.mesh->factors[i].reflection, 13);
    EXPECT_EQ(model.mesh->factors[i].opacity, 255);
  }
  ReleaseMesh(mesh);
  EXPECT_EQ(mesh, nullptr);
  ReleaseMesh(mesh);  // an empty owner is fine
  EXPECT_EQ(device().LiveMeshes(), 1u);
}

TEST_F(PartMeshTest, MeshWithoutMaterialsHasNoSubsets) {
  const std::string file = WriteMesh("bare.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}, 0));
  std::unique_ptr<MeshRecord> mesh = LoadMeshFile(graphics, file.c_str());
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->subsetCount, 0u);
  EXPECT_TRUE(mesh->materials.empty());
  EXPECT_TRUE(mesh->factors.empty());
  EXPECT_EQ(MeshVertexCount(*mesh), 24u);
  // No first material to read an alpha from: nothing to show.
  EXPECT_EQ(GetMeshAlpha(*mesh), -1.0f);
  SetMeshAlpha(*mesh, 0.5f);
  EXPECT_TRUE(mesh->materials.empty());
}

TEST_F(PartMeshTest, FilesThatDoNotLoadGiveNull) {
  EXPECT_EQ(LoadMeshFile(graphics, (dir / "missing.mxa").c_str()), nullptr);
  testing::WriteFileBytes(dir.Path() / "junk.mxa", "xof 0303txt 0032\nMesh { 99999999;");
  EXPECT_EQ(LoadMeshFile(graphics, (dir / "junk.mxa").c_str()), nullptr);
  EXPECT_EQ(LoadMeshFile(graphics, nullptr), nullptr);
  const std::string good = WriteMesh("good.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}));
  device().FailNextCreate();
  EXPECT_EQ(LoadMeshFile(graphics, good.c_str()), nullptr);
  EXPECT_EQ(device().LiveMeshes(), 0u);

  PartModel model;
  EXPECT_FALSE(LoadPartMesh(graphics, model, (dir / "missing.mxa").c_str()));
  EXPECT_EQ(model.mesh, nullptr);
}

TEST_F(PartMeshTest, AlphaAppliesOnlyInsideZeroToOne) {
  const std::string file = WriteMesh("two.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}, 2));
  std::unique_ptr<MeshRecord> mesh = LoadMeshFile(graphics, file.c_str());
  ASSERT_NE(mesh, nullptr);
  SetMeshAlpha(*mesh, 0.25f);
  for (float ignored : {1.5f, -0.1f, std::numeric_limits<float>::quiet_NaN()}) {
    SetMeshAlpha(*mesh, ignored);
    EXPECT_EQ(GetMeshAlpha(*mesh), 0.25f) << ignored;
  }
  SetMeshAlpha(*mesh, 0.0f);
  EXPECT_EQ(mesh->materials[1].diffuse.a, 0.0f);
  SetMeshAlpha(*mesh, 1.0f);
  EXPECT_EQ(mesh->materials[0].diffuse.a, 1.0f);
  EXPECT_EQ(mesh->materials[1].diffuse.a, 1.0f);
}

TEST_F(PartMeshTest, TransformSetters) {
  const std::string file = WriteMesh("box.mxa", BoxMesh({0, 0, 0}, {1, 1, 1}));
  std::unique_ptr<MeshRecord> mesh = LoadMeshFile(graphics, file.c_str());
  ASSERT_NE(mesh, nullptr);
  SetMeshRotation(*mesh, 0.3f, -1.1f, 2.0f);
  const Matrix xyz = MatrixMultiply(MatrixMultiply(MatrixRotationX(0.3f), MatrixRotationY(-1.1f)),
                                    MatrixRotationZ(2.0f));
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(mesh->rotation.m[r][c], xyz.m[r][c], 1e-6f);
  }
  SetMeshTranslation(*mesh, 1, 2, 3);
  EXPECT_EQ(mesh->translation.m[3][2], 3.0f);
  SetMeshScaling(*mesh, 2, 4, 8);
  EXPECT_EQ(mesh->scaling.m[1][1], 4.0f);
  const Matrix moved = MatrixTranslation(5, 6, 7);
  SetMeshBaseMatrix(*mesh, moved);
  SetMeshRotationMatrix(*mesh, moved);
  EXPECT_EQ(std::memcmp(&mesh->baseMatrix, &moved, sizeof moved), 0);
  EXPECT_EQ(std::memcmp(&mesh->rotation, &moved, sizeof moved), 0);
}

TEST_F(PartMeshTest, BoundsCoverEveryVertexOfTheFile) {
  MeshData box = BoxMesh({-1, 0, -2}, {3, 2, 2});
  PartModel model;
  const std::string file = WriteMesh("bounds.mxa", box);
  ASSERT_TRUE(LoadPartMesh(graphics, model, file.c_str()));
  Vec3 offset = ComputePartBounds(model);
  EXPECT_EQ(model.extents.x, 4.0f);
  EXPECT_EQ(model.extents.y, 2.0f);
  EXPECT_EQ(model.extents.z, 4.0f);
  EXPECT_EQ(offset.x, -1.0f);
  EXPECT_EQ(offset.y, -1.0f);
  EXPECT_EQ(offset.z, 0.0f);
  EXPECT_EQ(model.centreOffset.x, -1.0f);

  // A vertex no triangle uses still counts, as the file lists it.
  box.vertices.push_back({{-9, 0, 0}, {0, 1, 0}, 0, 0});
  ASSERT_TRUE(LoadPartMesh(graphics, model, WriteMesh("unused.mxa", box).c_str()));
  offset = ComputePartBounds(model);
  EXPECT_EQ(model.extents.x, 12.0f);
  EXPECT_EQ(offset.x, 3.0f);

  PartModel empty;
  empty.extents = {1, 1, 1};
  offset = ComputePartBounds(empty);
  EXPECT_EQ(empty.extents.x, 0.0f);
  EXPECT_EQ(offset.x, 0.0f);
}

TEST_F(PartMeshTest, ModelFileNamedByTheLowTwentyFourBits) {
  const ProgramDir programDir{dir.Path().string()};
  testing::WriteModel(dir, 0x030101, BoxMesh({0, 0, 0}, {1, 1, 1}));
  testing::WriteModel(dir, 0x0A0B0C, BoxMesh({0, 0, 0}, {1, 1, 1}));
  EXPECT_TRUE(ModelFileExists(programDir, 0x01030101));
  EXPECT_TRUE(ModelFileExists(programDir, 0x02030101));
  EXPECT_TRUE(ModelFileExists(programDir, 0x000A0B0C));  // upper-case digits
  EXPECT_FALSE(ModelFileExists(programDir, 0x01030102));
  EXPECT_EQ(ModelFilePath(programDir, 0xFF0A0B0C),
            dir.Path().string() + "\\data\\objects\\0A0B0C.mxa");
}

TEST_F(PartMeshTest, PartSettersLeaveModelsWithoutMeshAlone) {
  PartModel bare;
  EXPECT_EQ(SetPartRotation(&bare, 1, 2, 3), 1);
  EXPECT_EQ(SetPartTranslation(&bare, 1, 2, 3), 1);
  EXPECT_EQ(SetPartAlpha(&bare, 0.5f), 1);
  EXPECT_EQ(GetPartAlpha(&bare), -1.0f);
  EXPECT_EQ(SetPartAlpha(nullptr, 0.5f), 1);
  EXPECT_EQ(GetPartAlpha(nullptr), -1.0f);

  PartModel model;
  ASSERT_TRUE(
      LoadPartMesh(graphics, model, WriteMesh("p.mxa", BoxMesh({0, 0, 0}, {1, 1, 1})).c_str()));
  SetPartAlpha(&model, 0.5f);
  EXPECT_EQ(GetPartAlpha(&model), 0.5f);
  SetPartTranslation(&model, 4, 5, 6);
  EXPECT_EQ(model.mesh->translation.m[3][0], 4.0f);
  SetPartRotation(&model, 0, 0.5f, 0);
  EXPECT_NEAR(model.mesh->rotation.m[0][0], std::cos(0.5f), 1e-6f);
}

}  // namespace
}  // namespace kbh
