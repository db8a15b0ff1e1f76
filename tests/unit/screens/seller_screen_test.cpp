#include "screens/seller_screen.hpp"

#include <gtest/gtest.h>

#include <string>

#include "screens/screen.hpp"
#include "tests/unit/ui/widget_test.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

// Installed: a frame without record, a tank whose record has a description
// and a title, a mirror whose record has only a title, a saddle with a
// description.
constexpr ItemId kFrame = 0x00010101, kTank = 0x00020101, kMirror = 0x03030101;
constexpr ItemId kSaddle = 0x00040101;

class SellerScreenTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    list.font = font.get();
    info.infoFont = BlockFont(13);
    testing::WriteModel(dir, kTank, testing::BoxMesh({0, 0, 0}, {1, 1, 1}));
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue, AddCategoryNode(catalogue, "Rahmen", 0x00010000), "S",
                                   0x00010100),
                "A", kFrame);
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue, AddCategoryNode(catalogue, "Tank", 0x00020000), "T",
                                   0x00020100),
                "Gross", kTank);
    AddItemNode(catalogue, AddCategoryNode(catalogue, "Zubeh\xF6r", 0x03030000), "Spiegel",
                kMirror);
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue, AddCategoryNode(catalogue, "Sattel", 0x00040000),
                                   "Sitz", 0x00040100),
                "Leder", kSaddle);
    Describe(kTank, "Tank-Titel", "Fasst zehn Liter.");
    Describe(kMirror, "Spiegel-Titel", "");
    Describe(kSaddle, "Sattel-Titel", "Weich.");
    screen.graphics = &graphics;
    screen.catalogue = &catalogue;
    screen.installedParts = &parts;
    screen.widgets = &context;
    screen.categoryList = &list;
    screen.infoScreen = &info;
    screen.logos = &logos;
  }

  void Describe(ItemId id, const char* title, const char* description) {
    auto record = std::make_unique<PartRecord>();
    record->text1 = title;
    record->text4 = description;
    ASSERT_TRUE(AttachRecord(FindById(catalogue, id), std::move(record)));
  }
  void Frame() {
    UpdateSeller(screen);
    ClearDrawn();
    DrawSeller2d(screen);
  }
  std::string Title() const { return info.info != nullptr ? info.info->text1 : ""; }

  std::unique_ptr<FontRecord> font = BlockFont(13);
  DataStore catalogue;
  InstalledPartList parts{graphics, Dir()};
  ScrollBox list;
  InfoScreen info;
  LogoList logos;
  ScreenContext screen;
};

TEST_F(SellerScreenTest, EnteringShowsTheFirstDescribedPart) {
  for (ItemId id : {kFrame, kTank, kMirror, kSaddle})
    parts.InstallPart(id);
  PrepareSeller(screen);
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.items[0].text, "Tank");
  EXPECT_EQ(list.items[1].text, "Sattel");
  EXPECT_EQ(list.x, 73);
  EXPECT_EQ(list.y, 594);
  EXPECT_EQ(list.width, 214);
  EXPECT_EQ(list.rows, 6);
  EXPECT_EQ(list.selected, 0);

  Frame();
  EXPECT_EQ(Title(), "Tank-Titel");
  EXPECT_EQ(info.part, parts.FindInstalled(kTank));
  // The list's two rows and the panel's title.
  EXPECT_EQ(device().texts.size(), 3u);

  // Choosing the second row, then resting the pointer elsewhere.
  PointAt(78, 594 + 13 + 6, kButtonHeld | kButtonWentDown);
  Frame();
  EXPECT_EQ(Title(), "Sattel-Titel");
  EXPECT_EQ(info.part, parts.FindInstalled(kSaddle));
  PointAt(0, 0);
  Frame();
  EXPECT_EQ(Title(), "Sattel-Titel");

  // Coming back chooses the first row again.
  PrepareSeller(screen);
  Frame();
  EXPECT_EQ(Title(), "Tank-Titel");
}

TEST_F(SellerScreenTest, NoDescribedPartDrawsNothingOfThePanel) {
  parts.InstallPart(kTank);
  PrepareSeller(screen);
  Frame();
  ASSERT_EQ(Title(), "Tank-Titel");

  // The panel keeps the tank, but with an empty list it stays hidden.
  parts.RemovePart(kTank);
  for (ItemId id : {kFrame, kMirror})
    parts.InstallPart(id);
  PrepareSeller(screen);
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(list.selected, -1);
  PointAt(78, 600, kButtonHeld | kButtonWentDown);
  Frame();
  EXPECT_TRUE(device().texts.empty());
  EXPECT_TRUE(Drawn().empty());
}

}  // namespace
}  // namespace kbh
