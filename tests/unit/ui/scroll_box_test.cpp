// List boxes: arrow stepping and its repeat, the changed flag, what is drawn
// where with and without the scroll bar, and boxes too empty or too full.
#include "ui/widgets/scroll_box.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

constexpr uint32_t kPressed = kButtonHeld | kButtonWentDown;

// The TuneUp category list: (70, 593), 135 wide, 6 rows of 13 pixels, so
// 82 high. Every arrow is 16 x 16, the track 16 wide. The arrow column
// spans x 195 to 209; the up zone ends above y 607, the down zone starts
// below 661.
class ScrollBoxTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    auto& skin = context.scrollSkin.images;
    for (int slot : {kScrollUpArrow, kScrollDownArrow, kScrollUpArrowHover, kScrollDownArrowHover})
      skin[slot] = Picture(16, 16);
    skin[kScrollTrack] = Picture(16, 8);
    skin[kScrollSelectionBar] = Picture(8, 8);
    skin[kScrollThumb] = Picture(8, 8);
    box = MakeBox(593);
  }
  ScrollBox MakeBox(int y) {
    ScrollBox made;
    made.font = font.get();
    made.x = 70;
    made.y = y;
    made.SetExtent(135, 6);
    return made;
  }
  // Entry i is i + 1 letters long, so a text draw tells which entry it is.
  static void Fill(ScrollBox& target, int count) {
    for (int i = 0; i < count; ++i)
      target.AddItem(std::string(i % 20 + 1, 'x'), 100 + i);
  }
  TextureHandle Skin(int slot) { return context.scrollSkin.images[slot]->texture.get(); }
  void Frame(uint32_t time, int x, int y, uint32_t buttons) {
    now = time;
    PointAt(x, y, buttons);
    box.Update(context);
  }

  std::unique_ptr<FontRecord> font = BlockFont(13);
  ScrollBox box;
};

TEST_F(ScrollBoxTest, HeldArrowStepsAtThePressThenWheneverMoreThan100MsPassed) {
  Fill(box, 10);
  struct Step {
    uint32_t time;
    int x, y;
    uint32_t buttons;
    int first;
    uint16_t arrowState;
  };
  const Step steps[] = {
      {1000, 200, 670, kPressed, 1, 2},
      {1100, 200, 670, kButtonHeld, 1, 2},
      {1101, 200, 670, kButtonHeld, 2, 2},
      {1201, 200, 670, kButtonHeld, 2, 2},
      {1202, 200, 670, kButtonHeld, 3, 2},
      {1303, 200, 670, kButtonHeld, 4, 2},
      {1404, 200, 670, kButtonHeld, 4, 2},  // the last page
      {1500, 200, 600, kPressed, 3, 1},
      {1601, 200, 600, kButtonHeld, 2, 1},
      {1702, 200, 600, 0, 2, 1},  // hovering does not step
      // The zones' edges are strict.
      {2000, 194, 670, kPressed, 2, 0},
      {2000, 209, 662, kPressed, 3, 2},
      {2000, 200, 661, kPressed, 3, 0},
      {2000, 200, 677, kPressed, 3, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << step.time << " (" << step.x << ", " << step.y << ")");
    Frame(step.time, step.x, step.y, step.buttons);
    EXPECT_EQ(box.first, step.first);
    EXPECT_EQ(box.arrowState, step.arrowState);
  }
}

TEST_F(ScrollBoxTest, TheRepeatStampIsNeverResetAndSharedByAllBoxes) {
  Fill(box, 10);
  Frame(5000, 200, 670, kButtonHeld);
  EXPECT_EQ(box.first, 0) << "no arrow was pressed yet in this run";
  Frame(5000, 200, 670, kPressed);
  Frame(5010, 200, 670, 0);
  ASSERT_EQ(box.first, 1);
  // A press elsewhere dragged onto another box's arrow steps at once, since
  // the last step of any box lies more than 100 ms back.
  ScrollBox other = MakeBox(300);
  Fill(other, 10);
  PointAt(200, 380, kButtonHeld);
  now = 5200;
  other.Update(context);
  EXPECT_EQ(other.first, 1);
}

TEST_F(ScrollBoxTest, ChangedFollowsClicksInTheListAndKeepsItsValueOutside) {
  Fill(box, 3);
  struct Step {
    int x, y;
    uint32_t buttons;
    int hovered, selected;
    uint8_t changed;
  };
  // Row r spans y 593 + 13 r to 605 + 13 r.
  const Step steps[] = {
      {100, 611, kPressed, 1, 1, 1},
      {100, 611, 0, 1, 1, 0},               // cleared by any frame over the list
      {100, 611, kPressed, 1, 1, 0},        // the same row again
      {100, 646, kPressed, -1, -1, 1},      // below the last row: no selection
      {300, 700, kPressed, -1, -1, 1},      // outside: the flag waits
      {200, 640, kPressed, -1, -1, 0},      // no scroll bar: the column is list
      {70, 593, kButtonWentDown, 0, 0, 1},  // a click within one poll, on the corner
      {205, 675, kPressed, -1, -1, 1},      // the far corner: row 6 is past the rows
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "(" << step.x << ", " << step.y << ")");
    Frame(now + 10, step.x, step.y, step.buttons);
    EXPECT_EQ(box.hovered, step.hovered);
    EXPECT_EQ(box.selected, step.selected);
    EXPECT_EQ(box.changed, step.changed);
  }
  Fill(box, 7);
  box.Select(0);
  box.changed = 0;
  Frame(now + 10, 200, 640, kPressed);
  EXPECT_EQ(box.changed, 0) << "between the arrows the column swallows the click";
  EXPECT_EQ(box.selected, 0);
}

