// Body work: the teardrop tank with its knee pads, pinstripes and chrome, the
// pleated bench seat with its trim, and the mudguards round the wheels.
#include <algorithm>
#include <cmath>

#include "tools/workshop/moped_layout.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/part_helpers.hpp"

namespace kbh {

namespace {

using namespace moped;

// --- Tank ---------------------------------------------------------------------------------

// The tank as a function: s runs from the rear tip (0) to the nose (1), a
// goes round the section counter-clockwise seen from the front, starting at
// the left side (+z).
struct TankShape {
  float rear;
  float front;
  float width;   // greatest half width
  float height;  // greatest height
  float widest;  // s of the greatest width
  float exponent;
  float knee;  // depth of the knee recesses (sport tank)

  float X(float s) const { return rear + (front - rear) * s; }
  // Centre line of the top tube under the tank.
  static float TubeY(float x) { return kSeatNode.y + (x - kSeatNode.x) * 0.1435f; }

  float Closure(float s) const {
    // Both ends close round: elliptical over the last stretch.
    const float rearEnd = 0.07f;
    const float frontEnd = 1.0f - widest;
    float c = 1.0f;
    if (s < rearEnd) c = std::sqrt(std::max(0.0f, 1.0f - std::pow((rearEnd - s) / rearEnd, 2.0f)));
    if (s > widest) c = std::sqrt(std::max(0.0f, 1.0f - std::pow((s - widest) / frontEnd, 2.0f)));
    return c;
  }
  float HalfWidth(float s) const {
    const float rise = std::pow(std::sin(0.5f * kPi * std::min(s / widest, 1.0f)), 0.8f);
    float w = width * (0.32f + 0.68f * rise) * Closure(s);
    w -= knee * std::exp(-std::pow((s - 0.3f) / 0.12f, 2.0f));
    return std::max(w, 0.0f);
  }
  float Height(float s) const {
    const float rise = std::sin(0.5f * kPi * std::min(s / widest, 1.0f));
    return height * (0.42f + 0.58f * rise) * std::max(Closure(s), 0.0f);
  }
  float Bottom(float s) const { return TubeY(X(s)) - 4.0f; }

