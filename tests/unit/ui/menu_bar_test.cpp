// The menu bar on the recording device: what is drawn where for each active
// tab and pointer state, tab switching within one frame, the quit button,
// the workshop buttons of the active screen, and missing skin files.
#include "ui/menu_bar.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
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
using Pictures = std::vector<Seen>;

const char* const kTabs[7] = {"TuneUp", "Spray", "Seller", "Options", "Help", "Account", "Info"};
const char* const kLabels[7] = {"Tuneup", "Spray", "Seller", "Options", "Help", nullptr, "About"};

// Every file is a distinct opaque picture; tabs are 30 x 15, so even the
// four small ones at the bottom left do not overlap.
class MenuBarTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    for (const char* file : {"borderleft", "bordertop", "borderright", "borderbottom", "base",
                             "bTurnOff", "bTurnOff_active"})
      Gui(std::string("gui_menu_") + file, 20, 20);
    for (int i = 0; i < 7; ++i) {
      Gui(std::string("gui_menu_b") + kTabs[i], 30, 15);
      Gui(std::string("gui_menu_b") + kTabs[i] + "_active", 30, 15);
      if (kLabels[i] != nullptr) Gui(std::string("gui_menu_x") + kLabels[i], 40, 20);
    }
    for (const char* button : {"gui_TuneUp_bBuildIn", "gui_TuneUp_bDelete", "gui_Spray_bSpray"}) {
      for (const char* state : {"", "_hover", "_active"})
        Gui(std::string(button) + state, 50, 20);
    }
  }
  void Gui(const std::string& name, int width, int height) {
    WritePicture("gfx/gui/" + name + ".dds", width, height);
  }

  // Loads the bar and names its textures by their files, less "gui_" and
  // ".dds", for the drawing checks.
  void Load() {
    ASSERT_TRUE(menu.Load(graphics, Dir()));
    const auto name = [this](const std::unique_ptr<TextureRecord>& image, std::string text) {
      if (image) names_[image->texture.get()] = std::move(text);
    };
    const auto nameButton = [&](const Button& button, const std::string& file) {
      name(button.image, file);
      name(button.highlightImage, file + " highlight");
      name(button.selectedImage, file + " selected");
    };
    name(menu.borderLeft, "borderleft");
    name(menu.borderTop, "bordertop");
    name(menu.borderRight, "borderright");
    name(menu.borderBottom, "borderbottom");
    name(menu.base, "base");
    for (int i = 0; i < 7; ++i) {
      name(menu.labelImages[i], std::string("x") + (kLabels[i] ? kLabels[i] : ""));
      nameButton(menu.tabs[i], std::string("b") + kTabs[i]);
    }
    nameButton(menu.turnOff, "bTurnOff");
    nameButton(menu.buildIn, "bBuildIn");
    nameButton(menu.remove, "bDelete");
    nameButton(menu.spray, "bSpray");
  }

  // One frame of the bar: update with the pointer, then draw.
  Pictures Frame(int x, int y, uint32_t buttons = 0) {
    PointAt(x, y, buttons);
    menu.Update(context);
    ClearDrawn();
    menu.Draw(graphics);
    Pictures seen;
    for (const testing::Placed& placed : Drawn()) {
      const auto found = names_.find(placed.texture);
      seen.push_back({found != names_.end() ? found->second : "?", placed.x, placed.y});
    }
    return seen;
  }
  // The frame and the base panel, then more.
  static Pictures Bar(const Pictures& more) {
    Pictures seen{{"borderleft", 0, 0},
                  {"bordertop", 13, 0},
                  {"borderright", 1009, 0},
                  {"borderbottom", 757, 754},
                  {"base", 0, 515}};
    seen.insert(seen.end(), more.begin(), more.end());
    return seen;
  }

  MenuBar menu;

 private:
  std::map<TextureHandle, std::string> names_;
};

TEST_F(MenuBarTest, EachActiveTabShowsItsLabelAndItsActivePicture) {
  Load();
  EXPECT_EQ(menu.menuChanged, 1);
  EXPECT_EQ(menu.screenIndex, -1);
  const Pictures shown[7] = {
      {{"xTuneup", 25, 575}, {"bTuneUp highlight", 150, 520}},
      {{"xSpray", 25, 560}, {"bSpray highlight", 270, 520}},
      {{"xSeller", 25, 145}, {"bSeller highlight", 415, 520}},
      {{"xOptions", 31, 581}, {"bOptions highlight", 70, 720}},
      {{"xHelp", 154, 562}, {"bHelp highlight", 110, 740}},
      {},
      {{"xAbout", 154, 562}, {"bInfo highlight", 160, 740}},
  };
  for (int tab : {0, 1, 2, 3, 4, 6}) {
    SCOPED_TRACE(kTabs[tab]);
    menu.SetActiveTab(tab);
    EXPECT_EQ(Frame(512, 300), Bar(shown[tab]));
  }
}

