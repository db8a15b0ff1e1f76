// The Spray screen's colour selector on the recording device: the palette's
// strict edges, picking, the sliders' one-at-a-time rule and their byte
// arithmetic, the finish arrows, what Draw shows and the states the ball is
// drawn with.
#include "ui/colour_selector.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/image/image_codec.hpp"
#include "platform/mesh/xfile.hpp"
#include "tests/support/box_mesh.hpp"
#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

constexpr uint32_t kPressed = kButtonHeld | kButtonWentDown;

// The palette: 40 x 30 texels at (547, 654). Red grows by 6 a column, green
// falls by 8 a row, blue is 0x33; column 10 is half transparent.
constexpr int kPaletteWidth = 40;
constexpr int kPaletteHeight = 30;
uint32_t PaletteTexel(int x, int y) {
  const uint32_t alpha = x == 10 ? 0x7F : 0xFF;
  return alpha << 24 | uint32_t(x * 6) << 16 | uint32_t(255 - y * 8) << 8 | 0x33;
}

// The text the block font drew: its glyphs' atlas cells read back as bytes
// (cells of 11 x 12 texels from (1, 1); spaces leave no glyph).
std::string BlockText(const testing::TextRecordingDevice::TextDraw& draw) {
  std::string text;
  for (const GlyphQuad& quad : draw.quads) {
    const int column = (static_cast<int>(quad.u0) - 1) / 11;
    const int row = (static_cast<int>(quad.v0) - 1) / 12;
    text += static_cast<char>(row * 16 + column);
  }
  return text;
}

class ColourSelectorTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Image palette{kPaletteWidth, kPaletteHeight, FMT_A8R8G8B8, {}};
    for (int y = 0; y < kPaletteHeight; ++y) {
      for (int x = 0; x < kPaletteWidth; ++x)
        palette.texels.push_back(PaletteTexel(x, y));
    }
    const std::vector<uint8_t> paletteBytes = EncodeDds(palette, FMT_A8R8G8B8);
    testing::WriteFileBytes(dir / "gfx/gui/gui_colsel_palette.dds",
                            std::string(paletteBytes.begin(), paletteBytes.end()));
    const std::vector<uint8_t> ballBytes =
        WriteXFile(testing::BoxMesh({-30, -30, -30}, {30, 30, 30}, 2), XEncoding::kText);
    testing::WriteFileBytes(dir / "gfx/gui/gui_colsel_ball.mxa",
                            std::string(ballBytes.begin(), ballBytes.end()));
    // Arrows 10 x 8, so the up arrow covers 612 ... 622 x 716 ... 724.
    WritePicture("gfx/gui/gui_colsel_arrow_up.dds", 10, 8);
    WritePicture("gfx/gui/gui_colsel_arrow_down.dds", 10, 8);
    WritePicture("gfx/gui/gui_Spray_Slider.dds", 6, 10);
    ASSERT_TRUE(selector.Load(graphics, Dir()));
    selector.font = font.get();
  }
  void TearDown() override { selector.Release(); }

  int Frame(int x, int y, uint32_t buttons) {
    PointAt(x, y, buttons);
    return selector.Update(context);
  }
  // Lets go of the button where it is.
  void Release() { Frame(mouse.x, mouse.y, 0); }
  const Material& BallMaterial() const { return selector.ball->materials[0]; }
  uint8_t BallReflection() const { return selector.ball->factors[0].reflection; }
  // The ball's diffuse colour as a packed colour, each channel rounded.
  uint32_t BallColour() const {
    const ColorValue& d = BallMaterial().diffuse;
    auto byte = [](float v) { return static_cast<uint32_t>(std::lround(v * 255.0f)); };
    return byte(d.a) << 24 | byte(d.r) << 16 | byte(d.g) << 8 | byte(d.b);
  }

  std::unique_ptr<FontRecord> font = BlockFont(14);
  ColorSelector selector;
};

TEST_F(ColourSelectorTest, LoadsWhiteMattWithFullSlidersAndPlacesEveryControl) {
  EXPECT_EQ(selector.chosen, 0xFFFFFFFFu);
  EXPECT_EQ(selector.finish, 0);
  EXPECT_EQ(BallColour(), 0xFFFFFFFFu);
  EXPECT_EQ(BallReflection(), 2) << "matt";
  EXPECT_EQ(selector.finishUp.x, 612);
  EXPECT_EQ(selector.finishUp.y, 716);
  EXPECT_EQ(selector.finishDown.x, 612);
  EXPECT_EQ(selector.finishDown.y, 725);
  const Slider* sliders[3] = {&selector.red, &selector.green, &selector.blue};
  const int rows[3] = {670, 685, 700};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sliders[i]->x, 379);
    EXPECT_EQ(sliders[i]->y, rows[i]);
    EXPECT_EQ(sliders[i]->width, 119u);
    EXPECT_EQ(sliders[i]->height, 12u);
    EXPECT_EQ(sliders[i]->value, 100);
    EXPECT_NE(sliders[i]->knobImage, nullptr);
  }
}

