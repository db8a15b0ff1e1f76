// The real face lookup and rasteriser, on the fonts the machine has
// (scripts/install-deps installs a sans family that "Verdana" resolves to).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/font/font.hpp"
#include "platform/font/text_layout.hpp"

namespace kbh {
namespace {

std::unique_ptr<Font> Open(int height, int weight) {
  std::unique_ptr<Font> font = OpenFont("Verdana", height, weight);
  EXPECT_NE(font, nullptr) << "no face for Verdana at " << height << "/" << weight;
  return font;
}

TEST(OpenFont, TheProgramsFontsGetTheirCellHeightAndWeight) {
  std::unique_ptr<Font> main = Open(14, 520);
  std::unique_ptr<Font> textBox = Open(15, 600);
  std::unique_ptr<Font> message = Open(13, 500);
  ASSERT_TRUE(main && textBox && message);

  EXPECT_TRUE(std::filesystem::exists(main->fileName)) << main->fileName;
  EXPECT_NEAR(main->lineStep, 14, 1);
  EXPECT_EQ(main->lineStep, main->ascent + main->descent);
  EXPECT_NEAR(textBox->lineStep, 15, 1);
  EXPECT_NEAR(message->lineStep, 13, 1);

  // 520 and 500 are regular, 600 is a real bold face of the same family.
  EXPECT_EQ(main->faceWeight, 400);
  EXPECT_EQ(message->fileName, main->fileName);
  EXPECT_GE(textBox->faceWeight, 600);
  EXPECT_FALSE(textBox->syntheticBold);
  EXPECT_NE(textBox->fileName, main->fileName);
  EXPECT_EQ(textBox->familyName, main->familyName);
  // Bold strokes take more room; tab stops come from the face's own average.
  EXPECT_GT(MeasureText(*textBox, "Vergaser", 0, 0).width,
            MeasureText(*main, "Vergaser", 0, 0).width);
  EXPECT_GE(main->averageCharWidth, 4);
  EXPECT_LE(main->averageCharWidth, 10);
}

TEST(OpenFont, RefusesHeightsOutsideTheSupportedRange) {
  EXPECT_EQ(OpenFont("Verdana", 0, 400), nullptr);
  EXPECT_EQ(OpenFont("Verdana", -14, 400), nullptr);
  EXPECT_EQ(OpenFont("Verdana", kMaxFontCellHeight + 1, 400), nullptr);
}

bool Overlap(const GlyphMetrics& a, const GlyphMetrics& b) {
  return a.atlasX < b.atlasX + b.width && b.atlasX < a.atlasX + a.width &&
         a.atlasY < b.atlasY + b.height && b.atlasY < a.atlasY + a.height;
}

TEST(OpenFont, RasterisesEveryDefinedByteIntoOneWhiteCoverageAtlas) {
  std::unique_ptr<Font> font = Open(14, 520);
  ASSERT_TRUE(font);
  const Image& atlas = font->atlas;
  ASSERT_GT(atlas.width, 0);
  ASSERT_EQ(atlas.texels.size(), static_cast<size_t>(atlas.width) * atlas.height);
  EXPECT_EQ(atlas.sourceFormat, FMT_A8R8G8B8);
  for (uint32_t texel : atlas.texels)
    ASSERT_EQ(texel & 0x00FFFFFFu, 0x00FFFFFFu);

  for (int a = 0; a < 256; ++a) {
    const GlyphMetrics& glyph = font->glyphs[a];
    if (glyph.width == 0) continue;
    EXPECT_LE(glyph.atlasX + glyph.width, atlas.width);
    EXPECT_LE(glyph.atlasY + glyph.height, atlas.height);
    for (int b = a + 1; b < 256; ++b) {
      if (font->glyphs[b].width == 0) continue;
      EXPECT_FALSE(Overlap(glyph, font->glyphs[b])) << a << " " << b;
    }
  }

  // The umlaut is a u with dots above it: as wide, taller, with ink.
  const GlyphMetrics& u = font->glyphs['u'];
  const GlyphMetrics& uUmlaut = font->glyphs[0xFC];
  EXPECT_EQ(uUmlaut.advance, u.advance);
  EXPECT_GT(uUmlaut.bearingY, u.bearingY);
  uint32_t maxAlpha = 0;
  for (int row = 0; row < uUmlaut.height; ++row) {
    for (int column = 0; column < uUmlaut.width; ++column) {
      const uint32_t texel =
          atlas.texels[(uUmlaut.atlasY + row) * atlas.width + uUmlaut.atlasX + column];
      maxAlpha = std::max(maxAlpha, texel >> 24);
    }
  }
  EXPECT_GT(maxAlpha, 200u);
  EXPECT_GT(font->glyphs[0x80].width, 0) << "euro sign";

  // Real glyphs land on whole pixels with their atlas texels 1:1.
  TextLayout layout;
  LayoutText(*font,
             "M\xFC"
             "ller",
             {15, 15, 15, 15}, kTextNoClip, &layout);
  ASSERT_EQ(layout.quads.size(), 6u);
  for (const GlyphQuad& quad : layout.quads) {
    EXPECT_EQ(quad.x0, static_cast<int>(quad.x0));
    EXPECT_EQ(quad.y0, static_cast<int>(quad.y0));
    EXPECT_EQ(quad.x1 - quad.x0, quad.u1 - quad.u0);
  }

  for (uint8_t silent : {0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x00, 0x09, 0x0A, 0x7F}) {
    EXPECT_EQ(font->glyphs[silent].advance, 0) << int{silent};
    EXPECT_EQ(font->glyphs[silent].width, 0) << int{silent};
  }
  EXPECT_GT(font->glyphs[' '].advance, 0);
  EXPECT_EQ(font->glyphs[' '].width, 0);
}

}  // namespace
}  // namespace kbh
