#include "tools/workshop/part_table.hpp"

namespace kbh {

namespace {

using E = XEncoding;

// Lambdas without captures turn into plain function pointers.
const std::vector<PartSource> kParts = {
    // Rahmen
    {0x00010101, [] { return BuildFrame(FrameStyle::kClassic); }, E::kText},
    {0x00010102, [] { return BuildFrame(FrameStyle::kSport); }, E::kBinary},
    {0x00010103, [] { return BuildFrame(FrameStyle::kTouring); }, E::kCompressedBinary},
    // Gabel
    {0x00020101, [] { return BuildFork(ForkStyle::kGaiters); }, E::kText},
    {0x00020102, [] { return BuildFork(ForkStyle::kChrome); }, E::kText},
    {0x00020201, [] { return BuildFork(ForkStyle::kRaised10); }, E::kText},
    {0x00020202, [] { return BuildFork(ForkStyle::kRaised20); }, E::kCompressedText},
    // Lenker
    {0x00030101, [] { return BuildHandlebar(HandlebarStyle::kHighRise); }, E::kText},
    {0x00030102, [] { return BuildHandlebar(HandlebarStyle::kTouring); }, E::kText},
    {0x00030201, [] { return BuildHandlebar(HandlebarStyle::kFlat); }, E::kText},
    {0x00030202, [] { return BuildHandlebar(HandlebarStyle::kBraced); }, E::kBinary},
    // Tank
    {0x00040101, [] { return BuildTank(TankStyle::kTeardrop); }, E::kText},
    {0x00040102, [] { return BuildTank(TankStyle::kChromeFlanks); }, E::kText},
    {0x00040201, [] { return BuildTank(TankStyle::kLongSport); }, E::kText},
    // Sitzbank: the standard seat is binary, so a start-up meets that encoding.
    {0x00050101, [] { return BuildSeat(SeatStyle::kBench); }, E::kBinary},
    {0x00050102, [] { return BuildSeat(SeatStyle::kComfort); }, E::kText},
    {0x00050201, [] { return BuildSeat(SeatStyle::kRacingHump); }, E::kText},
    // Auspuff
    {0x00060101, [] { return BuildExhaust(ExhaustStyle::kUpswept); }, E::kCompressedText},
    {0x00060102, [] { return BuildExhaust(ExhaustStyle::kUpsweptBlack); }, E::kText},
    {0x00060201, [] { return BuildExhaust(ExhaustStyle::kExpansion); }, E::kText},
    {0x00060301, [] { return BuildExhaust(ExhaustStyle::kLowTouring); }, E::kText},
    // Motor: the largest standard part, compressed.
    {0x00070101, [] { return BuildEngine(EngineStyle::kStandard); }, E::kCompressedBinary},
    {0x00070102, [] { return BuildEngine(EngineStyle::kBlack); }, E::kText},
    {0x00070201, [] { return BuildEngine(EngineStyle::kBigFins); }, E::kText},
    // Räder
    {0x01080101, [] { return BuildWheel(WheelPosition::kFront, WheelStyle::kSpoked); }, E::kText},
    {0x01080102, [] { return BuildWheel(WheelPosition::kFront, WheelStyle::kWhitewall); },
     E::kText},
    {0x01080103, [] { return BuildWheel(WheelPosition::kFront, WheelStyle::kCast); }, E::kText},
    {0x01080201, [] { return BuildWheel(WheelPosition::kRear, WheelStyle::kSpoked); }, E::kText},
    {0x01080202, [] { return BuildWheel(WheelPosition::kRear, WheelStyle::kWhitewall); },
     E::kBinary},
    {0x01080203, [] { return BuildWheel(WheelPosition::kRear, WheelStyle::kCast); }, E::kText},
    // Schutzbleche
    {0x01090101, [] { return BuildMudguard(WheelPosition::kFront, MudguardStyle::kChrome); },
     E::kText},
    {0x01090102, [] { return BuildMudguard(WheelPosition::kFront, MudguardStyle::kPainted); },
     E::kText},
    {0x01090103, [] { return BuildMudguard(WheelPosition::kFront, MudguardStyle::kShort); },
     E::kText},
    {0x01090201, [] { return BuildMudguard(WheelPosition::kRear, MudguardStyle::kChrome); },
     E::kText},
    {0x01090202, [] { return BuildMudguard(WheelPosition::kRear, MudguardStyle::kPainted); },
     E::kText},
    {0x01090203, [] { return BuildMudguard(WheelPosition::kRear, MudguardStyle::kShort); },
     E::kText},
    // Beleuchtung
    {0x010A0101, [] { return BuildHeadlight(HeadlightStyle::kRound); }, E::kText},
    {0x010A0102, [] { return BuildHeadlight(HeadlightStyle::kRoundLarge); }, E::kText},
    {0x010A0103, [] { return BuildHeadlight(HeadlightStyle::kSquare); }, E::kText},
    {0x010A0201, [] { return BuildTailLight(TailLightStyle::kRound); }, E::kText},
    {0x010A0202, [] { return BuildTailLight(TailLightStyle::kSquare); }, E::kText},
    {0x010A0203, [] { return BuildTailLight(TailLightStyle::kSport); }, E::kText},
    // Zubehör
    {0x030B0101, [] { return BuildRearRack(); }, E::kText},
    {0x030B0102, [] { return BuildChainGuard(); }, E::kText},
    {0x030B0103, [] { return BuildSideStand(); }, E::kText},
    {0x030B0201, [] { return BuildSaddleBags(); }, E::kText},
    {0x030B0202, [] { return BuildTopCase(); }, E::kText},
    {0x030B0301, [] { return BuildWindscreen(); }, E::kText},
    {0x030B0302, [] { return BuildRaceNumberPlate(); }, E::kText},
    {0x030B0303, [] { return BuildCrashBar(); }, E::kText},
    // Halterungen
    {0x020C0101, [] { return BuildWindscreenBracket(); }, E::kText},
    {0x020C0102, [] { return BuildSaddleBagFrame(); }, E::kText},
    {0x020C0103, [] { return BuildTopCasePlate(); }, E::kText},
};

}  // namespace

const std::vector<PartSource>& DemoParts() {
  return kParts;
}

}  // namespace kbh
