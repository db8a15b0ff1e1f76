// The reading screens with the mouse: the seller's description scrolls with
// its arrow beside the part's picture and the seller's logo.
#include "tests/e2e/support/journey_session.hpp"

namespace kbh {
namespace {

using testing::Region;

// The seller's description, and its down arrow.
constexpr Region kDescription{256, 206, 530, 484};
constexpr int kDescriptionArrowX = 527;
constexpr int kDescriptionArrowY = 482;
using ReadingE2eTest = testing::JourneySession;

TEST_F(ReadingE2eTest, SellerDescriptionScrollsBesideThePictureAndTheLogo) {
  StartAndWaitUntilRunning();
  ClickTab(415, 520, "gui_menu_bSeller_active.dds");
  // The first row, Rahmen, is chosen: its seller's logo and its picture.
  const Image first = ScreenshotShowing([&](const Image& shot) {
    std::string missing = Missing(shot, "../../data/logos/brenninger.dds", 456, 668);
    const int lit = testing::CountPixels(
        shot, {511, 166, 746, 335}, [](uint32_t colour) { return testing::Dominated(colour, 16); });
    if (lit < 500) missing += "the red frame in the part's picture; ";
    if (!testing::ShowsText(shot, testing::kSellerFont, "Der", 256, 206)) {
      missing += "the description's first word; ";
    }
    return missing;
  });
  // A long text: it scrolls, and its first word leaves the top line.
  PointAt(kDescriptionArrowX, kDescriptionArrowY);
  HoldClick();
  PointAt(testing::kRestX, testing::kRestY);
  const Image scrolled = ScreenshotShowing([&](const Image& shot) {
    return testing::CountDifferent(first, shot, kDescription) > 200 ? "" : "the text moved; ";
  });
  EXPECT_FALSE(testing::ShowsText(scrolled, testing::kSellerFont, "Der", 256, 206));
  EXPECT_EQ(Missing(scrolled, "../../data/logos/brenninger.dds", 456, 668), "");
  Quit();
}

}  // namespace
}  // namespace kbh
