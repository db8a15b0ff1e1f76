// The soak's input: where it aims, that it never quits the program before
// its time, that it reaches every widget, and that a seed repeats a run.
#include "tests/e2e/soak/soak_plan.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace kbh::testing {
namespace {

using layout::Point;
using layout::Rect;

// Made-up picture sizes, different per kind so that a mix-up shows.
Point FakeSize(const std::string& file) {
  if (file.starts_with("gui_scrollbox_arrow")) return {12, 10};
  if (file.starts_with("gui_textbox_arrow")) return {14, 12};
  if (file.starts_with("gui_colsel_arrow")) return {9, 7};
  if (file == "gui_colsel_palette.dds") return {100, 50};
  if (file == "gui_menu_bTurnOff.dds") return {30, 30};
  if (file.starts_with("gui_menu_b")) return {60, 20};
  return {40, 30};
}

const SoakTarget* Find(const std::vector<SoakTarget>& targets, const std::string& name) {
  auto found = std::find_if(targets.begin(), targets.end(),
                            [&](const SoakTarget& target) { return target.name == name; });
  return found == targets.end() ? nullptr : &*found;
}

TEST(SoakTargetsTest, WidgetsSitWhereTheInterfacePutsThemAsLargeAsTheirPictures) {
  const SoakTargets targets = MakeSoakTargets(FakeSize);
  struct Expected {
    int screen;
    const char* name;
    Rect area;
  };
  // Lists are 6 rows of 13 pixels plus 4 high; their arrows end 5 pixels
  // right of the box, 4 above and below it. Text panel arrows end 4 pixels
  // right of the panel, 8 above and below it.
  const Expected expected[] = {
      {0, "category list rows", {70, 593, 127, 82}},
      {0, "category list up arrow", {198, 589, 12, 10}},
      {0, "category list down arrow", {198, 669, 12, 10}},
      {0, "part list down arrow", {644, 730, 12, 10}},
      {0, "build-in button", {666, 601, 40, 30}},
      {0, "remove button", {208, 647, 40, 30}},
      {1, "palette", {547, 654, 100, 50}},
      {1, "red slider", {379, 664, 119, 12}},
      {1, "blue slider", {379, 694, 119, 12}},
      {1, "finish up arrow", {612, 716, 9, 7}},
      {1, "finish down arrow", {612, 725, 9, 7}},
      {1, "spray button", {541, 596, 40, 30}},
      {1, "subset list up arrow", {532, 571, 12, 10}},
      {2, "description up arrow", {520, 198, 14, 12}},
      {2, "description down arrow", {520, 480, 14, 12}},
      {4, "help text up arrow", {546, 570, 14, 12}},
      {6, "info text down arrow", {546, 696, 14, 12}},
  };
  for (const Expected& want : expected) {
    SCOPED_TRACE(want.name);
    const SoakTarget* target = Find(targets.screens[want.screen], want.name);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->area.x, want.area.x);
    EXPECT_EQ(target->area.y, want.area.y);
    EXPECT_EQ(target->area.width, want.area.width);
    EXPECT_EQ(target->area.height, want.area.height);
  }
  EXPECT_TRUE(Find(targets.screens[1], "green slider")->dragAlong);
  EXPECT_FALSE(Find(targets.screens[1], "palette")->dragAlong);
  EXPECT_TRUE(targets.screens[3].empty());  // Options
  EXPECT_TRUE(targets.screens[5].empty());  // Account
  EXPECT_EQ(targets.tabs[4].area.x, 110);
  EXPECT_EQ(targets.tabs[4].area.y, 740);
  EXPECT_EQ(targets.turnOff.x, 15);
  EXPECT_EQ(targets.turnOff.y, 735);
  EXPECT_EQ(targets.turnOff.width, 30);
}

