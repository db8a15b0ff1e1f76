// Where the demo moped's parts meet. Every part is modelled in assembled
// coordinates (the program draws part meshes where their files put them), so
// the frame, the fork, the wheels and everything bolted to them share these
// points. Units are about 1.6 per centimetre: the moped is some 280 units long,
// its wheels stand on the floor at y = -20 and its mirrors reach y = 150.
// Front is +x; the rider's right is -z, the side the turntable camera sees
// first.
#pragma once

#include <cmath>

#include "platform/math/math.hpp"

namespace kbh::moped {

constexpr float kGround = -20.0f;

// Wheels: 17-inch rims with 2.25-inch tyres.
constexpr float kTyreRadius = 44.0f;
constexpr float kRimRadius = 34.5f;
constexpr Vec3 kFrontAxle{97.0f, kGround + kTyreRadius, 0.0f};
constexpr Vec3 kRearAxle{-90.0f, kGround + kTyreRadius, 0.0f};

// Steering: the head tube leans back 24 degrees; the fork legs run parallel
// to the steering axis through the front axle, 5 units ahead of it.
constexpr float kRake = 0.418879f;  // 24 degrees
inline Vec3 SteerUp() {
  return {-std::sin(kRake), std::cos(kRake), 0.0f};
}
// Perpendicular to the steering axis, pointing forward and up.
inline Vec3 SteerForward() {
  return {std::cos(kRake), std::sin(kRake), 0.0f};
}
constexpr float kForkOffset = 5.0f;
constexpr float kForkLegZ = 12.5f;
// A point t units up the steering axis (t = 0 level with the front axle).
inline Vec3 SteerAxis(float t) {
  return kFrontAxle - SteerForward() * kForkOffset + SteerUp() * t;
}
// A point t units up the right (-z) or left (+z) fork leg.
inline Vec3 ForkLeg(float t, float side) {
  Vec3 p = kFrontAxle + SteerUp() * t;
  p.z = side * kForkLegZ;
  return p;
}
constexpr float kHeadTubeBottom = 70.0f;  // along the steering axis
constexpr float kHeadTubeTop = 95.0f;
constexpr float kLowerClampT = 64.0f;
constexpr float kUpperClampT = 98.0f;
// The handlebar clamp sits on the stem above the upper fork bridge.
inline Vec3 HandlebarClamp() {
  return SteerAxis(103.0f) + SteerForward() * 2.0f;
}
// The headlight hangs in front of the head tube on the fork's lamp brackets.
inline Vec3 HeadlightCentre() {
  return SteerAxis(84.0f) + SteerForward() * 18.0f;
}

// Frame nodes (side view, z = 0 unless a pair).
constexpr Vec3 kSeatNode{-22.0f, 93.0f, 0.0f};  // top tube meets the seat rails
constexpr Vec3 kSwingarmPivot{-25.0f, 15.0f, 0.0f};
constexpr float kSwingarmZ = 13.0f;
constexpr Vec3 kShockTop{-72.0f, 95.0f, 0.0f};
constexpr Vec3 kShockBottom{-80.0f, 28.0f, 0.0f};
constexpr float kShockZ = 14.5f;
constexpr float kSeatRailZ = 11.0f;
constexpr float kSeatRailEndX = -106.0f;

// Engine: the cylinder leans forward 35 degrees from the crankcase.
constexpr Vec3 kCrankCentre{6.0f, 26.0f, 0.0f};
constexpr float kCylinderLean = 0.610865f;  // 35 degrees
inline Vec3 CylinderAxis() {
  return {std::sin(kCylinderLean), std::cos(kCylinderLean), 0.0f};
}
inline Vec3 CylinderPoint(float d) {
  return kCrankCentre + CylinderAxis() * d;
}
// Forward perpendicular of the cylinder: where the exhaust port faces.
inline Vec3 CylinderFront() {
  return {std::cos(kCylinderLean), -std::sin(kCylinderLean), 0.0f};
}
constexpr Vec3 kPedalAxle{-12.0f, 12.0f, 0.0f};
constexpr Vec3 kDriveSprocket{-4.0f, 18.0f, 8.0f};
constexpr float kChainZ = 8.0f;

// Body work.
constexpr float kMudguardRadius = 50.5f;
constexpr float kSeatFront = -14.0f;
constexpr float kSeatRear = -94.0f;
constexpr float kSeatBase = 97.0f;
constexpr float kTankRear = -18.0f;
constexpr float kTankFront = 50.0f;
inline Vec3 RearLightCentre() {
  // On the rear mudguard, 150 degrees round from the front.
  return {kRearAxle.x + (kMudguardRadius + 3.0f) * std::cos(2.61799f),
          kRearAxle.y + (kMudguardRadius + 3.0f) * std::sin(2.61799f), 0.0f};
}
constexpr Vec3 kRackFront{-92.0f, 101.0f, 0.0f};
constexpr float kRackRearX = -132.0f;

}  // namespace kbh::moped
