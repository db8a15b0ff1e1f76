#include "screens/spray_rules.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/screen.hpp"
#include "screens/spray_screen.hpp"
#include "tests/unit/ui/widget_test.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::BoxMesh;

// The installed parts, in list order, and their subset counts:
//   "Rahmen"            kind 0, 010101:   1 subset
//   "Tank"              kind 0, 020101:   3 subsets
//   "Räder :: vorne"    kind 1, 01030101: 10 subsets
//   "Spiegel"           kind 3, 03040101: 9 subsets
//   "Korb"              kind 3, 03040102: 2 subsets
//   "Sattel"            kind 0, 050101:   no model, so not listed
constexpr ItemId kFrame = 0x00010101, kTank = 0x00020101, kWheel = 0x01030101;
constexpr ItemId kMirror = 0x03040101, kBasket = 0x03040102, kSaddle = 0x00050101;

class SprayRulesTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    categories.font = font.get();
    subsets.font = font.get();
    const struct {
      ItemId id;
      uint32_t subsets;
    } models[] = {{kFrame, 1}, {kTank, 3}, {kWheel, 10}, {kMirror, 9}, {kBasket, 2}};
    for (const auto& model : models)
      testing::WriteModel(dir, model.id, BoxMesh({0, 0, 0}, {1, 1, 1}, model.subsets));
    BuildCatalogue();
    for (ItemId id : {kFrame, kTank, kWheel, kMirror, kBasket, kSaddle})
      parts.InstallPart(id);
    screen.graphics = &graphics;
    screen.programDir = &programDir;
    screen.catalogue = &catalogue;
    screen.installedParts = &parts;
    screen.cubeTextures = &cubes;
    screen.clock = [this] { return now; };
    screen.widgets = &context;
    screen.menuBar = &menu;
    screen.cursor = &cursor;
    screen.categoryList = &categories;
    screen.subsetList = &subsets;
    screen.preview = &preview;
    screen.colourSelector = &colours;
    screen.modelFrame = &modelFrame;
    // The flight's duration and mode.
    preview.InitPreview();
  }

  void BuildCatalogue() {
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue, AddCategoryNode(catalogue, "Rahmen", 0x00010000),
                                   "Standard", 0x00010100),
                "A", kFrame);
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue, AddCategoryNode(catalogue, "Tank", 0x00020000), "T",
                                   0x00020100),
                "Gross", kTank);
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue,
                                   AddCategoryNode(catalogue,
                                                   "R\xE4"
                                                   "der",
                                                   0x01030000),
                                   "vorne", 0x01030100),
                "Speiche", kWheel);
    CatalogueNode* extras = AddCategoryNode(catalogue, "Zubeh\xF6r", 0x03040000);
    AddItemNode(catalogue, extras, "Spiegel", kMirror);
    AddItemNode(catalogue, extras, "Korb", kBasket);
    AddItemNode(catalogue,
                AddSubcategoryNode(catalogue, AddCategoryNode(catalogue, "Sattel", 0x00050000),
                                   "Sitz", 0x00050100),
                "Alt", kSaddle);
  }

  // One frame as the main loop runs it: the cursor reset, the update, the
  // preview's step; the menu bar's next update drops the clicked bit.
  void Frame() {
    cursor.SetKind(Cursor::kNormal);
    cursor.hotX = 6;
    cursor.hotY = 2;
    UpdateSpray(screen);
    preview.UpdatePreview(now);
    menu.spray.flags &= static_cast<uint16_t>(~Button::kClicked);
  }
  void Wait(uint32_t milliseconds) {
    now += milliseconds;
    Frame();
  }
  // A click on a visible row, a frame resting there, then the pointer
  // leaves the list.
  void ClickRow(const ScrollBox& list, int row) {
    const int x = list.x + 5;
    const int y = list.y + row * 13 + 6;
    PointAt(x, y, kButtonHeld | kButtonWentDown);
    Frame();
    PointAt(x, y, 0);
    Frame();
    PointAt(0, 0, 0);
  }
  void Click(Button& button) {
    if (!button.IsDisabled()) button.flags |= Button::kClicked;
    Frame();
  }
  // Chooses a part and waits out its flight.
  void ChoosePart(int row) {
    ClickRow(categories, row);
    Wait(600);
    Wait(1);
  }

  static std::vector<std::string> Texts(const ScrollBox& list) {
    std::vector<std::string> texts;
    for (const ScrollItem& item : list.items)
      texts.push_back(item.text);
    return texts;
  }
  std::vector<uint8_t> Reflections(ItemId id) {
    std::vector<uint8_t> bytes;
    for (const FactorPair& pair : parts.FindInstalled(id)->mesh->factors)
      bytes.push_back(pair.reflection);
    return bytes;
  }
  static bool Enabled(const Button& button) { return !button.IsDisabled() && button.IsSelected(); }

  std::unique_ptr<FontRecord> font = BlockFont(13);
  ProgramDir programDir = Dir();
  DataStore catalogue;
  InstalledPartList parts{graphics, Dir()};
  CubeTextureSlots cubes{graphics};
  PreviewAnimation preview{graphics, cubes};
  ColorSelector colours;
  std::unique_ptr<TextureRecord> modelFrame;
  ScrollBox categories, subsets;
  MenuBar menu;
  Cursor cursor;
  ScreenContext screen;
};

