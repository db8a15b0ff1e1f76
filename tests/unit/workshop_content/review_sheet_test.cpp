// The skin's painting kit and the review sheets: pictures come out in the
// format that draws them as meant, copies are exact, stretched pictures keep
// their colours, and a sheet shows what the program would show where it
// would show it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/workshop/review_sheets.hpp"
#include "tools/workshop/skin.hpp"
#include "tools/workshop/skin_kit.hpp"

namespace kbh {
namespace {

uint32_t Texel(const Image& image, int x, int y) {
  return image.texels[static_cast<size_t>(y) * image.width + x];
}

Image Solid(int width, int height, uint32_t argb, Format format) {
  Image image;
  image.width = width;
  image.height = height;
  image.sourceFormat = format;
  image.texels.assign(static_cast<size_t>(width) * height, argb);
  return image;
}

TEST(SkinKit, PicturesKeepAlphaOnlyWhenTheyNeedIt) {
  Canvas canvas(8, 4, Rgba{0.2f, 0.4f, 0.6f, 1.0f});
  EXPECT_EQ(skin::WholePicture(canvas).sourceFormat, FMT_X8R8G8B8);
  canvas.Set(7, 3, Rgba{0.2f, 0.4f, 0.6f, 0.5f});
  EXPECT_EQ(skin::WholePicture(canvas).sourceFormat, FMT_A8R8G8B8);
  // A cut that leaves the translucent corner out is opaque again.
  const Image cut = skin::CutPicture(canvas, 1, 1, 6, 2);
  EXPECT_EQ(cut.sourceFormat, FMT_X8R8G8B8);
  EXPECT_EQ(cut.width, 6);
  EXPECT_EQ(Texel(cut, 0, 0), 0xFF336699u);

  // A hit mask: half covered or more is clickable, the rest is not.
  Canvas mask(3, 1);
  mask.Set(0, 0, Rgba{1, 1, 1, 0.49f});
  mask.Set(1, 0, Rgba{1, 1, 1, 0.5f});
  mask.Set(2, 0, Rgba{1, 1, 1, 0.9f});
  skin::HardenAlpha(mask);
  const Image hardened = skin::WholePicture(mask);
  EXPECT_EQ(Texel(hardened, 0, 0) >> 24, 0u);
  EXPECT_EQ(Texel(hardened, 1, 0) >> 24, 255u);
  EXPECT_EQ(Texel(hardened, 2, 0) >> 24, 255u);
}

TEST(SkinKit, CopiesAreExactAndDrawingFollowsTheFormat) {
  // Every byte value survives a copy in and out: the palette relies on it.
  Image ramp = Solid(256, 1, 0, FMT_A8R8G8B8);
  for (uint32_t v = 0; v < 256; ++v)
    ramp.texels[v] = (255u - v) << 24 | v << 16 | (v ^ 0x5A) << 8 | (255u - v);
  Canvas canvas(260, 3);
  skin::CopyPicture(canvas, ramp, 2, 1);
  const Image back = skin::CutPicture(canvas, 2, 1, 256, 1);
  EXPECT_EQ(back.texels, ramp.texels);

  const struct {
    Format format;
    uint32_t expected;  // half-transparent red drawn over opaque blue
  } cases[] = {
      {FMT_A8R8G8B8, 0xFF800080u},  // blended by its alpha
      {FMT_X8R8G8B8, 0xFFFF0000u},  // opaque, its alpha ignored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    Canvas under(2, 2, Rgba{0, 0, 1, 1});
    skin::DrawPicture(under, Solid(1, 1, 0x80FF0000u, c.format), 1, 1);
    const Image result = skin::WholePicture(under);
    EXPECT_EQ(Texel(result, 0, 0), 0xFF0000FFu);
    const uint32_t got = Texel(result, 1, 1);
    for (int shift : {0, 8, 16, 24}) {
      EXPECT_NEAR(static_cast<int>((got >> shift) & 255),
                  static_cast<int>((c.expected >> shift) & 255), 1);
    }
  }
}

TEST(SkinKit, StretchingKeepsAFlatPictureFlatAndFillsItsRectangleOnly) {
  Canvas canvas(40, 20);
  skin::DrawPictureStretched(canvas, Solid(16, 13, 0xFF8C1E1Au, FMT_X8R8G8B8), 5, 3, 30, 13);
  const Image result = skin::WholePicture(canvas);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x < 35 && y >= 3 && y < 16;
      ASSERT_EQ(Texel(result, x, y), inside ? 0xFF8C1E1Au : 0u) << x << ", " << y;
    }
  }
}