TEST_F(ScrollBoxTest, WithoutScrollBarTheBarSpansTheWidthAndNoArrowsShow) {
  Fill(box, 6);
  box.Select(2);
  box.Draw(graphics, context.scrollSkin);
  EXPECT_EQ(Drawn(), (std::vector<testing::Placed>{{Skin(kScrollSelectionBar), 70, 621, 135, 13}}));
  ASSERT_EQ(device().texts.size(), 6u);
  EXPECT_EQ(device().texts[0].quads[0].x0, 72.0f);
  EXPECT_EQ(device().texts[0].quads[0].y0, 594.0f);
  EXPECT_EQ(device().texts[5].quads[0].y0, 594.0f + 5 * 13);
  EXPECT_EQ(device().texts[5].color, 0xFFFFFFFFu);
}

TEST_F(ScrollBoxTest, WithScrollBarTheBarIsEightPixelsNarrowerAndArrowsAndTrackShow) {
  Fill(box, 7);
  box.ScrollDown();
  box.Select(3);
  box.arrowState = 1;
  box.Draw(graphics, context.scrollSkin);
  const std::vector<testing::Placed> expected{
      {Skin(kScrollSelectionBar), 70, 621, 127, 13},
      {Skin(kScrollUpArrowHover), 194, 589, 16, 16},
      {Skin(kScrollDownArrow), 194, 663, 16, 16},
      {Skin(kScrollTrack), 194, 605, 16, 58},
  };
  EXPECT_EQ(Drawn(), expected);
  ASSERT_EQ(device().texts.size(), 6u);
  EXPECT_EQ(device().texts[0].quads.size(), 2u) << "entry 1 on top";

  ClearDrawn();
  box.Select(0);  // scrolled out of view: no bar
  box.arrowState = 2;
  box.Draw(graphics, context.scrollSkin);
  EXPECT_EQ(Drawn()[0], (testing::Placed{Skin(kScrollUpArrow), 194, 589, 16, 16}));
  EXPECT_EQ(Drawn()[1], (testing::Placed{Skin(kScrollDownArrowHover), 194, 663, 16, 16}));
}

TEST_F(ScrollBoxTest, DisabledBoxesTakeNoInputAndDrawGreyWithoutBar) {
  Fill(box, 3);
  box.Select(1);
  box.disabled = ScrollBox::kDisable;
  Frame(1000, 100, 597, kPressed);
  EXPECT_EQ(box.hovered, -1);
  EXPECT_EQ(box.selected, 1);
  box.Draw(graphics, context.scrollSkin);
  EXPECT_TRUE(Drawn().empty());
  ASSERT_EQ(device().texts.size(), 3u);
  EXPECT_EQ(device().texts[0].color, 0xFFB4B4B4u);
  box.disabled = ScrollBox::kEnable;
  Frame(1010, 100, 597, kPressed);
  EXPECT_EQ(box.selected, 0);
}

TEST_F(ScrollBoxTest, EmptyHugeAndSkinlessListsStayInTheirRows) {
  Frame(1000, 100, 600, kPressed);
  box.ScrollDown();
  box.Draw(graphics, context.scrollSkin);
  EXPECT_EQ(box.selected, -1);
  EXPECT_EQ(box.first, 0);
  EXPECT_TRUE(Drawn().empty());
  EXPECT_TRUE(device().texts.empty());

  Fill(box, 10000);
  for (int i = 0; i < 10010; ++i)
    box.ScrollDown();
  EXPECT_EQ(box.first, 9994);
  Frame(1010, 100, 593 + 13 * 5 + 1, kPressed);
  EXPECT_EQ(box.GetSelectedValue(), 100u + 9999);
  box.Draw(graphics, context.scrollSkin);
  EXPECT_EQ(device().texts.size(), 6u);
  for (int i = 0; i < 10010; ++i)
    box.ScrollUp();
  EXPECT_EQ(box.first, 0);

  // Without a skin the arrows have no room: the list takes the click there.
  context.scrollSkin = ScrollBoxSkin{};
  Frame(1020, 205, 670, kPressed);
  EXPECT_EQ(box.arrowState, 0);
  EXPECT_EQ(box.selected, 5);
  ClearDrawn();
  box.Draw(graphics, context.scrollSkin);
  EXPECT_TRUE(Drawn().empty());
  EXPECT_EQ(device().texts.size(), 6u);
}

TEST_F(ScrollBoxTest, SelectSetsChangedForADifferentIndexAndReleaseSkinClearsTheBox) {
  Fill(box, 3);
  box.Select(2);
  box.changed = 0;
  box.Select(2);
  EXPECT_EQ(box.changed, 0);
  box.Select(3);
  EXPECT_EQ(box.selected, -1) << "out of range";
  EXPECT_EQ(box.changed, 1);

  const size_t live = device().LiveTextures();
  box.ReleaseSkin(context.scrollSkin);
  EXPECT_EQ(device().LiveTextures(), live - 7);
  EXPECT_EQ(box.count, 0);
  MakeBox(300).ReleaseSkin(context.scrollSkin);  // the slots are empty now
}

}  // namespace
}  // namespace kbh
