// Head and tail lights. The headlight carries the speedometer in its shell,
// as on most mopeds of the time; the tail light sits on the rear mudguard
// above the number plate.
#include <cmath>

#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/part_helpers.hpp"

namespace kbh {

namespace {

using namespace moped;

// Speedometer on top of the headlight shell, its dial tilted to the rider.
void AddSpeedometer(MeshBuilder& b, Vec3 shellTop, int housing, int dial) {
  const Vec3 facing = Normalize({-0.55f, 1.0f, 0.0f});
  const Vec3 base = shellTop + Vec3{-3.0f, -0.6f, 0.0f};
  b.SetSubset(housing);
  AddLathe(b, FrameAlong(base, facing),
           Profile({{0.0f, 0.0f},
                    {4.4f, 0.2f},
                    {5.6f, 1.4f},
                    {5.8f, 4.6f},
                    {6.2f, 5.0f},
                    {6.2f, 5.8f},
                    {5.4f, 6.0f}}),
           28);
  b.SetSubset(dial);
  AddLathe(b, FrameAlong(base, facing), Profile({{5.4f, 5.5f}, {0.0f, 5.5f}}), 28);
  // The needle, a thin bar over the dial.
  b.SetSubset(housing);
  const Frame face = FrameAlong(base + facing * 5.6f, facing, {0, 0, 1});
  AddTube(b, {face.Point({0.0f, 0.0f, 0.0f}), face.Point({3.6f, 0.0f, -1.6f})}, 0.22f, 4,
          Caps::kBoth);
}

// Bosses on the shell's flanks where the fork's lamp brackets bolt on.
void AddMountingEars(MeshBuilder& b, Vec3 centre, float halfWidth) {
  for (float side : {-1.0f, 1.0f}) {
    const Vec3 ear = centre + Vec3{-3.0f, 0.0f, side * halfWidth};
    AddRod(b, ear, ear + Vec3{0, 0, side * (14.5f - halfWidth + 1.2f)}, 1.3f, 10);
  }
}

}  // namespace

PartMesh BuildHeadlight(HeadlightStyle style) {
  const Vec3 centre = HeadlightCentre();
  MeshBuilder b;
  const int shell = b.AddSubset("shell");
  const int rim = b.AddSubset("rim");
  const int lens = b.AddSubset("lens");
  const int reflector = b.AddSubset("reflector");
  const int housing = b.AddSubset("speedometer");
  const int dial = b.AddSubset("dial");
  if (style == HeadlightStyle::kSquare) {
    // A rectangular lamp: rounded-rectangle sections lofted from the back.
    const Frame front = FrameFacing(centre, {1, 0, 0}, {0, 0, 1});
    std::vector<std::vector<Vec3>> rings;
    const float depths[] = {-13.0f, -11.5f, -8.0f, -3.5f, 0.0f};
    const float sizes[] = {0.45f, 0.7f, 0.9f, 0.99f, 1.0f};
    for (int i = 0; i < 5; ++i) {
      Frame at = front;
      at.origin = front.Point({0.0f, 0.0f, depths[i]});
      rings.push_back(
          PlaceShape(at, RoundedRectShape(28.0f * sizes[i], 20.0f * sizes[i], 4.0f * sizes[i], 4)));
    }
    b.SetSubset(shell);
    AddLoft(b, rings, {}, Caps::kStart);
    b.SetSubset(rim);
    Frame rimFrame = front;
    AddRoundedSlab(b, rimFrame, RoundedRectShape(30.0f, 22.0f, 4.5f, 4), -0.5f, 2.2f, 0.8f, 2);
    b.SetSubset(lens);
    Frame lensFrame = front;
    lensFrame.origin = front.Point({0, 0, 2.1f});
    AddRoundedSlab(b, lensFrame, RoundedRectShape(26.0f, 18.0f, 3.2f, 4), 0.0f, 0.9f, 0.4f, 1);
    b.SetSubset(reflector);
    AddLathe(b, FrameAlong(centre, {1, 0, 0}),
             Profile({{8.0f, 1.5f}, {4.0f, -3.0f}, {0.0f, -5.0f}}), 20);
    AddMountingEars(b, centre, 14.0f);
    AddSpeedometer(b, centre + Vec3{-5.0f, 10.0f, 0.0f}, housing, dial);
    return Finish(b);
  }
  const float radius = style == HeadlightStyle::kRoundLarge ? 14.5f : 12.5f;
  const float depth = style == HeadlightStyle::kRoundLarge ? 16.0f : 13.5f;
  const Frame axis = FrameAlong(centre, {1, 0, 0}, {0, 1, 0});
  b.SetSubset(shell);
  AddLathe(b, axis,
           Profile({{0.0f, -depth},
                    {radius * 0.4f, -depth + 0.5f},
                    {radius * 0.72f, -depth * 0.74f},
                    {radius * 0.92f, -depth * 0.46f},
                    {radius, -depth * 0.15f},
                    {radius, 0.0f}}),
           28);
  b.SetSubset(rim);
  AddLathe(b, axis,
           Profile({{radius - 0.2f, -0.4f},
                    {radius + 0.7f, 0.2f},
                    {radius + 0.9f, 1.2f},
                    {radius + 0.4f, 2.2f},
                    {radius - 0.8f, 2.6f},
                    {radius - 1.4f, 2.3f}}),
           28);
  b.SetSubset(lens);
  AddLathe(
      b, axis,
      Profile({{radius - 1.3f, 2.2f}, {radius * 0.7f, 2.9f}, {radius * 0.35f, 3.3f}, {0.0f, 3.4f}}),
      28);
  b.SetSubset(reflector);
  // A parabolic dish behind the glass, facing forwards.
  std::vector<ProfilePoint> dish;
  for (int k = 8; k >= 0; --k) {
    const float r = (radius - 1.5f) * static_cast<float>(k) / 8.0f;
    dish.push_back({r, -8.0f + r * r / (radius * 1.35f), false});
  }
  AddLathe(b, axis, dish, 28);
  b.SetSubset(shell);
  AddMountingEars(b, centre, radius - 0.8f);
  AddSpeedometer(b, centre + Vec3{-depth * 0.45f, radius * 0.86f, 0.0f}, housing, dial);
  return Finish(b);
}

PartMesh BuildTailLight(TailLightStyle style) {
  const Vec3 centre = RearLightCentre();
  MeshBuilder b;
  const int housing = b.AddSubset("housing");
  const int lens = b.AddSubset("lens");
  const int holder = b.AddSubset("plate holder");
  const int plate = b.AddSubset("number plate");
  const Vec3 back{-1.0f, 0.0f, 0.0f};
  // The light's foot on the mudguard.
  b.SetSubset(housing);
  AddRod(b, centre + Vec3{3.0f, -4.5f, 0.0f}, centre + Vec3{0.0f, -0.5f, 0.0f}, 1.6f, 10);
  if (style == TailLightStyle::kSquare) {
    const Frame frame = FrameFacing(centre + Vec3{0.0f, 3.0f, 0.0f}, back, {0, 0, 1});
    AddRoundedSlab(b, frame, RoundedRectShape(14.0f, 8.0f, 2.0f, 3), -6.0f, 0.0f, 1.2f, 2);
    b.SetSubset(lens);
    AddRoundedSlab(b, frame, RoundedRectShape(12.6f, 6.6f, 1.6f, 3), 0.0f, 1.8f, 0.8f, 2);
  } else {
    const float radius = style == TailLightStyle::kSport ? 3.2f : 4.6f;
    const float length = style == TailLightStyle::kSport ? 9.0f : 6.0f;
    const Frame axis = FrameAlong(centre + Vec3{0.0f, 3.0f, 0.0f}, back, {0, 1, 0});
    AddLathe(b, axis,
             Profile({{0.0f, -length},
                      {radius * 0.5f, -length + 0.3f},
                      {radius * 0.9f, -length * 0.6f},
                      {radius, -1.0f},
                      {radius + 0.5f, -0.4f},
                      {radius + 0.5f, 0.4f},
                      {radius - 0.2f, 0.6f}}),
             24);
    b.SetSubset(lens);
    AddLathe(
        b, axis,
        Profile(
            {{radius - 0.2f, 0.5f}, {radius * 0.8f, 1.6f}, {radius * 0.4f, 2.3f}, {0.0f, 2.5f}}),
        24);
  }
  // The number plate below, on a holder bolted to the mudguard's tail.
  const Vec3 plateCentre{kRearAxle.x - kMudguardRadius - 6.0f, kRearAxle.y + 2.0f, 0.0f};
  b.SetSubset(holder);
  const Frame plateFrame = FrameFacing(plateCentre, {-0.97f, 0.24f, 0.0f}, {0, 0, 1});
  Frame holderFrame = plateFrame;
  holderFrame.origin = plateFrame.Point({0.0f, -2.5f, 0.0f});
  AddRoundedSlab(b, holderFrame, RoundedRectShape(21.0f, 20.0f, 2.0f, 2), -1.0f, 0.0f, 0.4f, 1);
  AddTube(b, {plateFrame.Point({0.0f, 7.0f, -0.8f}), centre + Vec3{1.0f, -5.0f, 0.0f}}, 0.9f, 8,
          Caps::kBoth);
  // A round red reflector on the holder.
  b.SetSubset(lens);
  AddLathe(b, FrameAlong(plateFrame.Point({0.0f, -9.0f, -0.3f}), plateFrame.az),
           Profile({{0.0f, 0.0f}, {2.4f, 0.0f}, {2.4f, 0.6f}, {1.8f, 1.0f}, {0.0f, 1.1f}}), 16);
  b.SetSubset(plate);
  Frame numberFrame = plateFrame;
  numberFrame.origin = plateFrame.Point({0.0f, 1.5f, 0.0f});
  AddRoundedSlab(b, numberFrame, RoundedRectShape(19.5f, 12.0f, 1.2f, 2), 0.0f, 0.4f, 0.15f, 1);
  return Finish(b);
}

}  // namespace kbh
