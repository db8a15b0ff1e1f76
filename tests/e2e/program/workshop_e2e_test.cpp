// Journeys through the demo workshop with the mouse, checked by what a user
// sees: the status line, the vertex count and the pictures of the panels.
#include "tests/e2e/support/program_session.hpp"
#include "tests/support/skip.hpp"

namespace kbh {
namespace {

// Whether any pixel of the rectangle is close to colour.
bool ShowsColour(const Image& shot, int left, int top, int right, int bottom, uint32_t colour) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (testing::Distance(shot.texels[size_t(y) * shot.width + x], colour) <= 40) return true;
    }
  }
  return false;
}

// Whether two screenshots differ anywhere in the rectangle.
bool Differs(const Image& a, const Image& b, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const size_t at = size_t(y) * a.width + x;
      if (testing::Distance(a.texels[at], b.texels[at]) > 40) return true;
    }
  }
  return false;
}

class WorkshopE2eTest : public testing::ProgramSession {
 protected:
  void SetUp() override {
    ProgramSession::SetUp();
    if (IsSkipped()) return;
    if (!std::filesystem::exists(workshop / "gfx/gui/gui_menu_base.dds")) {
      KBH_SKIP_OR_FAIL() << "the journeys need the demo workshop";
    }
  }
  // Clicks row `row` of a list whose top-left corner is (x, y), and waits
  // until its selection bar shows: rows are 13 pixels high (the main font's
  // line height), the bar starts 2 pixels below the list's top.
  void ClickRow(int x, int y, int row) {
    const int top = y + 2 + 13 * row;
    PointAt(x + 30, top + 6);
    HoldClick();
    const Image bar = Picture("gui_scrollbox_itembg.dds");
    const uint32_t barColour = bar.texels[size_t(bar.height / 2) * bar.width + bar.width / 2];
    ScreenshotShowing([&](const Image& shot) {
      return ShowsColour(shot, x + 1, top + 5, x + 4, top + 8, barColour)
                 ? ""
                 : "the selection bar in row " + std::to_string(row) + "; ";
    });
  }
};

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
  Key("Escape");
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_TRUE(testing::IsWholeRun(testing::AfterDevice(Log()))) << Log();
}

}  // namespace
}  // namespace kbh
