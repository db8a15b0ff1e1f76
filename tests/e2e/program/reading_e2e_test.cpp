// The reading screens with the mouse: the seller's description and the help
// text scroll with their arrows; the seller panel shows the part's picture
// and the seller's logo.
#include "tests/e2e/support/journey_session.hpp"

namespace kbh {
namespace {

using testing::Region;

// The seller's description, and its down arrow.
constexpr Region kDescription{256, 206, 530, 484};
constexpr int kDescriptionArrowX = 527;
constexpr int kDescriptionArrowY = 482;
// The help panel, and its down arrow.
constexpr Region kHelpPanel{270, 578, 556, 700};
constexpr int kHelpArrowX = 552;
constexpr int kHelpArrowY = 699;

class ReadingE2eTest : public testing::JourneySession {
 protected:
  // Holds the arrow until the text stops moving: at its end.
  Image ScrollToEnd(int arrowX, int arrowY, Region text) {
    ScrollListFully(arrowX, arrowY, text);
    PointAt(testing::kRestX, testing::kRestY);
    return ScreenshotShowing([](const Image&) { return std::string(); });
  }
};

// One session reads both: the seller's description, then the help text.
TEST_F(ReadingE2eTest, SellerDescriptionAndHelpTextScrollWithTheirArrows) {
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
  ClickAndWaitForTheFrame();
  PointAt(testing::kRestX, testing::kRestY);
  const Image scrolled = ScreenshotShowing([&](const Image& shot) {
    return testing::CountDifferent(first, shot, kDescription) > 200 ? "" : "the text moved; ";
  });
  EXPECT_FALSE(testing::ShowsText(scrolled, testing::kSellerFont, "Der", 256, 206));
  EXPECT_EQ(Missing(scrolled, "../../data/logos/brenninger.dds", 456, 668), "");

  // The help opens at its first lines, one line step (15 pixels) apart.
  ClickTab(110, 740, "gui_menu_bHelp_active.dds");
  const Image top = ScreenshotShowing([&](const Image& shot) {
    std::string missing;
    if (!testing::ShowsText(shot, testing::kTextBoxFont, "Bei dieser Version", 270, 578)) {
      missing += "the help's first line; ";
    }
    if (!testing::ShowsText(shot, testing::kTextBoxFont, "ein Beta-Release.", 270, 593)) {
      missing += "the help's second line; ";
    }
    return missing;
  });
  const Image end = ScrollToEnd(kHelpArrowX, kHelpArrowY, kHelpPanel);
  EXPECT_GT(testing::CountDifferent(top, end, kHelpPanel), 500);
  EXPECT_FALSE(testing::ShowsText(end, testing::kTextBoxFont, "Bei dieser Version", 270, 578));
  // The text ends with the web site: a line, an empty one, and the address
  // indented by a tab, in the lowest lines of the panel.
  EXPECT_TRUE(testing::ShowsTextWithin(end, testing::kTextBoxFont, "Weitere Infos findest du auf",
                                       {270, 630, 272, 680}));
  EXPECT_TRUE(testing::ShowsTextWithin(end, testing::kTextBoxFont, "kolbenhof.example.org",
                                       {270, 660, 480, 690}));
  Quit();
}

}  // namespace
}  // namespace kbh
