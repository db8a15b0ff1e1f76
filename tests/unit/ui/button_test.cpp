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
      {100, 55, false},                                       // left edge
      {101, 55, true},    {119, 55, true}, {120, 55, false},  // right edge: x + width
      {115, 50, false},                                       // top edge
      {115, 51, true},    {115, 59, true}, {115, 60, false},  // bottom edge: y + height
      {108, 55, false},                                       // alpha 0
      {109, 55, false},                                       // alpha 200 is not enough
      {110, 55, true},                                        // alpha 201
      {1024, 768, false}, {0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x << ", " << c.y << ")");
    EXPECT_EQ(button.Hits(c.x, c.y), c.hit);
    PointAt(c.x, c.y, kButtonHeld | kButtonWentDown);
    button.Update(context);
    EXPECT_EQ(button.IsHovered(), c.hit);
    EXPECT_EQ(button.IsClicked(), c.hit);
  }
}

TEST_F(ButtonTest, PicturesWithoutAlphaAreOpaqueEverywhereButEdgesStayStrict) {
  button.image = Picture(20, 10, FMT_X8R8G8B8, 0x00000000);
  EXPECT_TRUE(button.Hits(108, 55));
  EXPECT_TRUE(button.Hits(101, 51));
  EXPECT_FALSE(button.Hits(100, 55));
  EXPECT_FALSE(button.Hits(115, 60));
}

TEST_F(ButtonTest, WithoutANormalPictureThereIsNoMaskAndNothingIsHit) {
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
  button.Select();
  PointAt(130, 55, kButtonHeld | kButtonWentDown);
  button.Update(context);
  EXPECT_EQ(button.flags, Button::kSelected) << "selected outlasts the frame";
}

TEST_F(ButtonTest, DisabledButtonsIgnoreThePointerAndLoseTheirSelection) {
  PointAt(115, 55, kButtonHeld);
  button.Select();
  button.Update(context);
  ASSERT_EQ(button.flags, Button::kSelected | Button::kHovered | Button::kHeld);
  button.Enable();
  EXPECT_EQ(button.flags, Button::kSelected | Button::kHovered | Button::kHeld)
      << "enable lifts the disabled bit only";
  button.Disable();
  EXPECT_EQ(button.flags, Button::kDisabled);
  PointAt(115, 55, kButtonHeld | kButtonWentDown);
  button.Update(context);
  EXPECT_EQ(button.flags, Button::kDisabled);
  EXPECT_FALSE(button.IsClicked());
  button.Enable();
  EXPECT_EQ(button.flags, 0);
  button.Update(context);
  EXPECT_TRUE(button.IsClicked());
}

TEST_F(ButtonTest, DrawShowsHighlightWhenHoveredSelectedWhenSelectedEachFallingBack) {
  const TextureHandle normal = button.image->texture.get();
  auto highlight = Picture(20, 10);
  auto selected = Picture(20, 10);
  const TextureHandle highlightHandle = highlight->texture.get();
  const TextureHandle selectedHandle = selected->texture.get();
  struct Case {
    const char* name;
    bool withHighlight, withSelected;
    uint16_t flags;
    TextureHandle shown;
  };
  const Case cases[] = {
      {"idle", true, true, 0, normal},
      {"hovered", true, true, Button::kHovered, highlightHandle},
      {"hovered and selected", true, true, Button::kHovered | Button::kSelected, highlightHandle},
      {"hovered, no highlight, selected", false, true, Button::kHovered | Button::kSelected,
       selectedHandle},
      {"hovered, no highlight, not selected", false, true, Button::kHovered, normal},
      {"selected", true, true, Button::kSelected, selectedHandle},
      {"selected, no selected picture", true, false, Button::kSelected, highlightHandle},
      {"selected, only the normal picture", false, false, Button::kSelected, normal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button.highlightImage = c.withHighlight ? std::move(highlight) : nullptr;
    button.selectedImage = c.withSelected ? std::move(selected) : nullptr;
    button.flags = c.flags;
    ClearDrawn();
    button.Draw(graphics);
    ASSERT_EQ(Drawn().size(), 1u);
    EXPECT_EQ(Drawn()[0], (testing::Placed{c.shown, 100, 50, 20, 10}));
    if (button.highlightImage) highlight = std::move(button.highlightImage);
    if (button.selectedImage) selected = std::move(button.selectedImage);
  }
}

TEST_F(ButtonTest, UnplacedOrSizelessButtonsDrawNothing) {
  Button unplaced;
  unplaced.image = Picture(20, 10);
  unplaced.width = 20;
  unplaced.height = 10;
  unplaced.Draw(graphics);
  Button sizeless;
  sizeless.Place(10, 10);
  sizeless.Draw(graphics);
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(ButtonTest, EachLoadTakesTheSizeOfItsPictureAndAMissingFileKeepsTheOldSize) {
  Button loaded;
  const std::string wide = WritePicture("wide.dds", 30, 12);
  const std::string tall = WritePicture("tall.dds", 40, 14);
  EXPECT_TRUE(loaded.LoadImage(graphics, wide.c_str()));
  EXPECT_EQ(loaded.width, 30);
  EXPECT_FALSE(loaded.LoadHighlightImage(graphics, (log.Dir() / "missing.dds").c_str()));
  EXPECT_EQ(loaded.highlightImage, nullptr);
  EXPECT_EQ(loaded.width, 30);
  EXPECT_TRUE(loaded.LoadSelectedImage(graphics, tall.c_str()));
  EXPECT_EQ(loaded.width, 40);
  EXPECT_EQ(loaded.height, 14);
  const size_t live = device().LiveTextures();
  EXPECT_FALSE(loaded.LoadImage(graphics, (log.Dir() / "missing.dds").c_str()));
  EXPECT_EQ(loaded.image, nullptr) << "the old picture is released first";
  EXPECT_EQ(device().LiveTextures(), live - 1);
  EXPECT_EQ(loaded.width, 40);
  loaded.Release();
  EXPECT_EQ(device().LiveTextures(), live - 2);
}

}  // namespace
}  // namespace kbh
