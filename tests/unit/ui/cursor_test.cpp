// The pointer: its picture placed by the hot spot, blended by alpha through
// the render-state cache, and nothing for kinds without a picture.
#include "ui/cursor.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

class CursorTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    WritePicture("gfx/gui/gui_Cursor_Normal.dds", 32, 32);
    WritePicture("gfx/gui/cursor_colorpick.dds", 16, 16);
    ASSERT_TRUE(cursor.LoadImages(graphics, Dir()));
    ClearDrawn();
  }
  Cursor cursor;
};

TEST_F(CursorTest, EachKindDrawsItsPictureWithItsHotSpotOnThePointer) {
  struct Case {
    int kind, hotX, hotY;
    bool drawn;
    int x, y;
  };
  const Case cases[] = {
      {0, 6, 2, true, 494, 398}, {3, 5, 5, true, 495, 395}, {1, 6, 2, false, 0, 0},
      {2, 6, 2, false, 0, 0},    {4, 6, 2, false, 0, 0},    {-1, 6, 2, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    cursor.SetPosition(500, 400);
    cursor.SetKind(c.kind);
    cursor.hotX = c.hotX;
    cursor.hotY = c.hotY;
    ClearDrawn();
    cursor.Draw(graphics);
    ASSERT_EQ(Drawn().size(), c.drawn ? 1u : 0u);
    if (!c.drawn) continue;
    EXPECT_EQ(Drawn()[0].x, c.x);
    EXPECT_EQ(Drawn()[0].y, c.y);
    EXPECT_EQ(Drawn()[0].texture, cursor.images[c.kind]->texture.get());
  }
}

TEST_F(CursorTest, BlendsByTheTexturesAlphaAndTurnsBlendingOffAfterwards) {
  cursor.SetPosition(1024, 768);
  cursor.hotX = 6;
  cursor.hotY = 2;
  cursor.Draw(graphics);
  EXPECT_EQ(device().GetTextureStageState(0, TSS_ALPHAOP), TOP_MODULATE);
  EXPECT_EQ(device().RenderStateValuesSent(RS_ALPHABLENDENABLE), (std::vector<uint32_t>{1, 0}));
  EXPECT_EQ(device().GetRenderState(RS_SRCBLEND), BLEND_SRCALPHA);
  EXPECT_EQ(device().GetRenderState(RS_DESTBLEND), BLEND_INVSRCALPHA);
  EXPECT_EQ(graphics.CachedRenderState(RS_ALPHABLENDENABLE), 0u);
  ASSERT_EQ(Drawn().size(), 1u);
  EXPECT_EQ(Drawn()[0].x, 1018);
  EXPECT_EQ(Drawn()[0].y, 766);

  // A missing picture leaves its kind invisible.
  EXPECT_TRUE(cursor.LoadImages(graphics, ProgramDir{dir / "nowhere"}));
  ClearDrawn();
  cursor.Draw(graphics);
  EXPECT_TRUE(Drawn().empty());
  // The blend factors stay cached: only the switch is sent.
  ClearDrawn();
  cursor.Draw(graphics);
  EXPECT_EQ(device().RenderStateValuesSent(RS_SRCBLEND).size(), 0u);
  EXPECT_EQ(device().RenderStateValuesSent(RS_ALPHABLENDENABLE), (std::vector<uint32_t>{1, 0}));
}

}  // namespace
}  // namespace kbh
