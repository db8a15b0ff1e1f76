// The demo moped's part meshes: every part builds the same way each time,
// faces outwards, has the material slots the catalogue paints, and survives
// the trip through its .x encoding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "platform/mesh/xfile.hpp"
#include "tests/unit/workshop_content/mesh_checks.hpp"
#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/part_table.hpp"

namespace kbh {
namespace {

bool SameBits(const MeshData& a, const MeshData& b) {
  if (a.vertices.size() != b.vertices.size() || a.indices != b.indices) return false;
  for (size_t i = 0; i < a.vertices.size(); ++i) {
    const MeshVertex& p = a.vertices[i];
    const MeshVertex& q = b.vertices[i];
    if (std::memcmp(&p, &q, sizeof p) != 0) return false;
  }
  return true;
}

TEST(Parts, EveryPartIsSoundAndBuildsTheSameEachTime) {
  std::set<uint32_t> fileNumbers;
  for (const PartSource& part : DemoParts()) {
    SCOPED_TRACE(::testing::Message() << std::hex << part.id);
    EXPECT_TRUE(fileNumbers.insert(part.id & 0xFFFFFFu).second) << "two parts share a file";
    const PartMesh built = part.build();
    const MeshData& mesh = built.mesh;
    ASSERT_EQ(built.subsetNames.size(), mesh.subsets.size());
    ASSERT_GE(mesh.subsets.size(), 1u);
    for (const MeshSubset& subset : mesh.subsets)
      EXPECT_GT(subset.triangleCount, 0u);
    for (const MeshVertex& v : mesh.vertices) {
      ASSERT_TRUE(std::isfinite(v.position.x) && std::isfinite(v.position.y) &&
                  std::isfinite(v.position.z));
    }
    ExpectUnitNormals(mesh);
    // Open sheets (pads, stripes) and hard edges count too: nearly every
    // triangle must agree with the normals it is lit with.
    EXPECT_GT(AgreeingShare(mesh), 0.995);
    EXPECT_TRUE(SameBits(mesh, part.build().mesh)) << "a second build differs";

    MeshData read;
    std::string error;
    ASSERT_TRUE(ReadXFile(WriteXFile(mesh, part.encoding), &read, &error)) << error;
    ASSERT_EQ(read.subsets.size(), mesh.subsets.size());
    for (size_t s = 0; s < mesh.subsets.size(); ++s) {
      EXPECT_EQ(read.subsets[s].triangleCount, mesh.subsets[s].triangleCount);
    }
  }
}

TEST(Parts, SubsetCountsSuitThePaintScreen) {
  // The paint screen lists the subsets of parts with 2 to 9 of them and
  // paints parts of one subset or of ten and more only whole; the demo has
  // all three kinds, and every encoding.
  int single = 0;
  int listed = 0;
  int whole = 0;
  std::set<XEncoding> encodings;
  for (const PartSource& part : DemoParts()) {
    const size_t subsets = part.build().mesh.subsets.size();
    if (subsets == 1) ++single;
    if (subsets >= 2 && subsets <= 9) ++listed;
    if (subsets >= 10) ++whole;
    encodings.insert(part.encoding);
  }
  EXPECT_GE(single, 1);
  EXPECT_GE(listed, 40);
  EXPECT_GE(whole, 1);
  EXPECT_EQ(encodings.size(), 4u);
}

TEST(Parts, RaisedForksAreLongerByTheirLift) {
  // The catalogue moves the handlebar by ForkLift; the fork's stem must grow
  // by the same amount or the bar would float or sink into it.
  const auto top = [](ForkStyle style) {
    float highest = -1e9f;
    for (const MeshVertex& v : BuildFork(style).mesh.vertices)
      highest = std::max(highest, v.position.y);
    return highest;
  };
  const float standard = top(ForkStyle::kGaiters);
  for (ForkStyle style : {ForkStyle::kRaised10, ForkStyle::kRaised20}) {
    EXPECT_NEAR(top(style) - standard, ForkLift(style).y, 0.3f);
  }
  EXPECT_EQ(Length(ForkLift(ForkStyle::kChrome)), 0.0f);
}

TEST(Parts, ThePreviewBallIsASmoothSphereAtTheOrigin) {
  const MeshData ball = BuildPreviewBall().mesh;
  ASSERT_EQ(ball.subsets.size(), 1u);
  for (const MeshVertex& v : ball.vertices) {
    ASSERT_NEAR(Length(v.position), 30.0f, 1e-3f);
    ASSERT_GT(Dot(v.normal, Normalize(v.position)), 0.999f);
  }
}

}  // namespace
}  // namespace kbh
