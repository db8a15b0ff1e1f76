#include "gfx/text.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/font/fake_font.hpp"

namespace kbh {
namespace {

// Remembers the textures and glyph draws it is asked for; everything else is
// ignored.
class GlyphDevice : public Device {
 public:
  struct GlyphDraw {
    TextureHandle atlas;
    std::vector<GlyphQuad> quads;
    uint32_t color;
    bool clipped;
  };
  std::vector<Image> createdTextures;
  std::vector<TextureHandle> releasedTextures;
  std::vector<GlyphDraw> glyphDraws;
  bool failTextures = false;

  void SetRenderState(RenderState, uint32_t) override {}
  uint32_t GetRenderState(RenderState) const override { return 0; }
  void SetTextureStageState(uint32_t, TextureStageState, uint32_t) override {}
  void SetTransform(TransformType, const Matrix&) override {}
  void SetLight(uint32_t, const Light&) override {}
  void LightEnable(uint32_t, bool) override {}
  void SetMaterial(const Material&) override {}
  void SetTexture(uint32_t, TextureHandle) override {}
  TextureHandle CreateTexture(const Image& image) override {
    if (failTextures) return TextureHandle::None;
    createdTextures.push_back(image);
    return static_cast<TextureHandle>(createdTextures.size());
  }
  TextureHandle CreateMipmappedTexture(const Image&) override { return TextureHandle::None; }
  TextureHandle CreateCubeTexture(const CubeImage&) override { return TextureHandle::None; }
  TextureHandle CreateRenderTexture(int, int) override { return TextureHandle::None; }
  void ReleaseTexture(TextureHandle texture) override { releasedTextures.push_back(texture); }
  SurfaceHandle CreateDepthSurface(int, int) override { return SurfaceHandle::None; }
  void ReleaseSurface(SurfaceHandle) override {}
  MeshHandle CreateMesh(const MeshData&) override { return MeshHandle::None; }
  void ReleaseMesh(MeshHandle) override {}
  void SetRenderTarget(TextureHandle, SurfaceHandle) override {}
  TextureHandle GetRenderTarget() const override { return TextureHandle::None; }
  SurfaceHandle GetDepthSurface() const override { return SurfaceHandle::None; }
  void Clear(uint32_t, uint32_t, float, uint32_t) override {}
  void BeginScene() override {}
  void EndScene() override {}
  bool Present() override { return true; }
  void DrawSubset(MeshHandle, uint32_t) override {}
  void DrawSprite(const SpriteDraw&) override {}
  void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                  const PixelRect* clip) override {
    glyphDraws.push_back({atlas, {quads.begin(), quads.end()}, color, clip != nullptr});
  }
  void DrawLine(Vec2, Vec2, float, uint32_t) override {}
  Image ReadRenderTarget() override { return {}; }
};

// A record around the block font (10-pixel blocks, line step 14), so that
// positions are known exactly.
std::unique_ptr<FontRecord> BlockRecord() {
  auto record = std::make_unique<FontRecord>();
  record->font = std::make_unique<Font>(MakeBlockFont(10, 11, 3));
  record->atlas = static_cast<TextureHandle>(7);
  record->lineHeight = 13;
  return record;
}

TEST(TextFont, CreatesTheProgramsFontsWithTheirListLineHeights) {
  GlyphDevice device;
  std::unique_ptr<FontRecord> main = CreateTextFont(device, 14, 520, nullptr, "Verdana");
  std::unique_ptr<FontRecord> textBox = CreateTextFont(device, 15, 600, 0, "Verdana");
  std::unique_ptr<FontRecord> info = CreateTextFont(device, 13, 600, nullptr, "Verdana");
  ASSERT_TRUE(main && textBox && info);
  EXPECT_EQ(main->lineHeight, 13);
  EXPECT_EQ(textBox->lineHeight, 14);
  EXPECT_EQ(info->lineHeight, 12);

  // Each uploads its own atlas, as the font rasterised it.
  ASSERT_EQ(device.createdTextures.size(), 3u);
  EXPECT_EQ(device.createdTextures[0].texels, main->font->atlas.texels);
  EXPECT_NE(main->atlas, textBox->atlas);

  const TextureHandle atlas = main->atlas;
  EXPECT_TRUE(ReleaseTextFont(device, main));
  EXPECT_EQ(main, nullptr);
  EXPECT_EQ(device.releasedTextures, std::vector<TextureHandle>{atlas});
  EXPECT_FALSE(ReleaseTextFont(device, main));
  EXPECT_EQ(device.releasedTextures.size(), 1u);
  ReleaseTextFont(device, textBox);
  ReleaseTextFont(device, info);

  EXPECT_EQ(CreateTextFont(device, 0, 400, nullptr, "Verdana"), nullptr);
  device.failTextures = true;
  EXPECT_EQ(CreateTextFont(device, 14, 520, nullptr, "Verdana"), nullptr);
}

TEST(TextDrawing, NullFontsDrawAndMeasureNothing) {
  GlyphDevice device;
  DrawTextAt(device, nullptr, 15, 15, "Frames: 60", 0xFFFAFAFA);
  DrawTextInBox(device, nullptr, 0, 0, "Hilfe", 0xFFFFFAFA, {0, 0, 286, 122});
  EXPECT_TRUE(device.glyphDraws.empty());
  EXPECT_EQ(MeasureTextInBox(nullptr, "Hilfe", 286).height, 0);
}

TEST(TextDrawing, DrawTextAtIsOneUnclippedLinePerLineFeed) {
  GlyphDevice device;
  std::unique_ptr<FontRecord> font = BlockRecord();
  DrawTextAt(device, font.get(), 730, 600, "Teil wird eingebaut!\nx", 0xFFDD5252);
  ASSERT_EQ(device.glyphDraws.size(), 1u);
  const GlyphDevice::GlyphDraw& draw = device.glyphDraws[0];
  EXPECT_EQ(draw.atlas, font->atlas);
  EXPECT_EQ(draw.color, 0xFFDD5252u);
  EXPECT_FALSE(draw.clipped);
  // Runs past the right edge of the screen unwrapped; the line feed still
  // starts a second line.
  EXPECT_EQ(draw.quads.front().x0, 730);
  EXPECT_EQ(draw.quads.front().y0, 600);
  EXPECT_EQ(draw.quads[draw.quads.size() - 2].x1, 730 + 20 * 10);
  EXPECT_EQ(draw.quads.back().y0, 614);

  // Empty text costs no draw call.
  DrawTextAt(device, font.get(), 730, 600, "", 0xFFDD5252);
  EXPECT_EQ(device.glyphDraws.size(), 1u);
}

TEST(TextDrawing, DrawTextInBoxWrapsExpandsTabsAndStaysInsideItsBox) {
  GlyphDevice device;
  std::unique_ptr<FontRecord> font = BlockRecord();
  const std::string_view text = "a\tb cdefghijk lm nopq rstuvw";
  // The box runs from (100, -14) to (200, 21); the size rectangle's left and
  // top are not used.
  DrawTextInBox(device, font.get(), 100, -14, text, 0xFFFFFAFA, {55, 66, 100, 35});
  ASSERT_EQ(device.glyphDraws.size(), 1u);
  const std::vector<GlyphQuad>& quads = device.glyphDraws[0].quads;
  // "a<tab>b" / "cdefghijk" / "lm nopq" cut at the bottom / "rstuvw" unseen.
  ASSERT_EQ(quads.size(), 2u + 9u + 6u);
  EXPECT_EQ(quads[0].x0, 100);
  EXPECT_EQ(quads[1].x0, 180);  // the tab stop eight blocks in
  EXPECT_EQ(quads[1].y0, -14);
  EXPECT_EQ(quads[2].x0, 100);
  EXPECT_EQ(quads[2].y0, 0);
  EXPECT_EQ(quads.back().y0, 14);
  EXPECT_EQ(quads.back().y1, 21);
  for (const GlyphQuad& quad : quads)
    EXPECT_LE(quad.x1, 200);

  const TextSize size = MeasureTextInBox(font.get(), text, 100);
  EXPECT_EQ(size.width, 90);
  EXPECT_EQ(size.height, 4 * 14);
}

}  // namespace
}  // namespace kbh