  Vec3 Point(float s, float a) const {
    const float c = std::cos(a);
    const float n = std::sin(a);
    const float e = 2.0f / exponent;
    const float z = HalfWidth(s) * std::copysign(std::pow(std::fabs(c), e), c);
    // The underside is flatter than the crown.
    const float lift = n > 0.0f ? std::pow(std::fabs(n), e) : -std::pow(std::fabs(n), e * 0.6f);
    const float h = Height(s);
    return {X(s), Bottom(s) + h * 0.5f + h * 0.5f * lift, z};
  }
  Vec3 Normal(float s, float a) const {
    const float ds = 1e-3f;
    const float da = 1e-3f;
    const Vec3 along = Point(s + ds, a) - Point(s - ds, a);
    const Vec3 around = Point(s, a + da) - Point(s, a - da);
    return Normalize(Cross(along, around));
  }
};

TankShape TankOf(TankStyle style) {
  if (style == TankStyle::kLongSport)
    return {kTankRear - 6.0f, kTankFront + 2.0f, 16.5f, 18.0f, 0.7f, 2.3f, 3.5f};
  return {kTankRear, kTankFront, 15.5f, 20.5f, 0.66f, 2.5f, 0.0f};
}

void AddTankBody(MeshBuilder& b, const TankShape& tank) {
  constexpr int kStations = 26;
  constexpr int kAround = 36;
  std::vector<std::vector<Vec3>> rings;
  for (int i = 0; i <= kStations; ++i) {
    // Denser towards both ends, where the shape closes.
    const float s = 0.5f - 0.5f * std::cos(kPi * static_cast<float>(i) / kStations);
    std::vector<Vec3> ring;
    for (int j = 0; j < kAround; ++j) {
      ring.push_back(tank.Point(s, 2.0f * kPi * static_cast<float>(j) / kAround));
    }
    rings.push_back(ring);
  }
  AddLoft(b, rings, {}, Caps::kNone);
}

// A patch lying on the tank, lifted off it by offset (which may vary over
// the patch): knee pads, chrome flanks, stripes. s and a ranges give its
// extent; round > 0 rounds its corners in (s, a).
void AddTankPatch(MeshBuilder& b, const TankShape& tank, float s0, float s1, float a0, float a1,
                  int rows, int cols, float round,
                  const std::function<float(float u, float v)>& offset) {
  Grid grid = MakeGrid(rows + 1, cols + 1);
  const float mid = 0.5f * (a0 + a1);
  for (int i = 0; i <= rows; ++i) {
    const float u = static_cast<float>(i) / rows;
    const float s = s0 + (s1 - s0) * u;
    // Squeeze the angular range near the ends for rounded corners.
    const float edge = std::fabs(2.0f * u - 1.0f);
    const float squeeze =
        round > 0.0f ? std::pow(std::max(0.0f, 1.0f - std::pow(edge, 1.0f / round)), round) : 1.0f;
    for (int j = 0; j <= cols; ++j) {
      const float v = static_cast<float>(j) / cols;
      const float a = mid + (a0 - mid + (a1 - a0) * v) * std::max(squeeze, 0.15f);
      grid.At(i, j) = tank.Point(s, a) + tank.Normal(s, a) * offset(u, v);
    }
  }
  AddGrid(b, grid);
}

void AddFillerCap(MeshBuilder& b, const TankShape& tank) {
  const float s = tank.widest + 0.02f;
  const Vec3 top = tank.Point(s, 0.5f * kPi);
  const Vec3 up = tank.Normal(s, 0.5f * kPi);
  AddLathe(b, FrameAlong(top - up * 0.8f, up),
           Profile({{0.0f, 0.0f},
                    {5.0f, 0.0f},
                    {5.0f, 1.0f},
                    {4.6f, 1.4f},
                    {4.2f, 2.6f},
                    {3.2f, 3.2f},
                    {0.0f, 3.4f}}),
           28);
  // The hinge lug at the cap's rear.
  AddRod(b, top + Vec3{-5.4f, 1.1f, -1.6f}, top + Vec3{-5.4f, 1.1f, 1.6f}, 0.9f, 8);
}

void AddBadges(MeshBuilder& b, const TankShape& tank) {
  const float s = tank.widest + 0.14f;
  for (float side : {1.0f, -1.0f}) {
    const float a = side > 0.0f ? 0.12f : kPi - 0.12f;
    const Vec3 centre = tank.Point(s, a);
    const Vec3 normal = tank.Normal(s, a);
    const Frame frame = FrameFacing(centre - normal * 0.3f, normal, {1, 0.15f, 0});
    AddRoundedSlab(b, frame, EllipseShape(5.2f, 2.4f, 20), 0.0f, 0.9f, 0.4f, 1);
  }
}

// The petrol tap under the tank's rear and the fuel line down to the carb.
void AddFuelTap(MeshBuilder& b, const TankShape& tank) {
  const Vec3 under = tank.Point(0.25f, -0.5f * kPi + 0.35f);
  AddRod(b, under + Vec3{0, 1.0f, 0}, under + Vec3{0, -3.5f, 0}, 1.0f, 10);
  AddLathe(
      b, FrameAlong(under + Vec3{-1.5f, -3.0f, 0}, {1, 0, 0}),
      Profile({{0.0f, 0.0f}, {1.6f, 0.0f}, {1.8f, 0.4f}, {1.8f, 2.6f}, {1.6f, 3.0f}, {0.0f, 3.0f}}),
      12);
}

}  // namespace

PartMesh BuildTank(TankStyle style) {
  const TankShape tank = TankOf(style);
  MeshBuilder b;
  b.AddSubset("tank");
  AddTankBody(b, tank);

  b.AddSubset(style == TankStyle::kChromeFlanks ? "chrome flanks" : "knee pads");
  for (float side : {1.0f, -1.0f}) {
    // a = 0 is the left side; the right side is at pi.
    const float centre = side > 0.0f ? 0.0f : kPi;
    if (style == TankStyle::kChromeFlanks) {
      AddTankPatch(b, tank, 0.2f, 0.86f, centre - 0.55f, centre + 0.38f, 24, 12, 0.5f,
                   [](float u, float v) {
                     const float rim = std::min({u, 1.0f - u, v, 1.0f - v});
                     return 0.25f + 0.25f * SmoothStep(0.0f, 0.08f, rim);
                   });
    } else {
      // Ribbed rubber knee pads.
      AddTankPatch(b, tank, 0.18f, 0.46f, centre - 0.42f, centre + 0.3f, 28, 8, 0.6f,
                   [](float u, float v) {
                     const float rim = std::min({u, 1.0f - u, v, 1.0f - v});
                     const float rib = 0.5f + 0.5f * std::cos(u * 2.0f * kPi * 7.0f);
                     return 0.2f + (0.25f + 0.35f * rib) * SmoothStep(0.0f, 0.06f, rim);
                   });
    }
  }

  b.AddSubset("pinstripes");
  for (float side : {1.0f, -1.0f}) {
    const float base = side > 0.0f ? 0.62f : kPi - 0.62f;
    for (float offset : {0.0f, 0.1f}) {
      const float a = base + (side > 0.0f ? offset : -offset);
      const float width = offset == 0.0f ? 0.045f : 0.02f;
      AddTankPatch(b, tank, 0.12f, 0.93f, a - width, a + width, 30, 1, 0.0f,
                   [](float, float) { return 0.12f; });
    }
  }

  b.AddSubset("filler cap");
  AddFillerCap(b, tank);
  AddFuelTap(b, tank);

  b.AddSubset("badges");
  AddBadges(b, tank);
  return Finish(b);
}

// --- Seat -------------------------------------------------------------------------------

namespace {

struct SeatShape {
  float rear = kSeatRear;
  float front = kSeatFront;
  float base = kSeatBase;
  float thickness = 12.0f;
  float halfWidth = 15.0f;
  float rearRise = 2.5f;
  float pleats = 8.0f;  // pleat length, 0 = smooth top
  float step = 0.0f;    // a raised pillion half (comfort seat)

