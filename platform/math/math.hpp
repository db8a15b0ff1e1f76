// Vector and matrix helpers with Direct3D's conventions: left-handed space,
// row vectors (v' = v * M), matrices stored row by row. Because GL reads a
// matrix column by column and multiplies column vectors, the same 16 floats
// mean the same transform in both APIs and load with glLoadMatrixf unchanged.
#pragma once

namespace kbh {

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
};

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// m[row][column]; the translation lives in row 3.
struct Matrix {
  float m[4][4];
};

// --- Vectors -----------------------------------------------------------------

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 v, float s);
float Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
float Length(Vec3 v);
// A zero vector stays zero rather than turning into NaNs.
Vec3 Normalize(Vec3 v);

// --- Matrices ----------------------------------------------------------------

Matrix MatrixIdentity();
bool IsIdentity(const Matrix& m);
// a * b: a point transformed by the result goes through a first, then b.
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float x, float y, float z);
Matrix MatrixRotationX(float angle);
Matrix MatrixRotationY(float angle);
Matrix MatrixRotationZ(float angle);
// The three rotations multiplied in the order X, then Y, then Z.
Matrix MatrixRotationXYZ(float x, float y, float z);
Matrix MatrixLookAtLH(Vec3 eye, Vec3 at, Vec3 up);
// Depth maps to 0 at zNear and 1 at zFar.
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Scaling, then rotation about the z axis, then translation, all in the xy
// plane about the origin (the program never uses the optional centres).
Matrix MatrixTransformation2D(Vec2 scaling, float rotation, Vec2 translation);
// False, and *out untouched, for a singular matrix.
bool MatrixInverse(const Matrix& m, Matrix* out);

// Point transform with the homogeneous divide.
Vec3 TransformCoord(Vec3 v, const Matrix& m);
// Direction transform: the upper 3x3 only.
Vec3 TransformNormal(Vec3 v, const Matrix& m);

}  // namespace kbh
