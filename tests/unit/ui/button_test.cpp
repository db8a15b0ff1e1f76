// Buttons: the hit test through the normal picture's alpha with strict
// edges, the per-frame bits, and which picture is drawn in which state.
#include "ui/widgets/button.hpp"

#include <gtest/gtest.h>

#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

class ButtonTest : public testing::WidgetTest {
 protected:
  // 20 x 10 at (100, 50), opaque but for three columns: 8 fully
  // transparent, 9 at alpha 200, 10 at alpha 201.
  void SetUp() override {
    WidgetTest::SetUp();
    button.image = Picture(20, 10, FMT_A8R8G8B8, 0xFF336699);
    for (int row = 0; row < 10; ++row) {
      button.image->picture.texels[row * 20 + 8] = 0x00336699;
      button.image->picture.texels[row * 20 + 9] = 0xC8336699;
      button.image->picture.texels[row * 20 + 10] = 0xC9336699;
    }
    button.width = 20;
    button.height = 10;
    button.Place(100, 50);
  }
  Button button;
};

TEST_F(ButtonTest, PointerCountsOnlyStrictlyInsideAndOnTexelsAboveAlpha200) {
  struct Case {
    int x, y;
    bool hit;
  };
  const Case cases[] = {
      {100, 55, false},   {101, 55, true},  {119, 55, true}, {120, 55, false},  // left, right
      {115, 50, false},   {115, 51, true},  {115, 59, true}, {115, 60, false},  // top, bottom
      {108, 55, false},   {109, 55, false}, {110, 55, true},                    // alpha 0, 200, 201
      {1024, 768, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x << ", " << c.y << ")");
    PointAt(c.x, c.y, kButtonHeld | kButtonWentDown);
    button.Update(context);
    EXPECT_EQ(button.IsHovered(), c.hit);
    EXPECT_EQ(button.IsClicked(), c.hit);
  }
  // X8R8G8B8 has no alpha: opaque everywhere, edges still strict.
  button.image = Picture(20, 10, FMT_X8R8G8B8, 0x00000000);
  EXPECT_TRUE(button.Hits(108, 55));
  EXPECT_FALSE(button.Hits(100, 55));
  // Without a normal picture there is no mask.
  button.highlightImage = std::move(button.image);
  EXPECT_FALSE(button.Hits(115, 55));
}

TEST_F(ButtonTest, BitsDescribeTheLastFrameAndAClickWithinOnePollClicksWithoutHolding) {
  struct Case {
    uint32_t buttons;
    uint16_t flags;
  };
  const Case cases[] = {
      {0, Button::kHovered},
      {kButtonHeld, Button::kHovered | Button::kHeld},
      {kButtonWentDown, Button::kHovered | Button::kClicked},
      {kButtonHeld | kButtonWentDown, Button::kHovered | Button::kHeld | Button::kClicked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttons);
    PointAt(115, 55, c.buttons);
    button.Update(context);
    EXPECT_EQ(button.flags, c.flags);
    PointAt(130, 55, c.buttons);
    button.Update(context);
    EXPECT_EQ(button.flags, 0);
  }
  // Selected outlasts frames and Enable; Disable drops it and blocks input.
  button.Select();
  PointAt(115, 55, kButtonHeld | kButtonWentDown);
  button.Update(context);
  button.Enable();
  EXPECT_EQ(button.flags, Button::kSelected | Button::kHovered | Button::kHeld | Button::kClicked);
  button.Disable();
  button.Update(context);
  EXPECT_EQ(button.flags, Button::kDisabled);
}

TEST_F(ButtonTest, DrawShowsHighlightWhenHoveredSelectedWhenSelectedEachFallingBack) {
  const TextureHandle normal = button.image->texture.get();
  auto highlight = Picture(20, 10);
  auto selected = Picture(20, 10);
  const TextureHandle highlightHandle = highlight->texture.get();
  const TextureHandle selectedHandle = selected->texture.get();
  constexpr uint16_t kHovered = Button::kHovered;
  constexpr uint16_t kSelected = Button::kSelected;
  struct Case {
    bool withHighlight, withSelected;
    uint16_t flags;
    TextureHandle shown;
  };
  const Case cases[] = {
      {true, true, 0, normal},
      {true, true, kHovered, highlightHandle},
      {true, true, kHovered | kSelected, highlightHandle},
      {false, true, kHovered | kSelected, selectedHandle},
      {false, true, kHovered, normal},
      {true, true, kSelected, selectedHandle},
      {true, false, kSelected, highlightHandle},
      {false, false, kSelected, normal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.withHighlight << c.withSelected << " " << c.flags);
    button.highlightImage = c.withHighlight ? std::move(highlight) : nullptr;
    button.selectedImage = c.withSelected ? std::move(selected) : nullptr;
    button.flags = c.flags;
    ClearDrawn();
    button.Draw(graphics);
    EXPECT_EQ(Drawn(), (std::vector<testing::Placed>{{c.shown, 100, 50, 20, 10}}));
    if (button.highlightImage) highlight = std::move(button.highlightImage);
    if (button.selectedImage) selected = std::move(button.selectedImage);
  }
  button.x = -1;
  ClearDrawn();
  button.Draw(graphics);
  EXPECT_TRUE(Drawn().empty()) << "unplaced";
}

TEST_F(ButtonTest, EachLoadTakesTheSizeOfItsPictureAndAMissingFileKeepsTheOldSize) {
  EXPECT_TRUE(button.LoadSelectedImage(graphics, WritePicture("tall.dds", 40, 14).c_str()));
  EXPECT_FALSE(button.LoadImage(graphics, (dir / "missing.dds").c_str()));
  EXPECT_EQ(button.image, nullptr) << "the old picture is released first";
  EXPECT_EQ(button.width, 40);
  EXPECT_EQ(button.height, 14);
}

}  // namespace
}  // namespace kbh