TEST_F(SprayRulesTest, PreparingListsPaintablePartsAndPlacesBothLists) {
  menu.spray.Enable();
  PrepareSpray(screen);
  EXPECT_EQ(Texts(categories), (std::vector<std::string>{"Rahmen", "Tank",
                                                         "R\xE4"
                                                         "der :: vorne",
                                                         "Spiegel", "Korb"}));
  EXPECT_EQ(categories.items[2].value, kWheel);
  EXPECT_EQ(categories.x, 73);
  EXPECT_EQ(categories.y, 594);
  EXPECT_EQ(categories.width, 214);
  EXPECT_EQ(subsets.x, 362);
  EXPECT_EQ(subsets.y, 575);
  EXPECT_EQ(subsets.width, 177);
  for (const ScrollBox* list : {&categories, &subsets}) {
    EXPECT_EQ(list->rows, 6);
    EXPECT_EQ(list->selected, -1);
  }
  EXPECT_TRUE(subsets.items.empty());
  EXPECT_TRUE(menu.spray.IsDisabled());
}

TEST_F(SprayRulesTest, SubsetRowsOnlyForTwoToNineSubsets) {
  const struct {
    int row;
    std::vector<std::string> texts;
  } cases[] = {
      {0, {"<komplettes Bauteil>"}},
      {1, {"<komplettes Bauteil>", "Subset 1", "Subset 2", "Subset 3"}},
      {2, {"<komplettes Bauteil>"}},
      {3,
       {"<komplettes Bauteil>", "Subset 1", "Subset 2", "Subset 3", "Subset 4", "Subset 5",
        "Subset 6", "Subset 7", "Subset 8", "Subset 9"}},
      {4, {"<komplettes Bauteil>", "Subset 1", "Subset 2"}},
  };
  PrepareSpray(screen);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    ChoosePart(c.row);
    EXPECT_EQ(Texts(subsets), c.texts);
    EXPECT_EQ(subsets.selected, 0);
    EXPECT_FALSE(subsets.IsDisabled());
    EXPECT_TRUE(Enabled(menu.spray));
    EXPECT_EQ(preview.PreviewModel(), parts.FindInstalled(categories.GetSelectedValue()));
  }
}

TEST_F(SprayRulesTest, APartWithoutMeshListsTheMissingFileGreyed) {
  ScrollBox list;
  for (const PartModel* model : {static_cast<const PartModel*>(nullptr),
                                 static_cast<const PartModel*>(parts.FindInstalled(kSaddle))}) {
    list.Clear();
    EXPECT_FALSE(FillSubsetList(list, model));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"<Datei nicht gefunden>"}));
    EXPECT_EQ(list.disabled, 3);
  }
}

TEST_F(SprayRulesTest, PaintsOneSubsetOrTheWholePart) {
  colours.chosen = 0xFF336699;
  colours.finish = kFinishChrome;
  const struct {
    const char* what;
    int part;
    int subsetRow;
    ItemId id;
    std::vector<uint8_t> reflections;
  } cases[] = {
      // Chrome reflects 96; unpainted subsets keep the part's 13.
      {"subset 2 of 3", 1, 2, kTank, {13, 96, 13}},
      {"the whole of 3", 1, 0, kTank, {96, 96, 96}},
      {"a part of 10 subsets is painted whole", 2, 0, kWheel, std::vector<uint8_t>(10, 96)},
      {"the one subset", 0, 0, kFrame, {96}},
      {"subset 9 of 9", 3, 9, kMirror, {13, 13, 13, 13, 13, 13, 13, 13, 96}},
  };
  PrepareSpray(screen);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (FactorPair& pair : parts.FindInstalled(c.id)->mesh->factors)
      pair.reflection = 13;
    PrepareSpray(screen);
    ChoosePart(c.part);
    while (c.subsetRow - subsets.first >= 6)
      subsets.ScrollDown();
    if (c.subsetRow != 0) ClickRow(subsets, c.subsetRow - subsets.first);
    ASSERT_TRUE(Enabled(menu.spray));
    Click(menu.spray);
    EXPECT_EQ(Reflections(c.id), c.reflections);
  }
  // Chrome ignores the colour: grey 0x66.
  const Material& painted = parts.FindInstalled(kMirror)->mesh->materials[8];
  EXPECT_FLOAT_EQ(painted.diffuse.r, 0x66 / 255.0f);
}

