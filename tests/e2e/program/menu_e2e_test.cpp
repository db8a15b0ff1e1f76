// The menu bar with the mouse, as a person uses it: the program's own
// pointer, a tab lit under it, a click held across frames and a quick one
// that both switch the screen, and the quit button.
#include <algorithm>

#include "tests/e2e/support/program_session.hpp"
#include "tests/support/skip.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {
namespace {

class MenuE2eTest : public testing::ProgramSession {
 protected:
  void SetUp() override {
    ProgramSession::SetUp();
    if (IsSkipped()) return;
    if (!std::filesystem::exists(workshop / "gfx/gui/gui_menu_base.dds")) {
      KBH_SKIP_OR_FAIL() << "the workshop has no interface pictures";
    }
  }

  // The part of the Help screen's label left of its text panel, which is
  // drawn over the rest of it.
  std::string MissingHelpLabel(const Image& shot, layout::Point at) {
    const Image label = Picture("gui_menu_xHelp.dds");
    Image uncovered = label;
    uncovered.width = std::min(label.width, layout::kTextPanel.x - at.x);
    uncovered.texels.clear();
    for (int y = 0; y < label.height; ++y) {
      const auto row = label.texels.begin() + static_cast<ptrdiff_t>(y) * label.width;
      uncovered.texels.insert(uncovered.texels.end(), row, row + uncovered.width);
    }
    const std::string mismatch = testing::PictureMismatch(shot, uncovered, at.x, at.y);
    return mismatch.empty() ? "" : "gui_menu_xHelp.dds left of the text panel " + mismatch;
  }

  // The middle of a tab's hit mask, where it is certainly opaque.
  layout::Point MiddleOf(const Image& mask, layout::Point at) {
    return {at.x + mask.width / 2, at.y + mask.height / 2};
  }
};

TEST_F(MenuE2eTest, TheMouseLightsTabsSwitchesScreensAndQuits) {
  StartAndWaitUntilRunning();
  // Tab positions and cursor hot spot as the interface places them.
  const layout::Point tuneUpLabel{25, 575};
  const layout::Point sprayTab{270, 520};
  const layout::Point sprayLabel{25, 560};
  const layout::Point helpTab{110, 740};
  const layout::Point helpLabel{154, 562};
  const layout::Point turnOff{15, 735};

  const layout::Point overSpray = MiddleOf(Picture("gui_menu_bSpray.dds"), sprayTab);
  PointAt(overSpray.x, overSpray.y);
  ScreenshotShowing([&](const Image& shot) {
    return Missing(shot, "gui_menu_bSpray_active.dds", sprayTab.x, sprayTab.y) +
           Missing(shot, "gui_menu_xTuneup.dds", tuneUpLabel.x, tuneUpLabel.y) +
           Missing(shot, "gui_Cursor_Normal.dds", overSpray.x - 6, overSpray.y - 2);
  });

  HoldClick();
  ScreenshotShowing([&](const Image& shot) {
    return Missing(shot, "gui_menu_xSpray.dds", sprayLabel.x, sprayLabel.y);
  });

  const layout::Point overHelp = MiddleOf(Picture("gui_menu_bHelp.dds"), helpTab);
  PointAt(overHelp.x, overHelp.y);
  QuickClick();
  ScreenshotShowing([&](const Image& shot) {
    return MissingHelpLabel(shot, helpLabel) +
           Missing(shot, "gui_menu_bHelp_active.dds", helpTab.x, helpTab.y);
  });

  // Pushed past the screen's edges the pointer stops at the last pixel;
  // nothing there reacts, and the program runs on.
  Xdotool({"mousemove_relative", "--", "5000", "5000"});
  QuickClick();
  ScreenshotShowing([&](const Image& shot) { return MissingHelpLabel(shot, helpLabel); });

  const layout::Point overTurnOff = MiddleOf(Picture("gui_menu_bTurnOff.dds"), turnOff);
  // Off its middle, so the pointer hides little of the lit button.
  PointAt(overTurnOff.x + 7, overTurnOff.y + 7);
  ScreenshotShowing([&](const Image& shot) {
    return Missing(shot, "gui_menu_bTurnOff_active.dds", turnOff.x, turnOff.y);
  });
  QuickClick();
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_TRUE(testing::IsWholeRun(testing::AfterDevice(Log()))) << Log();
}

}  // namespace
}  // namespace kbh
