// Text panels: wrapping width, scroll limits in steps of lineHeight + 1,
// arrow repeat, and that the text is rendered into the texture only when it
// is set or scrolled.
#include "ui/widgets/text_box.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

constexpr uint32_t kPressed = kButtonHeld | kButtonWentDown;

// The Help panel: 286 x 122 at (270, 578). Block glyphs 10 pixels wide with
// a line step of 14, lineHeight 14, so a scroll step is 15. Arrows 12 x 14:
// the text wraps at 286 - 12 = 274 pixels, 27 glyphs. The text has twenty
// lines, 280 pixels: 158 more than the panel shows.
class TextBoxTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    box.SetSize(graphics, 286, 122);
    box.SetFont(font.get());
    box.SetPosition(270, 578);
    box.LoadUpArrow(graphics, WritePicture("uh.dds", 12, 14).c_str(),
                    WritePicture("u.dds", 12, 14).c_str());
    box.LoadDownArrow(graphics, WritePicture("dh.dds", 12, 14).c_str(),
                      WritePicture("d.dds", 12, 14).c_str());
    box.LoadTrack(graphics, WritePicture("t.dds", 10, 8).c_str());
    for (int i = 0; i < 20; ++i)
      text += (i ? "\nZeile " : "Zeile ") + std::to_string(i);
  }
  size_t Renders() { return device().Count(DeviceCallKind::kClear); }
  void Frame(uint32_t time, int x, int y, uint32_t buttons) {
    now = time;
    PointAt(x, y, buttons);
    box.Update(context, graphics);
  }

  std::unique_ptr<FontRecord> font = BlockFont(14);
  TextBox box;
  std::string text;
};

TEST_F(TextBoxTest, TextWrapsBesideTheArrowsAndShowsThemOnlyWhenHigherThanThePanel) {
  const std::string fits(27, 'x');
  box.SetText(graphics, fits.c_str());
  EXPECT_EQ(box.textHeight, 14);
  const std::string wraps(28, 'x');
  box.SetText(graphics, wraps.c_str());
  EXPECT_EQ(box.textHeight, 28);
  ClearDrawn();
  box.Draw(graphics);
  const testing::Placed panel{box.texture->texture.get(), 270, 578, 286, 122};
  EXPECT_EQ(Drawn(), std::vector<testing::Placed>{panel});

  box.SetText(graphics, text.c_str());
  EXPECT_EQ(box.textHeight, 280);
  ClearDrawn();
  box.Draw(graphics);
  const std::vector<testing::Placed> expected{
      panel,
      {box.upButton.image->texture.get(), 548, 570, 12, 14},
      {box.downButton.image->texture.get(), 548, 694, 12, 14},
      {box.trackImage->texture.get(), 545, 593, 10, 92},
  };
  EXPECT_EQ(Drawn(), expected);
}

TEST_F(TextBoxTest, ScrollingStopsAtTheTopAndAtTheFirstStepShowingTheEnd) {
  box.SetText(graphics, text.c_str());
  box.ScrollUp(graphics);
  EXPECT_EQ(box.scroll, 0);
  // Down while scroll > 122 - 280 = -158: -15, -30, ... -150, then -165.
  for (int i = 0; i < 20; ++i)
    box.ScrollDown(graphics);
  EXPECT_EQ(box.scroll, -165);
  for (int i = 0; i < 9; ++i)
    box.ScrollUp(graphics);
  const std::string again = "Hilfe\n" + text;
  box.SetText(graphics, again.c_str());
  EXPECT_EQ(box.scroll, -30) << "a new text keeps the offset";
  EXPECT_EQ(device().texts.back().quads[0].y0, -30.0f);
}

TEST_F(TextBoxTest, TextIsRenderedOnlyWhenSetOrScrolledAndTheTargetIsRestored) {
  auto other = CreateRenderTexture(graphics, 64, 64);
  device().SetRenderTarget(other->texture.get(), SurfaceHandle::kNone);
  ClearDrawn();
  box.SetText(graphics, text.c_str());
  ASSERT_EQ(Renders(), 1u);
  ASSERT_EQ(device().texts.size(), 1u);
  EXPECT_EQ(device().texts[0].target, box.texture->texture.get());
  EXPECT_EQ(device().texts[0].color, 0xFFFFFAFAu);
  EXPECT_EQ(device().GetRenderTarget(), other->texture.get());
  for (const DeviceCall& call : device().Calls()) {
    if (call.kind == DeviceCallKind::kClear) {
      EXPECT_EQ(call.a, kClearTarget) << "colour only";
    }
  }

  Frame(1000, 100, 100, 0);
  box.Draw(graphics);
  EXPECT_EQ(Renders(), 1u) << "frames only draw the texture";
  box.ScrollDown(graphics);
  box.ScrollUp(graphics);
  box.ScrollUp(graphics);  // at the top already: no step, no render
  EXPECT_EQ(Renders(), 3u);
}

TEST_F(TextBoxTest, HeldArrowStepsAtTheClickThenOnceEvery100MsPlusAFrame) {
  box.SetText(graphics, text.c_str());
  // The down arrow lies strictly inside (548, 694) to (560, 708), the up
  // arrow inside (548, 570) to (560, 584).
  struct Step {
    uint32_t time;
    int y;
    uint32_t buttons;
    int scroll;
  };
  const Step steps[] = {
      {1000, 700, kPressed, -15},     // the click steps; the hold starts waiting
      {1100, 700, kButtonHeld, -15},  //
      {1101, 700, kButtonHeld, -30},  // more than 100 ms: a step, and waiting ends
      {1150, 700, kButtonHeld, -30},  // waiting starts again
      {1250, 700, kButtonHeld, -30},
      {1251, 700, kButtonHeld, -45},
      {2000, 700, kButtonWentDown, -60},  // a click within one poll: one step
      {2500, 700, 0, -60},
      {3000, 575, kPressed, -45},
      {3101, 575, kButtonHeld, -30},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.time);
    Frame(step.time, 553, step.y, step.buttons);
    EXPECT_EQ(box.scroll, step.scroll);
  }
}

TEST_F(TextBoxTest, EmptyFontlessAndHundredKilobyteTextsStayInsideTheTexture) {
  box.SetText(graphics, "");
  EXPECT_EQ(box.textHeight, 0);
  TextBox fontless;
  fontless.SetSize(graphics, 100, 50);
  fontless.SetText(graphics, text.c_str());
  EXPECT_EQ(fontless.textHeight, 0);
  EXPECT_EQ(Renders(), 2u) << "both still clear their texture";
  EXPECT_TRUE(device().texts.empty());

  std::string big;
  while (big.size() < 100 * 1024)
    big += "Kolben Zylinder Vergaser Auspuff\t";
  box.SetText(graphics, big.c_str());
  EXPECT_GT(box.textHeight, 100 * 14);
  for (int i = 0; i < 3; ++i)
    box.ScrollDown(graphics);
  for (const auto& draw : device().texts) {
    for (const GlyphQuad& quad : draw.quads) {
      ASSERT_GE(quad.x0, 0.0f);
      ASSERT_LE(quad.x1, 274.0f);
      ASSERT_LE(quad.y1, 122.0f);
    }
  }
  // Release takes the texture, the track and four arrow pictures, not the
  // shared font.
  const size_t live = device().LiveTextures();
  box.Release();
  EXPECT_EQ(device().LiveTextures(), live - 6);
  EXPECT_NE(font->font, nullptr);
}

}  // namespace
}  // namespace kbh
