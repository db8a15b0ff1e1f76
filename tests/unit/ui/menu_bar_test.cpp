// The menu bar on the recording device: what is drawn where for each active
// tab and pointer state, tab switching within one frame, the quit button,
// the workshop buttons of the active screen, and missing skin files.
#include "ui/menu_bar.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

constexpr uint32_t kPressed = kButtonHeld | kButtonWentDown;

struct Seen {
  std::string name;
  int x, y;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
  *out << seen.name << " at (" << seen.x << ", " << seen.y << ")";
}

const char* const kTabNames[7] = {"TuneUp", "Spray",   "Seller", "Options",
                                  "Help",   "Account", "Info"};
const char* const kLabelFiles[7] = {"gui_menu_xTuneup.dds", "gui_menu_xSpray.dds",
                                    "gui_menu_xSeller.dds", "gui_menu_xOptions.dds",
                                    "gui_menu_xHelp.dds",   nullptr,
                                    "gui_menu_xAbout.dds"};

// Tabs are 30 x 15, so even the four small ones at the bottom left do not
// overlap; every picture is opaque, so each is hit over its whole inside.
class MenuBarTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Gui("gui_menu_borderleft.dds", 13, 20);
    Gui("gui_menu_bordertop.dds", 20, 13);
    Gui("gui_menu_borderright.dds", 15, 20);
    Gui("gui_menu_borderbottom.dds", 20, 14);
    Gui("gui_menu_base.dds", 64, 32, FMT_X8R8G8B8);
    Gui("gui_menu_bTurnOff.dds", 40, 20);
    Gui("gui_menu_bTurnOff_active.dds", 40, 20);
    for (int i = 0; i < 7; ++i) {
      Gui(std::string("gui_menu_b") + kTabNames[i] + ".dds", 30, 15);
      Gui(std::string("gui_menu_b") + kTabNames[i] + "_active.dds", 30, 15);
      if (kLabelFiles[i] != nullptr) Gui(kLabelFiles[i], 40, 20);
    }
    for (const char* button : {"gui_TuneUp_bBuildIn", "gui_TuneUp_bDelete", "gui_Spray_bSpray"}) {
      for (const char* state : {"", "_hover", "_active"})
        Gui(std::string(button) + state + ".dds", 50, 20);
    }
  }
  void Gui(const std::string& file, int width, int height, Format format = FMT_A8R8G8B8) {
    WritePicture("gfx/gui/" + file, width, height, format, 0xFF40A0C0);
  }

  // Loads the bar and names each of its textures for the drawing checks.
  void Load() {
    ASSERT_TRUE(menu.Load(graphics, Dir()));
    const auto name = [this](const std::unique_ptr<TextureRecord>& image, std::string text) {
      if (image) names_[image->texture.get()] = std::move(text);
    };
    name(menu.borderLeft, "border left");
    name(menu.borderTop, "border top");
    name(menu.borderRight, "border right");
    name(menu.borderBottom, "border bottom");
    name(menu.base, "base");
    for (int i = 0; i < 7; ++i) {
      name(menu.labelImages[i], std::string(kTabNames[i]) + " label");
      name(menu.tabs[i].image, kTabNames[i]);
      name(menu.tabs[i].highlightImage, std::string(kTabNames[i]) + " active");
    }
    name(menu.turnOff.image, "quit");
    name(menu.turnOff.highlightImage, "quit active");
    for (auto [button, text] :
         {std::pair{&menu.buildIn, "build in"}, std::pair{&menu.remove, "remove"},
          std::pair{&menu.spray, "spray"}}) {
      name(button->image, text);
      name(button->highlightImage, std::string(text) + " hover");
      name(button->selectedImage, std::string(text) + " active");
    }
  }

  // One frame of the bar: update with the pointer, then draw.
  std::vector<Seen> Frame(int x, int y, uint32_t buttons = 0) {
    PointAt(x, y, buttons);
    menu.Update(context);
    ClearDrawn();
    menu.Draw(graphics);
    std::vector<Seen> seen;
    for (const testing::Placed& placed : Drawn()) {
      const auto found = names_.find(placed.texture);
      seen.push_back({found != names_.end() ? found->second : "?", placed.x, placed.y});
    }
    return seen;
  }

  static std::vector<Seen> Frame0() {
    return {{"border left", 0, 0},
            {"border top", 13, 0},
            {"border right", 1009, 0},
            {"border bottom", 757, 754},
            {"base", 0, 515}};
  }
  static std::vector<Seen> With(std::vector<Seen> seen, const std::vector<Seen>& more) {
    seen.insert(seen.end(), more.begin(), more.end());
    return seen;
  }

  MenuBar menu;

 private:
  std::map<TextureHandle, std::string> names_;
};

