// Accessories fitted beside the main parts (rack, chain guard, stand, bags,
// top case, windscreen, number plates, crash bar) and the brackets that only
// come with them.
#include <algorithm>
#include <cmath>

#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/part_helpers.hpp"

namespace kbh {

namespace {

using namespace moped;

constexpr float kRackZ = 12.0f;
constexpr float kRackY = 101.5f;
constexpr float kRackFrontX = -97.0f;

void AddChromeTube(MeshBuilder& b, const std::vector<Vec3>& corners, float radius,
                   float bend = 4.0f) {
  AddTube(b, BentPath(corners, bend, 5, 25.0f), radius, 10, Caps::kBoth);
}

// A closed bent loop: the last corner joins the first, the seam hidden in a
// straight stretch.
void AddChromeLoop(MeshBuilder& b, std::vector<Vec3> corners, float radius, float bend) {
  const Vec3 seam = Lerp(corners[0], corners[1], 0.5f);
  corners.push_back(corners[0]);
  corners.push_back(seam);
  corners[0] = seam;
  AddTube(b, BentPath(corners, bend, 5, 25.0f), radius, 10, Caps::kNone);
}

// The windscreen's surface: a rounded rectangle bent round a vertical axis
// in front of the rider, leaning back with the fork.
struct ScreenShape {
  Vec3 base;        // middle of the lower edge
  float halfWidth;  // along the curve
  float height;
  float bend;  // radius of the curve
  Vec3 Surface(float u, float v) const {
    // u -1..1 across, v 0..1 up.
    const float a = u * halfWidth / bend;
    const Vec3 up = Normalize(SteerUp() + Vec3{-0.15f, 0.0f, 0.0f});
    const Vec3 across{-(1.0f - std::cos(a)) * bend, 0.0f, std::sin(a) * bend};
    return base + across + up * (v * height);
  }
  // offset > 0 moves forwards, off the rider's side.
  Vec3 Point(float u, float v, float offset) const {
    constexpr float e = 1e-3f;
    const Vec3 dv = Surface(u, v + e) - Surface(u, v - e);
    const Vec3 du = Surface(u + e, v) - Surface(u - e, v);
    return Surface(u, v) + Normalize(Cross(dv, du)) * offset;
  }
};

ScreenShape Screen() {
  return {HeadlightCentre() + Vec3{-4.0f, 12.0f, 0.0f}, 24.0f, 34.0f, 40.0f};
}

// 1 inside the screen's rounded outline, tapering the top corners.
float ScreenSqueeze(float v) {
  return 0.78f + 0.22f * std::sqrt(std::max(
                             0.0f, 1.0f - std::pow(std::max(0.0f, v - 0.55f) / 0.45f, 2.0f)));
}

}  // namespace

PartMesh BuildRearRack() {
  MeshBuilder b;
  b.AddSubset("rack");
  const float rear = kRackRearX;
  // The outer frame: one loop round the top, with three cross bars.
  AddChromeLoop(b,
                {{kRackFrontX, kRackY, kRackZ},
                 {rear, kRackY, kRackZ},
                 {rear, kRackY, -kRackZ},
                 {kRackFrontX, kRackY, -kRackZ}},
                1.15f, 4.0f);
  for (float x : {-108.0f, -119.0f}) {
    AddTube(b, {{x, kRackY, -kRackZ}, {x, kRackY, kRackZ}}, 0.8f, 8, Caps::kNone);
  }
  for (float z : {-4.0f, 4.0f}) {
    AddTube(b, {{kRackFrontX, kRackY, z}, {rear + 1.0f, kRackY, z}}, 0.8f, 8, Caps::kNone);
  }
  // Struts down to the frame: to the seat rails' ends and to the rear loop.
  for (float side : {-1.0f, 1.0f}) {
    AddChromeTube(b,
                  {{kRackFrontX + 0.5f, kRackY, side * kRackZ},
                   {kRackFrontX - 1.0f, kRackY - 3.0f, side * kRackZ},
                   {kSeatRailEndX + 6.0f, 97.5f, side * (kSeatRailZ + 2.0f)}},
                  0.9f, 2.0f);
    AddChromeTube(b,
                  {{rear + 3.0f, kRackY, side * kRackZ},
                   {-122.0f, 94.0f, side * (kRackZ + 0.5f)},
                   {kSeatRailEndX - 4.0f, 96.0f, side * 6.0f}},
                  0.9f, 3.0f);
  }
  b.AddSubset("clamp");
  // The sprung luggage bow lying on the rack.
  AddChromeTube(b,
                {{kRackFrontX - 3.0f, kRackY + 1.6f, -9.0f},
                 {rear + 4.0f, kRackY + 1.6f, -9.0f},
                 {rear + 4.0f, kRackY + 1.6f, 9.0f},
                 {kRackFrontX - 3.0f, kRackY + 1.6f, 9.0f}},
                0.65f, 2.5f);
  AddRod(b, {kRackFrontX - 3.0f, kRackY + 0.6f, -11.0f}, {kRackFrontX - 3.0f, kRackY + 0.6f, 11.0f},
         1.3f, 12);
  return Finish(b);
}

PartMesh BuildChainGuard() {
  MeshBuilder b;
  b.AddSubset("guard");
  // An inverted channel over the chain's top run, open towards the wheel.
  const Vec3 front = kDriveSprocket + Vec3{-2.0f, 6.5f, 0.4f};
  const Vec3 rear{kRearAxle.x + 8.0f, kRearAxle.y + 16.2f, kChainZ + 0.4f};
  std::vector<Vec3> path;
  for (int s = 0; s <= 12; ++s)
    path.push_back(Lerp(front, rear, static_cast<float>(s) / 12.0f));
  // Bend the tail down round the top of the rear sprocket.
  for (int s = 1; s <= 6; ++s) {
    const float a = 1.2f + 0.22f * static_cast<float>(s);
    path.push_back(
        {kRearAxle.x + 17.5f * std::cos(a), kRearAxle.y + 17.5f * std::sin(a), kChainZ + 0.4f});
  }
  // Section in the sweep's frame: local x points to -z (towards the wheel's
  // middle), local y up; the channel covers the top and the outer (+z) side.
  const Shape2 section = ArcShellShape(3.0f, 3.5f, 0.35f * kPi, 1.25f * kPi, 10);
  AddSweep(b, path, section, Caps::kBoth, {}, {0, 1, 0});
  b.AddSubset("clips");
  for (float t : {0.15f, 0.75f}) {
    const Vec3 p = Lerp(front, rear, t);
    AddRod(b, p + Vec3{0, 3.4f, -4.0f}, p + Vec3{0, 3.4f, 0.2f}, 0.9f, 8);
  }
  return Finish(b);
}

PartMesh BuildSideStand() {
  MeshBuilder b;
  b.AddSubset("stand");
  // Folded up along the left cradle tube, foot to the rear.
  const Vec3 pivot{-2.0f, 1.5f, 10.5f};
  const Vec3 foot{-38.0f, 3.0f, 17.0f};
  AddRod(b, pivot + Vec3{0, 0, -1.5f}, pivot + Vec3{0, 0, 2.5f}, 1.8f, 12);
  AddTube(b, BentPath({pivot + Vec3{0, 0, 1.0f}, pivot + Vec3{-6.0f, -0.5f, 3.0f}, foot}, 5.0f, 5),
          1.3f, 10, Caps::kBoth);
  Frame pad = FrameFacing(foot + Vec3{-1.0f, -1.0f, 0.0f}, {0, 1, 0}, {1, 0, 0});
  AddRoundedSlab(b, pad, RoundedRectShape(7.0f, 4.0f, 1.5f, 2), -0.5f, 0.5f, 0.3f, 1);
  b.AddSubset("spring");
  AddTube(
      b,
      HelixPath(pivot + Vec3{-3.0f, 2.5f, 2.0f}, pivot + Vec3{-16.0f, 4.0f, 2.0f}, 0.6f, 9.0f, 6),
      0.22f, 4, Caps::kBoth);
  return Finish(b);
}

PartMesh BuildSaddleBags() {
  MeshBuilder b;
  b.AddSubset("bag");
  // One leather bag on the left, where no exhaust runs: slightly wider at
  // the bottom, with a flap over the top.
  const Vec3 centre{-114.0f, 74.0f, 22.0f};
  const MeshBuilder::Mark mark = b.Here();
  Frame frame;
  frame.origin = centre;
  AddRoundedBox(b, frame, {15.0f, 12.0f, 5.5f}, 3.0f, 3, {4.0f, 4.0f, 3.0f});
  b.DeformSince(mark, [&](Vec3 p) {
    const float down = std::clamp((centre.y - p.y) / 12.0f, -1.0f, 1.0f);
    return Vec3{centre.x + (p.x - centre.x) * (1.0f + 0.08f * down), p.y,
                centre.z + (p.z - centre.z) * (1.0f + 0.12f * down)};
  });
  b.AddSubset("flap");
  const MeshBuilder::Mark flapMark = b.Here();
  Frame flap;
  flap.origin = centre + Vec3{0.0f, 7.5f, 0.6f};
  AddRoundedBox(b, flap, {15.6f, 5.0f, 5.6f}, 1.2f, 2);
  b.DeformSince(flapMark, [&](Vec3 p) {
    // The flap hangs over the outer face.
    const float outer = std::clamp((p.z - centre.z) / 5.6f, 0.0f, 1.0f);
    return Vec3{p.x, p.y - 2.0f * outer * outer, p.z};
  });
  b.AddSubset("buckles");
  for (float x : {-8.0f, 8.0f}) {
    const Vec3 strap = centre + Vec3{x, 1.0f, 6.2f};
    Frame buckle = FrameFacing(strap, {0, 0, 1}, {1, 0, 0});
    AddRoundedSlab(b, buckle, RoundedRectShape(3.0f, 3.6f, 0.8f, 2), 0.0f, 0.6f, 0.25f, 1);
    AddRoundedSlab(b, FrameFacing(strap + Vec3{0, -5.5f, -0.1f}, {0, 0, 1}, {1, 0, 0}),
                   RoundedRectShape(1.8f, 8.0f, 0.4f, 1), 0.0f, 0.4f, 0.15f, 1);
  }
  return Finish(b);
}

PartMesh BuildTopCase() {
  MeshBuilder b;
  b.AddSubset("case");
  const Vec3 centre{-115.0f, kRackY + 12.5f, 0.0f};
  Frame body;
  body.origin = centre + Vec3{0.0f, -2.5f, 0.0f};
  AddRoundedBox(b, body, {16.0f, 8.0f, 15.0f}, 4.0f, 3);
  b.AddSubset("lid");
  const MeshBuilder::Mark lidMark = b.Here();
  Frame lid;
  lid.origin = centre + Vec3{0.0f, 6.5f, 0.0f};
  AddRoundedBox(b, lid, {16.4f, 3.5f, 15.4f}, 3.0f, 3, {4.0f, 9.0f, 4.0f});
  b.DeformSince(lidMark, [&](Vec3 p) {
    const float top = std::clamp((p.y - lid.origin.y) / 3.5f, 0.0f, 1.0f);
    const float xn = (p.x - centre.x) / 16.4f;
    const float zn = p.z / 15.4f;
    return Vec3{p.x, p.y + top * 2.0f * (1.0f - xn * xn) * (1.0f - zn * zn), p.z};
  });
  b.AddSubset("lock");
  Frame lock = FrameFacing(centre + Vec3{-16.2f, 3.5f, 0.0f}, {-1, 0, 0}, {0, 0, 1});
  AddRoundedSlab(b, lock, RoundedRectShape(6.0f, 3.0f, 1.0f, 2), 0.0f, 0.8f, 0.3f, 1);
  AddLathe(b, FrameAlong(centre + Vec3{-16.8f, 3.5f, 0.0f}, {-1, 0, 0}),
           Profile({{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 0.6f}, {0.0f, 0.7f}}), 12);
  return Finish(b);
}

PartMesh BuildWindscreen() {
  const ScreenShape screen = Screen();
  MeshBuilder b;
  b.AddSubset("screen");
  // Front and back skins of the clear sheet.
  for (float side : {1.0f, -1.0f}) {
    Grid grid = MakeGrid(12, 17);
    for (int i = 0; i < grid.rows; ++i) {
      const float v = static_cast<float>(i) / (grid.rows - 1);
      for (int j = 0; j < grid.cols; ++j) {
        const float u = (-1.0f + 2.0f * static_cast<float>(j) / (grid.cols - 1)) * ScreenSqueeze(v);
        grid.At(i, j) = screen.Point(u, v, side * 0.3f);
      }
    }
    AddGrid(b, grid, side < 0.0f);
  }
  b.AddSubset("edging");
  std::vector<Vec3> rim;
  for (int k = 0; k <= 16; ++k)
    rim.push_back(screen.Point(-1.0f + 2.0f * static_cast<float>(k) / 16.0f, 0.0f, 0.0f));
  for (int k = 1; k <= 11; ++k) {
    const float v = static_cast<float>(k) / 11.0f;
    rim.push_back(screen.Point(ScreenSqueeze(v), v, 0.0f));
  }
  for (int k = 15; k >= 0; --k) {
    rim.push_back(screen.Point(-1.0f + 2.0f * static_cast<float>(k) / 16.0f * ScreenSqueeze(1.0f),
                               1.0f, 0.0f));
  }
  for (int k = 10; k >= 0; --k) {
    const float v = static_cast<float>(k) / 11.0f;
    rim.push_back(screen.Point(-ScreenSqueeze(v), v, 0.0f));
  }
  AddTube(b, rim, 0.55f, 8, Caps::kNone);
  return Finish(b);
}

PartMesh BuildWindscreenBracket() {
  const ScreenShape screen = Screen();
  MeshBuilder b;
  b.AddSubset("bracket");
  for (float side : {-1.0f, 1.0f}) {
    const Vec3 low = screen.Point(side * 0.55f, 0.12f, -0.6f);
    const Vec3 high = screen.Point(side * 0.55f, 0.45f, -0.6f);
    const Vec3 bar = HandlebarClamp() + Vec3{-2.0f, 6.0f, side * 12.0f};
    AddTube(b, BentPath({low, low + Vec3{-6.0f, -2.0f, 0.0f}, bar}, 3.0f, 4), 0.7f, 8, Caps::kBoth);
    AddTube(b, BentPath({high, high + Vec3{-5.0f, 0.0f, 0.0f}, bar}, 3.0f, 4), 0.7f, 8,
            Caps::kBoth);
    AddRod(b, bar + Vec3{0, -1.5f, 0}, bar + Vec3{0, 1.5f, 0}, 1.4f, 10);
  }
  return Finish(b);
}

PartMesh BuildRaceNumberPlate() {
  MeshBuilder b;
  b.AddSubset("plates");
  const Vec3 centre{-46.0f, 78.0f, 0.0f};
  for (float side : {-1.0f, 1.0f}) {
    const Frame frame = FrameFacing(centre + Vec3{0, 0, side * 16.0f}, {0, 0, side}, {1, 0, 0});
    AddRoundedSlab(b, frame, EllipseShape(15.0f, 11.0f, 36), 0.0f, 0.8f, 0.3f, 1);
  }
  b.AddSubset("numbers");
  // "17" in block figures on each plate.
  const std::vector<Vec2> one = {{-7.5f, -7.0f}, {-4.5f, -7.0f}, {-4.5f, 7.0f}, {-7.0f, 7.0f},
                                 {-9.5f, 4.5f},  {-8.0f, 3.5f},  {-7.5f, 4.0f}};
  const std::vector<Vec2> seven = {{0.5f, -7.0f}, {3.5f, -7.0f}, {8.5f, 4.5f}, {8.5f, 7.0f},
                                   {-1.5f, 7.0f}, {-1.5f, 4.3f}, {5.2f, 4.3f}};
  for (float side : {-1.0f, 1.0f}) {
    // Local z points into the plate so that x reads left to right and y up
    // for someone looking at this side; the figures stand out towards them.
    const Frame frame =
        FrameFacing(centre + Vec3{0, 0, side * 16.8f}, {0, 0, -side}, {-side, 0, 0});
    for (const auto* digit : {&one, &seven}) {
      Shape2 shape;
      shape.points = *digit;
      shape.crease.assign(digit->size(), 1);
      AddExtrusion(b, frame, shape, -0.25f, 0.0f);
    }
  }
  b.AddSubset("mounts");
  for (float side : {-1.0f, 1.0f}) {
    for (float x : {-8.0f, 8.0f}) {
      AddRod(b, centre + Vec3{x, 4.0f, side * 11.0f}, centre + Vec3{x, 4.0f, side * 16.2f}, 0.8f,
             8);
    }
  }
  return Finish(b);
}

PartMesh BuildCrashBar() {
  MeshBuilder b;
  b.AddSubset("bar");
  for (float side : {-1.0f, 1.0f}) {
    AddChromeTube(b,
                  {{49.0f, 44.0f, side * 2.0f},
                   {47.0f, 40.0f, side * 20.0f},
                   {38.0f, 14.0f, side * 22.0f},
                   {33.0f, 4.0f, side * 9.5f}},
                  1.3f, 7.0f);
  }
  b.AddSubset("clamps");
  for (float side : {-1.0f, 1.0f}) {
    AddRod(b, {49.0f, 44.0f, side * 1.0f}, {49.0f, 44.0f, side * 4.2f}, 2.2f, 12);
    AddRod(b, {33.0f, 4.0f, side * 8.0f}, {33.0f, 4.0f, side * 11.0f}, 2.0f, 12);
  }
  return Finish(b);
}

PartMesh BuildSaddleBagFrame() {
  MeshBuilder b;
  b.AddSubset("frame");
  // A tubular loop on the left that keeps the bag off the wheel.
  AddChromeTube(b,
                {{kSeatRailEndX + 4.0f, 96.5f, kSeatRailZ + 1.5f},
                 {-100.0f, 88.0f, 16.5f},
                 {-100.0f, 62.0f, 16.5f},
                 {-128.0f, 62.0f, 16.5f},
                 {-128.0f, 86.0f, 16.5f},
                 {-118.0f, 96.0f, 13.0f}},
                0.9f, 5.0f);
  AddTube(b, {{-114.0f, 62.0f, 16.5f}, {kRearAxle.x + 3.0f, kRearAxle.y + 4.0f, kSwingarmZ + 1.0f}},
          0.8f, 8, Caps::kBoth);
  return Finish(b);
}

PartMesh BuildTopCasePlate() {
  MeshBuilder b;
  b.AddSubset("plate");
  Frame plate;
  plate.origin = {-115.0f, kRackY + 1.8f, 0.0f};
  AddRoundedBox(b, plate, {15.0f, 0.7f, 11.0f}, 0.6f, 1);
  for (float x : {-8.0f, 8.0f}) {
    for (float z : {-kRackZ, kRackZ}) {
      AddRod(b, {plate.origin.x + x, kRackY - 0.5f, z - 1.5f},
             {plate.origin.x + x, kRackY + 1.2f, z + 1.5f}, 0.7f, 8);
    }
  }
  return Finish(b);
}

PartMesh BuildPreviewBall() {
  MeshBuilder b;
  b.AddSubset("ball");
  AddSphere(b, {0.0f, 0.0f, 0.0f}, kPreviewBallRadius, 48);
  return Finish(b);
}

}  // namespace kbh
