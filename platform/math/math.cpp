#include "platform/math/math.hpp"

#include <cmath>

namespace kbh {

Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 v, float s) {
  return {v.x * s, v.y * s, v.z * s};
}
float Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(Vec3 v) {
  return std::sqrt(Dot(v, v));
}
Vec3 Normalize(Vec3 v) {
  const float length = Length(v);
  return length > 0.0f ? v * (1.0f / length) : Vec3{};
}

Matrix MatrixIdentity() {
  return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

bool IsIdentity(const Matrix& m) {
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      if (m.m[row][column] != (row == column ? 1.0f : 0.0f)) return false;
    }
  }
  return true;
}

Matrix MatrixMultiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      r.m[row][column] = a.m[row][0] * b.m[0][column] + a.m[row][1] * b.m[1][column] +
                         a.m[row][2] * b.m[2][column] + a.m[row][3] * b.m[3][column];
    }
  }
  return r;
}

Matrix MatrixTranslation(float x, float y, float z) {
  Matrix r = MatrixIdentity();
  r.m[3][0] = x;
  r.m[3][1] = y;
  r.m[3][2] = z;
  return r;
}

Matrix MatrixScaling(float x, float y, float z) {
  Matrix r = MatrixIdentity();
  r.m[0][0] = x;
  r.m[1][1] = y;
  r.m[2][2] = z;
  return r;
}

Matrix MatrixRotationX(float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  Matrix r = MatrixIdentity();
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

Matrix MatrixRotationY(float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  Matrix r = MatrixIdentity();
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[2][0] = s;
  r.m[2][2] = c;
  return r;
}

Matrix MatrixRotationZ(float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  Matrix r = MatrixIdentity();
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

Matrix MatrixRotationXYZ(float x, float y, float z) {
  return MatrixMultiply(MatrixMultiply(MatrixRotationX(x), MatrixRotationY(y)), MatrixRotationZ(z));
}

Matrix MatrixLookAtLH(Vec3 eye, Vec3 at, Vec3 up) {
  const Vec3 zAxis = Normalize(at - eye);
  const Vec3 xAxis = Normalize(Cross(up, zAxis));
  const Vec3 yAxis = Cross(zAxis, xAxis);
  return {{{xAxis.x, yAxis.x, zAxis.x, 0.0f},
           {xAxis.y, yAxis.y, zAxis.y, 0.0f},
           {xAxis.z, yAxis.z, zAxis.z, 0.0f},
           {-Dot(xAxis, eye), -Dot(yAxis, eye), -Dot(zAxis, eye), 1.0f}}};
}

Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
  const float yScale = 1.0f / std::tan(fovY * 0.5f);
  const float xScale = yScale / aspect;
  const float depthScale = zFar / (zFar - zNear);
  return {{{xScale, 0.0f, 0.0f, 0.0f},
           {0.0f, yScale, 0.0f, 0.0f},
           {0.0f, 0.0f, depthScale, 1.0f},
           {0.0f, 0.0f, -zNear * depthScale, 0.0f}}};
}

Matrix MatrixTransformation2D(Vec2 scaling, float rotation, Vec2 translation) {
  Matrix r = MatrixMultiply(MatrixScaling(scaling.x, scaling.y, 1.0f), MatrixRotationZ(rotation));
  r.m[3][0] = translation.x;
  r.m[3][1] = translation.y;
  return r;
}

bool MatrixInverse(const Matrix& matrix, Matrix* out) {
  // Cofactor expansion on the flattened matrix; plenty for the few inverses
  // taken per frame.
  const float* m = &matrix.m[0][0];
  float inv[16];
  inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
           m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
  inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
           m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
  inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
           m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
  inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
            m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
  inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
           m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
  inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
           m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
  inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
           m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
  inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
            m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
  inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
           m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
  inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
           m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
  inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
            m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
  inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
            m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
  inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
           m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
  inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
           m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
  inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
            m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
  inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
            m[8] * m[1] * m[6] - m[8] * m[2] * m[5];

  const float determinant = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
  if (determinant == 0.0f || !std::isfinite(determinant)) return false;
  const float scale = 1.0f / determinant;
  float* r = &out->m[0][0];
  for (int i = 0; i < 16; ++i)
    r[i] = inv[i] * scale;
  return true;
}

Vec3 TransformCoord(Vec3 v, const Matrix& m) {
  const float x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
  const float y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
  const float z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
  const float w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
  if (w == 0.0f) return {x, y, z};
  return {x / w, y / w, z / w};
}

Vec3 TransformNormal(Vec3 v, const Matrix& m) {
  return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
          v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
          v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

}  // namespace kbh