TEST_F(ColourSelectorTest, LoadFailsWithoutPaletteOrBallButNotWithoutArrowsOrKnobs) {
  const char* files[] = {"gui_colsel_palette.dds", "gui_colsel_ball.mxa", "gui_colsel_arrow_up.dds",
                         "gui_Spray_Slider.dds"};
  const bool loads[] = {false, false, true, true};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(files[i]);
    const std::filesystem::path path = dir.Path() / "gfx/gui" / files[i];
    const std::string bytes = testing::ReadFileBytes(path);
    std::filesystem::remove(path);
    ColorSelector fresh;
    EXPECT_EQ(fresh.Load(graphics, Dir()), loads[i]);
    fresh.Release();
    testing::WriteFileBytes(path, bytes);
  }
}

TEST_F(ColourSelectorTest, PaletteCountsStrictlyInsideItsEdgesAndPreviewsWhatIsUnderThePointer) {
  struct Case {
    int x, y;
    bool over;
    int texelX, texelY;
  };
  const Case cases[] = {
      {547, 660, false, 0, 0}, {548, 660, true, 1, 6},   {560, 654, false, 0, 0},
      {560, 655, true, 13, 1}, {586, 683, true, 39, 29}, {587, 670, false, 0, 0},
      {570, 684, false, 0, 0}, {546, 653, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x << ", " << c.y << ")");
    const int result = Frame(c.x, c.y, 0);
    EXPECT_EQ(result, c.over ? 48 : 1);
    const uint32_t shown = c.over ? PaletteTexel(c.texelX, c.texelY) : 0xFFFFFFFFu;
    EXPECT_EQ(selector.preview, shown);
    EXPECT_EQ(BallColour(), shown);
    EXPECT_EQ(selector.chosen, 0xFFFFFFFFu) << "hovering chooses nothing";
  }
}

TEST_F(ColourSelectorTest, ClickOnPaletteChoosesTheTexelWithItsAlphaAndTheSlidersFollow) {
  // Texel (10, 1): red 60, green 247, blue 0x33 = 51, alpha 0x7F.
  EXPECT_EQ(Frame(557, 655, kPressed), 48);
  EXPECT_EQ(selector.chosen, 0x7F3CF733u);
  EXPECT_EQ(BallColour(), 0x7F3CF733u);
  // trunc(byte / 255 x 100).
  EXPECT_EQ(selector.red.value, 23);
  EXPECT_EQ(selector.green.value, 96);
  EXPECT_EQ(selector.blue.value, 20);

  Release();
  EXPECT_EQ(Frame(300, 300, 0), 1);
  EXPECT_EQ(selector.preview, 0x7F3CF733u) << "off the palette the ball shows chosen again";

  // Touching a slider remakes the colour from all three values: opaque, and
  // each channel trunc(value x 2.55) with 2.55 in single precision.
  Frame(379 + 119 * 23 / 100 + 1, 670, kPressed);
  EXPECT_EQ(selector.red.value, 23);
  EXPECT_EQ(selector.chosen, 0xFF3AF432u) << "23 -> 58, 96 -> 244, 20 -> 50";
}

TEST_F(ColourSelectorTest, SliderBytesAreTruncatedSoNoChannelReaches255) {
  struct Case {
    uint16_t percent;
    uint32_t byte;
  };
  // percent x 2.549999952316284, truncated.
  const Case cases[] = {{0, 0}, {1, 2}, {20, 50}, {50, 127}, {99, 252}, {100, 254}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(SliderColour(c.percent, 0, 0), 0xFF000000u | c.byte << 16);
    EXPECT_EQ(SliderColour(0, c.percent, 0), 0xFF000000u | c.byte << 8);
    EXPECT_EQ(SliderColour(0, 0, c.percent), 0xFF000000u | c.byte);
  }
  // Dragged to the right end of every track: 254 each.
  for (int row : {670, 685, 700}) {
    Frame(498, row, kPressed);
    Frame(600, row, kButtonHeld);
    Release();
  }
  EXPECT_EQ(selector.chosen, 0xFFFEFEFEu);
}

TEST_F(ColourSelectorTest, OnlyOneSliderFollowsThePointerInAFrameRedFirst) {
  // Green's track laid over red's: one press grabs red alone, and green is
  // not even looked at while red moves.
  selector.green.y = selector.red.y;
  Frame(379, 670, kPressed);
  EXPECT_EQ(selector.red.value, 0);
  EXPECT_EQ(selector.green.value, 100);
  EXPECT_EQ(selector.green.grabbed, 0);
  Frame(439, 670, kButtonHeld);
  EXPECT_EQ(selector.red.value, 50);
  EXPECT_EQ(selector.green.value, 100);
  EXPECT_EQ(selector.chosen, 0xFF7FFEFEu);

  // Blue alone, when neither red nor green is pressed.
  Release();
  Frame(379, 700, kPressed);
  EXPECT_EQ(selector.blue.value, 0);
  EXPECT_EQ(selector.chosen, 0xFF7FFE00u);
}

