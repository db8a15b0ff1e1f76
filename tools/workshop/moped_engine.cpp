// The single-cylinder two-stroke engine with its finned barrel and head,
// covers, carburettor, pedals and chain; and the exhausts that leave its port.
#include <algorithm>
#include <cmath>

#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/part_helpers.hpp"

namespace kbh {

namespace {

using namespace moped;

// A frame on the cylinder axis at distance d from the crank, with local x
// towards the front of the cylinder and local z along the axis (for fins).
Frame FinFrame(float d) {
  return FrameFacing(CylinderPoint(d), CylinderAxis(), CylinderFront());
}

void AddFins(MeshBuilder& b, float from, float to, int count, float halfSize, float thickness) {
  for (int f = 0; f < count; ++f) {
    const float d = from + (to - from) * static_cast<float>(f) / static_cast<float>(count - 1);
    const Shape2 fin =
        RoundedRectShape(2.0f * halfSize, 2.0f * halfSize * 0.92f, halfSize * 0.3f, 3);
    AddExtrusion(b, FinFrame(d - thickness * 0.5f), fin, 0.0f, thickness);
  }
}

void AddCrankcase(MeshBuilder& b) {
  const std::vector<Vec2> outline = {
      {23.0f, 30.0f},  {17.0f, 39.0f}, {2.0f, 41.0f}, {-14.0f, 37.0f}, {-24.0f, 27.0f},
      {-26.0f, 13.0f}, {-20.0f, 3.0f}, {-6.0f, 1.0f}, {12.0f, 3.0f},   {22.0f, 13.0f}};
  const Shape2 shape = FilletedPolygon(outline, std::vector<float>(outline.size(), 7.0f), 4);
  Frame frame;
  AddRoundedSlab(b, frame, shape, -10.0f, 10.0f, 2.5f, 3);
  // The pedal shaft boss on both sides.
  AddLathe(
      b, FrameAlong(kPedalAxle + Vec3{0, 0, -13.0f}, {0, 0, 1}),
      Profile(
          {{0.0f, 0.0f}, {3.0f, 0.0f}, {3.6f, 0.6f}, {3.6f, 25.4f}, {3.0f, 26.0f}, {0.0f, 26.0f}}),
      16);
}

// A domed side cover: base flange, dome, a polished centre boss.
void AddSideCover(MeshBuilder& b, Vec3 centre, float side, float radius, float height) {
  const Frame frame = FrameAlong(centre, {0, 0, side}, {1, 0, 0});
  AddLathe(b, frame,
           Profile({{radius + 0.6f, 0.0f},
                    {radius + 0.6f, 0.8f},
                    {radius, 1.4f},
                    {radius * 0.92f, height * 0.6f},
                    {radius * 0.7f, height * 0.92f},
                    {radius * 0.42f, height},
                    {radius * 0.38f, height + 0.6f},
                    {0.0f, height + 0.7f}}),
           36);
}

void AddCoverScrews(MeshBuilder& b, Vec3 centre, float side, float radius, int count) {
  for (int s = 0; s < count; ++s) {
    const float a = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(count) + 0.4f;
    const Vec3 p = centre + Vec3{radius * std::cos(a), radius * std::sin(a), side * 0.7f};
    AddLathe(b, FrameAlong(p, {0, 0, side}),
             Profile({{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 0.5f}, {0.6f, 0.9f}, {0.0f, 1.0f}}), 8);
  }
}

// The chain: a loop round both sprockets, its section pinched every link.
void AddChain(MeshBuilder& b) {
  const Vec3 front = kDriveSprocket;
  const Vec3 rear{kRearAxle.x, kRearAxle.y, kChainZ};
  constexpr float kFrontRadius = 4.6f;
  constexpr float kRearRadius = 15.0f;
  const Vec3 along = Normalize(rear - front);
  const float distance = Length(rear - front);
  const float base = std::atan2(along.y, along.x);
  // The top run touches both sprockets where their radius points at this
  // angle (from the line between the centres); the bottom run mirrors it.
  const float top = std::acos((kFrontRadius - kRearRadius) / distance);
  const auto at = [&](Vec3 centre, float radius, float angle) {
    return centre + Vec3{radius * std::cos(base + angle), radius * std::sin(base + angle), 0.0f};
  };
  std::vector<Vec3> loop;
  const auto run = [&](Vec3 from, Vec3 to, int steps) {
    for (int s = 0; s < steps; ++s)
      loop.push_back(Lerp(from, to, static_cast<float>(s) / steps));
  };
  const auto arc = [&](Vec3 centre, float radius, float from, float to, int steps) {
    for (int s = 0; s < steps; ++s) {
      loop.push_back(at(centre, radius, from + (to - from) * static_cast<float>(s) / steps));
    }
  };
  run(at(front, kFrontRadius, top), at(rear, kRearRadius, top), 2);
  arc(rear, kRearRadius, top, -top, 20);
  run(at(rear, kRearRadius, -top), at(front, kFrontRadius, -top), 2);
  arc(front, kFrontRadius, -top, top - 2.0f * kPi, 10);
  loop.push_back(loop.front());
  AddSweep(b, loop, RoundedRectShape(1.6f, 1.1f, 0.4f, 1), Caps::kNone, {}, {0, 0, 1});
}

void AddPedal(MeshBuilder& b, float side, float angle, int armSubset, int pedalSubset) {
  const Vec3 root = kPedalAxle + Vec3{0, 0, side * 13.5f};
  const Vec3 direction{std::cos(angle), std::sin(angle), 0.0f};
  const Vec3 tip = root + direction * 23.0f + Vec3{0, 0, side * 2.5f};
  b.SetSubset(armSubset);
  std::vector<Vec3> path;
  std::vector<float> scales;
  for (int s = 0; s <= 6; ++s) {
    const float t = static_cast<float>(s) / 6.0f;
    path.push_back(Lerp(root, tip, t));
    scales.push_back(1.0f - 0.3f * t);
  }
  AddSweep(b, path, RoundedRectShape(1.8f, 3.6f, 0.8f, 2), Caps::kBoth, scales, {0, 0, 1});
  AddLathe(
      b, FrameAlong(root - Vec3{0, 0, side * 1.0f}, {0, 0, side}),
      Profile({{0.0f, 0.0f}, {2.4f, 0.0f}, {2.6f, 0.5f}, {2.6f, 2.0f}, {2.0f, 2.6f}, {0.0f, 2.7f}}),
      12);
  // The pedal block on its spindle.
  b.SetSubset(pedalSubset);
  const Vec3 spindle = tip + Vec3{0, 0, side * 1.2f};
  AddRod(b, tip, spindle + Vec3{0, 0, side * 11.0f}, 0.7f, 8);
  Frame block;
  block.origin = spindle + Vec3{0, 0, side * 5.5f};
  AddRoundedBox(b, block, {4.2f, 1.6f, 5.0f}, 0.9f, 1);
  for (float x : {-3.2f, 3.2f}) {
    AddRod(b, block.origin + Vec3{x, 0.0f, -5.2f}, block.origin + Vec3{x, 0.0f, 5.2f}, 1.1f, 8);
  }
}

}  // namespace

PartMesh BuildEngine(EngineStyle style) {
  const bool big = style == EngineStyle::kBigFins;
  MeshBuilder b;
  b.AddSubset("crankcase");
  AddCrankcase(b);

  b.AddSubset("cylinder");
  AddLathe(
      b, FrameAlong(CylinderPoint(7.0f), CylinderAxis()),
      Profile(
          {{0.0f, 0.0f}, {7.4f, 0.0f}, {7.4f, 1.6f}, {6.2f, 2.0f}, {6.2f, 22.0f}, {0.0f, 22.0f}}),
      24);
  AddFins(b, 11.0f, 27.5f, big ? 8 : 7, big ? 12.5f : 10.5f, 1.1f);

  b.AddSubset("cylinder head");
  AddLathe(b, FrameAlong(CylinderPoint(29.0f), CylinderAxis()),
           Profile({{0.0f, 0.0f},
                    {6.8f, 0.0f},
                    {6.8f, 6.0f},
                    {4.0f, 7.2f},
                    {2.2f, 7.4f},
                    {2.2f, 8.6f},
                    {0.0f, 8.6f}}),
           24);
  AddFins(b, 30.0f, 34.6f, big ? 4 : 3, big ? 13.5f : 11.5f, 1.2f);

  b.AddSubset("clutch cover");
  const Vec3 clutch{-2.0f, 20.0f, -10.0f};
  AddSideCover(b, clutch, -1.0f, 12.0f, 3.6f);

  b.AddSubset("magneto cover");
  const Vec3 magneto{8.0f, 25.0f, 10.0f};
  AddSideCover(b, magneto, 1.0f, 10.5f, 3.2f);

  b.AddSubset("carburettor");
  const Vec3 intake = CylinderPoint(15.0f) - CylinderFront() * 6.0f;
  const Vec3 carb = intake + Vec3{-8.0f, 3.0f, 0.0f};
  AddLathe(b, FrameAlong(carb, {-1, 0.1f, 0}),
           Profile({{0.0f, 0.0f},
                    {2.6f, 0.0f},
                    {3.2f, 0.8f},
                    {3.2f, 8.2f},
                    {2.8f, 9.0f},
                    {2.8f, 10.0f},
                    {0.0f, 10.0f}}),
           16);
  AddLathe(
      b, FrameAlong(carb + Vec3{-4.0f, -1.5f, 0}, {0, -1, 0}),
      Profile({{0.0f, 0.0f}, {3.4f, 0.0f}, {3.6f, 1.5f}, {3.5f, 5.0f}, {3.0f, 5.8f}, {0.0f, 6.0f}}),
      16);
  AddLathe(b, FrameAlong(carb + Vec3{-4.0f, 2.0f, 0}, {0, 1, 0}),
           Profile({{0.0f, 0.0f}, {2.4f, 0.0f}, {2.4f, 3.4f}, {1.8f, 4.0f}, {0.0f, 4.0f}}), 14);

  b.AddSubset("air filter");
  // The air box fills the space under the seat nose; the carburettor
  // breathes through a rubber boot below it.
  const Vec3 filter{-13.0f, 66.0f, 0.0f};
  {
    const MeshBuilder::Mark mark = b.Here();
    Frame box;
    box.origin = filter;
    AddRoundedBox(b, box, {9.5f, 13.0f, 8.5f}, 3.5f, 3, {4.0f, 5.0f, 9.0f});
    b.DeformSince(mark, [&](Vec3 p) {
      // Wider at the top, where it tucks under the tank and seat.
      const float up = std::clamp((p.y - filter.y) / 13.0f, -1.0f, 1.0f);
      return Vec3{p.x, p.y, filter.z + (p.z - filter.z) * (1.0f + 0.18f * up)};
    });
  }

  b.AddSubset("intake");
  AddTube(b, BentPath({carb, Lerp(carb, intake, 0.5f) + Vec3{0, 0.5f, 0}, intake}, 3.0f, 4, 4.0f),
          2.3f, 12, Caps::kBoth);
  AddTube(b,
          BentPath({carb + Vec3{-9.5f, 0.9f, 0}, carb + Vec3{-13.0f, 2.0f, 0},
                    filter + Vec3{1.0f, -12.0f, 0}},
                   3.0f, 5),
          2.6f, 12, Caps::kNone);

  b.AddSubset("spark plug");
  const Vec3 plugBase = CylinderPoint(37.6f);
  AddLathe(b, FrameAlong(plugBase, CylinderAxis()),
           Profile({{0.0f, 0.0f},
                    {1.8f, 0.0f},
                    {1.8f, 1.2f},
                    {1.1f, 1.6f},
                    {1.1f, 5.0f},
                    {0.6f, 5.6f},
                    {0.0f, 5.6f}}),
           12);

  b.AddSubset("plug cap");
  AddLathe(
      b, FrameAlong(plugBase + CylinderAxis() * 3.2f, CylinderAxis()),
      Profile({{0.0f, 0.0f}, {1.9f, 0.0f}, {2.1f, 2.0f}, {1.8f, 5.5f}, {1.2f, 6.0f}, {0.0f, 6.0f}}),
      12);
  const Vec3 capTop = plugBase + CylinderAxis() * 8.6f;
  AddTube(
      b,
      SmoothPath(
          {capTop, capTop + Vec3{-4.0f, 4.0f, 2.0f}, {-6.0f, 62.0f, 6.0f}, {-20.0f, 70.0f, 8.0f}},
          8),
      0.7f, 6, Caps::kBoth);

  const int arms = b.AddSubset("pedal cranks");
  const int pedals = b.AddSubset("pedals");
  AddPedal(b, -1.0f, -0.5f, arms, pedals);
  AddPedal(b, 1.0f, kPi - 0.5f, arms, pedals);

  b.AddSubset("chain");
  AddChain(b);

  b.AddSubset("drive sprocket");
  {
    Shape2 outline;
    constexpr int kTeeth = 12;
    for (int t = 0; t < kTeeth; ++t) {
      const float base = 2.0f * kPi * static_cast<float>(t) / kTeeth;
      const float step = 2.0f * kPi / kTeeth;
      const float shape[4][2] = {{0.0f, 4.0f}, {0.3f, 5.2f}, {0.7f, 5.2f}, {1.0f, 4.0f}};
      for (const auto& p : shape) {
        const float a = base + step * p[0];
        outline.points.push_back({p[1] * std::cos(a), p[1] * std::sin(a)});
        outline.crease.push_back(1);
      }
    }
    AddExtrusion(b, FrameFacing(kDriveSprocket - Vec3{0, 0, 0.45f}, {0, 0, 1}, {1, 0, 0}), outline,
                 0.0f, 0.9f);
    AddHexNut(b, kDriveSprocket + Vec3{0, 0, 0.45f}, {0, 0, 1}, 2.6f, 1.2f);
  }

  b.AddSubset("bolts");
  AddCoverScrews(b, clutch, -1.0f, 10.2f, 6);
  AddCoverScrews(b, magneto, 1.0f, 9.0f, 5);
  // Head nuts on the corners of the top fin.
  const Frame head = FinFrame(big ? 35.8f : 35.2f);
  const float corner = big ? 10.0f : 8.6f;
  for (float x : {-corner, corner}) {
    for (float y : {-corner * 0.9f, corner * 0.9f}) {
      AddHexNut(b, head.Point({x, y, 0.0f}), CylinderAxis(), 2.0f, 1.4f);
    }
  }
  (void)style;
  return Finish(b);
}

// --- Exhausts ------------------------------------------------------------------------------------

namespace {

Vec3 ExhaustPort() {
  return CylinderPoint(17.0f) + CylinderFront() * 6.6f + Vec3{0, 0, -1.0f};
}

// A silencer body along an axis: inlet cone, body with a bead, end cone and
// tailpipe.
void AddSilencer(MeshBuilder& b, Vec3 from, Vec3 to, float radius, float pipe) {
  const float length = Length(to - from);
  AddLathe(b, FrameAlong(from, to - from),
           Profile({{pipe, 0.0f},
                    {pipe + 0.3f, 1.5f},
                    {radius * 0.9f, 8.0f},
                    {radius, 10.0f},
                    {radius, length * 0.5f - 0.8f},
                    {radius + 0.4f, length * 0.5f},
                    {radius, length * 0.5f + 0.8f},
                    {radius, length - 9.0f},
                    {radius * 0.75f, length - 4.0f},
                    {radius * 0.55f, length - 2.4f},
                    {radius * 0.5f, length - 2.0f},
                    {0.0f, length - 1.9f}}),
           28);
}

// A curved sheet over the outer side of a pipe: an arc-shaped section swept
// along the pipe.
void AddShield(MeshBuilder& b, const std::vector<Vec3>& path, float radius, Vec3 outward) {
  const Shape2 section = ArcShellShape(radius, radius + 0.5f, -1.35f, 1.35f, 10);
  // The section's local x points along outward (the up hint gives local y).
  const Vec3 t = Normalize(path.back() - path.front());
  const Vec3 up = Cross(t, Normalize(outward));
  AddSweep(b, path, section, Caps::kBoth, {}, up);
}

}  // namespace

PartMesh BuildExhaust(ExhaustStyle style) {
  MeshBuilder b;
  const Vec3 port = ExhaustPort();
  b.AddSubset("header pipe");
  if (style == ExhaustStyle::kUpswept || style == ExhaustStyle::kUpsweptBlack) {
    const Vec3 silencerStart{-44.0f, 57.0f, -27.0f};
    const Vec3 silencerEnd{-116.0f, 73.0f, -27.0f};
    const std::vector<Vec3> header = BentPath({port,
                                               port + Vec3{6.0f, -4.0f, -3.0f},
                                               {25.0f, 22.0f, -15.0f},
                                               {12.0f, 25.0f, -23.0f},
                                               {-20.0f, 41.0f, -26.5f},
                                               silencerStart + Vec3{4.0f, -1.0f, 0.0f}},
                                              6.0f, 6, 8.0f);
    AddTube(b, header, 2.3f, 16, Caps::kStart);
    AddLathe(b, FrameAlong(port - CylinderFront() * 1.0f, port - CylinderPoint(17.0f)),
             Profile({{2.3f, 0.0f}, {4.2f, 0.0f}, {4.2f, 2.4f}, {2.3f, 2.4f}}), 6, 0.0f, 2.0f * kPi,
             true);

    b.AddSubset("silencer");
    AddSilencer(b, silencerStart, silencerEnd, 5.6f, 2.3f);

    b.AddSubset("heat shields");
    const Vec3 axis = Normalize(silencerEnd - silencerStart);
    std::vector<Vec3> shieldPath;
    for (int s = 0; s <= 10; ++s) {
      shieldPath.push_back(silencerStart + axis * (12.0f + 30.0f * static_cast<float>(s) / 10.0f));
    }
    AddShield(b, shieldPath, 6.5f, {0, 0.35f, -1});
    std::vector<Vec3> headerShield;
    for (int s = 0; s <= 8; ++s) {
      headerShield.push_back(Lerp(Vec3{8.0f, 27.0f, -23.6f}, Vec3{-16.0f, 39.0f, -26.3f},
                                  static_cast<float>(s) / 8.0f));
    }
    AddShield(b, headerShield, 3.0f, {0, 0.3f, -1});

    b.AddSubset("brackets");
    const Vec3 clamp = silencerStart + axis * 50.0f;
    AddLathe(b, FrameAlong(clamp, axis),
             Profile({{5.7f, 0.0f}, {6.3f, 0.0f}, {6.3f, 2.0f}, {5.7f, 2.0f}}), 28, 0.0f,
             2.0f * kPi, true);
    AddTube(b, {clamp + Vec3{0.0f, 6.0f, 0.8f}, {-60.0f, 80.5f, -10.8f}}, 0.9f, 8, Caps::kBoth);
    AddTube(b, {clamp + Vec3{-1.0f, 6.0f, 0.6f}, {-70.0f, 93.0f, -11.0f}}, 0.9f, 8, Caps::kBoth);
  } else if (style == ExhaustStyle::kExpansion) {
    // The expansion chamber swells under the engine, then a thin stinger
    // climbs to a small silencer under the seat.
    const std::vector<Vec3> path = SmoothPath({port,
                                               port + Vec3{6.0f, -6.0f, -2.0f},
                                               {28.0f, 6.0f, -10.0f},
                                               {10.0f, -2.0f, -14.0f},
                                               {-24.0f, 2.0f, -17.0f},
                                               {-44.0f, 22.0f, -20.0f},
                                               {-60.0f, 44.0f, -22.0f}},
                                              10);
    std::vector<float> scales;
    float walked = 0.0f;
    float total = 0.0f;
    for (size_t i = 1; i < path.size(); ++i)
      total += Length(path[i] - path[i - 1]);
    for (size_t i = 0; i < path.size(); ++i) {
      if (i > 0) walked += Length(path[i] - path[i - 1]);
      const float t = walked / total;
      // Header, diffuser cone, belly, baffle cone, stinger.
      const float swell = SmoothStep(0.12f, 0.4f, t) * (1.0f - SmoothStep(0.62f, 0.82f, t));
      scales.push_back(1.0f + 1.8f * swell);
    }
    AddSweep(b, path, CircleShape(2.3f, 18), Caps::kStart, scales, {0, 1, 0});

    b.AddSubset("silencer");
    AddSilencer(b, {-60.0f, 44.0f, -22.0f}, {-112.0f, 66.0f, -24.0f}, 4.2f, 2.3f);

    b.AddSubset("heat shields");
    std::vector<Vec3> shield;
    for (int s = 0; s <= 8; ++s) {
      shield.push_back(Lerp(Vec3{-72.0f, 49.0f, -22.5f}, Vec3{-96.0f, 59.0f, -23.4f},
                            static_cast<float>(s) / 8.0f));
    }
    AddShield(b, shield, 4.9f, {0, 0.3f, -1});

    b.AddSubset("brackets");
    AddTube(b, {{-84.0f, 58.0f, -23.0f}, {-70.0f, 93.0f, -11.0f}}, 0.9f, 8, Caps::kBoth);
    AddTube(b, {{-20.0f, 2.0f, -16.0f}, {-14.0f, -1.0f, -8.5f}}, 0.9f, 8, Caps::kBoth);
  } else {
    // The touring exhaust stays low: a long silencer beside the rear wheel
    // ending in a fishtail.
    const Vec3 silencerStart{-34.0f, 12.0f, -24.0f};
    const Vec3 silencerEnd{-120.0f, 20.0f, -24.0f};
    AddTube(b,
            BentPath({port,
                      port + Vec3{6.0f, -5.0f, -3.0f},
                      {26.0f, 6.0f, -16.0f},
                      {10.0f, 4.0f, -22.0f},
                      silencerStart + Vec3{4.0f, -0.4f, 0.0f}},
                     6.0f, 6, 8.0f),
            2.3f, 16, Caps::kStart);

    b.AddSubset("silencer");
    AddSilencer(b, silencerStart, silencerEnd, 5.6f, 2.3f);
    // The fishtail: a flattened flared end.
    const Vec3 axis = Normalize(silencerEnd - silencerStart);
    std::vector<Vec3> tail;
    std::vector<float> scales;
    for (int s = 0; s <= 6; ++s) {
      tail.push_back(silencerEnd - axis * 3.0f + axis * (1.6f * static_cast<float>(s)));
      scales.push_back(1.0f + 0.25f * static_cast<float>(s));
    }
    AddSweep(b, tail, EllipseShape(1.6f, 3.2f, 16), Caps::kBoth, scales, {0, 1, 0});

    b.AddSubset("heat shields");
    std::vector<Vec3> shield;
    for (int s = 0; s <= 8; ++s)
      shield.push_back(silencerStart + axis * (8.0f + 4.0f * static_cast<float>(s)));
    AddShield(b, shield, 6.4f, {0, 0.6f, -1});

    b.AddSubset("brackets");
    AddTube(b, {silencerStart + axis * 40.0f + Vec3{0, 5.5f, 0}, {-74.0f, 28.0f, -14.0f}}, 0.9f, 8,
            Caps::kBoth);
  }
  return Finish(b);
}

}  // namespace kbh
