// The modelling kit: surfaces face outwards with their triangles and normals
// agreeing, closed shapes enclose the volume they should, and the helpers
// that bend and mirror keep all of that true.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/unit/workshop_content/mesh_checks.hpp"
#include "tools/workshop/geometry.hpp"

namespace kbh {
namespace {

constexpr double kPiD = std::numbers::pi;

TEST(Geometry, ClosedShapesFaceOutwardsAndEncloseTheirVolume) {
  struct Case {
    const char* name;
    void (*build)(MeshBuilder&);
    double volume;
    double tolerance;
  };
  const Case cases[] = {
      {"sphere",
       [](MeshBuilder& b) {
         AddSphere(b, {5, -3, 2}, 10.0f, 48);
       },
       4.0 / 3.0 * kPiD * 1000.0, 0.02},
      {"torus",
       [](MeshBuilder& b) {
         AddTorus(b, FrameAlong({1, 2, 3}, {1, 1, 0}), 20.0f, 4.0f, 64, 24);
       },
       2.0 * kPiD * kPiD * 20.0 * 16.0, 0.02},
      {"rounded box",
       [](MeshBuilder& b) {
         Frame f;
         f.origin = {0, 10, 0};
         AddRoundedBox(b, f, {10, 5, 4}, 0.0f, 3);
       },
       20.0 * 10.0 * 8.0, 1e-4},
      {"extrusion",
       [](MeshBuilder& b) {
         // An L-shaped outline: concave, so the caps need real ear clipping.
         Shape2 l;
         l.points = {{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 5}, {0, 5}};
         l.crease.assign(6, 1);
         AddExtrusion(b, FrameFacing({3, 4, 5}, {0, 1, 1}), l, -1.0f, 2.0f);
       },
       (12.0 + 6.0) * 3.0, 1e-4},
      {"rounded slab",
       [](MeshBuilder& b) {
         Frame f;
         AddRoundedSlab(b, f, CircleShape(10.0f, 64), 0.0f, 4.0f, 1.0f, 4);
       },
       // A disc of radius 10, height 4, with its two rims rounded off.
       kPiD * 100.0 * 4.0 - 2.0 * (2.0 * kPiD * 9.6) * (1.0 - kPiD / 4.0), 0.02},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MeshBuilder b;
    c.build(b);
    const MeshData mesh = b.Build();
    EXPECT_NEAR(SignedVolume(mesh), c.volume, c.volume * c.tolerance);
    EXPECT_GT(AgreeingShare(mesh), 0.999);
    ExpectUnitNormals(mesh);
  }
}

TEST(Geometry, CreasedProfilesGetHardEdgesAndSmoothOnesDoNot) {
  // A cylinder with creased rims: every cap vertex has the axis as normal,
  // every wall vertex a radial one.
  MeshBuilder b;
  AddLathe(b, Frame{}, {{0, 0, false}, {5, 0, true}, {5, 8, true}, {0, 8, false}}, 24);
  const MeshData mesh = b.Build();
  for (const MeshVertex& v : mesh.vertices) {
    const bool onCap = std::fabs(v.normal.y) > 0.99f;
    const bool onWall = std::fabs(v.normal.y) < 1e-4f;
    EXPECT_TRUE(onCap || onWall) << v.normal.x << " " << v.normal.y << " " << v.normal.z;
  }
  EXPECT_NEAR(SignedVolume(mesh), kPiD * 25.0 * 8.0, kPiD * 25.0 * 8.0 * 0.02);
}

TEST(Geometry, MirroringKeepsTheWindingAndDeformingCarriesNormals) {
  MeshBuilder b;
  const MeshBuilder::Mark mark = b.Here();
  AddSphere(b, {0, 0, 6}, 3.0f, 32);
  b.MirrorZSince(mark);
  const MeshData mirrored = b.Build();
  EXPECT_NEAR(SignedVolume(mirrored), 2.0 * 4.0 / 3.0 * kPiD * 27.0, 2.0 * 113.1 * 0.02);
  EXPECT_GT(AgreeingShare(mirrored), 0.999);

  // Stretching a sphere into an ellipsoid: normals follow the inverse
  // transpose of the stretch, (x, y / 2, z).
  MeshBuilder e;
  const MeshBuilder::Mark start = e.Here();
  AddSphere(e, {0, 0, 0}, 1.0f, 32);
  const std::vector<MeshVertex> before = e.Build().vertices;
  e.DeformSince(start, [](Vec3 p) { return Vec3{p.x, p.y * 2.0f, p.z}; });
  const std::vector<MeshVertex> after = e.Build().vertices;
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i) {
    const Vec3 n = before[i].normal;
    ASSERT_GT(Dot(after[i].normal, Normalize({n.x, n.y * 0.5f, n.z})), 0.9999f);
    ASSERT_NEAR(after[i].position.y, before[i].position.y * 2.0f, 1e-5f);
  }
}

TEST(Geometry, BentPathsRoundCornersWithoutRunningAway) {
  const std::vector<Vec3> path = BentPath({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}}, 10.0f, 8, 20.0f);
  // The bend stays within its radius of the corner and the ends are kept.
  EXPECT_NEAR(Length(path.front() - Vec3{0, 0, 0}), 0.0f, 1e-4f);
  EXPECT_NEAR(Length(path.back() - Vec3{100, 50, 0}), 0.0f, 1e-4f);
  for (const Vec3& p : path) {
    EXPECT_LE(p.x, 100.0f + 1e-3f);
    EXPECT_GE(p.y, -1e-3f);
  }
  // A path that doubles back on itself cannot be bent round; it must still
  // stay a handful of points rather than run off to infinity.
  const std::vector<Vec3> reversal =
      BentPath({{0, 0, 0}, {10, 0, 0}, {-10, 0, 0}, {-10, 5, 0}}, 4.0f, 5, 25.0f);
  EXPECT_LT(reversal.size(), 40u);
  for (const Vec3& p : reversal)
    EXPECT_TRUE(std::isfinite(p.x) && std::fabs(p.x) <= 10.0f);
}

TEST(Geometry, SubsetsKeepTheirTrianglesTogether) {
  MeshBuilder b;
  const int first = b.AddSubset("first");
  AddSphere(b, {0, 0, 0}, 1.0f, 8);
  const int second = b.AddSubset("second");
  AddSphere(b, {5, 0, 0}, 1.0f, 8);
  // Going back to the first slot adds to it, not to the end of the buffer.
  b.SetSubset(first);
  AddSphere(b, {10, 0, 0}, 1.0f, 8);
  const MeshData mesh = b.Build();
  ASSERT_EQ(mesh.subsets.size(), 2u);
  EXPECT_EQ(mesh.subsets[static_cast<size_t>(first)].firstTriangle, 0u);
  EXPECT_EQ(mesh.subsets[static_cast<size_t>(second)].firstTriangle,
            mesh.subsets[static_cast<size_t>(first)].triangleCount);
  EXPECT_EQ(mesh.subsets[0].triangleCount, 2 * mesh.subsets[1].triangleCount);
  for (size_t t = 0; t < mesh.subsets[0].triangleCount; ++t) {
    EXPECT_GT(std::fabs(mesh.vertices[mesh.indices[3 * t]].position.x - 5.0f), 2.0f);
  }
}

}  // namespace
}  // namespace kbh
