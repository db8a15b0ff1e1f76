// Percent sliders and the status line.
#include "ui/widgets/slider.hpp"

#include <gtest/gtest.h>

#include "tests/unit/ui/widget_test.hpp"
#include "ui/widgets/message_line.hpp"

namespace kbh {
namespace {

constexpr uint32_t kPressed = kButtonHeld | kButtonWentDown;

// The Spray screen's red slider: track from x 379, centre line 670, 119 long,
// grabbed within 6 pixels above or below the line.
class SliderTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    slider.x = 379;
    slider.y = 670;
    slider.width = 119;
    slider.height = 12;
  }
  void Frame(int x, int y, uint32_t buttons) {
    PointAt(x, y, buttons);
    slider.Update(context);
  }
  Slider slider;
};

TEST_F(SliderTest, APressInsideTheBandGrabsTheKnobEdgesIncluded) {
  struct Case {
    int x, y;
    bool grabbed;
    uint16_t value;
  };
  const Case cases[] = {
      {379, 670, true, 0},  {498, 670, true, 100}, {439, 664, true, 50},  // 60 / 119 = 50.4 %
      {439, 676, true, 50}, {439, 663, false, 7},  {439, 677, false, 7},
      {378, 670, false, 7}, {499, 670, false, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x << ", " << c.y << ")");
    slider.value = 7;
    Frame(c.x, c.y, kPressed);
    EXPECT_EQ(slider.grabbed, c.grabbed ? 1 : 0);
    EXPECT_EQ(slider.moved, c.grabbed ? 1 : 0);
    EXPECT_EQ(slider.value, c.value);
    Frame(c.x, c.y, 0);
  }
}

TEST_F(SliderTest, AHeldKnobFollowsThePointerAnywhereAndStopsAtTheEnds) {
  Frame(439, 670, kPressed);
  struct Case {
    int x, y;
    uint16_t value;
  };
  const Case cases[] = {{300, 760, 0}, {1024, 0, 100}, {400, 700, 17}, {497, 670, 99}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    Frame(c.x, c.y, kButtonHeld);
    EXPECT_EQ(slider.value, c.value);
    EXPECT_EQ(slider.moved, 1);
  }
  Frame(450, 670, 0);
  EXPECT_EQ(slider.grabbed, 0);
  EXPECT_EQ(slider.moved, 0);
  EXPECT_EQ(slider.value, 99) << "letting go changes nothing";
  Frame(450, 670, kButtonHeld);
  EXPECT_EQ(slider.value, 99) << "a button held from elsewhere grabs nothing";
  Frame(458, 670, kButtonWentDown);
  EXPECT_EQ(slider.value, 66) << "a click within one poll sets the value: 79 / 119 = 66.4 %";
}

TEST_F(SliderTest, SetValueTakesFractionsFromZeroToOneAndIgnoresTheRest) {
  struct Case {
    float fraction;
    uint16_t value;
  };
  const Case cases[] = {{1.0f, 100}, {0.5f, 50},  {0.0f, 0},    {0.999f, 99},
                        {1.5f, 42},  {-0.1f, 42}, {1.0001f, 42}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fraction);
    slider.value = 42;
    slider.SetValue(c.fraction);
    EXPECT_EQ(slider.value, c.value);
  }
}

TEST_F(SliderTest, TrackStretchesOverTheLengthAndTheKnobCentresOnTheValue) {
  slider.trackImage = Picture(8, 4);
  slider.knobImage = Picture(10, 10);
  slider.value = 50;
  slider.Draw(graphics);
  // The knob at 379 + 50 x 1.19 - 5 = 433.5, truncated.
  const std::vector<testing::Placed> expected{{slider.trackImage->texture.get(), 379, 668, 119, 4},
                                              {slider.knobImage->texture.get(), 433, 665, 10, 10}};
  EXPECT_EQ(Drawn(), expected);
}

using MessageLineTest = testing::WidgetTest;

TEST_F(MessageLineTest, ShowsItsTextInRedAtTheStatusPlaceAndNothingWhenEmpty) {
  MessageLine line;
  line.font = BlockFont(12);
  line.Draw(graphics);
  line.SetText("");
  line.Draw(graphics);
  EXPECT_TRUE(device().texts.empty());

  line.SetText("Teil wird eingebaut!");
  line.Draw(graphics);
  ASSERT_EQ(device().texts.size(), 1u);
  EXPECT_EQ(device().texts[0].color, 0xFFDD5252u);
  EXPECT_EQ(device().texts[0].quads[0].x0, 730.0f);
  EXPECT_EQ(device().texts[0].quads[0].y0, 600.0f);
}

}  // namespace
}  // namespace kbh