TEST(ReviewSheets, LogosAreFittedAsTheSellerPanelFitsThem) {
  // The seller panel's own examples, worked out by hand: shrink to 190 wide,
  // then to 66 high, centre in 190 x 68 from (456, 667).
  const struct {
    int width, height;
    layout::Rect expected;
  } cases[] = {
      {190, 66, {456, 668, 190, 66}},
      {380, 66, {456, 684, 190, 33}},
      {100, 132, {526, 668, 50, 66}},
      {40, 20, {531, 691, 40, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const layout::Rect got = FitLogo(c.width, c.height);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
    EXPECT_EQ(got.width, c.expected.width);
    EXPECT_EQ(got.height, c.expected.height);
  }
}

class ReviewSheetsOfTheSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    lettering_ = new Lettering;
    std::string error;
    for (const std::vector<TextStyle>& styles : {skin::SkinFonts(), ReviewFonts()}) {
      for (const TextStyle& style : styles)
        ASSERT_TRUE(lettering_->Prepare(style, &error)) << error;
    }
    skin_ = new skin::Skin;
    ASSERT_TRUE(skin::MakeSkin(*lettering_, skin_, &error)) << error;
    // Nothing rendered: a plain grey background is enough to see the skin.
    ReviewContent content;
    content.background = Solid(1024, 768, 0xFF404040u, FMT_X8R8G8B8);
    content.categories = {"Rahmen", "Gabel", "Lenker", "Tank", "Sitzbank", "Auspuff", "Motor"};
    sheets_ = new std::vector<ReviewSheet>(MakeReviewSheets(*skin_, *lettering_, content));
  }
  static void TearDownTestSuite() {
    delete sheets_;
    delete skin_;
    delete lettering_;
  }
  static Lettering* lettering_;
  static skin::Skin* skin_;
  static std::vector<ReviewSheet>* sheets_;
};
Lettering* ReviewSheetsOfTheSkin::lettering_ = nullptr;
skin::Skin* ReviewSheetsOfTheSkin::skin_ = nullptr;
std::vector<ReviewSheet>* ReviewSheetsOfTheSkin::sheets_ = nullptr;

TEST_F(ReviewSheetsOfTheSkin, OneSheetPerTabWithTheScreenOnTopAndTheStatesBelow) {
  const char* names[] = {"skin_tuneup.png",  "skin_spray.png", "skin_seller.png",
                         "skin_options.png", "skin_help.png",  "skin_account.png",
                         "skin_info.png"};
  ASSERT_EQ(sheets_->size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(names[i]);
    const Image& sheet = (*sheets_)[i].picture;
    EXPECT_EQ((*sheets_)[i].name, names[i]);
    EXPECT_EQ(sheet.width, 1024);
    EXPECT_GT(sheet.height, 768 + 40);
    // The background shows where the interface leaves the hall free.
    EXPECT_EQ(Texel(sheet, 900, 400), 0xFF404040u);
  }
  // Each active tab is lit at its place; the Account tab never is.
  const int tabs[][2] = {{150, 520}, {270, 520}, {415, 520}, {70, 720},
                         {110, 740}, {135, 720}, {160, 740}};
  for (int i = 0; i < 7; ++i) {
    const Image& lit = skin_->frame.tabsLit[i];
    const int x = lit.width / 2, y = lit.height - 4;  // on the lamp strip
    const uint32_t onSheet = Texel((*sheets_)[i].picture, tabs[i][0] + x, tabs[i][1] + y);
    EXPECT_EQ(onSheet == Texel(lit, x, y), i != 5) << i;
  }
}

TEST_F(ReviewSheetsOfTheSkin, ThePaintSheetShowsThePaletteThroughItsLabel) {
  const Image& sheet = (*sheets_)[1].picture;
  const Image& label = skin_->labels[1];
  // Through the label at (25, 560): the palette's texels at (547, 654),
  // except where the picker pointer lies over them.
  int same = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 100; ++x)
      same += Texel(sheet, 547 + x, 654 + y) == Texel(label, 522 + x, 94 + y);
  }
  EXPECT_GT(same, 100 * 60 - 400);
}

}  // namespace
}  // namespace kbh
