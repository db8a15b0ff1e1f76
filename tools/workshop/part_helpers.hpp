// Small pieces that many parts share: nuts, bolts, clamps, frames about an
// axle. Internal to the part builders.
#pragma once

#include <vector>

#include "tools/workshop/geometry.hpp"

namespace kbh {

// A hexagon nut (or bolt head) on an axis: across flats af, height h,
// starting at origin and extending along axis.
void AddHexNut(MeshBuilder& builder, Vec3 origin, Vec3 axis, float acrossFlats, float height);

// A plain cylinder with slightly rounded ends, from a to b.
void AddRod(MeshBuilder& builder, Vec3 a, Vec3 b, float radius, int sides);

// A lathe described by (r, h) pairs with all points smooth.
std::vector<ProfilePoint> Profile(std::initializer_list<std::pair<float, float>> points);

// Helix around an axis (a coil spring): turns, radius, wire radius.
std::vector<Vec3> HelixPath(Vec3 from, Vec3 to, float radius, float turns, int samplesPerTurn);

float SmoothStep(float edge0, float edge1, float x);

}  // namespace kbh