  float CentreX() const { return 0.5f * (rear + front); }
  float HalfLength() const { return 0.5f * (front - rear); }

  // Shapes the rounded box into a seat: narrower nose, crowned and pleated
  // top, a rise at the rear.
  Vec3 Deform(Vec3 p) const {
    const float xn = (p.x - CentreX()) / HalfLength();  // -1 rear .. 1 front
    const float top =
        std::clamp((p.y - (base + thickness * 0.5f)) / (thickness * 0.5f), 0.0f, 1.0f);
    Vec3 q = p;
    q.z *= 1.0f - 0.38f * SmoothStep(0.1f, 1.0f, xn);
    const float zn = std::clamp(q.z / halfWidth, -1.0f, 1.0f);
    float lift = 1.8f * (1.0f - zn * zn);
    lift += rearRise * SmoothStep(-0.5f, -1.0f, xn);
    lift -= 2.6f * SmoothStep(0.2f, 1.0f, xn);
    lift += step * SmoothStep(0.05f, -0.35f, xn);
    if (pleats > 0.0f && std::fabs(xn) < 0.86f) {
      const float across = 1.0f - SmoothStep(0.62f, 0.8f, std::fabs(zn));
      lift -= 0.5f * (1.0f - std::cos(2.0f * kPi * (p.x - rear) / pleats)) * across;
    }
    q.y += lift * top;
    return q;
  }
};

SeatShape SeatOf(SeatStyle style) {
  SeatShape seat;
  if (style == SeatStyle::kComfort) {
    seat.thickness = 14.0f;
    seat.halfWidth = 16.0f;
    seat.step = 3.0f;
    seat.pleats = 0.0f;
  } else if (style == SeatStyle::kRacingHump) {
    seat.rear = -72.0f;
    seat.thickness = 10.0f;
    seat.rearRise = 0.0f;
    seat.pleats = 6.0f;
  }
  return seat;
}

// The seat's outline at height y, as a closed path round it in plan.
std::vector<Vec3> SeatRim(const SeatShape& seat, float y, float inset) {
  const Shape2 plan = RoundedRectShape(2.0f * seat.HalfLength() - 2.0f * inset,
                                       2.0f * seat.halfWidth - 2.0f * inset, 5.0f, 4);
  std::vector<Vec3> rim;
  for (const Vec2 p : plan.points) {
    // Plan x along the moped, plan y across it.
    rim.push_back(seat.Deform({seat.CentreX() + p.x, y, p.y}));
  }
  rim.push_back(rim.front());
  return rim;
}

}  // namespace

PartMesh BuildSeat(SeatStyle style) {
  const SeatShape seat = SeatOf(style);
  MeshBuilder b;
  b.AddSubset("cover");
  const MeshBuilder::Mark mark = b.Here();
  Frame box;
  box.origin = {seat.CentreX(), seat.base + seat.thickness * 0.5f, 0.0f};
  // Finely cut so that the pleats and the crown have vertices to bend.
  AddRoundedBox(b, box, {seat.HalfLength(), seat.thickness * 0.5f, seat.halfWidth}, 5.5f, 3,
                {seat.pleats > 0.0f ? seat.pleats / 3.0f : 3.0f, 6.0f, 3.5f});
  b.DeformSince(mark, [&](Vec3 p) { return seat.Deform(p); });

  b.AddSubset("trim");
  const std::vector<Vec3> rim = SeatRim(seat, seat.base + 1.6f, -0.25f);
  AddSweep(b, rim, RoundedRectShape(0.8f, 2.2f, 0.35f, 2), Caps::kNone, {}, {0, 1, 0});

  b.AddSubset("base");
  Frame pan;
  pan.origin = {seat.CentreX(), seat.base - 0.4f, 0.0f};
  const MeshBuilder::Mark panMark = b.Here();
  AddRoundedBox(b, pan, {seat.HalfLength() - 1.5f, 1.2f, seat.halfWidth - 1.5f}, 1.0f, 2);
  b.DeformSince(panMark, [&](Vec3 p) { return Vec3{p.x, p.y, seat.Deform(p).z}; });

  if (style == SeatStyle::kRacingHump) {
    b.AddSubset("hump");
    // A fibreglass hump behind the short pad, faired into the rear loop.
    const float x0 = seat.rear;
    std::vector<std::vector<Vec3>> rings;
    for (int i = 0; i <= 14; ++i) {
      const float t = static_cast<float>(i) / 14.0f;
      const float x = x0 - 34.0f * t;
      const float h =
          17.0f * std::sqrt(std::max(0.0f, 1.0f - std::pow(t * 1.05f, 6.0f))) * (1.0f - 0.45f * t);
      const float w = 14.0f * (1.0f - 0.25f * t * t);
      std::vector<Vec3> ring;
      for (int j = 0; j < 24; ++j) {
        const float a = 2.0f * kPi * static_cast<float>(j) / 24.0f;
        const float c = std::cos(a);
        const float s = std::sin(a);
        ring.push_back({x, seat.base - 1.0f + (s > 0 ? h * std::pow(s, 0.7f) : 2.0f * s),
                        w * std::copysign(std::pow(std::fabs(c), 0.7f), c)});
      }
      rings.push_back(ring);
    }
    AddLoft(b, rings, {}, Caps::kBoth, true);
  } else {
    b.AddSubset("strap");
    // A grab strap across the seat for the pillion.
    const float x = seat.CentreX() - seat.HalfLength() * 0.45f;
    std::vector<Vec3> strap;
    for (int k = 0; k <= 24; ++k) {
      const float a = kPi * static_cast<float>(k) / 24.0f;
      // Round the seat's section: down the sides, over the top.
      const float z = std::cos(a) * (seat.halfWidth + 0.5f);
      const float y = seat.base + 2.0f + std::sin(a) * (seat.thickness - 2.0f + 0.6f);
      Vec3 p = seat.Deform({x, std::min(y, seat.base + seat.thickness + 0.6f), z});
      p.y = std::max(p.y, seat.base + 2.0f);
      strap.push_back(p);
    }
    AddSweep(b, strap, RoundedRectShape(3.2f, 0.5f, 0.2f, 1), Caps::kBoth, {}, {1, 0, 0});
  }
  return Finish(b);
}

// --- Mudguards ----------------------------------------------------------------------------

namespace {

// A mudguard's section in (r, h): crowned outer skin, rolled lips, inner
// skin; closed and counter-clockwise.
std::vector<ProfilePoint> GuardSection(float radius, float halfWidth) {
  std::vector<ProfilePoint> section;
  const int n = 10;
  for (int i = 0; i <= n; ++i) {
    const float h = -halfWidth + 2.0f * halfWidth * static_cast<float>(i) / n;
    const float crown = 1.8f * (1.0f - std::pow(h / halfWidth, 2.0f));
    section.push_back({radius + crown, h, i == 0 || i == n});
  }
  section.push_back({radius - 1.8f, halfWidth + 0.35f, false});
  section.push_back({radius - 2.3f, halfWidth - 0.2f, true});
  for (int i = n - 1; i >= 1; --i) {
    const float h = -halfWidth + 2.0f * halfWidth * static_cast<float>(i) / n;
    const float crown = 1.8f * (1.0f - std::pow(h / halfWidth, 2.0f));
    section.push_back({radius + crown - 0.6f, h * 0.95f, false});
  }
  section.push_back({radius - 2.3f, -halfWidth + 0.2f, true});
  section.push_back({radius - 1.8f, -halfWidth - 0.35f, false});
  return section;
}

// The guard round an axle between two angles (0 = forward, counting up over
// the wheel), with its open ends closed flat.
void AddGuardShell(MeshBuilder& b, Vec3 axle, float radius, float halfWidth, float from, float to) {
  const Frame frame = FrameAlong(axle, {0, 0, 1}, {1, 0, 0});
  // In this frame the lathe angle runs from +x towards -y: the negative of
  // the angle over the wheel.
  const std::vector<ProfilePoint> section = GuardSection(radius, halfWidth);
  const int segments = std::max(8, static_cast<int>((to - from) / (2.0f * kPi) * 64.0f));
  AddLathe(b, frame, section, segments, -to, -from, true);
  for (const float angle : {from, to}) {
    std::vector<Vec3> loop;
    for (const ProfilePoint& p : section) {
      loop.push_back(axle + Vec3{p.r * std::cos(angle), p.r * std::sin(angle), p.h});
    }
    const Vec3 tangent{-std::sin(angle), std::cos(angle), 0.0f};
    AddPolygon(b, loop, angle == from ? tangent * -1.0f : tangent);
  }
}

Vec3 OnGuard(Vec3 axle, float radius, float angle, float h) {
  return axle + Vec3{radius * std::cos(angle), radius * std::sin(angle), h};
}

}  // namespace

PartMesh BuildMudguard(WheelPosition position, MudguardStyle style) {
  const bool rear = position == WheelPosition::kRear;
  const bool shortGuard = style == MudguardStyle::kShort;
  const Vec3 axle = rear ? kRearAxle : kFrontAxle;
  const float radius = kMudguardRadius;
  const float halfWidth = 8.0f;
  float from;
  float to;
  if (rear) {
    from = shortGuard ? 1.45f : 0.95f;
    to = shortGuard ? 2.75f : 3.5f;
  } else {
    from = shortGuard ? 0.75f : 0.2f;
    to = shortGuard ? 2.2f : 2.5f;
  }
  MeshBuilder b;
  b.AddSubset("guard");
  AddGuardShell(b, axle, radius, halfWidth, from, to);

  b.AddSubset("stays");
  for (float side : {-1.0f, 1.0f}) {
    const float z = side * (halfWidth + 0.8f);
    if (rear) {
      AddTube(b,
              BentPath({OnGuard(axle, radius - 1.0f, to - 0.35f, z),
                        OnGuard(axle, radius - 6.0f, 2.2f, z * 1.1f),
                        {kShockTop.x - 2.0f, kShockTop.y - 6.0f, side * kSeatRailZ}},
                       8.0f, 6, 10.0f),
              0.75f, 8, Caps::kBoth);
      AddTube(b,
              {OnGuard(axle, radius - 0.5f, 1.75f, z),
               {kSeatRailEndX + 4.0f, 97.0f, side * kSeatRailZ}},
              0.75f, 8, Caps::kBoth);
    } else {
      // Two stays per side down to the fork slider.
      const Vec3 slider = ForkLeg(5.0f, side) + Vec3{0, 0, -side * 3.4f};
      for (float angle : {from + 0.25f, to - 0.3f}) {
        if (shortGuard && angle > 1.5f) continue;
        AddTube(b, {OnGuard(axle, radius - 0.5f, angle, z), slider}, 0.7f, 8, Caps::kBoth);
      }
      AddTube(b,
              {OnGuard(axle, radius + 1.0f, 1.2f, z * 0.5f),
               ForkLeg(30.0f, side) + Vec3{0, 0, -side * 3.0f}},
              0.8f, 8, Caps::kBoth);
    }
  }
  if (rear) {
    b.AddSubset("mud flap");
    const Vec3 hang = OnGuard(axle, radius - 0.8f, to - 0.05f, 0.0f);
    Frame flap = FrameFacing(hang + Vec3{0.0f, -5.5f, 0.0f}, {1, 0, 0}, {0, 0, 1});
    AddRoundedSlab(b, flap, RoundedRectShape(13.0f, 12.0f, 1.5f, 2), -0.4f, 0.4f, 0.3f, 1);
  }
  return Finish(b);
}

}  // namespace kbh
