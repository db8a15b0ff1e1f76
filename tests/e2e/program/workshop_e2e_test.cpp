// Journeys through the demo workshop with the mouse, checked by what a user
// sees: the status line, the vertex count and the pictures of the panels.
#include "tests/e2e/support/journey_session.hpp"

namespace kbh {
namespace {

using testing::Differs;
using testing::ShowsColour;

using WorkshopE2eTest = testing::JourneySession;

TEST_F(WorkshopE2eTest, ExchangingTheHandlebarShowsTheStatusFadesAndChangesTheVertexCount) {
  StartAndWaitUntilRunning();
  const Image before = ScreenshotShowing([](const Image&) { return std::string(); });
  // Lenker, Sportlenker, Crosslenker mit Strebe; then the build-in button.
  ClickRow(70, 593, 2);
  ClickRow(273, 624, 1);
  ClickRow(474, 654, 1);
  // Lit under the pointer once the part can be built in; pointed at off its
  // middle, so the pointer hides little of it.
  PointAt(712, 644);
  ScreenshotShowing(
      [&](const Image& shot) { return Missing(shot, "gui_TuneUp_bBuildIn_hover.dds", 666, 601); });
  QuickClick();
  // The status line in its red while the old handlebar fades out...
  ScreenshotShowing([](const Image& shot) {
    return ShowsColour(shot, 730, 598, 1000, 618, 0xFFDD5252) ? "" : "the status text; ";
  });
  // ...and gone once the new one has faded in, with another vertex count
  // (its digits start right of x 212, clear of "Frames: Calculating...").
  ScreenshotShowing([&](const Image& shot) {
    std::string missing;
    if (ShowsColour(shot, 730, 598, 1000, 618, 0xFFDD5252)) missing += "an empty status line; ";
    if (!Differs(shot, before, 212, 12, 300, 30)) missing += "a new vertex count; ";
    return missing;
  });
  Quit();
}

// The category list on TuneUp: eleven categories, six rows. At its end it
// shows Auspuff, Motor, R\xE4der, Schutzbleche, Beleuchtung, Zubeh\xF6r; at its
// start Rahmen, Gabel, Lenker, Tank, Sitzbank, Auspuff.
constexpr testing::Region kCategoryRows{72, 595, 195, 675};
constexpr int kCategoryArrowX = 203;
constexpr int kCategoryDownArrowY = 672;
constexpr int kCategoryUpArrowY = 596;

// One run through the kind-1 and the missing-file rules: the front wheel
// comes out (its slot is free then), another front wheel goes in, and the
// rally tank, whose model file the workshop lacks, is refused.
TEST_F(WorkshopE2eTest, FrontWheelOutAndInThenTheTankWithoutModelIsRefused) {
  StartAndWaitUntilRunning();
  const long standardCount = ReadableVertexCount();
  ASSERT_GT(standardCount, 0);

  ScrollListFully(kCategoryArrowX, kCategoryDownArrowY, kCategoryRows);
  ClickRow(70, 593, 2);   // R\xE4der
  ClickRow(273, 624, 0);  // Vorderrad, occupied by the standard wheel
  PointAt(testing::kRestX, testing::kRestY);
  ScreenshotShowing(
      [&](const Image& shot) { return Missing(shot, "gui_TuneUp_bDelete_active.dds", 208, 647); });

  // Ausbauen: the wheel fades out and goes; fewer vertices, the status line
  // empty again, the remove button no longer lit.
  PointAt(238, 672);
  ClickAndWaitForTheFrame();
  PointAt(testing::kRestX, testing::kRestY);
  long withoutWheel = -1;
  ScreenshotShowing([&](const Image& shot) {
    std::string missing;
    withoutWheel = testing::ReadVertexCount(shot);
    if (withoutWheel <= 0 || withoutWheel >= standardCount) missing += "fewer vertices; ";
    if (ShowsColour(shot, 730, 598, 1000, 628, testing::kStatusRed)) missing += "no status; ";
    missing += Missing(shot, "gui_TuneUp_bDelete.dds", 208, 647);
    return missing;
  });

  // The slot is free: the rear wheel's subcategory lights the remove button,
  // the front wheel's does not.
  ClickRow(273, 624, 1);
  PointAt(testing::kRestX, testing::kRestY);
  ScreenshotShowing(
      [&](const Image& shot) { return Missing(shot, "gui_TuneUp_bDelete_active.dds", 208, 647); });
  ClickRow(273, 624, 0);
  PointAt(testing::kRestX, testing::kRestY);
  ScreenshotShowing(
      [&](const Image& shot) { return Missing(shot, "gui_TuneUp_bDelete.dds", 208, 647); });

  // Gussrad f\xFCnf Speichen into the free slot: more vertices again, and the
  // remove button lit once it has faded in.
  ClickRow(474, 654, 2);
  PointAt(712, 644);
  ScreenshotShowing(
      [&](const Image& shot) { return Missing(shot, "gui_TuneUp_bBuildIn_hover.dds", 666, 601); });
  ClickAndWaitForTheFrame();
  PointAt(testing::kRestX, testing::kRestY);
  long withCastWheel = -1;
  ScreenshotShowing([&](const Image& shot) {
    std::string missing;
    withCastWheel = testing::ReadVertexCount(shot);
    if (withCastWheel <= withoutWheel) missing += "more vertices; ";
    if (ShowsColour(shot, 730, 598, 1000, 628, testing::kStatusRed)) missing += "no status; ";
    missing += Missing(shot, "gui_TuneUp_bDelete_active.dds", 208, 647);
    return missing;
  });

  // Tank, Sporttanks, Langtank Rallye: refused in two red lines, and the
  // moped stays as it was.
  ScrollListFully(kCategoryArrowX, kCategoryUpArrowY, kCategoryRows);
  ClickRow(70, 593, 3);
  ClickRow(273, 624, 1);
  ClickRow(474, 654, 1);
  PointAt(712, 644);
  ScreenshotShowing(
      [&](const Image& shot) { return Missing(shot, "gui_TuneUp_bBuildIn_hover.dds", 666, 601); });
  ClickAndWaitForTheFrame();
  PointAt(testing::kRestX, testing::kRestY);
  const Image refused = ScreenshotShowing([&](const Image& shot) {
    return testing::ShowsText(shot, testing::kStatusFont,
                              "MXA-Datei nicht gefunden\nEinbau nicht m\xF6glich!", 730, 600)
               ? ""
               : "the refusal in the status line; ";
  });
  EXPECT_EQ(testing::ReadVertexCount(refused), withCastWheel);
  EXPECT_EQ(Missing(refused, "gui_TuneUp_bBuildIn.dds", 666, 601), "");
  Quit();
}

}  // namespace
}  // namespace kbh