TEST_F(ColourSelectorTest, FinishArrowsStopAtZeroAndThreeAndRepaintTheBallAtOnce) {
  struct Case {
    uint8_t from;
    bool up;
    uint8_t to;
    uint8_t reflection;  // of the paint rule's finish "to"
  };
  const Case cases[] = {
      {0, true, 0, 2},    {0, false, 1, 15}, {1, false, 2, 96}, {2, false, 3, 206},
      {3, false, 3, 206}, {3, true, 2, 96},  {1, true, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.from) << (c.up ? " up" : " down"));
    selector.finish = c.from;
    Frame(617, c.up ? 720 : 729, kPressed);
    Release();
    EXPECT_EQ(selector.finish, c.to);
    EXPECT_EQ(BallReflection(), c.reflection);
  }
}

TEST_F(ColourSelectorTest, DrawShowsThePercentsOfChosenAndTheFinishName) {
  // 0x3C = 60 -> 23 %, 0xF7 = 247 -> 96 %, 0xFF = 255 -> 100 %:
  // trunc(byte x 0.39215687).
  selector.chosen = 0xFF3CF7FF;
  selector.finish = 3;
  ClearDrawn();
  selector.Draw(graphics);
  ASSERT_EQ(device().texts.size(), 4u);
  const char* expected[4] = {"23", "96", "100", "Chrom,eingef\xE4rbt"};
  const int at[4][2] = {{517, 662}, {517, 677}, {517, 692}, {480, 717}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(BlockText(device().texts[i]), expected[i]);
    EXPECT_EQ(device().texts[i].quads[0].x0, at[i][0]);
    EXPECT_EQ(device().texts[i].color, 0xFFFFFFFFu);
  }
  EXPECT_EQ(Drawn().size(), 5u) << "two arrows and three knobs";

  selector.finish = 4;  // no name
  ClearDrawn();
  selector.Draw(graphics);
  EXPECT_EQ(device().texts.size(), 3u);
}

TEST_F(ColourSelectorTest, BallIsDrawnWithoutDepthTestOrBlendingWithSubsetZerosPaint) {
  Frame(300, 300, 0);
  selector.finish = 2;
  Frame(300, 300, 0);  // chrome: reflection 96
  graphics.SetRenderStateCached(RS_ZENABLE, ZB_TRUE);
  graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
  graphics.SetRenderStateCached(RS_FILLMODE, FILL_WIREFRAME);
  CubeTextureSlots cubes(graphics);
  ClearDrawn();
  selector.DrawBall(graphics, cubes);

  EXPECT_EQ(device().GetRenderState(RS_ZENABLE), uint32_t{ZB_FALSE});
  EXPECT_EQ(device().GetRenderState(RS_ALPHABLENDENABLE), 0u);
  EXPECT_EQ(device().GetRenderState(RS_FILLMODE), uint32_t{FILL_SOLID});
  EXPECT_EQ(device().GetRenderState(RS_LIGHTING), 1u);
  EXPECT_EQ(device().GetRenderState(RS_SPECULARENABLE), 1u);
  EXPECT_EQ(device().GetRenderState(RS_CULLMODE), uint32_t{CULL_CCW});
  EXPECT_EQ(device().GetRenderState(RS_SHADEMODE), uint32_t{SHADE_GOURAUD});
  EXPECT_EQ(device().RenderStateValuesSent(RS_TEXTUREFACTOR), std::vector<uint32_t>{96u << 24});
  // Both subsets, each with subset 0's material.
  EXPECT_EQ(device().Count(DeviceCallKind::kDrawSubset), 2u);
  ASSERT_EQ(device().MaterialsSent().size(), 1u);
  EXPECT_FLOAT_EQ(device().MaterialsSent()[0].diffuse.r, 0.4f) << "chrome's own grey 0x66";
  // The stage is left as plain texturing with nothing bound.
  EXPECT_EQ(device().GetTextureStageState(0, TSS_COLOROP), uint32_t{TOP_MODULATE});
  EXPECT_EQ(device().BoundTexture(0), TextureHandle::kNone);
  // The paint-ball camera, which sees the unmoved ball left of and below
  // the centre of the picture.
  // The origin's depth in view space is (O - eye) . (at - eye) / |at - eye|
  // = 817066 / 900.234 = 907.6.
  const Vec3 origin = TransformCoord({0, 0, 0}, device().Transform(TS_VIEW));
  EXPECT_NEAR(origin.z, 907.6f, 0.1f);
  EXPECT_LT(origin.x, 0.0f);
  EXPECT_LT(origin.y, 0.0f);
  // The full-screen projection: 45 degrees, 4:3; y scale 1 / tan(22.5 deg).
  const Matrix& projection = device().Transform(TS_PROJECTION);
  EXPECT_NEAR(projection.m[1][1], 2.4142f, 1e-4f);
  EXPECT_NEAR(projection.m[0][0], 2.4142f * 0.75f, 1e-4f);
  EXPECT_TRUE(IsIdentity(device().Transform(TS_WORLD)));
}

}  // namespace
}  // namespace kbh
