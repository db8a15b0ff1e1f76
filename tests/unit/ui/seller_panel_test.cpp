// The Seller screen's panel on the recording device: what a chosen part's
// record puts where, how a logo is fitted into its box, and the set-up of
// the description box and of the Help and Info panels.
#include "ui/seller_panel.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/ui/widget_test.hpp"
#include "ui/texts.hpp"

namespace kbh {
namespace {

using testing::Placed;

TEST(FitLogo, ShrinksByWidthThenByHeightAndCentresInTheTallerBox) {
  struct Case {
    int width, height;
    layout::Rect drawn;
  };
  const Case cases[] = {
      {380, 66, {456, 684, 190, 33}},    // by width: 66 x 190 / 380
      {100, 132, {526, 668, 50, 66}},    // by height: 100 x 66 / 132
      {190, 66, {456, 668, 190, 66}},    // fits exactly; centred in 68 rows
      {50, 20, {526, 691, 50, 20}},      // never enlarged
      {381, 67, {456, 684, 190, 33}},    // 67 x 190 / 381 = 33.4
      {191, 200, {519, 668, 63, 66}},    // 198 high after the width step, then 190 x 66 / 198
      {4000, 4000, {518, 668, 66, 66}},  // both steps
      {1, 1000, {551, 668, 0, 66}},      // 1 x 66 / 1000 truncates to nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    const layout::Rect r = FitLogo(c.width, c.height);
    EXPECT_EQ(r.x, c.drawn.x);
    EXPECT_EQ(r.y, c.drawn.y);
    EXPECT_EQ(r.width, c.drawn.width);
    EXPECT_EQ(r.height, c.drawn.height);
  }
}

// The panel with block-font text and a skin of 12 x 14 arrows.
class SellerPanelTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    for (const char* file : {"gui_textbox_arrowup.dds", "gui_textbox_arrowup_hover.dds",
                             "gui_textbox_arrowdown.dds", "gui_textbox_arrowdown_hover.dds"}) {
      WritePicture(std::string("gfx/gui/") + file, 12, 14);
    }
    WritePicture("gfx/gui/gui_textbox_mid.dds", 10, 8);
    screen.infoFont = BlockFont(13);
    SetUpTextBox(screen.infoBox, graphics, Dir(), screen.infoFont.get(), layout::kSellerDescription,
                 kSellerIntroText);

    item.record = std::make_unique<PartRecord>();
    record = item.record.get();
    logos.entries.resize(1);
    Complete();
  }
  // A full record, a logo of 380 x 66 and a picture for the part.
  void Complete() {
    record->text1 = "Rahmen Classic";
    record->text2 = "Preis: 189,00 DM";
    record->text4 = longText;
    record->text5 = "brenninger";
    part.image = Picture(300, 200);
    logos.entries[0] = LogoEntry{Picture(380, 66), "brenninger"};
  }
  void TearDown() override { screen.infoBox.Release(); }

 public:  // for the cases' lambdas, which reach the fixture through a reference
  std::unique_ptr<FontRecord> font = BlockFont(13);
  InfoScreen screen;
  CatalogueNode item;
  PartRecord* record = nullptr;
  PartModel part;
  LogoList logos;
  // Sixty lines of block glyphs: far more than the box shows.
  std::string longText = [] {
    std::string text;
    for (int i = 0; i < 60; ++i)
      text += "Zeile\n";
    return text;
  }();
};

TEST_F(SellerPanelTest, DrawsTitleDescriptionSecondLineLogoAndPictureInPlace) {
  SelectSeller(screen, graphics, &part, &item);
  ClearDrawn();
  DrawSellerPanel(screen, graphics, logos);

  ASSERT_EQ(device().texts.size(), 2u);
  EXPECT_EQ(device().texts[0].quads[0].x0, 255.0f);
  EXPECT_EQ(device().texts[0].quads.size(), record->text1.size() - 1) << "one space";
  EXPECT_EQ(device().texts[0].color, 0xFFFAFAFAu);
  EXPECT_EQ(device().texts[1].quads[0].x0, 355.0f);
  EXPECT_EQ(device().texts[1].color, 0xFFFAFAFAu);

  const std::vector<Placed> drawn = Drawn();
  // The picture, then the box with its two arrows and its track (the text
  // is higher than the box), so that the up arrow on the picture's corner
  // shows; then the logo.
  ASSERT_EQ(drawn.size(), 6u);
  EXPECT_EQ(drawn[0], (Placed{part.image->texture.get(), 511, 166, 235, 169}));
  EXPECT_EQ(drawn[1], (Placed{screen.infoBox.texture->texture.get(), 256, 206, 274, 278}));
  EXPECT_EQ(drawn[2].texture, screen.infoBox.upButton.image->texture.get());
  EXPECT_EQ(drawn[5], (Placed{logos.entries[0].image->texture.get(), 456, 684, 190, 33}));
  EXPECT_EQ(screen.infoBox.text, record->text4.c_str());
}

