#include "platform/math/math.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace kbh {
namespace {

constexpr float kPi = 3.14159265f;

void ExpectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Math, MultiplyAppliesLeftOperandFirst) {
  // Translate, then scale: the translation is scaled too.
  const Matrix m = MatrixMultiply(MatrixTranslation(1, 2, 3), MatrixScaling(2, 2, 2));
  ExpectNear(TransformCoord({0, 0, 0}, m), {2, 4, 6});
}

TEST(Math, RotationsTurnLeftHandedWithRowVectors) {
  // Positive angles turn clockwise when looking down the axis toward the origin.
  ExpectNear(TransformNormal({1, 0, 0}, MatrixRotationY(kPi / 2)), {0, 0, -1});
  ExpectNear(TransformNormal({0, 1, 0}, MatrixRotationX(kPi / 2)), {0, 0, 1});
  ExpectNear(TransformNormal({1, 0, 0}, MatrixRotationZ(kPi / 2)), {0, 1, 0});
  const Matrix xyz = MatrixRotationXYZ(0.3f, 0.5f, 0.7f);
  const Matrix expected = MatrixMultiply(
      MatrixMultiply(MatrixRotationX(0.3f), MatrixRotationY(0.5f)), MatrixRotationZ(0.7f));
  for (int i = 0; i < 16; ++i)
    EXPECT_FLOAT_EQ((&xyz.m[0][0])[i], (&expected.m[0][0])[i]);
}

TEST(Math, LookAtPutsTheTargetOnThePositiveZAxis) {
  const Vec3 eye{-40, 250, -600};
  const Matrix view = MatrixLookAtLH(eye, {0, 0, 0}, {0, 1, 0});
  const Vec3 target = TransformCoord({0, 0, 0}, view);
  EXPECT_NEAR(target.x, 0.0f, 1e-3f);
  EXPECT_NEAR(target.y, 0.0f, 1e-3f);
  EXPECT_NEAR(target.z, Length(eye), 1e-3f);
  // A point to the right of the viewer (in world +x, seen from -z) has positive x.
  EXPECT_GT(TransformCoord({100, 0, 0}, view).x, 0.0f);
}

TEST(Math, PerspectiveMapsNearToZeroAndFarToOne) {
  const Matrix projection = MatrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 200.0f, 1700.0f);
  EXPECT_NEAR(TransformCoord({0, 0, 200}, projection).z, 0.0f, 1e-6f);
  EXPECT_NEAR(TransformCoord({0, 0, 1700}, projection).z, 1.0f, 1e-6f);
  // The top edge of the 45-degree frustum lands on y = 1.
  EXPECT_NEAR(TransformCoord({0, std::tan(0.7853982f / 2) * 500, 500}, projection).y, 1.0f, 1e-5f);
}

TEST(Math, InverseUndoesATransformAndRejectsSingularMatrices) {
  const Matrix m = MatrixMultiply(MatrixMultiply(MatrixScaling(2, 3, 4), MatrixRotationY(0.8f)),
                                  MatrixTranslation(5, -6, 7));
  Matrix inverse;
  ASSERT_TRUE(MatrixInverse(m, &inverse));
  ExpectNear(TransformCoord(TransformCoord({1, 2, 3}, m), inverse), {1, 2, 3}, 1e-4f);
  EXPECT_FALSE(MatrixInverse(MatrixScaling(1, 0, 1), &inverse));
}

TEST(Math, Transformation2DScalesThenTranslates) {
  const Matrix m = MatrixTransformation2D({2.0f, 0.5f}, 0.0f, {10.0f, 20.0f});
  ExpectNear(TransformCoord({4, 4, 0}, m), {18, 22, 0});
  EXPECT_TRUE(IsIdentity(MatrixTransformation2D({1, 1}, 0, {0, 0})));
}

}  // namespace
}  // namespace kbh
