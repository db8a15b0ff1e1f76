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
// 82 high. Every arrow is 16 x 16, the track 16 wide.
class ScrollBoxTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    auto& skin = context.scrollSkin.images;
    skin[kScrollUpArrow] = Picture(16, 16);
    skin[kScrollDownArrow] = Picture(16, 16);
    skin[kScrollTrack] = Picture(16, 8);
    skin[kScrollSelectionBar] = Picture(8, 8);
    skin[kScrollThumb] = Picture(8, 8);
    skin[kScrollUpArrowHover] = Picture(16, 16);
    skin[kScrollDownArrowHover] = Picture(16, 16);
    box = MakeBox();
  }
  ScrollBox MakeBox() {
    ScrollBox made;
    made.font = font.get();
    made.x = 70;
    made.y = 593;
    made.SetExtent(135, 6);
    return made;
  }
  void Fill(ScrollBox& target, int count) {
    for (int i = 0; i < count; ++i)
      target.AddItem("Teil " + std::to_string(i), 100 + i);
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

TEST_F(ScrollBoxTest, ExtentGivesSixRowsOfTheFontPlusFour) {
  EXPECT_EQ(box.height, 82);
  ScrollBox fontless;
  fontless.SetExtent(135, 6);
  EXPECT_EQ(fontless.height, -1);
}

TEST_F(ScrollBoxTest, HeldArrowStepsAtThePressThenWheneverMoreThan100MsPassed) {
  Fill(box, 10);
  // The down zone: the arrow column (x 195 to 209) below y 661.
  struct Step {
    uint32_t time;
    uint32_t buttons;
    int first;
  };
  const Step steps[] = {
      {1000, kPressed, 1},    {1050, kButtonHeld, 1}, {1100, kButtonHeld, 1},
      {1101, kButtonHeld, 2}, {1150, kButtonHeld, 2}, {1201, kButtonHeld, 2},
      {1202, kButtonHeld, 3}, {1303, kButtonHeld, 4}, {1404, kButtonHeld, 4},  // last page
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.time);
    Frame(step.time, 200, 670, step.buttons);
    EXPECT_EQ(box.first, step.first);
    EXPECT_EQ(box.arrowState, 2);
  }
  // The up zone: above y 607.
  Frame(1500, 200, 600, kPressed);
  EXPECT_EQ(box.first, 3);
  EXPECT_EQ(box.arrowState, 1);
  Frame(1601, 200, 600, kButtonHeld);
  EXPECT_EQ(box.first, 2);
  Frame(1650, 200, 600, 0);
  EXPECT_EQ(box.first, 2) << "hovering an arrow does not step";
  EXPECT_EQ(box.arrowState, 1);
}

TEST_F(ScrollBoxTest, ArrowZonesHaveStrictEdgesAndTheColumnBetweenThemSwallowsClicks) {
  Fill(box, 10);
  struct Case {
    int x, y;
    int first;
    uint16_t arrowState;
  };
  const Case
      cases[] =
          {
              {195, 670, 1, 2}, {209, 670, 1, 2}, {194, 670, 0, 0}, {210, 670, 0, 0},
              {200, 662, 1, 2}, {200, 661, 0, 0}, {200, 676, 1, 2}, {200, 677, 0, 0},
              {200, 640, 0, 0},  // between the arrows: still the column
          };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x << ", " << c.y << ")");
    box.first = 0;
    Frame(now + 1000, c.x, c.y, kPressed);
    EXPECT_EQ(box.first, c.first);
    EXPECT_EQ(box.arrowState, c.arrowState);
  }
  box.Select(0);
  box.changed = 0;
  Frame(now + 1000, 200, 640, kPressed);
  EXPECT_EQ(box.selected, 0);
  EXPECT_EQ(box.changed, 0);
}

TEST_F(ScrollBoxTest, TheRepeatStampIsNeverResetAndSharedByAllBoxes) {
  Fill(box, 10);
  Frame(5000, 200, 670, kButtonHeld);
  EXPECT_EQ(box.first, 0) << "no arrow was pressed yet in this run";
  Frame(5000, 200, 670, kPressed);
  EXPECT_EQ(box.first, 1);
  Frame(5010, 200, 670, 0);

  // A press elsewhere, dragged onto another box's arrow: it steps at once,
  // since the last step lies more than 100 ms back.
  ScrollBox other = MakeBox();
  other.y = 300;
  Fill(other, 10);
  PointAt(200, 300 + 80, kButtonHeld);
  now = 5200;
  other.Update(context);
  EXPECT_EQ(other.first, 1);
  EXPECT_EQ(context.scrollRepeatStamp, 5200u);
}