TEST_F(MenuBarTest, HoveredTabsAndTheHoveredQuitButtonLightUp) {
  Load();
  menu.SetActiveTab(0);
  const Pictures tuneUp{{"xTuneup", 25, 575}, {"bTuneUp highlight", 150, 520}};
  EXPECT_EQ(Frame(285, 530), Bar({tuneUp[0], tuneUp[1], {"bSpray highlight", 270, 520}}));
  EXPECT_EQ(Frame(175, 750), Bar({tuneUp[0], tuneUp[1], {"bInfo highlight", 160, 740}}));
  EXPECT_EQ(Frame(30, 745), Bar({tuneUp[0], {"bTurnOff highlight", 15, 735}, tuneUp[1]}));
  EXPECT_EQ(Frame(150, 727), Bar(tuneUp)) << "the Account tab is never hovered";

  // The quit button: also a click within one poll; strict at its left edge.
  for (const auto& [x, buttons, clicked] : {std::tuple{30, kPressed, true},
                                            {30, kButtonHeld, false},
                                            {30, kButtonWentDown, true},
                                            {15, kPressed, false}}) {
    Frame(x, 745, buttons);
    EXPECT_EQ(menu.turnOff.IsClicked(), clicked) << x << " " << buttons;
  }
}

TEST_F(MenuBarTest, ATabClickSwitchesTheLabelInTheSameFrameButTheActiveTabSetsNothing) {
  Load();
  menu.SetActiveTab(0);
  menu.menuChanged = 0;
  EXPECT_EQ(Frame(430, 530, kPressed),
            Bar({{"xSeller", 25, 145}, {"bSeller highlight", 415, 520}}));
  EXPECT_EQ(menu.screenIndex, 2);
  EXPECT_EQ(menu.menuChanged, 1);

  menu.menuChanged = 0;
  Frame(430, 530, kPressed);
  Frame(150, 727, kPressed);  // Account
  menu.SetActiveTab(2);
  menu.SetActiveTab(7);
  EXPECT_EQ(menu.screenIndex, 2);
  EXPECT_EQ(menu.menuChanged, 0);

  // A click shorter than a frame switches too.
  EXPECT_EQ(Frame(85, 727, kButtonWentDown),
            Bar({{"xOptions", 31, 581}, {"bOptions highlight", 70, 720}}));
  EXPECT_EQ(menu.screenIndex, 3);
}

TEST_F(MenuBarTest, WorkshopButtonsShowOnlyOnTheirScreenWhenHoveredOrSelected) {
  Load();
  menu.SetActiveTab(0);
  const Pictures tuneUp = Bar({{"xTuneup", 25, 575}, {"bTuneUp highlight", 150, 520}});
  EXPECT_EQ(Frame(680, 610), tuneUp) << "disabled buttons are neither hovered nor drawn";
  menu.buildIn.Enable();
  menu.remove.Enable();
  EXPECT_EQ(Frame(680, 610), Bar({tuneUp[5], tuneUp[6], {"bBuildIn highlight", 666, 601}}));
  EXPECT_EQ(Frame(512, 300), tuneUp) << "enabled but idle: the label shows it";
  menu.remove.Select();
  EXPECT_EQ(Frame(512, 300), Bar({tuneUp[5], tuneUp[6], {"bDelete selected", 208, 647}}));
  EXPECT_EQ(Frame(220, 655, kPressed),
            Bar({tuneUp[5], tuneUp[6], {"bDelete highlight", 208, 647}}));

  // On Spray the TuneUp buttons are neither updated nor drawn: their bits
  // wait as they were.
  menu.SetActiveTab(1);
  menu.spray.Enable();
  EXPECT_EQ(
      Frame(560, 605),
      Bar({{"xSpray", 25, 560}, {"bSpray highlight", 270, 520}, {"bSpray highlight", 541, 596}}));
  EXPECT_TRUE(menu.remove.IsClicked());
}

TEST_F(MenuBarTest, MissingFilesLeaveEmptySlotsThatAreNeverDrawnOrHovered) {
  std::filesystem::remove(dir / "gfx/gui/gui_menu_bSpray.dds");
  std::filesystem::remove(dir / "gfx/gui/gui_menu_bSpray_active.dds");
  Load();
  menu.SetActiveTab(0);
  EXPECT_EQ(Frame(285, 530, kPressed),
            Bar({{"xTuneup", 25, 575}, {"bTuneUp highlight", 150, 520}}));
  EXPECT_EQ(menu.screenIndex, 0);
  menu.SetActiveTab(1);
  EXPECT_EQ(Frame(512, 300), Bar({{"xSpray", 25, 560}}));

  // Labels blend as asked; release frees every picture.
  menu.SetLabelBlend(50);
  EXPECT_EQ(menu.labelImages[6]->blend, 50);
  menu.Release();
  EXPECT_EQ(device().LiveTextures(), 0u);
  EXPECT_TRUE(MenuBar{}.Load(graphics, ProgramDir{dir / "nowhere"}));
}

}  // namespace
}  // namespace kbh