TEST(SoakTargetsTest, AWidgetWithoutItsPictureIsNoTarget) {
  const SoakTargets targets = MakeSoakTargets([](const std::string& file) {
    return file == "gui_Spray_bSpray.dds" ? Point{0, 0} : FakeSize(file);
  });
  EXPECT_EQ(Find(targets.screens[1], "spray button"), nullptr);
  EXPECT_NE(Find(targets.screens[1], "palette"), nullptr);
}

bool Touches(const Rect& area, Point point, int margin) {
  return point.x >= area.x - margin && point.x < area.x + area.width + margin &&
         point.y >= area.y - margin && point.y < area.y + area.height + margin;
}

TEST(SoakPlannerTest, NeverQuitsAndReachesEveryWidgetOfEveryScreen) {
  SoakPlanner planner(7, MakeSoakTargets(FakeSize));
  const SoakTargets& targets = planner.Targets();
  std::set<std::string> hit;
  std::set<SoakAction::Kind> kinds;
  std::set<std::string> keys;
  for (int i = 0; i < 50000; ++i) {
    const SoakAction action = planner.Next();
    kinds.insert(action.kind);
    hit.insert(action.target);
    const bool pressed = action.kind == SoakAction::Kind::kQuickClick ||
                         action.kind == SoakAction::Kind::kHeldClick ||
                         action.kind == SoakAction::Kind::kDrag;
    if (action.kind == SoakAction::Kind::kKey) {
      keys.insert(action.key);
      continue;
    }
    ASSERT_TRUE(action.at.x >= 0 && action.at.x < 1024 && action.at.y >= 0 && action.at.y < 768)
        << action.target << " at " << action.at.x << ", " << action.at.y;
    if (pressed) {
      ASSERT_FALSE(Touches(targets.turnOff, action.at, 3)) << action.target;
    }
    if (action.kind == SoakAction::Kind::kDrag) {
      ASSERT_FALSE(Touches(targets.turnOff, action.to, 3)) << action.target;
    }
    if (action.kind == SoakAction::Kind::kHeldClick) {
      EXPECT_GT(action.holdMs, 0);
    }
  }
  EXPECT_EQ(keys.count("Escape"), 0u);
  EXPECT_EQ(keys.count("Control_L"), 0u);
  EXPECT_EQ(keys.count("w"), 1u);
  EXPECT_EQ(kinds.size(), 5u);
  for (const auto& screen : targets.screens) {
    for (const SoakTarget& target : screen)
      EXPECT_EQ(hit.count(target.name), 1u) << target.name;
  }
  for (const SoakTarget& tab : targets.tabs)
    EXPECT_EQ(hit.count(tab.name), 1u) << tab.name;
}

TEST(SoakPlannerTest, ATabClickChoosesTheScreenWhoseWidgetsFollow) {
  SoakPlanner planner(11, MakeSoakTargets(FakeSize));
  const SoakTargets& targets = planner.Targets();
  int checked = 0;
  for (int i = 0; i < 5000; ++i) {
    const SoakAction action = planner.Next();
    if (action.target.ends_with(" tab")) continue;
    const auto& widgets = targets.screens[planner.Screen()];
    if (action.target == "anywhere" || action.target.starts_with("key ")) continue;
    EXPECT_NE(Find(widgets, action.target), nullptr)
        << action.target << " on screen " << planner.Screen();
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

TEST(SoakPlannerTest, TheSameSeedRepeatsTheRunAndAnotherDoesNot) {
  auto firstActions = [](uint32_t seed) {
    SoakPlanner planner(seed, MakeSoakTargets(FakeSize));
    std::string text;
    for (int i = 0; i < 200; ++i) {
      const SoakAction action = planner.Next();
      text += action.target + std::to_string(action.at.x) + "," + std::to_string(action.at.y) + ";";
    }
    return text;
  };
  EXPECT_EQ(firstActions(20240613), firstActions(20240613));
  EXPECT_NE(firstActions(20240613), firstActions(20240614));
}

}  // namespace
}  // namespace kbh::testing