TEST_F(SellerPanelTest, WhatIsMissingIsLeftOut) {
  struct Case {
    const char* what;
    void (*change)(SellerPanelTest&);
    size_t texts;
    bool box, logo, picture;
  };
  const Case cases[] = {
      {"no title", [](SellerPanelTest& t) { t.record->text1.clear(); }, 1, true, true, true},
      {"no second line", [](SellerPanelTest& t) { t.record->text2.clear(); }, 1, true, true, true},
      {"no description", [](SellerPanelTest& t) { t.record->text4.clear(); }, 2, false, true, true},
      {"no logo name", [](SellerPanelTest& t) { t.record->text5.clear(); }, 2, true, false, true},
      {"unknown logo", [](SellerPanelTest& t) { t.record->text5 = "Brenninger"; }, 2, true, false,
       true},
      {"logo without picture", [](SellerPanelTest& t) { ReleaseTexture(t.logos.entries[0].image); },
       2, true, false, true},
      {"part without picture", [](SellerPanelTest& t) { ReleaseTexture(t.part.image); }, 2, true,
       true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Complete();
    c.change(*this);
    SelectSeller(screen, graphics, &part, &item);
    ClearDrawn();
    DrawSellerPanel(screen, graphics, logos);
    EXPECT_EQ(device().texts.size(), c.texts);
    size_t pictures = 0;
    bool boxDrawn = false;
    for (const Placed& p : Drawn()) {
      if (p.x == 256 && p.y == 206) boxDrawn = true;
      if (p.x == 456 || p.x == 511) ++pictures;
    }
    EXPECT_EQ(boxDrawn, c.box);
    EXPECT_EQ(pictures, size_t{c.logo} + size_t{c.picture});
  }
}

TEST_F(SellerPanelTest, WithoutRecordNothingIsDrawnAndTheDescriptionStays) {
  SelectSeller(screen, graphics, &part, nullptr);
  EXPECT_EQ(screen.info, nullptr);
  EXPECT_EQ(screen.part, &part);
  EXPECT_EQ(screen.infoBox.text, kSellerIntroText);
  CatalogueNode bare;  // an item without a record
  SelectSeller(screen, graphics, nullptr, &bare);
  EXPECT_EQ(screen.part, nullptr);
  EXPECT_EQ(screen.infoBox.text, kSellerIntroText);
  ClearDrawn();
  DrawSellerPanel(screen, graphics, logos);
  EXPECT_TRUE(Drawn().empty());
  EXPECT_TRUE(device().texts.empty());
}

TEST_F(SellerPanelTest, ANewDescriptionKeepsTheScrollOffsetOfTheLastOne) {
  SelectSeller(screen, graphics, &part, &item);
  // Down arrow at (256 + 274 - 12 + 4, 206 + 278 - 14 + 8) = (522, 478).
  for (int i = 0; i < 3; ++i) {
    PointAt(528, 484, kButtonHeld | kButtonWentDown);
    UpdateInfoBox(screen, context, graphics);
    PointAt(528, 484, 0);
    UpdateInfoBox(screen, context, graphics);
  }
  EXPECT_EQ(screen.infoBox.scroll, -3 * 14) << "three steps of lineHeight + 1";

  CatalogueNode other;
  other.record = std::make_unique<PartRecord>();
  other.record->text4 = "Kurz.";
  SelectSeller(screen, graphics, &part, &other);
  EXPECT_EQ(screen.info, other.record.get());
  EXPECT_EQ(screen.infoBox.text, other.record->text4.c_str());
  EXPECT_EQ(screen.infoBox.scroll, -42);
}

TEST_F(SellerPanelTest, HelpAndInfoPanelsSitAtTheTextPanelPlace) {
  TextBox help;
  SetUpTextBox(help, graphics, Dir(), font.get(), layout::kTextPanel, kHelpText);
  EXPECT_EQ(help.x, 270);
  EXPECT_EQ(help.y, 578);
  EXPECT_EQ(help.width, 286);
  EXPECT_EQ(help.height, 122);
  ASSERT_NE(help.texture, nullptr);
  EXPECT_EQ(help.text, kHelpText);
  EXPECT_NE(help.trackImage, nullptr);
  EXPECT_GT(help.textHeight, help.height) << "the help text scrolls";
  help.Release();
}

TEST_F(SellerPanelTest, InitInfoScreenMakesTheFontTheBoxAndTheSpareTexture) {
  InfoScreen fresh;
  ASSERT_TRUE(InitInfoScreen(fresh, graphics, Dir())) << log.Text();
  ASSERT_NE(fresh.infoFont, nullptr);
  EXPECT_EQ(fresh.infoBox.font, fresh.infoFont.get());
  EXPECT_EQ(fresh.infoBox.x, 256);
  EXPECT_EQ(fresh.infoBox.y, 206);
  EXPECT_EQ(fresh.infoBox.width, 274);
  EXPECT_EQ(fresh.infoBox.height, 278);
  EXPECT_EQ(fresh.infoBox.text, kSellerIntroText);
  ASSERT_NE(fresh.spareTexture, nullptr);
  EXPECT_EQ(fresh.spareTexture->width, 235);
  EXPECT_EQ(fresh.spareTexture->height, 122);
  const size_t live = device().LiveTextures();
  ReleaseInfoScreen(fresh, graphics);
  EXPECT_EQ(fresh.infoFont, nullptr);
  EXPECT_EQ(fresh.spareTexture, nullptr);
  // Font atlas, box texture, four arrow pictures, track, spare texture.
  EXPECT_EQ(device().LiveTextures(), live - 8);

  // Without a font the panel could show nothing: the set-up fails.
  device().FailNextCreate();
  InfoScreen fontless;
  EXPECT_FALSE(InitInfoScreen(fontless, graphics, Dir()));
  ReleaseInfoScreen(fontless, graphics);
}

}  // namespace
}  // namespace kbh
