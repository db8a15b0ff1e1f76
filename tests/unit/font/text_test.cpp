#include "gfx/text.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/font/fake_font.hpp"
#include "platform/gpu/recording_device.hpp"

namespace kbh {
namespace {

// Keeps the quads of every glyph draw, which the recording device only counts.
class GlyphDevice : public RecordingDevice {
 public:
  std::vector<std::vector<GlyphQuad>> glyphDraws;
  void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                  const PixelRect* clip) override {
    EXPECT_EQ(clip, nullptr) << "the quads are cut already";
    glyphDraws.emplace_back(quads.begin(), quads.end());
    RecordingDevice::DrawGlyphs(atlas, quads, color, clip);
  }
};

// A record around the block font (10-pixel blocks, line step 14), so that
// positions are known exactly.
std::unique_ptr<FontRecord> BlockRecord() {
  auto record = std::make_unique<FontRecord>();
  record->font = std::make_unique<Font>(MakeBlockFont(10, 11, 3));
  record->atlas = static_cast<TextureHandle>(7);
  return record;
}

TEST(TextFont, CreatesTheProgramsFontsWithTheirListLineHeights) {
  GlyphDevice device;
  std::unique_ptr<FontRecord> main = CreateTextFont(device, 14, 520, nullptr, "Verdana");
  std::unique_ptr<FontRecord> info = CreateTextFont(device, 13, 600, nullptr, "Verdana");
  ASSERT_TRUE(main && info);
  EXPECT_EQ(main->lineHeight, 13);
  EXPECT_EQ(info->lineHeight, 12);
  // Each uploads its own atlas.
  int width = 0, height = 0;
  ASSERT_TRUE(device.TextureSize(main->atlas, &width, &height));
  EXPECT_EQ(width, main->font->atlas.width);
  EXPECT_NE(main->atlas, info->atlas);

  EXPECT_TRUE(ReleaseTextFont(device, main));
  EXPECT_EQ(main, nullptr);
  EXPECT_FALSE(ReleaseTextFont(device, main));
  EXPECT_EQ(device.LiveTextures(), 1u);
  ReleaseTextFont(device, info);

  EXPECT_EQ(CreateTextFont(device, 0, 400, nullptr, "Verdana"), nullptr);
  device.FailNextCreate();
  EXPECT_EQ(CreateTextFont(device, 14, 520, nullptr, "Verdana"), nullptr);
}

TEST(TextDrawing, NullFontsDrawAndMeasureNothingAndEmptyTextCostsNoDraw) {
  GlyphDevice device;
  DrawTextAt(device, nullptr, 15, 15, "Frames: 60", 0xFFFAFAFA);
  DrawTextInBox(device, nullptr, 0, 0, "Hilfe", 0xFFFFFAFA, {0, 0, 286, 122});
  EXPECT_EQ(MeasureTextInBox(nullptr, "Hilfe", 286).height, 0);
  DrawTextAt(device, BlockRecord().get(), 730, 600, "", 0xFFDD5252);
  EXPECT_EQ(device.Count(DeviceCallKind::kDrawGlyphs), 0u);
}

TEST(TextDrawing, DrawTextAtIsOneUnclippedLinePerLineFeed) {
  GlyphDevice device;
  std::unique_ptr<FontRecord> font = BlockRecord();
  DrawTextAt(device, font.get(), 730, 600, "Teil wird eingebaut!\nx", 0xFFDD5252);
  ASSERT_EQ(device.glyphDraws.size(), 1u);
  EXPECT_EQ(device.Calls().back().a, 7u);  // the atlas
  EXPECT_EQ(device.Calls().back().c, 0xFFDD5252u);
  // Runs past the right edge of the screen unwrapped; the line feed still
  // starts a second line.
  const std::vector<GlyphQuad>& quads = device.glyphDraws[0];
  EXPECT_EQ(quads.front().x0, 730);
  EXPECT_EQ(quads.front().y0, 600);
  EXPECT_EQ(quads[quads.size() - 2].x1, 730 + 20 * 10);
  EXPECT_EQ(quads.back().y0, 614);
}

TEST(TextDrawing, DrawTextInBoxWrapsExpandsTabsAndStaysInsideItsBox) {
  GlyphDevice device;
  std::unique_ptr<FontRecord> font = BlockRecord();
  const std::string_view text = "a\tb cdefghijk lm nopq rstuvw";
  // The box runs from (100, -14) to (200, 21); the size rectangle's left and
  // top are not used.
  DrawTextInBox(device, font.get(), 100, -14, text, 0xFFFFFAFA, {55, 66, 100, 35});
  ASSERT_EQ(device.glyphDraws.size(), 1u);
  const std::vector<GlyphQuad>& quads = device.glyphDraws[0];
  // "a<tab>b" / "cdefghijk" / "lm nopq" cut at the bottom / "rstuvw" unseen.
  ASSERT_EQ(quads.size(), 2u + 9u + 6u);
  EXPECT_EQ(quads[1].x0, 180);  // the tab stop eight blocks in
  EXPECT_EQ(quads[1].y0, -14);
  EXPECT_EQ(quads[2].x0, 100);
  EXPECT_EQ(quads[2].y0, 0);
  EXPECT_EQ(quads.back().y1, 21);
  for (const GlyphQuad& quad : quads)
    EXPECT_LE(quad.x1, 200);

  const TextSize size = MeasureTextInBox(font.get(), text, 100);
  EXPECT_EQ(size.width, 90);
  EXPECT_EQ(size.height, 4 * 14);
}

}  // namespace
}  // namespace kbh
