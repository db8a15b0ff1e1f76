#include "tests/e2e/soak/soak_plan.hpp"

#include <algorithm>
#include <utility>

namespace kbh::testing {

namespace {

using layout::Point;
using layout::Rect;

// Kept clear of the turn-off button's picture all round, in case the
// pointer lands a pixel away from where it was sent.
constexpr int kTurnOffMargin = 6;

void AddIfDrawn(std::vector<SoakTarget>& screen, std::string name, Rect area,
                bool dragAlong = false) {
  if (area.width > 0 && area.height > 0) screen.push_back({std::move(name), area, dragAlong});
}

Rect PictureAt(const PictureSize& pictureSize, Point at, const char* file) {
  const Point size = pictureSize(file);
  return {at.x, at.y, size.x, size.y};
}

// A list's rows and the arrows of its scroll bar, which hangs outside the
// box on the right.
void AddList(std::vector<SoakTarget>& screen, const PictureSize& pictureSize,
             const std::string& name, const layout::ListPlace& place) {
  const Point up = pictureSize("gui_scrollbox_arrowup.dds");
  const Point down = pictureSize("gui_scrollbox_arrowdown.dds");
  const int right = place.at.x + place.width + layout::kScrollBarRightOverhang;
  const int bottom = place.at.y + layout::kListHeight + layout::kScrollBarVerticalOverhang;
  AddIfDrawn(screen, name + " rows",
             {place.at.x, place.at.y, place.width - layout::kScrollBarRoom, layout::kListHeight});
  AddIfDrawn(screen, name + " up arrow",
             {right - up.x, place.at.y - layout::kScrollBarVerticalOverhang, up.x, up.y});
  AddIfDrawn(screen, name + " down arrow", {right - down.x, bottom - down.y, down.x, down.y});
}

// A scrolling text panel and its arrows on the right.
void AddTextPanel(std::vector<SoakTarget>& screen, const PictureSize& pictureSize,
                  const std::string& name, const Rect& panel) {
  const Point up = pictureSize("gui_textbox_arrowup.dds");
  const Point down = pictureSize("gui_textbox_arrowdown.dds");
  const int right = panel.x + panel.width + layout::kTextArrowRightOverhang;
  const int bottom = panel.y + panel.height + layout::kTextArrowVerticalOverhang;
  AddIfDrawn(screen, name, panel);
  AddIfDrawn(screen, name + " up arrow",
             {right - up.x, panel.y - layout::kTextArrowVerticalOverhang, up.x, up.y});
  AddIfDrawn(screen, name + " down arrow", {right - down.x, bottom - down.y, down.x, down.y});
}

constexpr const char* kTabNames[layout::kTabCount] = {"TuneUp", "Spray",   "Seller", "Options",
                                                      "Help",   "Account", "Info"};
constexpr const char* kTabPictures[layout::kTabCount] = {
    "gui_menu_bTuneUp.dds",  "gui_menu_bSpray.dds", "gui_menu_bSeller.dds",
    "gui_menu_bOptions.dds", "gui_menu_bHelp.dds",  "gui_menu_bAccount.dds",
    "gui_menu_bInfo.dds"};

}  // namespace

SoakTargets MakeSoakTargets(const PictureSize& pictureSize) {
  SoakTargets targets;
  for (int i = 0; i < layout::kTabCount; ++i) {
    targets.tabs[i] = {std::string(kTabNames[i]) + " tab",
                       PictureAt(pictureSize, layout::kTabs[i], kTabPictures[i])};
  }
  targets.turnOff = PictureAt(pictureSize, layout::kTurnOffButton, "gui_menu_bTurnOff.dds");

  std::vector<SoakTarget>& tuneUp = targets.screens[0];
  AddList(tuneUp, pictureSize, "category list", layout::kTuneUpCategoryList);
  AddList(tuneUp, pictureSize, "subcategory list", layout::kTuneUpSubcategoryList);
  AddList(tuneUp, pictureSize, "part list", layout::kTuneUpPartList);
  AddIfDrawn(tuneUp, "build-in button",
             PictureAt(pictureSize, layout::kBuildInButton, "gui_TuneUp_bBuildIn.dds"));
  AddIfDrawn(tuneUp, "remove button",
             PictureAt(pictureSize, layout::kRemoveButton, "gui_TuneUp_bDelete.dds"));

  std::vector<SoakTarget>& spray = targets.screens[1];
  AddList(spray, pictureSize, "Spray part list", layout::kSprayPartList);
  AddList(spray, pictureSize, "subset list", layout::kSpraySubsetList);
  AddIfDrawn(spray, "palette",
             PictureAt(pictureSize, layout::kPaletteOrigin, "gui_colsel_palette.dds"));
  const char* sliderNames[] = {"red slider", "green slider", "blue slider"};
  for (int i = 0; i < 3; ++i) {
    const Point track = layout::kColourSliders[i];
    AddIfDrawn(spray, sliderNames[i],
               {track.x, track.y - layout::kColourSliderGrabHeight / 2, layout::kColourSliderLength,
                layout::kColourSliderGrabHeight},
               true);
  }
  AddIfDrawn(spray, "finish up arrow",
             PictureAt(pictureSize, layout::kFinishUpArrow, "gui_colsel_arrow_up.dds"));
  AddIfDrawn(spray, "finish down arrow",
             PictureAt(pictureSize, layout::kFinishDownArrow, "gui_colsel_arrow_down.dds"));
  AddIfDrawn(spray, "spray button",
             PictureAt(pictureSize, layout::kSprayButton, "gui_Spray_bSpray.dds"));
  AddIfDrawn(spray, "preview", layout::kSprayPreview);

  std::vector<SoakTarget>& seller = targets.screens[2];
  AddList(seller, pictureSize, "Seller part list", layout::kSellerPartList);
  AddTextPanel(seller, pictureSize, "description", layout::kSellerDescription);

  AddTextPanel(targets.screens[4], pictureSize, "help text", layout::kTextPanel);
  AddTextPanel(targets.screens[6], pictureSize, "info text", layout::kTextPanel);
  return targets;
}

const std::vector<std::string>& SoakKeys() {
  static const std::vector<std::string> keys = {
      "w",         "w",      "a",   "q",       "1",         "space", "Return",  "Tab",
      "BackSpace", "Delete", "Up",  "Down",    "Left",      "Right", "Page_Up", "Home",
      "F1",        "F5",     "F12", "Shift_L", "Control_R", "Alt_R", "Super_L",
  };
  return keys;
}

SoakPlanner::SoakPlanner(uint32_t seed, SoakTargets targets)
    : random_(seed), targets_(std::move(targets)) {}

int SoakPlanner::Between(int low, int high) {
  // Modulo rather than a distribution: the same seed gives the same run with
  // any standard library.
  return low + static_cast<int>(random_() % static_cast<uint32_t>(high - low + 1));
}

Point SoakPlanner::Anywhere() {
  return {Between(0, 1023), Between(0, 767)};
}

Point SoakPlanner::Inside(const Rect& area) {
  return {Between(area.x, area.x + area.width - 1), Between(area.y, area.y + area.height - 1)};
}

bool SoakPlanner::OnTurnOff(Point point) const {
  const Rect& off = targets_.turnOff;
  return point.x >= off.x - kTurnOffMargin && point.x < off.x + off.width + kTurnOffMargin &&
         point.y >= off.y - kTurnOffMargin && point.y < off.y + off.height + kTurnOffMargin;
}

Point SoakPlanner::ClickableAnywhere() {
  Point point = Anywhere();
  while (OnTurnOff(point))
    point = Anywhere();
  return point;
}

SoakAction SoakPlanner::Next() {
  SoakAction action;
  auto click = [&](Point at, std::string target) {
    // Long holds let the arrows' auto-repeat run; short ones are clicks.
    const bool held = Between(0, 9) < 4;
    action.kind = held ? SoakAction::Kind::kHeldClick : SoakAction::Kind::kQuickClick;
    action.holdMs = held ? Between(100, 1500) : 0;
    action.at = OnTurnOff(at) ? ClickableAnywhere() : at;
    action.target = std::move(target);
  };

  const int roll = Between(0, 99);
  const std::vector<SoakTarget>& widgets = targets_.screens[screen_];
  if (roll < 30) {
    action.kind = SoakAction::Kind::kMove;
    action.at = Anywhere();
    action.target = "anywhere";
  } else if (roll < 38) {
    screen_ = Between(0, layout::kTabCount - 1);
    // The middle of a tab, where its picture is surely opaque.
    const Rect& tab = targets_.tabs[screen_].area;
    click(Inside({tab.x + tab.width / 4, tab.y + tab.height / 4, std::max(1, tab.width / 2),
                  std::max(1, tab.height / 2)}),
          targets_.tabs[screen_].name);
  } else if (roll < 80 && !widgets.empty()) {
    const SoakTarget& widget = widgets[Between(0, static_cast<int>(widgets.size()) - 1)];
    if (widget.dragAlong && Between(0, 1) == 0) {
      action.kind = SoakAction::Kind::kDrag;
      action.at = Inside(widget.area);
      action.to = {Between(widget.area.x - 20, widget.area.x + widget.area.width + 20),
                   action.at.y + Between(-3, 3)};
      if (OnTurnOff(action.to)) action.to = action.at;
      action.holdMs = Between(200, 800);
      action.target = widget.name;
    } else {
      click(Inside(widget.area), widget.name);
    }
  } else if (roll < 90) {
    click(ClickableAnywhere(), "anywhere");
  } else if (roll < 93) {
    action.kind = SoakAction::Kind::kDrag;
    action.at = ClickableAnywhere();
    action.to = ClickableAnywhere();
    action.holdMs = Between(200, 800);
    action.target = "anywhere";
  } else {
    action.kind = SoakAction::Kind::kKey;
    action.key = SoakKeys()[Between(0, static_cast<int>(SoakKeys().size()) - 1)];
    action.target = "key " + action.key;
  }
  return action;
}

}  // namespace kbh::testing
