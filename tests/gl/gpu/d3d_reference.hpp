// Direct3D 9's fixed-function colour of a vertex, computed here from scratch
// for the pixel tests: emissive + ambient x (global ambient + light ambient x
// att) + diffuse x (N.L) x att, the cube map's face blended over it by the
// reflection factor, specular (half vector, local viewer) added after
// texturing; att = 1 / (a0 + a1 d + a2 d^2), and nothing at all from a light
// out of range. Also the sphere the tests light.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/gpu/d3d_types.hpp"
#include "platform/math/math.hpp"
#include "platform/mesh/mesh_data.hpp"

namespace kbh::testing {

// Ring 0's pole faces -z; segment 0 is +x, a quarter turn later +y.
inline Vec3 SpherePoint(int ring, int segment, int rings, int segments) {
  const double theta = std::numbers::pi * ring / rings;
  const double phi = 2.0 * std::numbers::pi * segment / segments;
  return Vec3{static_cast<float>(std::sin(theta) * std::cos(phi)),
              static_cast<float>(std::sin(theta) * std::sin(phi)),
              static_cast<float>(-std::cos(theta))};
}

// One subset; front faces clockwise seen from outside.
inline MeshData SphereMesh(float radius, int rings, int segments) {
  MeshData mesh;
  for (int i = 0; i <= rings; ++i) {
    for (int j = 0; j <= segments; ++j) {
      const Vec3 n = SpherePoint(i, j, rings, segments);
      mesh.vertices.push_back({n * radius, n, 0, 0});
    }
  }
  auto index = [&](int i, int j) { return static_cast<uint32_t>(i * (segments + 1) + j); };
  auto add = [&](uint32_t a, uint32_t b, uint32_t c) {
    const Vec3 pa = mesh.vertices[a].position;
    const Vec3 normal = Cross(mesh.vertices[b].position - pa, mesh.vertices[c].position - pa);
    if (Length(normal) < 1e-6f * radius * radius) return;  // degenerate at the poles
    if (Dot(normal, pa + mesh.vertices[b].position + mesh.vertices[c].position) < 0) {
      std::swap(b, c);
    }
    mesh.indices.insert(mesh.indices.end(), {a, b, c});
  };
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < segments; ++j) {
      add(index(i, j), index(i, j + 1), index(i + 1, j));
      add(index(i, j + 1), index(i + 1, j + 1), index(i + 1, j));
    }
  }
  mesh.subsets = {{0, static_cast<uint32_t>(mesh.indices.size() / 3)}};
  return mesh;
}

// The program's light, written out here so that the tests check it too.
inline Light ProgramLight() {
  Light light;
  light.diffuse = {1, 1, 1, 0};
  light.specular = {0.75f, 0.75f, 0.75f, 0};
  light.ambient = {0.75f, 0.75f, 0.75f, 0};
  light.position[0] = -120;
  light.position[1] = 450;
  light.position[2] = -600;
  light.range = 1000;
  light.attenuation0 = 4.5e-9f;
  light.attenuation1 = 0.00075f;
  light.attenuation2 = 8e-7f;
  return light;
}

struct LitScene {
  Light light = ProgramLight();
  Material material;
  double globalAmbient = 0;  // grey
  bool specular = true;
  double reflection = 0;            // the texture factor's alpha, 0..1
  const uint32_t* faces = nullptr;  // the cube map's six colours, DDS order
  Vec3 eye;
  Matrix view;
  double alpha = 1;  // blended over background
  uint32_t background = 0xFF000000;
};

inline int MajorFace(Vec3 v) {
  const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
  if (ax >= ay && ax >= az) return v.x > 0 ? 0 : 1;
  if (ay >= az) return v.y > 0 ? 2 : 3;
  return v.z > 0 ? 4 : 5;
}

// The face the camera-space reflection vector of a world point picks.
inline int ReflectedFace(const LitScene& s, Vec3 position, Vec3 normal) {
  const Vec3 u = Normalize(TransformCoord(position, s.view));
  const Vec3 n = TransformNormal(normal, s.view);
  return MajorFace(u - n * (2.0f * Dot(n, u)));
}

inline double Attenuation(const Light& light, Vec3 position) {
  const double d = Length(Vec3{light.position[0], light.position[1], light.position[2]} - position);
  return d > light.range
             ? 0.0
             : 1.0 / (light.attenuation0 + light.attenuation1 * d + light.attenuation2 * d * d);
}

inline uint32_t ExpectedColour(const LitScene& s, Vec3 position, Vec3 normal) {
  const Light& light = s.light;
  const Material& m = s.material;
  const Vec3 l =
      Normalize(Vec3{light.position[0], light.position[1], light.position[2]} - position);
  const double att = Attenuation(light, position);
  const double nDotL = std::max(0.0f, Dot(normal, l));
  const double nDotH = Dot(normal, Normalize(Normalize(s.eye - position) + l));
  const double specularTerm =
      s.specular && att > 0 && nDotL > 0 && nDotH > 0 ? std::pow(nDotH, m.power) * att : 0.0;
  const uint32_t face = s.faces[ReflectedFace(s, position, normal)];
  const auto channel = [](const ColorValue& c, int i) { return i == 0 ? c.r : i == 1 ? c.g : c.b; };
  uint32_t out = 0xFF000000u;
  for (int i = 0; i < 3; ++i) {
    const int shift = 16 - 8 * i;
    const double lit = std::min(
        1.0, channel(m.emissive, i) +
                 channel(m.ambient, i) * (s.globalAmbient + channel(light.ambient, i) * att) +
                 channel(m.diffuse, i) * channel(light.diffuse, i) * nDotL * att);
    const double drawn = std::min(
        1.0, ((face >> shift) & 0xFF) / 255.0 * s.reflection + lit * (1 - s.reflection) +
                 std::min(1.0, channel(m.specular, i) * channel(light.specular, i) * specularTerm));
    const double blended =
        drawn * s.alpha + ((s.background >> shift) & 0xFF) / 255.0 * (1 - s.alpha);
    out |= static_cast<uint32_t>(std::lround(std::clamp(blended, 0.0, 1.0) * 255)) << shift;
  }
  return out;
}

}  // namespace kbh::testing
