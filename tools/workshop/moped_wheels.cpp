// Wheels: tyre, rim, 36 laced spokes, a drum-brake hub with its brake plate,
// and on the rear wheel the chain sprocket. The whitewall tyre has its white
// band as a slot of its own; the cast wheel has five flat spokes cast with the
// rim.
#include <cmath>

#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/part_helpers.hpp"

namespace kbh {

namespace {

using namespace moped;

constexpr int kAround = 48;  // segments around the wheel

// Local y along the axle (world +z), local x forward.
Frame WheelFrame(Vec3 axle) {
  return FrameAlong(axle, {0, 0, 1}, {1, 0, 0});
}

// A point of the wheel at radius r, angle a (0 = forward, turning up) and
// offset h along the axle.
Vec3 WheelPoint(Vec3 axle, float r, float a, float h) {
  return {axle.x + r * std::cos(a), axle.y + r * std::sin(a), axle.z + h};
}

// The tyre's cross-section, counter-clockwise in (r, h): a rounded section
// whose tread is flatter than its walls, with three shallow grooves.
std::vector<ProfilePoint> TyreSection() {
  const float centre = (kRimRadius + 0.8f + kTyreRadius) * 0.5f;
  const float halfHeight = (kTyreRadius - kRimRadius - 0.8f) * 0.5f;
  constexpr float kHalfWidth = 5.6f;
  // Angles counter-clockwise from the inner side (pi); the tread around 2 pi
  // is sampled more densely so that its grooves come out.
  constexpr float kTreadEdge = 1.0f;
  std::vector<float> angles;
  for (int i = 0; i < 6; ++i) {
    angles.push_back(kPi + (kPi - kTreadEdge) * static_cast<float>(i) / 6.0f);
  }
  for (int i = 0; i < 16; ++i) {
    angles.push_back(2.0f * kPi - kTreadEdge + 2.0f * kTreadEdge * static_cast<float>(i) / 16.0f);
  }
  for (int i = 0; i < 6; ++i) {
    angles.push_back(2.0f * kPi + kTreadEdge + (kPi - kTreadEdge) * static_cast<float>(i) / 6.0f);
  }
  std::vector<ProfilePoint> section;
  for (const float a : angles) {
    const float c = std::cos(a);
    const float s = std::sin(a);
    // Flatter on the tread (c > 0), rounder on the walls.
    const float e = c > 0.0f ? 0.6f : 0.9f;
    float r = centre + halfHeight * std::copysign(std::pow(std::fabs(c), e), c);
    const float h = kHalfWidth * std::copysign(std::pow(std::fabs(s), 0.8f), s);
    // The beads pinch in where they sit in the rim.
    if (c < -0.5f) r = std::max(r, kRimRadius + 0.2f);
    // Circumferential grooves in the tread.
    if (c > 0.5f) {
      for (float groove : {-2.7f, 0.0f, 2.7f}) {
        r -= 0.5f * std::exp(-std::pow((h - groove) / 0.6f, 2.0f));
      }
    }
    section.push_back({r, h, false});
  }
  return section;
}

void AddTyre(MeshBuilder& builder, Vec3 axle, bool whitewall, int tyreSubset, int wallSubset) {
  const std::vector<ProfilePoint> section = TyreSection();
  const Frame frame = WheelFrame(axle);
  if (!whitewall) {
    builder.SetSubset(tyreSubset);
    AddLathe(builder, frame, section, kAround, 0.0f, 2.0f * kPi, true);
    return;
  }
  // Split the section into runs: the white band on each wall, black elsewhere.
  const auto white = [&](const ProfilePoint& p) {
    return p.r > kRimRadius + 2.4f && p.r < kRimRadius + 5.6f && std::fabs(p.h) > 3.5f;
  };
  const size_t n = section.size();
  size_t start = 0;
  while (white(section[start]) == white(section[(start + n - 1) % n]))
    ++start;
  size_t i = 0;
  while (i < n) {
    const bool isWhite = white(section[(start + i) % n]);
    std::vector<ProfilePoint> run;
    size_t j = i;
    while (j < n && white(section[(start + j) % n]) == isWhite) {
      run.push_back(section[(start + j) % n]);
      ++j;
    }
    run.push_back(section[(start + j) % n]);  // share the boundary point
    builder.SetSubset(isWhite ? wallSubset : tyreSubset);
    AddLathe(builder, frame, run, kAround);
    i = j;
  }
}

void AddRim(MeshBuilder& builder, Vec3 axle) {
  const std::vector<ProfilePoint> section = Profile({{30.8f, 3.6f},
                                                     {30.8f, -3.6f},
                                                     {32.6f, -5.8f},
                                                     {35.4f, -6.5f},
                                                     {36.4f, -6.0f},
                                                     {35.6f, -5.0f},
                                                     {34.2f, -3.2f},
                                                     {34.2f, 3.2f},
                                                     {35.6f, 5.0f},
                                                     {36.4f, 6.0f},
                                                     {35.4f, 6.5f},
                                                     {32.6f, 5.8f}});
  AddLathe(builder, WheelFrame(axle), section, kAround, 0.0f, 2.0f * kPi, true);
}

// 36 spokes, 18 from each hub flange, laced tangentially so that each
// crosses three others.
void AddSpokes(MeshBuilder& builder, Vec3 axle, float flangeOffset, float flangeRadius) {
  constexpr int kSpokes = 36;
  for (int k = 0; k < kSpokes; ++k) {
    const float side = (k % 2 == 0) ? 1.0f : -1.0f;
    const float rimAngle = 2.0f * kPi * static_cast<float>(k) / kSpokes;
    // Alternate leading and trailing spokes on each flange.
    const float lead = ((k / 2) % 2 == 0) ? 1.0f : -1.0f;
    const float hubAngle = rimAngle + lead * 0.95f;
    const Vec3 hub = WheelPoint(axle, flangeRadius, hubAngle, side * flangeOffset);
    const Vec3 rim = WheelPoint(axle, 31.0f, rimAngle, side * 1.3f);
    AddTube(builder, {hub, rim}, 0.42f, 5, Caps::kNone);
  }
}

// The hub barrel with its spoke flanges; the drum on the brake side.
void AddHub(MeshBuilder& builder, Vec3 axle, float brakeSide, float flangeRadius) {
  const Frame frame = WheelFrame(axle);
  // Built along +h; a brake on -z is the mirror image, so build it in a
  // frame whose axis points the other way.
  const Frame oriented = brakeSide > 0.0f ? frame : FrameAlong(axle, {0, 0, -1}, {1, 0, 0});
  AddLathe(builder, oriented,
           Profile({{0.0f, -7.2f},
                    {2.8f, -7.2f},
                    {3.4f, -6.6f},
                    {flangeRadius, -6.0f},
                    {flangeRadius + 0.4f, -5.4f},
                    {flangeRadius, -4.8f},
                    {4.2f, -4.4f},
                    {3.8f, 0.0f},
                    {4.2f, 4.4f},
                    {flangeRadius, 4.8f},
                    {flangeRadius + 0.4f, 5.4f},
                    {flangeRadius + 0.8f, 6.0f},
                    {11.0f, 6.4f},
                    {11.6f, 7.0f},
                    {11.6f, 8.6f},
                    {0.0f, 8.6f}}),
           24);
  // Axle with its nuts outside the fork legs or swingarm.
  AddRod(builder, axle + Vec3{0, 0, -16.0f}, axle + Vec3{0, 0, 16.0f}, 1.5f, 12);
  AddHexNut(builder, axle + Vec3{0, 0, 14.6f}, {0, 0, 1}, 3.6f, 1.8f);
  AddHexNut(builder, axle + Vec3{0, 0, -14.6f}, {0, 0, -1}, 3.6f, 1.8f);
}

// The stationary brake plate with its anchor arm and cam lever.
void AddBrakePlate(MeshBuilder& builder, Vec3 axle, float side, bool rear) {
  const Frame frame = side > 0.0f ? WheelFrame(axle) : FrameAlong(axle, {0, 0, -1}, {1, 0, 0});
  AddLathe(builder, frame,
           Profile({{0.0f, 10.3f},
                    {3.2f, 10.3f},
                    {5.0f, 10.1f},
                    {9.0f, 9.5f},
                    {11.3f, 8.9f},
                    {11.9f, 8.6f},
                    {11.9f, 8.3f}}),
           40);
  // Ribs on the plate catch the light like the real casting does.
  for (int r = 0; r < 6; ++r) {
    const float a = 2.0f * kPi * static_cast<float>(r) / 6.0f + 0.3f;
    const Vec3 inner = WheelPoint(axle, 4.5f, a, side * 10.1f);
    const Vec3 outer = WheelPoint(axle, 10.2f, a, side * 9.1f);
    AddTube(builder, {inner, outer}, 0.45f, 6, Caps::kBoth);
  }
  // Anchor arm towards the fork leg (front) or the swingarm (rear).
  const float armAngle = rear ? 0.12f : 2.1f;
  const Vec3 armStart = WheelPoint(axle, 8.0f, armAngle, side * 9.6f);
  const Vec3 armEnd = WheelPoint(axle, 17.0f, armAngle + (rear ? 0.25f : -0.2f), side * 10.0f);
  AddTube(builder, {armStart, armEnd}, 1.1f, 8, Caps::kBoth);
  // The brake cam lever with the cable end.
  const float leverAngle = rear ? 2.5f : 0.7f;
  const Vec3 cam = WheelPoint(axle, 7.0f, leverAngle, side * 10.6f);
  const Vec3 leverEnd = WheelPoint(axle, 15.0f, leverAngle - 0.5f, side * 11.0f);
  AddTube(builder, {cam, leverEnd}, 0.8f, 8, Caps::kBoth);
  AddRod(builder, cam - Vec3{0, 0, side * 0.8f}, cam + Vec3{0, 0, side * 1.2f}, 1.2f, 10);
}

// A chain sprocket: a toothed ring extruded flat on the hub.
void AddSprocket(MeshBuilder& builder, Vec3 axle, float side) {
  constexpr int kTeeth = 38;
  constexpr float kRoot = 14.6f;
  constexpr float kTip = 15.8f;
  Shape2 outline;
  for (int t = 0; t < kTeeth; ++t) {
    const float base = 2.0f * kPi * static_cast<float>(t) / kTeeth;
    const float step = 2.0f * kPi / kTeeth;
    const float shape[5][2] = {
        {0.0f, kRoot}, {0.22f, kRoot}, {0.38f, kTip}, {0.62f, kTip}, {0.78f, kRoot}};
    for (const auto& p : shape) {
      const float a = base + step * p[0];
      outline.points.push_back({p[1] * std::cos(a), p[1] * std::sin(a)});
      outline.crease.push_back(1);
    }
  }
  const Frame frame = FrameFacing(axle + Vec3{0, 0, side * 7.6f}, {0, 0, side}, {1, 0, 0});
  AddExtrusion(builder, frame, outline, 0.0f, 0.9f);
  // Lightening holes are suggested by a raised inner ring with bolts.
  AddLathe(builder, side > 0 ? WheelFrame(axle) : FrameAlong(axle, {0, 0, -1}, {1, 0, 0}),
           Profile({{0.0f, 8.7f}, {9.5f, 8.7f}, {10.0f, 8.4f}, {10.0f, 7.6f}}), 40);
  for (int b = 0; b < 6; ++b) {
    const float a = 2.0f * kPi * static_cast<float>(b) / 6.0f;
    AddHexNut(builder, WheelPoint(axle, 8.0f, a, side * 8.6f), {0, 0, side}, 1.6f, 0.9f);
  }
}

// Five flat spokes cast with the rim, tapering from the hub to the rim.
void AddCastSpokes(MeshBuilder& builder, Vec3 axle) {
  constexpr int kSpokes = 5;
  for (int k = 0; k < kSpokes; ++k) {
    const float a = 2.0f * kPi * static_cast<float>(k) / kSpokes + 0.3f;
    const Vec3 direction{std::cos(a), std::sin(a), 0.0f};
    std::vector<Vec3> path;
    for (int s = 0; s <= 8; ++s) {
      const float r = 8.0f + 23.5f * static_cast<float>(s) / 8.0f;
      path.push_back(axle + direction * r);
    }
    std::vector<float> scales;
    for (int s = 0; s <= 8; ++s) {
      const float t = static_cast<float>(s) / 8.0f;
      // Wide at the hub, narrowest two thirds out, flaring into the rim.
      scales.push_back(1.0f - 0.45f * std::sin(t * kPi * 0.75f) + 0.25f * t * t * t);
    }
    AddSweep(builder, path, RoundedRectShape(5.0f, 3.0f, 1.3f, 3), Caps::kNone, scales, {0, 0, 1});
  }
}

}  // namespace

PartMesh BuildWheel(WheelPosition position, WheelStyle style) {
  const bool rear = position == WheelPosition::kRear;
  const Vec3 axle = rear ? kRearAxle : kFrontAxle;
  // The brake sits on the left at the front and on the right at the rear,
  // where the chain leaves room for it.
  const float brakeSide = rear ? -1.0f : 1.0f;
  MeshBuilder b;
  const int tyre = b.AddSubset("tyre");
  const int wall = style == WheelStyle::kWhitewall ? b.AddSubset("whitewall") : tyre;
  AddTyre(b, axle, style == WheelStyle::kWhitewall, tyre, wall);
  if (style == WheelStyle::kCast) {
    b.AddSubset("cast wheel");
    AddRim(b, axle);
    AddCastSpokes(b, axle);
    b.AddSubset("hub");
    AddHub(b, axle, brakeSide, 9.5f);
  } else {
    b.AddSubset("rim");
    AddRim(b, axle);
    b.AddSubset("spokes");
    AddSpokes(b, axle, 5.4f, 7.2f);
    b.AddSubset("hub");
    AddHub(b, axle, brakeSide, 7.6f);
  }
  b.AddSubset("brake plate");
  AddBrakePlate(b, axle, brakeSide, rear);
  if (rear) {
    b.AddSubset("sprocket");
    AddSprocket(b, axle, 1.0f);
  }
  return Finish(b);
}

}  // namespace kbh