TEST_F(ScrollBoxTest, ChangedFollowsClicksInTheListAndKeepsItsValueOutside) {
  Fill(box, 3);
  // Row r spans y 593 + 13 r to 593 + 13 r + 12.
  Frame(1000, 100, 611, kPressed);
  EXPECT_EQ(box.hovered, 1);
  EXPECT_EQ(box.selected, 1);
  EXPECT_EQ(box.changed, 1);
  EXPECT_EQ(box.GetSelectedValue(), 101u);
  Frame(1010, 100, 611, 0);
  EXPECT_EQ(box.changed, 0) << "cleared by any frame over the list";
  Frame(1020, 100, 611, kPressed);
  EXPECT_EQ(box.changed, 0) << "the same row again";

  Frame(1030, 100, 593 + 4 * 13 + 1, kPressed);
  EXPECT_EQ(box.hovered, -1);
  EXPECT_EQ(box.selected, -1) << "a click below the last row clears the selection";
  EXPECT_EQ(box.changed, 1);
  EXPECT_EQ(box.GetSelectedValue(), 0u);

  Frame(1040, 300, 700, kPressed);
  EXPECT_EQ(box.hovered, -1);
  EXPECT_EQ(box.changed, 1) << "outside the list the flag waits for the screen logic";

  Frame(1050, 70, 593, kButtonWentDown);  // a click within one poll, on the corner
  EXPECT_EQ(box.selected, 0);
  Frame(1060, 205, 675, kButtonWentDown);  // the opposite corner: row 6 is past the rows
  EXPECT_EQ(box.selected, -1);
}

TEST_F(ScrollBoxTest, HoverCountsFromTheFirstVisibleEntry) {
  Fill(box, 10);
  box.ScrollDown();
  box.ScrollDown();
  Frame(1000, 100, 593 + 13 * 5 + 2, kPressed);
  EXPECT_EQ(box.hovered, 7);
  EXPECT_EQ(box.GetSelectedValue(), 107u);
}

TEST_F(ScrollBoxTest, SelectSetsChangedForADifferentIndexAndRefusesOutOfRange) {
  Fill(box, 3);
  struct Case {
    int index;
    int selected;
    uint8_t changed;
  };
  const Case cases[] = {{2, 2, 1}, {2, 2, 0}, {3, -1, 1}, {-1, -1, 0}, {-5, -1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    box.changed = 0;
    box.Select(c.index);
    EXPECT_EQ(box.selected, c.selected);
    EXPECT_EQ(box.changed, c.changed);
  }
}

TEST_F(ScrollBoxTest, WithoutScrollBarTheBarSpansTheWidthAndNoArrowsShow) {
  Fill(box, 6);
  box.Select(2);
  box.Draw(graphics, context.scrollSkin);
  ASSERT_EQ(Drawn().size(), 1u);
  EXPECT_EQ(Drawn()[0], (testing::Placed{Skin(kScrollSelectionBar), 70, 621, 135, 13}));
  ASSERT_EQ(device().texts.size(), 6u);
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(device().texts[row].quads[0].x0, 72.0f);
    EXPECT_EQ(device().texts[row].quads[0].y0, 594.0f + 13.0f * row);
    EXPECT_EQ(device().texts[row].color, 0xFFFFFFFFu);
  }
}

TEST_F(ScrollBoxTest, WithScrollBarTheBarIsEightPixelsNarrowerAndArrowsAndTrackShow) {
  // Entry i has i + 1 letters, so each text draw tells which entry it is.
  for (int i = 0; i < 7; ++i)
    box.AddItem(std::string(i + 1, 'x'), i);
  box.ScrollDown();
  box.Select(3);
  box.Draw(graphics, context.scrollSkin);
  const std::vector<testing::Placed> expected{
      {Skin(kScrollSelectionBar), 70, 621, 127, 13},
      {Skin(kScrollUpArrow), 194, 589, 16, 16},
      {Skin(kScrollDownArrow), 194, 663, 16, 16},
      {Skin(kScrollTrack), 194, 605, 16, 58},
  };
  EXPECT_EQ(Drawn(), expected);
  ASSERT_EQ(device().texts.size(), 6u);
  EXPECT_EQ(device().texts[0].quads.size(), 2u) << "entry 1 on top";
  EXPECT_EQ(device().texts[5].quads.size(), 7u) << "entry 6 at the bottom";

  ClearDrawn();
  box.arrowState = 1;
  box.Draw(graphics, context.scrollSkin);
  EXPECT_EQ(Drawn()[1], (testing::Placed{Skin(kScrollUpArrowHover), 194, 589, 16, 16}));
  ClearDrawn();
  box.arrowState = 2;
  box.Draw(graphics, context.scrollSkin);
  EXPECT_EQ(Drawn()[2], (testing::Placed{Skin(kScrollDownArrowHover), 194, 663, 16, 16}));
}