TEST_F(SprayRulesTest, PaintingWithoutARowPaintsNothing) {
  colours.finish = kFinishChrome;
  PrepareSpray(screen);
  ChoosePart(1);
  // A click below the last row selects none and disables the button.
  ClickRow(subsets, 5);
  EXPECT_EQ(subsets.selected, -1);
  EXPECT_TRUE(menu.spray.IsDisabled());
  PaintSelection(parts.FindInstalled(kTank), subsets, 0xFFFFFFFF, kFinishChrome);
  EXPECT_EQ(Reflections(kTank), (std::vector<uint8_t>{13, 13, 13}));
  PaintSelection(nullptr, subsets, 0xFFFFFFFF, kFinishChrome);

  // No part chosen: the button is off and the subset list empties.
  ClickRow(categories, 5);
  EXPECT_EQ(categories.selected, -1);
  EXPECT_TRUE(subsets.items.empty());
  EXPECT_TRUE(menu.spray.IsDisabled());
  EXPECT_EQ(preview.PreviewModel(), nullptr);
  Click(menu.spray);
  EXPECT_EQ(Reflections(kTank), (std::vector<uint8_t>{13, 13, 13}));
}

TEST_F(SprayRulesTest, TheChoiceIsActedOnOnceNotAfterEveryFlight) {
  PrepareSpray(screen);
  ChoosePart(1);
  ClickRow(subsets, 2);
  // The pointer is away from the part list for many flights' time.
  for (int i = 0; i < 5; ++i)
    Wait(600);
  EXPECT_EQ(subsets.selected, 2);
  EXPECT_EQ(preview.State(), AnimationState::kIdle);
}

TEST_F(SprayRulesTest, APartChosenDuringAFlightFollowsWhenItEnds) {
  PrepareSpray(screen);
  ClickRow(categories, 1);
  ASSERT_EQ(preview.State(), AnimationState::kRunning);
  ClickRow(categories, 4);
  // Still the tank's rows, and no painting onto the basket by them.
  EXPECT_EQ(subsets.items.size(), 4u);
  EXPECT_TRUE(menu.spray.IsDisabled());
  Wait(600);
  Wait(1);
  EXPECT_EQ(Texts(subsets),
            (std::vector<std::string>{"<komplettes Bauteil>", "Subset 1", "Subset 2"}));
  EXPECT_EQ(preview.PreviewModel(), parts.FindInstalled(kBasket));
  EXPECT_TRUE(Enabled(menu.spray));
}

TEST_F(SprayRulesTest, LeavingDuringAFlightAndComingBackStartsClean) {
  PrepareSpray(screen);
  ClickRow(categories, 1);
  ClickRow(categories, 3);
  for (int i = 0; i < 3; ++i) {
    PrepareSpray(screen);
    Wait(1);
  }
  EXPECT_EQ(preview.State(), AnimationState::kIdle);
  EXPECT_EQ(preview.PreviewModel(), nullptr);
  EXPECT_EQ(categories.selected, -1);
  EXPECT_TRUE(subsets.items.empty());
  EXPECT_TRUE(menu.spray.IsDisabled());
  ChoosePart(4);
  EXPECT_EQ(subsets.items.size(), 3u);
}

TEST_F(SprayRulesTest, ThePointerTurnsIntoTheColourPickOverThePalette) {
  colours.palette = Picture(100, 40, FMT_A8R8G8B8, 0xFF00FF00);
  PrepareSpray(screen);
  const struct {
    int x, y;
    int kind, hotX, hotY;
  } cases[] = {
      {560, 670, 3, 5, 5},  // inside the palette from (547, 654)
      {547, 654, 0, 6, 2},  // its origin is not inside
      {700, 670, 0, 6, 2},  // right of it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    PointAt(c.x, c.y);
    Frame();
    EXPECT_EQ(cursor.kind, c.kind);
    EXPECT_EQ(cursor.hotX, c.hotX);
    EXPECT_EQ(cursor.hotY, c.hotY);
  }
  PointAt(560, 670, kButtonHeld | kButtonWentDown);
  Frame();
  EXPECT_EQ(colours.chosen, 0xFF00FF00u);
}

TEST_F(SprayRulesTest, TheUpdateMakesEveryPartOpaqueAndUnturned) {
  PrepareSpray(screen);
  SetPartAlpha(parts.FindInstalled(kTank), 0.2f);
  SetMeshRotation(*parts.FindInstalled(kTank)->mesh, 0.0f, 1.0f, 0.0f);
  Frame();
  EXPECT_FLOAT_EQ(GetPartAlpha(parts.FindInstalled(kTank)), 1.0f);
  EXPECT_FLOAT_EQ(parts.FindInstalled(kTank)->mesh->rotation.m[0][0], 1.0f);
}

}  // namespace
}  // namespace kbh