TEST_F(MenuBarTest, LoadLeavesTheBarAsStartUpExpectsIt) {
  Load();
  EXPECT_EQ(menu.menuChanged, 1);
  EXPECT_EQ(menu.screenIndex, -1);
  EXPECT_EQ(menu.turnOff.flags, 0);
  EXPECT_EQ(menu.tabs[5].flags, Button::kDisabled) << "Account";
  for (const Button* button : {&menu.buildIn, &menu.remove, &menu.spray})
    EXPECT_EQ(button->flags, Button::kDisabled);
  EXPECT_EQ(menu.labelImages[5], nullptr);
  EXPECT_EQ(menu.buildIn.x, 666);
  EXPECT_EQ(menu.remove.y, 647);
  EXPECT_EQ(menu.spray.x, 541);
  EXPECT_EQ(menu.turnOff.y, 735);
}

TEST_F(MenuBarTest, EachActiveTabShowsItsLabelAndItsActivePicture) {
  Load();
  struct Case {
    int tab;
    std::vector<Seen> shown;
  };
  const Case cases[] = {
      {0, {{"TuneUp label", 25, 575}, {"TuneUp active", 150, 520}}},
      {1, {{"Spray label", 25, 560}, {"Spray active", 270, 520}}},
      {2, {{"Seller label", 25, 145}, {"Seller active", 415, 520}}},
      {3, {{"Options label", 31, 581}, {"Options active", 70, 720}}},
      {4, {{"Help label", 154, 562}, {"Help active", 110, 740}}},
      {6, {{"Info label", 154, 562}, {"Info active", 160, 740}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(kTabNames[c.tab]);
    menu.SetActiveTab(c.tab);
    EXPECT_EQ(Frame(512, 300), With(Frame0(), c.shown));
  }
}

TEST_F(MenuBarTest, HoveredTabsAndTheHoveredQuitButtonLightUp) {
  Load();
  menu.SetActiveTab(0);
  EXPECT_EQ(Frame(285, 530), With(Frame0(), {{"TuneUp label", 25, 575},
                                             {"TuneUp active", 150, 520},
                                             {"Spray active", 270, 520}}));
  EXPECT_EQ(Frame(175, 750), With(Frame0(), {{"TuneUp label", 25, 575},
                                             {"TuneUp active", 150, 520},
                                             {"Info active", 160, 740}}));
  EXPECT_EQ(Frame(30, 745), With(Frame0(), {{"TuneUp label", 25, 575},
                                            {"quit active", 15, 735},
                                            {"TuneUp active", 150, 520}}));
  EXPECT_FALSE(menu.turnOff.IsClicked());
  EXPECT_EQ(menu.menuChanged, 1) << "hovering changes nothing";
}

TEST_F(MenuBarTest, ATabClickSwitchesTheLabelInTheSameFrame) {
  Load();
  menu.SetActiveTab(0);
  menu.menuChanged = 0;
  EXPECT_EQ(Frame(430, 530, kPressed),
            With(Frame0(), {{"Seller label", 25, 145}, {"Seller active", 415, 520}}));
  EXPECT_EQ(menu.screenIndex, 2);
  EXPECT_EQ(menu.menuChanged, 1);
  EXPECT_TRUE(menu.tabs[0].IsSelected()) << "the old tab keeps its bit, unseen";

  menu.menuChanged = 0;
  Frame(430, 530, kPressed);
  EXPECT_EQ(menu.menuChanged, 0) << "the active tab again";

  // A click shorter than a frame switches too.
  EXPECT_EQ(Frame(85, 727, kButtonWentDown),
            With(Frame0(), {{"Options label", 31, 581}, {"Options active", 70, 720}}));
  EXPECT_EQ(menu.screenIndex, 3);
  EXPECT_EQ(menu.menuChanged, 1);
}

TEST_F(MenuBarTest, TheAccountTabIsNeverHoveredClickedOrDrawn) {
  Load();
  menu.SetActiveTab(0);
  menu.menuChanged = 0;
  EXPECT_EQ(Frame(150, 727, kPressed),
            With(Frame0(), {{"TuneUp label", 25, 575}, {"TuneUp active", 150, 520}}));
  EXPECT_EQ(menu.screenIndex, 0);
  EXPECT_EQ(menu.menuChanged, 0);
}

TEST_F(MenuBarTest, TheQuitButtonReportsClicksIncludingOnesWithinOnePoll) {
  Load();
  menu.SetActiveTab(0);
  Frame(30, 745, kPressed);
  EXPECT_TRUE(menu.turnOff.IsClicked());
  Frame(30, 745, kButtonHeld);
  EXPECT_FALSE(menu.turnOff.IsClicked());
  Frame(30, 745, kButtonWentDown);
  EXPECT_TRUE(menu.turnOff.IsClicked());
  Frame(14, 745, kPressed);
  EXPECT_FALSE(menu.turnOff.IsClicked()) << "left of its edge";
}

TEST_F(MenuBarTest, WorkshopButtonsShowOnlyOnTheirScreenWhenHoveredOrSelected) {
  Load();
  menu.SetActiveTab(0);
  const std::vector<Seen> tuneUp =
      With(Frame0(), {{"TuneUp label", 25, 575}, {"TuneUp active", 150, 520}});
  EXPECT_EQ(Frame(680, 610), tuneUp) << "disabled buttons are neither hovered nor drawn";

  menu.buildIn.Enable();
  menu.remove.Enable();
  EXPECT_EQ(Frame(680, 610), With(tuneUp, {{"build in hover", 666, 601}}));
  EXPECT_EQ(Frame(512, 300), tuneUp) << "enabled but idle: the label shows it";
  menu.remove.Select();
  EXPECT_EQ(Frame(512, 300), With(tuneUp, {{"remove active", 208, 647}}));
  EXPECT_EQ(Frame(220, 655, kPressed), With(tuneUp, {{"remove hover", 208, 647}}));
  EXPECT_TRUE(menu.remove.IsClicked());

  // On Spray the TuneUp buttons are neither updated nor drawn: their bits
  // wait as they were.
  menu.SetActiveTab(1);
  const std::vector<Seen> spray =
      With(Frame0(), {{"Spray label", 25, 560}, {"Spray active", 270, 520}});
  EXPECT_EQ(Frame(560, 605), spray);
  EXPECT_TRUE(menu.remove.IsClicked());
  EXPECT_TRUE(menu.remove.IsHovered());
  menu.spray.Enable();
  EXPECT_EQ(Frame(560, 605), With(spray, {{"spray hover", 541, 596}}));
}

TEST_F(MenuBarTest, MissingFilesLeaveEmptySlotsThatAreNeverDrawnOrHovered) {
  std::filesystem::remove(log.Dir() / "gfx/gui/gui_menu_bSpray.dds");
  std::filesystem::remove(log.Dir() / "gfx/gui/gui_menu_bSpray_active.dds");
  std::filesystem::remove(log.Dir() / "gfx/gui/gui_menu_base.dds");
  Load();
  menu.SetActiveTab(0);
  menu.menuChanged = 0;
  std::vector<Seen> expected = Frame0();
  expected.pop_back();  // no base
  EXPECT_EQ(Frame(285, 530, kPressed),
            With(expected, {{"TuneUp label", 25, 575}, {"TuneUp active", 150, 520}}));
  EXPECT_EQ(menu.screenIndex, 0);
  menu.SetActiveTab(1);
  EXPECT_EQ(Frame(512, 300), With(expected, {{"Spray label", 25, 560}}));

  MenuBar empty;
  EXPECT_TRUE(empty.Load(graphics, ProgramDir{(log.Dir() / "nowhere")}));
  empty.SetActiveTab(0);
  PointAt(160, 525, kPressed);
  empty.Update(context);
  ClearDrawn();
  empty.Draw(graphics);
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(MenuBarTest, SetActiveTabIgnoresTheActiveTabAndIndexesOutsideTheBar) {
  Load();
  menu.menuChanged = 0;
  for (int index : {-1, 7, 100}) {
    menu.SetActiveTab(index);
    EXPECT_EQ(menu.screenIndex, -1);
  }
  EXPECT_EQ(menu.menuChanged, 0);
  menu.SetActiveTab(4);
  EXPECT_EQ(menu.menuChanged, 1);
  EXPECT_TRUE(menu.tabs[4].IsSelected());
  menu.menuChanged = 0;
  menu.SetActiveTab(4);
  EXPECT_EQ(menu.menuChanged, 0);
}

TEST_F(MenuBarTest, LabelBlendReachesEveryLabelAndReleaseFreesEverything) {
  const size_t before = device().LiveTextures();
  Load();
  menu.SetLabelBlend(50);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    if (i == 5) continue;
    EXPECT_EQ(menu.labelImages[i]->blend, 50);
  }
  // 5 frame pictures, 2 for the quit button, 6 labels, 14 tab pictures, 9
  // for the workshop buttons.
  EXPECT_EQ(device().LiveTextures(), before + 36);
  menu.Release();
  EXPECT_EQ(device().LiveTextures(), before);
}

}  // namespace
}  // namespace kbh
