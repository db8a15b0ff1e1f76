// The tubular frame with its swingarm and rear shocks, the telescopic fork,
// and the handlebar with grips, levers and round mirrors.
#include <cmath>

#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/part_helpers.hpp"

namespace kbh {

namespace {

using namespace moped;

constexpr int kTubeSides = 10;
constexpr float kMainTube = 2.9f;

Vec3 WithZ(Vec3 p, float z) {
  return {p.x, p.y, z};
}

void AddFrameTube(MeshBuilder& b, const std::vector<Vec3>& corners, float radius,
                  float bend = 9.0f) {
  AddTube(b, BentPath(corners, bend, 5, 30.0f), radius, kTubeSides, Caps::kBoth);
}

// A tube on both sides of the moped: corners given for the left (+z) side.
void AddTubePair(MeshBuilder& b, const std::vector<Vec3>& corners, float radius,
                 float bend = 9.0f) {
  const MeshBuilder::Mark mark = b.Here();
  AddFrameTube(b, corners, radius, bend);
  b.MirrorZSince(mark);
}

// A flat plate in the moped's side plane (an outline in x, y) of the given
// thickness centred on z.
void AddSidePlate(MeshBuilder& b, const std::vector<Vec2>& outline, float z, float thickness,
                  float cornerRadius) {
  std::vector<float> radii(outline.size(), cornerRadius);
  Frame frame;
  frame.origin = {0.0f, 0.0f, z};
  AddExtrusion(b, frame, FilletedPolygon(outline, radii, 3), -thickness * 0.5f, thickness * 0.5f);
}

void AddHeadTube(MeshBuilder& b) {
  const Frame frame = FrameAlong(SteerAxis(kHeadTubeBottom), SteerUp());
  const float length = kHeadTubeTop - kHeadTubeBottom;
  AddLathe(b, frame,
           Profile({{0.0f, -0.5f},
                    {3.4f, -0.5f},
                    {4.1f, 0.0f},
                    {4.1f, 2.2f},
                    {3.6f, 2.8f},
                    {3.6f, length - 2.8f},
                    {4.1f, length - 2.2f},
                    {4.1f, length},
                    {3.4f, length + 0.5f},
                    {0.0f, length + 0.5f}}),
           20);
}

void AddSwingarm(MeshBuilder& b) {
  // Pivot tube across the frame, then an oval-section arm on each side.
  AddRod(b, WithZ(kSwingarmPivot, -kSwingarmZ - 2.0f), WithZ(kSwingarmPivot, kSwingarmZ + 2.0f),
         2.4f, 16);
  const MeshBuilder::Mark mark = b.Here();
  const Vec3 start = WithZ(kSwingarmPivot, kSwingarmZ);
  const Vec3 end = WithZ(kRearAxle + Vec3{6.0f, 0.0f, 0.0f}, kSwingarmZ);
  std::vector<Vec3> path;
  for (int s = 0; s <= 8; ++s)
    path.push_back(Lerp(start, end, static_cast<float>(s) / 8.0f));
  std::vector<float> scales;
  for (int s = 0; s <= 8; ++s)
    scales.push_back(1.0f - 0.25f * static_cast<float>(s) / 8.0f);
  AddSweep(b, path, RoundedRectShape(2.6f, 5.2f, 1.1f, 3), Caps::kBoth, scales, {0, 1, 0});
  // The slotted plate that holds the axle and the chain adjuster.
  AddSidePlate(b,
               {{kRearAxle.x + 9.0f, kRearAxle.y - 3.2f},
                {kRearAxle.x - 4.5f, kRearAxle.y - 3.6f},
                {kRearAxle.x - 4.5f, kRearAxle.y + 3.6f},
                {kRearAxle.x + 9.0f, kRearAxle.y + 3.0f}},
               kSwingarmZ, 1.6f, 1.2f);
  // The lug that carries the shock's lower eye.
  AddSidePlate(b,
               {{kShockBottom.x - 3.5f, kShockBottom.y - 5.0f},
                {kShockBottom.x + 3.5f, kShockBottom.y - 4.5f},
                {kShockBottom.x + 3.0f, kShockBottom.y + 2.5f},
                {kShockBottom.x - 3.0f, kShockBottom.y + 2.5f}},
               kSwingarmZ + 0.8f, 1.2f, 1.5f);
  b.MirrorZSince(mark);
}

// Coil-over shocks: damper body, chrome spring, eyes at both ends.
void AddShocks(MeshBuilder& b, int springSubset, int bodySubset) {
  const Vec3 bottom = WithZ(kShockBottom, kShockZ);
  const Vec3 top = WithZ(kShockTop, kShockZ);
  const Vec3 axis = Normalize(top - bottom);
  const float length = Length(top - bottom);
  const MeshBuilder::Mark mark = b.Here();
  b.SetSubset(bodySubset);
  // Damper body below, shroud above, the eyes as short cross tubes.
  AddLathe(b, FrameAlong(bottom, axis),
           Profile({{0.0f, 2.0f},
                    {1.9f, 2.0f},
                    {2.1f, 2.6f},
                    {2.1f, length * 0.58f},
                    {1.1f, length * 0.6f},
                    {1.1f, length * 0.7f},
                    {3.6f, length * 0.72f},
                    {3.9f, length * 0.76f},
                    {3.9f, length - 4.0f},
                    {3.2f, length - 2.5f},
                    {0.0f, length - 2.5f}}),
           12);
  for (const Vec3& eye : {bottom, top}) {
    AddLathe(
        b, FrameAlong(eye + Vec3{0, 0, -2.2f}, {0, 0, 1}),
        Profile(
            {{0.0f, 0.0f}, {2.0f, 0.0f}, {2.4f, 0.5f}, {2.4f, 3.9f}, {2.0f, 4.4f}, {0.0f, 4.4f}}),
        14);
  }
  b.SetSubset(springSubset);
  AddTube(
      b,
      HelixPath(bottom + axis * (length * 0.12f), bottom + axis * (length * 0.7f), 3.1f, 7.5f, 8),
      0.55f, 5, Caps::kBoth);
  // Spring seats.
  for (float at : {0.12f, 0.7f}) {
    AddLathe(b, FrameAlong(bottom + axis * (length * at - 0.6f), axis),
             Profile({{2.0f, 0.0f}, {4.0f, 0.0f}, {4.0f, 1.2f}, {2.0f, 1.2f}}), 16, 0.0f,
             2.0f * kPi, true);
  }
  b.MirrorZSince(mark);
}

}  // namespace

PartMesh BuildFrame(FrameStyle style) {
  MeshBuilder b;
  b.AddSubset("frame");
  AddHeadTube(b);
  // The backbone under the tank: single on the classic frame, a twin pair on
  // the sport frame.
  const Vec3 topFront = SteerAxis(90.0f);
  if (style == FrameStyle::kSport) {
    AddTubePair(b, {WithZ(topFront, 3.4f), {14.0f, 98.0f, 4.5f}, WithZ(kSeatNode, 7.5f)}, 2.3f,
                20.0f);
  } else {
    AddFrameTube(b, {topFront, {16.0f, 98.5f, 0.0f}, kSeatNode}, kMainTube, 30.0f);
  }
  // Down tube, splitting into a cradle under the engine that rises behind
  // it and runs on as the seat rails.
  const Vec3 downStart = SteerAxis(74.0f);
  const Vec3 split{46.0f, 30.0f, 0.0f};
  AddFrameTube(b, {downStart, {49.0f, 52.0f, 0.0f}, split}, kMainTube + 0.3f, 25.0f);
  AddTubePair(b,
              {split + Vec3{0.4f, 1.5f, 0.0f},
               {41.0f, 2.0f, 8.5f},
               {-14.0f, -1.0f, 8.5f},
               {-28.0f, 9.0f, 8.5f},
               {-29.0f, 44.0f, 8.5f},
               {-25.0f, 92.0f, 9.0f},
               {-60.0f, 95.0f, kSeatRailZ},
               {kSeatRailEndX, 97.5f, kSeatRailZ},
               {kSeatRailEndX - 6.0f, 97.5f, 0.0f}},
              2.4f, 8.0f);
  // Cross members: behind the seat node, at the swingarm and the rear loop.
  AddRod(b, {-25.0f, 92.0f, -9.0f}, {-25.0f, 92.0f, 9.0f}, 2.0f, 12);
  AddRod(b, kSeatNode, {-25.0f, 92.0f, 0.0f}, kMainTube, 12);
  AddRod(b, {-28.6f, 30.0f, -8.5f}, {-28.6f, 30.0f, 8.5f}, 2.0f, 12);
  // Rear struts carry the seat rails and the shock tops.
  AddTubePair(b, {{-28.6f, 40.0f, 8.6f}, {-50.0f, 70.0f, 10.5f}, WithZ(kShockTop, kSeatRailZ)},
              1.9f, 6.0f);
  // Shock mounting studs out of the rails.
  AddRod(b, WithZ(kShockTop, -kShockZ - 2.5f), WithZ(kShockTop, kShockZ + 2.5f), 1.0f, 8);
  if (style == FrameStyle::kTouring) {
    // A second tube from the head to the cradle stiffens the touring frame.
    AddFrameTube(b, {SteerAxis(80.0f), {20.0f, 82.0f, 0.0f}, {-25.0f, 70.0f, 0.0f}}, 2.2f, 20.0f);
    AddRod(b, {-25.0f, 70.0f, -9.0f}, {-25.0f, 70.0f, 9.0f}, 1.8f, 12);
  }
  // Gusset plates where the tubes meet the head tube.
  if (style != FrameStyle::kSport) {
    const Vec3 a = SteerAxis(89.0f);
    const Vec3 c = SteerAxis(74.0f);
    const MeshBuilder::Mark mark = b.Here();
    AddSidePlate(b,
                 {{a.x - 1.0f, a.y - 1.0f},
                  {a.x - 17.0f, a.y - 3.0f},
                  {c.x - 6.0f, c.y - 12.0f},
                  {c.x + 1.0f, c.y}},
                 1.9f, 1.1f, 1.5f);
    b.MirrorZSince(mark);
  }

  b.AddSubset("swingarm");
  AddSwingarm(b);

  const int springs = b.AddSubset("shock springs");
  const int bodies = b.AddSubset("shock bodies");
  AddShocks(b, springs, bodies);

  b.AddSubset("hardware");
  // Engine mounting plates and their bolts.
  for (float z : {-8.5f, 8.5f}) {
    AddSidePlate(b, {{36.0f, 0.0f}, {30.0f, 12.0f}, {20.0f, 9.0f}, {24.0f, -1.0f}}, z, 1.2f, 1.5f);
    AddSidePlate(b, {{-27.0f, 14.0f}, {-27.0f, 26.0f}, {-18.0f, 24.0f}, {-18.0f, 16.0f}}, z, 1.2f,
                 1.5f);
  }
  for (const Vec3& bolt : {Vec3{26.0f, 5.0f, 0.0f}, Vec3{-22.0f, 20.0f, 0.0f}}) {
    AddRod(b, bolt + Vec3{0, 0, -11.0f}, bolt + Vec3{0, 0, 11.0f}, 0.9f, 8);
    AddHexNut(b, bolt + Vec3{0, 0, 9.2f}, {0, 0, 1}, 2.4f, 1.2f);
    AddHexNut(b, bolt + Vec3{0, 0, -9.2f}, {0, 0, -1}, 2.4f, 1.2f);
  }
  AddHexNut(b, WithZ(kSwingarmPivot, kSwingarmZ + 2.0f), {0, 0, 1}, 3.0f, 1.4f);
  AddHexNut(b, WithZ(kSwingarmPivot, -kSwingarmZ - 2.0f), {0, 0, -1}, 3.0f, 1.4f);

  b.AddSubset("side covers");
  // Pressed covers over the triangle under the seat, hiding the battery and
  // the tool roll.
  {
    const MeshBuilder::Mark mark = b.Here();
    const std::vector<Vec2> outline = {
        {-62.0f, 93.0f}, {-36.0f, 49.0f}, {-31.0f, 53.0f}, {-30.0f, 90.0f}};
    Frame frame;
    frame.origin = {0.0f, 0.0f, 13.6f};
    AddRoundedSlab(b, frame, FilletedPolygon(outline, {5.0f, 6.0f, 4.0f, 4.0f}, 4), 0.0f, 1.8f,
                   0.8f, 2);
    b.MirrorZSince(mark);
  }
  return Finish(b);
}

// --- Fork -----------------------------------------------------------------------------------

Vec3 ForkLift(ForkStyle style) {
  switch (style) {
    case ForkStyle::kRaised10:
      return SteerUp() * 11.0f;
    case ForkStyle::kRaised20:
      return SteerUp() * 22.0f;
    default:
      return {};
  }
}

PartMesh BuildFork(ForkStyle style) {
  const float lift = Length(ForkLift(style));
  const float upperT = kUpperClampT + lift;
  // Only the chrome fork shows its stanchions bare.
  const bool gaiters = style != ForkStyle::kChrome;
  MeshBuilder b;

  b.AddSubset("sliders");
  const MeshBuilder::Mark sliderMark = b.Here();
  const Frame leg = FrameAlong(ForkLeg(0.0f, 1.0f), SteerUp(), {1, 0, 0});
  AddLathe(b, FrameAlong(ForkLeg(-5.0f, 1.0f), SteerUp()),
           Profile({{0.0f, 0.0f},
                    {2.6f, 0.0f},
                    {3.6f, 1.2f},
                    {3.9f, 3.0f},
                    {3.9f, 8.5f},
                    {3.3f, 10.5f},
                    {3.1f, 30.0f},
                    {3.3f, 39.0f},
                    {3.5f, 39.5f},
                    {3.5f, 41.0f},
                    {2.5f, 41.5f}}),
           20);
  // Axle clamp bolts on the slider's foot.
  AddHexNut(b, leg.Point({-3.6f, -1.8f, 0.0f}), {-1, 0, 0}, 2.0f, 1.0f);
  AddHexNut(b, leg.Point({-3.6f, 2.2f, 0.0f}), {-1, 0, 0}, 2.0f, 1.0f);
  b.MirrorZSince(sliderMark);

  b.AddSubset("stanchions");
  const MeshBuilder::Mark stanchionMark = b.Here();
  AddRod(b, ForkLeg(35.0f, 1.0f), ForkLeg(upperT + 2.5f, 1.0f), 2.3f, 18);
  b.MirrorZSince(stanchionMark);

  if (gaiters) {
    b.AddSubset("gaiters");
    const MeshBuilder::Mark gaiterMark = b.Here();
    std::vector<ProfilePoint> bellows;
    bellows.push_back({2.3f, 0.0f, false});
    bellows.push_back({3.3f, 0.2f, false});
    for (int fold = 0; fold < 9; ++fold) {
      const float h = 1.0f + 2.2f * static_cast<float>(fold);
      bellows.push_back({3.3f, h, true});
      bellows.push_back({3.9f, h + 1.1f, true});
    }
    bellows.push_back({3.3f, 21.0f, true});
    bellows.push_back({2.3f, 21.4f, false});
    AddLathe(b, FrameAlong(ForkLeg(38.5f, 1.0f), SteerUp()), bellows, 14);
    b.MirrorZSince(gaiterMark);
  }

  b.AddSubset("bridges");
  // Lower and upper bridges: flat plates across both legs and the stem.
  const auto bridge = [&](float t, float thickness, float depth) {
    const Vec3 centre = SteerAxis(t) + SteerForward() * (kForkOffset * 0.5f);
    const Frame frame = FrameFacing(centre, SteerUp(), {0, 0, 1});
    AddExtrusion(b, frame, RoundedRectShape(2.0f * kForkLegZ + 8.0f, depth, depth * 0.48f, 5), 0.0f,
                 thickness);
  };
  bridge(kLowerClampT, 4.5f, 10.0f);
  bridge(upperT - 1.0f, 3.2f, 9.0f);
  // The stem above the head tube, longer on a raised fork, and its nut.
  AddRod(b, SteerAxis(kHeadTubeTop), SteerAxis(upperT + 2.2f), 2.8f, 16);
  AddHexNut(b, SteerAxis(upperT + 2.2f), SteerUp(), 4.6f, 1.8f);
  // Lamp brackets from the stanchions to the headlight's sides.
  const MeshBuilder::Mark bracketMark = b.Here();
  const Vec3 lampEar = HeadlightCentre() + Vec3{-3.0f, 0.0f, 14.5f};
  AddFrameTube(
      b, {ForkLeg(76.0f, 1.0f) + Vec3{0, 0, 2.0f}, lampEar + Vec3{-4.0f, -3.0f, 0.0f}, lampEar},
      1.0f, 3.0f);
  AddRod(b, lampEar + Vec3{0, 0, -1.0f}, lampEar + Vec3{0, 0, 1.2f}, 1.8f, 12);
  b.MirrorZSince(bracketMark);
  // Pinch bolts on the bridges.
  for (float side : {-1.0f, 1.0f}) {
    for (float t : {kLowerClampT + 2.2f, upperT + 0.6f}) {
      const Vec3 p = ForkLeg(t, side) - SteerForward() * 3.5f;
      AddHexNut(b, p, SteerForward() * -1.0f, 1.8f, 1.0f);
    }
  }
  return Finish(b);
}

// --- Handlebar ------------------------------------------------------------------------------

namespace {

struct BarShape {
  // Corners of the right half from the clamp outwards (z < 0); mirrored for
  // the left.
  std::vector<Vec3> corners;
  float bend;
  bool brace;
  float mirrorStalk;  // 0 = no mirrors
};

BarShape ShapeOf(HandlebarStyle style) {
  const Vec3 c = HandlebarClamp();
  switch (style) {
    case HandlebarStyle::kTouring:
      return {{c, c + Vec3{0, 0, -8}, c + Vec3{-6.0f, 12.0f, -17.0f},
               c + Vec3{-14.0f, 16.0f, -32.0f}, c + Vec3{-24.0f, 15.0f, -60.0f}},
              7.0f,
              false,
              1.0f};
    case HandlebarStyle::kFlat:
      return {
          {c, c + Vec3{0, 0, -10}, c + Vec3{-4.0f, 4.0f, -24.0f}, c + Vec3{-12.0f, 5.0f, -52.0f}},
          10.0f,
          false,
          0.0f};
    case HandlebarStyle::kBraced:
      return {{c, c + Vec3{0, 0, -9}, c + Vec3{-5.0f, 14.0f, -18.0f},
               c + Vec3{-10.0f, 19.0f, -30.0f}, c + Vec3{-18.0f, 20.0f, -56.0f}},
              8.0f,
              true,
              0.0f};
    case HandlebarStyle::kHighRise:
    default:
      return {{c, c + Vec3{0, 0, -9}, c + Vec3{-8.0f, 16.0f, -16.0f},
               c + Vec3{-15.0f, 22.0f, -27.0f}, c + Vec3{-23.0f, 22.0f, -54.0f}},
              7.0f,
              false,
              1.0f};
  }
}

}  // namespace

PartMesh BuildHandlebar(HandlebarStyle style) {
  const BarShape shape = ShapeOf(style);
  std::vector<Vec3> full;
  for (auto it = shape.corners.rbegin(); it != shape.corners.rend(); ++it) {
    if (it + 1 == shape.corners.rend()) break;  // the clamp point itself
    full.push_back({it->x, it->y, -it->z});
  }
  for (size_t i = 1; i < shape.corners.size(); ++i)
    full.push_back(shape.corners[i]);
  const Vec3 end = shape.corners.back();
  const Vec3 before = shape.corners[shape.corners.size() - 2];
  const Vec3 out = Normalize(end - before);  // along the right grip, outwards

  MeshBuilder b;
  b.AddSubset("bar");
  AddTube(b, BentPath(full, shape.bend, 6, 20.0f), 1.75f, 14, Caps::kBoth);
  // The clamp on the stem.
  const Vec3 clamp = HandlebarClamp();
  AddLathe(
      b, FrameAlong(clamp + Vec3{0, 0, -4.5f}, {0, 0, 1}),
      Profile({{0.0f, 0.0f}, {2.6f, 0.0f}, {3.2f, 0.6f}, {3.2f, 8.4f}, {2.6f, 9.0f}, {0.0f, 9.0f}}),
      18);
  AddRod(b, clamp + Vec3{0, -3.0f, 0}, SteerAxis(101.5f), 2.2f, 14);
  if (shape.brace) {
    const Vec3 l = shape.corners[3];
    AddRod(b, {l.x, l.y, l.z}, {l.x, l.y, -l.z}, 1.1f, 12);
  }

  b.AddSubset("grips");
  const MeshBuilder::Mark gripMark = b.Here();
  std::vector<ProfilePoint> grip;
  grip.push_back({0.0f, 0.0f, false});
  grip.push_back({2.3f, 0.0f, false});
  for (int rib = 0; rib < 6; ++rib) {
    const float h = 1.4f + 1.8f * static_cast<float>(rib);
    grip.push_back({2.35f, h, false});
    grip.push_back({2.6f, h + 0.7f, false});
  }
  grip.push_back({2.9f, 12.8f, false});
  grip.push_back({2.9f, 13.6f, false});
  grip.push_back({2.2f, 14.0f, false});
  grip.push_back({0.0f, 14.0f, false});
  AddLathe(b, FrameAlong(end - out * 13.0f, out), grip, 12);
  b.MirrorZSince(gripMark);

  b.AddSubset("levers");
  const MeshBuilder::Mark leverMark = b.Here();
  const Vec3 perch = end - out * 16.0f;
  AddLathe(
      b, FrameAlong(perch - out * 1.5f, out),
      Profile({{0.0f, 0.0f}, {2.4f, 0.0f}, {2.6f, 0.4f}, {2.6f, 2.6f}, {2.4f, 3.0f}, {0.0f, 3.0f}}),
      14);
  const Vec3 forward{1.0f, -0.15f, 0.0f};
  AddTube(b,
          BentPath({perch + forward * 2.0f, perch + forward * 4.5f,
                    perch + forward * 4.8f + out * 8.0f, perch + forward * 3.6f + out * 14.0f},
                   1.5f, 4, 3.0f),
          0.65f, 8, Caps::kBoth);
  AddSphere(b, perch + forward * 3.6f + out * 14.0f, 0.95f, 10);
  b.MirrorZSince(leverMark);

  const int housings = b.AddSubset("mirror housings");
  const int glass = b.AddSubset("mirror glass");
  if (shape.mirrorStalk > 0.0f) {
    const MeshBuilder::Mark mirrorMark = b.Here();
    b.SetSubset(housings);
    const Vec3 base = Lerp(shape.corners[2], shape.corners[3], 0.7f) + Vec3{0, 1.4f, 0};
    // Short stalks keep the mirrors' tops near y = 155, inside the picture
    // at every turn of the moped.
    const float rise = 8.0f * shape.mirrorStalk;
    const Vec3 head = base + Vec3{1.5f, rise, -13.0f * shape.mirrorStalk - 3.0f};
    AddTube(b, BentPath({base, base + Vec3{0.5f, rise * 0.5f, -2.0f}, head}, 6.0f, 6, 3.0f), 0.7f,
            8, Caps::kBoth);
    AddRod(b, base + Vec3{0, -1.0f, 0}, base + Vec3{0, 1.0f, 0}, 1.4f, 10);
    // The round head faces the rider, turned a little outwards.
    const Vec3 facing = Normalize({-1.0f, 0.05f, -0.25f});
    const Vec3 centre = head + Vec3{0.0f, 4.2f, 0.0f};
    AddTube(b, {head, centre - Vec3{0, 1.0f, 0}}, 0.7f, 8, Caps::kNone);
    const Frame back = FrameAlong(centre - facing * 2.6f, facing);
    AddLathe(b, back,
             Profile({{0.0f, 0.0f},
                      {2.4f, 0.3f},
                      {3.9f, 1.0f},
                      {4.8f, 2.0f},
                      {5.2f, 2.8f},
                      {5.1f, 3.3f},
                      {4.6f, 3.4f}}),
             24);
    b.SetSubset(glass);
    AddLathe(b, back, Profile({{4.6f, 3.1f}, {0.0f, 3.25f}}), 24);
    b.MirrorZSince(mirrorMark);
  } else {
    // Without mirrors the slots stay, with a bar-end weight each, so that every
    // handlebar is painted alike.
    const MeshBuilder::Mark endMark = b.Here();
    b.SetSubset(housings);
    AddLathe(
        b, FrameAlong(end, out),
        Profile(
            {{0.0f, 0.0f}, {1.9f, 0.0f}, {2.4f, 0.5f}, {2.4f, 2.4f}, {1.6f, 3.0f}, {0.0f, 3.0f}}),
        16);
    b.SetSubset(glass);
    AddSphere(b, end + out * 3.0f, 0.8f, 8);
    b.MirrorZSince(endMark);
  }

  b.AddSubset("controls");
  // Throttle housing on the right, bell on the left, cables to the head.
  const Vec3 left{end.x, end.y, -end.z};
  const Vec3 leftOut{out.x, out.y, -out.z};
  AddLathe(
      b, FrameAlong(end - out * 19.0f, out),
      Profile({{0.0f, 0.0f}, {2.6f, 0.2f}, {3.0f, 1.0f}, {3.0f, 4.0f}, {2.6f, 4.8f}, {0.0f, 5.0f}}),
      14);
  AddLathe(
      b, FrameAlong(left - leftOut * 20.0f + Vec3{0, 1.6f, 0}, {0, 1, 0}),
      Profile({{0.0f, 0.0f}, {2.2f, 0.0f}, {2.4f, 0.8f}, {2.0f, 1.8f}, {1.0f, 2.4f}, {0.0f, 2.5f}}),
      16);
  for (float side : {-1.0f, 1.0f}) {
    const Vec3 start = side < 0 ? perch : Vec3{perch.x, perch.y, -perch.z};
    const Vec3 lamp = HeadlightCentre() + Vec3{-6.0f, 4.0f, side * 4.0f};
    AddTube(b,
            SmoothPath({start + Vec3{2.5f, 0.5f, 0}, start + Vec3{9.0f, -4.0f, side * -4.0f},
                        Lerp(start, lamp, 0.6f) + Vec3{12.0f, -2.0f, 0}, lamp},
                       10),
            0.55f, 6, Caps::kBoth);
  }
  return Finish(b);
}

}  // namespace kbh
