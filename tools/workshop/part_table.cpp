#include "tools/workshop/part_table.hpp"

namespace kbh {

namespace {

using E = XEncoding;

// Lambdas without captures turn into plain function pointers.
const std::vector<PartSource> kParts = {
    // Rahmen
    {0x00010101, [] { return BuildFrame(FrameStyle::Classic); }, E::Text},
    {0x00010102, [] { return BuildFrame(FrameStyle::Sport); }, E::Binary},
    {0x00010103, [] { return BuildFrame(FrameStyle::Touring); }, E::CompressedBinary},
    // Gabel
    {0x00020101, [] { return BuildFork(ForkStyle::Gaiters); }, E::Text},
    {0x00020102, [] { return BuildFork(ForkStyle::Chrome); }, E::Text},
    {0x00020201, [] { return BuildFork(ForkStyle::Raised10); }, E::Text},
    {0x00020202, [] { return BuildFork(ForkStyle::Raised20); }, E::CompressedText},
    // Lenker
    {0x00030101, [] { return BuildHandlebar(HandlebarStyle::HighRise); }, E::Text},
    {0x00030102, [] { return BuildHandlebar(HandlebarStyle::Touring); }, E::Text},
    {0x00030201, [] { return BuildHandlebar(HandlebarStyle::Flat); }, E::Text},
    {0x00030202, [] { return BuildHandlebar(HandlebarStyle::Braced); }, E::Binary},
    // Tank
    {0x00040101, [] { return BuildTank(TankStyle::Teardrop); }, E::Text},
    {0x00040102, [] { return BuildTank(TankStyle::ChromeFlanks); }, E::Text},
    {0x00040201, [] { return BuildTank(TankStyle::LongSport); }, E::Text},
    // Sitzbank: the standard seat is binary, so a start-up meets that encoding.
    {0x00050101, [] { return BuildSeat(SeatStyle::Bench); }, E::Binary},
    {0x00050102, [] { return BuildSeat(SeatStyle::Comfort); }, E::Text},
    {0x00050201, [] { return BuildSeat(SeatStyle::RacingHump); }, E::Text},
    // Auspuff
    {0x00060101, [] { return BuildExhaust(ExhaustStyle::Upswept); }, E::CompressedText},
    {0x00060102, [] { return BuildExhaust(ExhaustStyle::UpsweptBlack); }, E::Text},
    {0x00060201, [] { return BuildExhaust(ExhaustStyle::Expansion); }, E::Text},
    {0x00060301, [] { return BuildExhaust(ExhaustStyle::LowTouring); }, E::Text},
    // Motor: the largest standard part, compressed.
    {0x00070101, [] { return BuildEngine(EngineStyle::Standard); }, E::CompressedBinary},
    {0x00070102, [] { return BuildEngine(EngineStyle::Black); }, E::Text},
    {0x00070201, [] { return BuildEngine(EngineStyle::BigFins); }, E::Text},
    // Räder
    {0x01080101, [] { return BuildWheel(WheelPosition::Front, WheelStyle::Spoked); }, E::Text},
    {0x01080102, [] { return BuildWheel(WheelPosition::Front, WheelStyle::Whitewall); }, E::Text},
    {0x01080103, [] { return BuildWheel(WheelPosition::Front, WheelStyle::Cast); }, E::Text},
    {0x01080201, [] { return BuildWheel(WheelPosition::Rear, WheelStyle::Spoked); }, E::Text},
    {0x01080202, [] { return BuildWheel(WheelPosition::Rear, WheelStyle::Whitewall); }, E::Binary},
    {0x01080203, [] { return BuildWheel(WheelPosition::Rear, WheelStyle::Cast); }, E::Text},
    // Schutzbleche
    {0x01090101, [] { return BuildMudguard(WheelPosition::Front, MudguardStyle::Chrome); },
     E::Text},
    {0x01090102, [] { return BuildMudguard(WheelPosition::Front, MudguardStyle::Painted); },
     E::Text},
    {0x01090103, [] { return BuildMudguard(WheelPosition::Front, MudguardStyle::Short); }, E::Text},
    {0x01090201, [] { return BuildMudguard(WheelPosition::Rear, MudguardStyle::Chrome); }, E::Text},
    {0x01090202, [] { return BuildMudguard(WheelPosition::Rear, MudguardStyle::Painted); },
     E::Text},
    {0x01090203, [] { return BuildMudguard(WheelPosition::Rear, MudguardStyle::Short); }, E::Text},
    // Beleuchtung
    {0x010A0101, [] { return BuildHeadlight(HeadlightStyle::Round); }, E::Text},
    {0x010A0102, [] { return BuildHeadlight(HeadlightStyle::RoundLarge); }, E::Text},
    {0x010A0103, [] { return BuildHeadlight(HeadlightStyle::Square); }, E::Text},
    {0x010A0201, [] { return BuildTailLight(TailLightStyle::Round); }, E::Text},
    {0x010A0202, [] { return BuildTailLight(TailLightStyle::Square); }, E::Text},
    {0x010A0203, [] { return BuildTailLight(TailLightStyle::Sport); }, E::Text},
    // Zubehör
    {0x030B0101, [] { return BuildRearRack(); }, E::Text},
    {0x030B0102, [] { return BuildChainGuard(); }, E::Text},
    {0x030B0103, [] { return BuildSideStand(); }, E::Text},
    {0x030B0201, [] { return BuildSaddleBags(); }, E::Text},
    {0x030B0202, [] { return BuildTopCase(); }, E::Text},
    {0x030B0301, [] { return BuildWindscreen(); }, E::Text},
    {0x030B0302, [] { return BuildRaceNumberPlate(); }, E::Text},
    {0x030B0303, [] { return BuildCrashBar(); }, E::Text},
    // Halterungen
    {0x020C0101, [] { return BuildWindscreenBracket(); }, E::Text},
    {0x020C0102, [] { return BuildSaddleBagFrame(); }, E::Text},
    {0x020C0103, [] { return BuildTopCasePlate(); }, E::Text},
};

}  // namespace

const std::vector<PartSource>& DemoParts() {
  return kParts;
}

}  // namespace kbh
