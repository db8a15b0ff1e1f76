// The demo moped's part meshes, one builder per part of the catalogue. Each
// builder opens one material slot per paintable area (tyre, rim, spokes ...),
// in the order the catalogue's paint actions count them (slot n is painted by
// a colour whose top byte is n + 1).
#pragma once

#include <string>
#include <vector>

#include "platform/mesh/mesh_data.hpp"
#include "tools/workshop/geometry.hpp"

namespace kbh {

struct PartMesh {
  MeshData mesh;
  std::vector<std::string> subsetNames;
};

PartMesh Finish(const MeshBuilder& builder);

// --- Wheels (moped_wheels.cpp) -------------------------------------------------------

enum class WheelPosition { kFront, kRear };
enum class WheelStyle { kSpoked, kWhitewall, kCast };
PartMesh BuildWheel(WheelPosition position, WheelStyle style);

// --- Frame, fork, handlebar (moped_chassis.cpp) -------------------------------------------

enum class FrameStyle { kClassic, kSport, kTouring };
PartMesh BuildFrame(FrameStyle style);

enum class ForkStyle { kGaiters, kChrome, kRaised10, kRaised20 };
PartMesh BuildFork(ForkStyle style);
// How far a raised fork lifts whatever is clamped on it.
Vec3 ForkLift(ForkStyle style);

enum class HandlebarStyle { kHighRise, kTouring, kFlat, kBraced };
PartMesh BuildHandlebar(HandlebarStyle style);

// --- Engine and exhaust (moped_engine.cpp) ---------------------------------------------------

enum class EngineStyle { kStandard, kBigFins, kBlack };
PartMesh BuildEngine(EngineStyle style);

enum class ExhaustStyle { kUpswept, kUpsweptBlack, kExpansion, kLowTouring };
PartMesh BuildExhaust(ExhaustStyle style);

// --- Body work (moped_body.cpp) -----------------------------------------------------------------

enum class TankStyle { kTeardrop, kChromeFlanks, kLongSport };
PartMesh BuildTank(TankStyle style);

enum class SeatStyle { kBench, kComfort, kRacingHump };
PartMesh BuildSeat(SeatStyle style);

enum class MudguardStyle { kChrome, kPainted, kShort };
PartMesh BuildMudguard(WheelPosition position, MudguardStyle style);

// --- Lights (moped_lights.cpp) -------------------------------------------------------------------

enum class HeadlightStyle { kRound, kRoundLarge, kSquare };
PartMesh BuildHeadlight(HeadlightStyle style);

enum class TailLightStyle { kRound, kSquare, kSport };
PartMesh BuildTailLight(TailLightStyle style);

// --- Accessories and mounts (moped_accessories.cpp)
// ------------------------------------------------

PartMesh BuildRearRack();
PartMesh BuildChainGuard();
PartMesh BuildSideStand();
PartMesh BuildSaddleBags();
PartMesh BuildTopCase();
PartMesh BuildWindscreen();
PartMesh BuildRaceNumberPlate();
PartMesh BuildCrashBar();
PartMesh BuildWindscreenBracket();
PartMesh BuildSaddleBagFrame();
PartMesh BuildTopCasePlate();

// --- The colour selector's preview ball ---------------------------------------------------------

// A sphere about the origin; the interface pictures frame where it lands.
constexpr float kPreviewBallRadius = 30.0f;
PartMesh BuildPreviewBall();

}  // namespace kbh