TEST_F(ScrollBoxTest, ASelectionScrolledOutOfViewHasNoBar) {
  Fill(box, 10);
  box.Select(0);
  box.ScrollDown();
  box.Draw(graphics, context.scrollSkin);
  for (const testing::Placed& placed : Drawn())
    EXPECT_NE(placed.texture, Skin(kScrollSelectionBar));
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

TEST_F(ScrollBoxTest, EmptyAndHugeListsStayInTheirRows) {
  Frame(1000, 100, 600, kPressed);
  EXPECT_EQ(box.hovered, -1);
  EXPECT_EQ(box.selected, -1);
  box.ScrollDown();
  EXPECT_EQ(box.first, 0);
  box.Draw(graphics, context.scrollSkin);
  EXPECT_TRUE(Drawn().empty());
  EXPECT_TRUE(device().texts.empty());

  Fill(box, 10000);
  for (int i = 0; i < 10010; ++i)
    box.ScrollDown();
  EXPECT_EQ(box.first, 9994);
  Frame(1010, 100, 593 + 13 * 5 + 1, kPressed);
  EXPECT_EQ(box.selected, 9999);
  box.Draw(graphics, context.scrollSkin);
  ASSERT_EQ(device().texts.size(), 6u);
  EXPECT_EQ(device().texts[5].quads[0].y0, 594.0f + 13.0f * 5);
  for (int i = 0; i < 10010; ++i)
    box.ScrollUp();
  EXPECT_EQ(box.first, 0);

  box.Clear();
  EXPECT_EQ(box.count, 0);
  EXPECT_EQ(box.first, 0);
  EXPECT_EQ(box.hovered, -1);
  EXPECT_EQ(box.selected, -1);
}

TEST_F(ScrollBoxTest, AMissingSkinDrawsNothingInItsPlaceAndBlocksNoClick) {
  ScrollBoxSkin empty;
  context.scrollSkin = std::move(empty);
  Fill(box, 10);
  // Where the down arrow would be, the list takes the click.
  Frame(1000, 205, 670, kPressed);
  EXPECT_EQ(box.arrowState, 0);
  EXPECT_EQ(box.first, 0);
  EXPECT_EQ(box.selected, 5);
  box.Select(1);
  box.Draw(graphics, context.scrollSkin);
  EXPECT_TRUE(Drawn().empty());
  EXPECT_EQ(device().texts.size(), 6u);
}

TEST_F(ScrollBoxTest, SkinSlotsReleaseWhatTheyHeldAndReleaseSkinClearsTheBox) {
  const std::string path = WritePicture("gfx/gui/gui_scrollbox_arrowup.dds", 12, 14);
  const size_t live = device().LiveTextures();
  EXPECT_TRUE(LoadSkinImage(context.scrollSkin, graphics, kScrollUpArrow, path.c_str()));
  EXPECT_EQ(device().LiveTextures(), live) << "the old arrow went first";
  EXPECT_EQ(context.scrollSkin.images[kScrollUpArrow]->width, 12);
  EXPECT_FALSE(LoadSkinImage(context.scrollSkin, graphics, 7, path.c_str()));
  EXPECT_FALSE(LoadSkinImage(context.scrollSkin, graphics, -1, path.c_str()));
  EXPECT_FALSE(
      LoadSkinImage(context.scrollSkin, graphics, kScrollThumb, (log.Dir() / "none.dds").c_str()));
  EXPECT_EQ(context.scrollSkin.images[kScrollThumb], nullptr);

  Fill(box, 4);
  box.ReleaseSkin(context.scrollSkin);
  EXPECT_EQ(device().LiveTextures(), live - 7);
  EXPECT_EQ(box.count, 0);
  ScrollBox other = MakeBox();
  other.ReleaseSkin(context.scrollSkin);
  EXPECT_EQ(device().LiveTextures(), live - 7);
}

}  // namespace
}  // namespace kbh
