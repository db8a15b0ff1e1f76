#include "tools/workshop/part_helpers.hpp"

#include <algorithm>
#include <cmath>

#include "tools/workshop/moped_parts.hpp"

namespace kbh {

PartMesh Finish(const MeshBuilder& builder) {
  return {builder.Build(), builder.SubsetNames()};
}

void AddHexNut(MeshBuilder& builder, Vec3 origin, Vec3 axis, float acrossFlats, float height) {
  const float r = acrossFlats * 0.5f / std::cos(kPi / 6.0f);
  Shape2 hexagon;
  for (int i = 0; i < 6; ++i) {
    const float a = kPi / 6.0f + kPi / 3.0f * static_cast<float>(i);
    hexagon.points.push_back({r * std::cos(a), r * std::sin(a)});
    hexagon.crease.push_back(1);
  }
  AddExtrusion(builder, FrameFacing(origin, axis, {0, 1, 0}), hexagon, 0.0f, height);
}

void AddRod(MeshBuilder& builder, Vec3 a, Vec3 b, float radius, int sides) {
  const float length = Length(b - a);
  const float e = std::min(radius * 0.3f, length * 0.25f);
  AddLathe(builder, FrameAlong(a, b - a),
           {{0.0f, 0.0f},
            {radius - e, 0.0f},
            {radius, e},
            {radius, length - e},
            {radius - e, length},
            {0.0f, length}},
           sides);
}

std::vector<ProfilePoint> Profile(std::initializer_list<std::pair<float, float>> points) {
  std::vector<ProfilePoint> profile;
  for (const auto& [r, h] : points)
    profile.push_back({r, h, false});
  return profile;
}

std::vector<Vec3> HelixPath(Vec3 from, Vec3 to, float radius, float turns, int samplesPerTurn) {
  const Frame frame = FrameAlong(from, to - from);
  const float length = Length(to - from);
  const int samples = std::max(2, static_cast<int>(turns * static_cast<float>(samplesPerTurn)));
  std::vector<Vec3> path;
  for (int s = 0; s <= samples; ++s) {
    const float t = static_cast<float>(s) / samples;
    const float a = 2.0f * kPi * turns * t;
    path.push_back(frame.Point({radius * std::cos(a), length * t, radius * std::sin(a)}));
  }
  return path;
}

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace kbh
