// The real face lookup and rasteriser, on the fonts the machine has
// (scripts/install-deps installs a sans family that "Verdana" resolves to).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/font/font.hpp"
#include "platform/font/text_layout.hpp"

namespace kbh {
namespace {

TEST(OpenFont, TheProgramsFontsGetTheirCellHeightAndWeight) {
  const std::unique_ptr<Font> main = OpenFont("Verdana", 14, 520);
  const std::unique_ptr<Font> textBox = OpenFont("Verdana", 15, 600);
  const std::unique_ptr<Font> message = OpenFont("Verdana", 13, 500);
  ASSERT_TRUE(main && textBox && message) << "no face for Verdana";
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
  // Tab stops come from the face's own average width.
  EXPECT_GE(main->averageCharWidth, 4);
  EXPECT_LE(main->averageCharWidth, 10);

  EXPECT_EQ(OpenFont("Verdana", 0, 400), nullptr);
  EXPECT_EQ(OpenFont("Verdana", -14, 400), nullptr);
  EXPECT_EQ(OpenFont("Verdana", kMaxFontCellHeight + 1, 400), nullptr);
}

TEST(OpenFont, RasterisesEveryDefinedByteIntoOneWhiteCoverageAtlas) {
  const std::unique_ptr<Font> font = OpenFont("Verdana", 14, 520);
  ASSERT_TRUE(font);
  const Image& atlas = font->atlas;
  ASSERT_EQ(atlas.texels.size(), static_cast<size_t>(atlas.width) * atlas.height);
  EXPECT_EQ(atlas.sourceFormat, FMT_A8R8G8B8);
  for (uint32_t texel : atlas.texels)
    ASSERT_EQ(texel & 0x00FFFFFFu, 0x00FFFFFFu);
  for (int a = 0; a < 256; ++a) {
    const GlyphMetrics& one = font->glyphs[a];
    EXPECT_LE(one.atlasX + one.width, atlas.width);
    EXPECT_LE(one.atlasY + one.height, atlas.height);
    for (int b = a + 1; b < 256 && one.width > 0; ++b) {
      const GlyphMetrics& other = font->glyphs[b];
      EXPECT_FALSE(other.width > 0 && one.atlasX < other.atlasX + other.width &&
                   other.atlasX < one.atlasX + one.width &&
                   one.atlasY < other.atlasY + other.height &&
                   other.atlasY < one.atlasY + one.height)
          << "glyphs " << a << " and " << b << " overlap";
    }
  }

  // The umlaut is a u with dots above it: as wide, taller, with ink.
  const GlyphMetrics& u = font->glyphs['u'];
  const GlyphMetrics& umlaut = font->glyphs[0xFC];
  EXPECT_EQ(umlaut.advance, u.advance);
  EXPECT_GT(umlaut.bearingY, u.bearingY);
  uint32_t ink = 0;
  for (int row = 0; row < umlaut.height; ++row) {
    for (int column = 0; column < umlaut.width; ++column)
      ink =
          std::max(ink, atlas.texels[(umlaut.atlasY + row) * atlas.width + umlaut.atlasX + column]);
  }
  EXPECT_GT(ink >> 24, 200u);
  EXPECT_GT(font->glyphs[0x80].width, 0) << "euro sign";
  // Undefined and control bytes draw nothing, whatever the face has for them.
  for (uint8_t silent : {0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x00, 0x09, 0x0A, 0x7F})
    EXPECT_EQ(font->glyphs[silent].advance + font->glyphs[silent].width, 0) << int{silent};
  EXPECT_GT(font->glyphs[' '].advance, 0);

  // Real glyphs land on whole pixels with their atlas texels 1:1.
  TextLayout layout;
  LayoutText(*font, "M\xFCller", {15, 15, 15, 15}, kTextNoClip, &layout);
  ASSERT_EQ(layout.quads.size(), 6u);
  for (const GlyphQuad& quad : layout.quads) {
    EXPECT_EQ(quad.x0, static_cast<int>(quad.x0));
    EXPECT_EQ(quad.y0, static_cast<int>(quad.y0));
    EXPECT_EQ(quad.x1 - quad.x0, quad.u1 - quad.u0);
  }
}

}  // namespace
}  // namespace kbh
