#include "screens/tuneup_rules.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/tuneup_screen.hpp"
#include "tests/unit/ui/widget_test.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::BoxMesh;

// The demo of these tests, ids by kind, category, subcategory, item:
//   1 "Rahmen"  kind 0: "Standard" A 010101, B 010102, C 010103 (no model)
//   2 "Räder"   kind 1: "vorne" 020101, 020102; "hinten" 020201
//   3 "Zubehör" kind 3, parts directly below: "Spiegel" 030101, "Korb" 030102
//   4 "Intern"  kind 2: 040101
//   5 "Sattel"  kind 0: "Alt" 050101 (no model), "Neu" 050102
constexpr ItemId kFrameA = 0x00010101, kFrameB = 0x00010102, kFrameC = 0x00010103;
constexpr ItemId kFront1 = 0x01020101, kFront2 = 0x01020102, kRear = 0x01020201;
constexpr ItemId kMirror = 0x03030101, kBasket = 0x03030102;
constexpr ItemId kHidden = 0x02040101;
constexpr ItemId kSaddleOld = 0x00050101, kSaddleNew = 0x00050102;

class TuneUpRulesTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    for (ScrollBox* list : {&categories, &subcategories, &partList})
      list->font = font.get();
    for (ItemId id :
         {kFrameA, kFrameB, kFront1, kFront2, kRear, kMirror, kBasket, kHidden, kSaddleNew})
      testing::WriteModel(dir, id, BoxMesh({0, 0, 0}, {1, 1, 1}, 2));
    BuildCatalogue();
    screen.graphics = &graphics;
    screen.programDir = &programDir;
    screen.catalogue = &catalogue;
    screen.installedParts = &parts;
    screen.clock = [this] { return now; };
    screen.widgets = &context;
    screen.menuBar = &menu;
    screen.categoryList = &categories;
    screen.subcategoryList = &subcategories;
    screen.partList = &partList;
    screen.messageLine = &status;
  }

  void BuildCatalogue() {
    CatalogueNode* frame = AddCategoryNode(catalogue, "Rahmen", 0x00010000);
    CatalogueNode* standard = AddSubcategoryNode(catalogue, frame, "Standard", 0x00010100);
    AddItemNode(catalogue, standard, "A", kFrameA);
    AddItemNode(catalogue, standard, "B", kFrameB);
    AddItemNode(catalogue, standard, "C", kFrameC);
    CatalogueNode* wheels = AddCategoryNode(catalogue,
                                            "R\xE4"
                                            "der",
                                            0x01020000);
    CatalogueNode* front = AddSubcategoryNode(catalogue, wheels, "vorne", 0x01020100);
    AddItemNode(catalogue, front, "Speiche", kFront1);
    AddItemNode(catalogue, front, "Guss", kFront2);
    AddItemNode(catalogue, AddSubcategoryNode(catalogue, wheels, "hinten", 0x01020200), "Rad",
                kRear);
    CatalogueNode* extras = AddCategoryNode(catalogue, "Zubeh\xF6r", 0x03030000);
    AddItemNode(catalogue, extras, "Spiegel", kMirror);
    AddItemNode(catalogue, extras, "Korb", kBasket);
    CatalogueNode* hidden = AddCategoryNode(catalogue, "Intern", 0x02040000);
    AddItemNode(catalogue, AddSubcategoryNode(catalogue, hidden, "s", 0x02040100), "h", kHidden);
    CatalogueNode* saddle = AddCategoryNode(catalogue, "Sattel", 0x00050000);
    CatalogueNode* saddles = AddSubcategoryNode(catalogue, saddle, "Sitz", 0x00050100);
    AddItemNode(catalogue, saddles, "Alt", kSaddleOld);
    AddItemNode(catalogue, saddles, "Neu", kSaddleNew);
  }

  // The usual start: one frame, the front wheel, the mirror and the old
  // saddle installed; the rear slot free.
  void InstallStart() {
    for (ItemId id : {kFrameA, kFront1, kMirror, kSaddleOld})
      parts.InstallPart(id);
    PrepareTuneUp(screen);
  }

  // One frame as the main loop runs it; the menu bar's next update drops
  // the clicked bits.
  void Frame() {
    UpdateTuneUp(screen);
    AdvanceFaders(screen.tuneUp, now);
    for (Button* button : {&menu.buildIn, &menu.remove})
      button->flags &= static_cast<uint16_t>(~Button::kClicked);
  }
  void Wait(uint32_t milliseconds) {
    now += milliseconds;
    Frame();
  }
  // A click on a visible row, then a frame with the pointer resting there.
  void ClickRow(const ScrollBox& list, int row) {
    const int x = list.x + 5;
    const int y = list.y + row * 13 + 6;
    PointAt(x, y, kButtonHeld | kButtonWentDown);
    Frame();
    PointAt(x, y, 0);
    Frame();
    PointAt(0, 0, 0);
  }
  // As the menu bar reports a click: a disabled button takes none.
  void Click(Button& button) {
    if (!button.IsDisabled()) button.flags |= Button::kClicked;
    Frame();
  }
  void Choose(int category, int subcategory, int part) {
    ClickRow(categories, category);
    if (subcategory >= 0) ClickRow(subcategories, subcategory);
    if (part >= 0) ClickRow(partList, part);
  }

  std::vector<ItemId> Ids() {
    std::vector<ItemId> ids;
    for (PartModel* m = parts.ScanFirst(); m != nullptr; m = parts.ScanNext())
      ids.push_back(m->id);
    return ids;
  }
  static std::vector<std::string> Texts(const ScrollBox& list) {
    std::vector<std::string> texts;
    for (const ScrollItem& item : list.items)
      texts.push_back(item.text);
    return texts;
  }
  std::string Status() const { return status.text != nullptr ? status.text : ""; }
  float Alpha(ItemId id) const { return GetPartAlpha(parts.FindInstalled(id)); }
  // Enabled means usable and lit.
  static bool Enabled(const Button& button) { return !button.IsDisabled() && button.IsSelected(); }

  std::unique_ptr<FontRecord> font = BlockFont(13);
  ProgramDir programDir = Dir();
  DataStore catalogue;
  InstalledPartList parts{graphics, Dir()};
  ScrollBox categories, subcategories, partList;
  MenuBar menu;
  MessageLine status;
  ScreenContext screen;
};

TEST_F(TuneUpRulesTest, PreparingPlacesTheListsAndListsCategoriesButKindTwo) {
  InstallStart();
  EXPECT_EQ(Texts(categories), (std::vector<std::string>{"Rahmen",
                                                         "R\xE4"
                                                         "der",
                                                         "Zubeh\xF6r", "Sattel"}));
  EXPECT_EQ(categories.items[1].value, 0x01020000u);
  const struct {
    const ScrollBox& list;
    int x, y, width;
  } places[] = {
      {categories, 70, 593, 135}, {subcategories, 273, 624, 176}, {partList, 474, 654, 177}};
  for (const auto& place : places) {
    EXPECT_EQ(place.list.x, place.x);
    EXPECT_EQ(place.list.y, place.y);
    EXPECT_EQ(place.list.width, place.width);
    EXPECT_EQ(place.list.rows, 6);
    EXPECT_EQ(place.list.height, 6 * 13 + 4);
    EXPECT_EQ(place.list.selected, -1);
  }
  EXPECT_TRUE(menu.buildIn.IsDisabled() && menu.remove.IsDisabled());
}

TEST_F(TuneUpRulesTest, InstalledListsNameEachKindAndFilter) {
  for (ItemId id : {kFrameA, kFront1, kRear, kMirror, kHidden, kSaddleOld})
    parts.InstallPart(id);
  auto record = std::make_unique<PartRecord>();
  record->text4 = "Leicht und stabil.";
  AttachRecord(FindById(catalogue, kRear), std::move(record));
  record = std::make_unique<PartRecord>();
  record->text1 = "Nur ein Titel";
  AttachRecord(FindById(catalogue, kMirror), std::move(record));
  record = std::make_unique<PartRecord>();
  record->text4 = "Intern";
  AttachRecord(FindById(catalogue, kHidden), std::move(record));

  ScrollBox spray;
  FillInstalledList(catalogue, parts, spray, InstalledListFilter::kSpray);
  // The old saddle has no mesh; the hidden part's kind gets no row.
  EXPECT_EQ(Texts(spray), (std::vector<std::string>{"Rahmen",
                                                    "R\xE4"
                                                    "der :: vorne",
                                                    "R\xE4"
                                                    "der :: hinten",
                                                    "Spiegel"}));
  EXPECT_EQ(spray.items[2].value, kRear);
  ScrollBox seller;
  FillInstalledList(catalogue, parts, seller, InstalledListFilter::kSeller);
  EXPECT_EQ(Texts(seller), (std::vector<std::string>{"R\xE4"
                                                     "der :: hinten"}));
}

TEST_F(TuneUpRulesTest, SubcategoryAndPartListsFollowTheSelections) {
  InstallStart();
  const struct {
    int category;
    std::vector<std::string> subcategories;
    uint8_t disabled;
    std::vector<std::string> parts;
    bool removeEnabled;
  } cases[] = {
      {0, {"Standard"}, ScrollBox::kEnable, {}, true},  // kind 0 with a part installed
      {1, {"vorne", "hinten"}, ScrollBox::kEnable, {}, false},
      {2, {"<keine Unterkategorie>"}, ScrollBox::kDisable, {"Spiegel", "Korb"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.category);
    ClickRow(categories, c.category);
    EXPECT_EQ(Texts(subcategories), c.subcategories);
    EXPECT_EQ(subcategories.disabled, c.disabled);
    EXPECT_EQ(Texts(partList), c.parts);
    EXPECT_EQ(Enabled(menu.remove), c.removeEnabled);
    EXPECT_TRUE(menu.buildIn.IsDisabled());
  }
  ClickRow(categories, 0);
  ClickRow(subcategories, 0);
  EXPECT_EQ(Texts(partList), (std::vector<std::string>{"A", "B", "C"}));
  ClickRow(partList, 0);  // installed
  EXPECT_TRUE(menu.buildIn.IsDisabled());
  EXPECT_TRUE(Enabled(menu.remove));
  ClickRow(partList, 1);
  EXPECT_TRUE(Enabled(menu.buildIn));
  ClickRow(partList, 5);  // below the last row: no part
  EXPECT_TRUE(menu.buildIn.IsDisabled());
}

TEST_F(TuneUpRulesTest, PendingIdComesFromListPositions) {
  const struct {
    ItemId category;
    int32_t subcategory;
    uint8_t disabled;
    int32_t part;
    ItemId expected;
  } cases[] = {
      {0x01020000, 1, 2, 0, 0x01020201},
      {0x03030000, -1, 3, 1, 0x03030102},  // no subcategories: subcategory 1
      {0x00010000, 0, 2, 253, 0x000101FE},
      {0x00010000, 0, 2, 255, 0x00010100},  // wraps at 256
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(PendingIdFromLists(c.category, c.subcategory, c.disabled, c.part), c.expected);
  }
}

// One row per frame of interest: what the user sees after it.
struct Step {
  uint32_t waitMs;
  const char* status;
  std::vector<ItemId> ids;
  float oldAlpha;  // -2: the old part is gone
  float newAlpha;  // -2: the new part is not there
};

TEST_F(TuneUpRulesTest, ExchangeFadesTheOccupantOutThenTheNewPartIn) {
  InstallStart();
  // Building the new frame in paints the front wheel, all subsets: it stays
  // opaque.
  testing::GiveActions(FindById(catalogue, kFrameB), testing::PaintAction(kFront1, 0x00FF0000, 1));
  Choose(0, 0, 1);
  Click(menu.buildIn);
  EXPECT_EQ(screen.tuneUp.pendingId, kFrameB);
  EXPECT_TRUE(menu.buildIn.IsDisabled());
  const Step steps[] = {
      {0, "Teil wird ausgetauscht!", {kFrameA, kFront1, kMirror, kSaddleOld}, 1.0f, -2},
      {250, "Teil wird ausgetauscht!", {kFrameA, kFront1, kMirror, kSaddleOld}, 0.5f, -2},
      {250, "Teil wird ausgetauscht!", {kFrameA, kFront1, kMirror, kSaddleOld}, 0.0f, -2},
      // The end is noticed a frame later: the exchange, and the fade-in starts.
      {1, "Teil wird ausgetauscht!", {kFront1, kMirror, kSaddleOld, kFrameB}, -2, 0.0f},
      {250, "Teil wird ausgetauscht!", {kFront1, kMirror, kSaddleOld, kFrameB}, -2, 0.5f},
      {250, "Teil wird ausgetauscht!", {kFront1, kMirror, kSaddleOld, kFrameB}, -2, 1.0f},
      {1, "", {kFront1, kMirror, kSaddleOld, kFrameB}, -2, 1.0f},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    const Step& step = steps[i];
    if (i > 0) Wait(step.waitMs);
    EXPECT_EQ(Status(), step.status);
    EXPECT_EQ(Ids(), step.ids);
    if (step.oldAlpha != -2) {
      EXPECT_FLOAT_EQ(Alpha(kFrameA), step.oldAlpha);
    }
    if (step.newAlpha != -2) {
      EXPECT_FLOAT_EQ(Alpha(kFrameB), step.newAlpha);
    }
  }
  EXPECT_TRUE(Enabled(menu.remove));
  EXPECT_EQ(Alpha(kFront1), 1.0f);
  EXPECT_EQ(parts.FindInstalled(kFront1)->mesh->materials[0].diffuse.r, 1.0f);
}

TEST_F(TuneUpRulesTest, BuildingIntoAFreeSlotInstallsAtOnce) {
  InstallStart();
  Choose(1, 1, 0);  // "hinten", free
  EXPECT_TRUE(menu.remove.IsDisabled());
  Click(menu.buildIn);
  EXPECT_EQ(Status(), "Teil wird eingebaut!");
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kMirror, kSaddleOld, kRear}));
  EXPECT_FLOAT_EQ(Alpha(kRear), 0.0f);
  Wait(500);
  EXPECT_FLOAT_EQ(Alpha(kRear), 1.0f);
  EXPECT_TRUE(menu.remove.IsDisabled());
  Wait(1);
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(Enabled(menu.remove));
}

TEST_F(TuneUpRulesTest, RemovingTakesTheSelectedSlotsPartAfterItsFade) {
  InstallStart();
  parts.InstallPart(kRear);
  ClickRow(categories, 1);
  EXPECT_TRUE(menu.remove.IsDisabled());
  const struct {
    int subcategory;
    std::vector<ItemId> after;
  } cases[] = {
      {1, {kFrameA, kFront1, kMirror, kSaddleOld}},
      {0, {kFrameA, kMirror, kSaddleOld}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subcategory);
    ClickRow(subcategories, c.subcategory);
    ASSERT_TRUE(Enabled(menu.remove));
    Click(menu.remove);
    EXPECT_EQ(Status(), "Teil wird ausgebaut!");
    EXPECT_TRUE(menu.remove.IsDisabled());
    Wait(500);
    EXPECT_EQ(Status(), "Teil wird ausgebaut!");
    Wait(1);
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Ids(), c.after);
  }
}

TEST_F(TuneUpRulesTest, KindThreeRemovesTheSelectedPartOnly) {
  InstallStart();
  Choose(2, -1, 1);  // "Korb", not installed
  EXPECT_TRUE(Enabled(menu.buildIn));
  menu.remove.Enable();  // even a click that gets through finds nothing
  Click(menu.remove);
  EXPECT_EQ(Status(), "");
  Wait(600);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kMirror, kSaddleOld}));
  ClickRow(partList, 0);  // "Spiegel", installed
  Click(menu.remove);
  Wait(500);
  Wait(1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kSaddleOld}));
  // The selected part is gone, so it can be built in again.
  EXPECT_TRUE(Enabled(menu.buildIn));
}

TEST_F(TuneUpRulesTest, AMissingModelFileStopsTheBuildIn) {
  InstallStart();
  Choose(0, 0, 2);  // "C" has no model file
  Click(menu.buildIn);
  EXPECT_EQ(Status(), "MXA-Datei nicht gefunden\nEinbau nicht m\xF6glich!");
  EXPECT_TRUE(menu.buildIn.IsDisabled());
  Wait(600);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kMirror, kSaddleOld}));
  EXPECT_EQ(Alpha(kFrameA), 1.0f);
}

TEST_F(TuneUpRulesTest, AnOccupantWithoutMeshFadesInOneMillisecond) {
  InstallStart();
  Choose(3, 0, 1);
  Click(menu.buildIn);
  EXPECT_EQ(Status(), "Teil wird ausgetauscht!");
  EXPECT_EQ(screen.tuneUp.installFader.Duration(), 1u);
  Wait(1);
  Wait(0);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kMirror, kSaddleNew}));
  EXPECT_EQ(screen.tuneUp.installFader.Duration(), 500u);
}

TEST_F(TuneUpRulesTest, APartWithoutSubcategoriesBuildsInAsSubcategoryOne) {
  InstallStart();
  Choose(2, -1, 1);
  Click(menu.buildIn);
  EXPECT_EQ(screen.tuneUp.pendingId, kBasket);
  // The occupant by slot is the mirror; the exchange by category takes it.
  EXPECT_EQ(Status(), "Teil wird ausgetauscht!");
  Wait(500);
  Wait(1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kSaddleOld, kBasket}));
}

TEST_F(TuneUpRulesTest, ClicksInEveryStateLoseAndDoubleNothing) {
  InstallStart();
  const std::vector<ItemId> start = Ids();
  // Nothing selected: the buttons are disabled; forced clicks find nothing.
  for (Button* button : {&menu.buildIn, &menu.remove}) {
    Click(*button);
    button->Enable();
    Click(*button);
  }
  Wait(600);
  EXPECT_EQ(Ids(), start);

  // A second build-in during the exchange's fade restarts the fader on the
  // new part; the abandoned occupant stays installed.
  Choose(0, 0, 1);
  Click(menu.buildIn);
  Wait(200);
  Choose(1, 1, 0);
  Click(menu.buildIn);
  EXPECT_EQ(Status(), "Teil wird eingebaut!");
  // Tab switches back and forth during the fade-in.
  for (int i = 0; i < 5; ++i) {
    PrepareTuneUp(screen);
    Wait(50);
  }
  Wait(500);
  Wait(1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kMirror, kSaddleOld, kRear}));
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(Alpha(kRear), 1.0f);

  // Removing the part that is still fading in: it goes, once.
  Choose(1, 0, 1);
  Click(menu.buildIn);  // exchange of the front wheel
  Wait(501);
  Wait(100);
  ClickRow(subcategories, 0);
  Click(menu.remove);
  Wait(500);
  Wait(1);
  Wait(500);
  Wait(1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kMirror, kSaddleOld, kRear}));
}

TEST_F(TuneUpRulesTest, ASecondRemovalFinishesTheFirst) {
  InstallStart();
  parts.InstallPart(kRear);
  ClickRow(categories, 1);
  ClickRow(subcategories, 0);
  Click(menu.remove);
  Wait(100);
  ClickRow(subcategories, 1);
  Click(menu.remove);
  Wait(500);
  Wait(1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kMirror, kSaddleOld}));
}

TEST_F(TuneUpRulesTest, ExcludedFadingPartsAreForgottenBeforeTheyGo) {
  InstallStart();
  // Building in the rear wheel excludes the mirror, which is fading out.
  testing::GiveActions(FindById(catalogue, kRear),
                       testing::Action(ActionType::kExclude, 0x0003FFFF));
  Choose(2, -1, 0);
  Click(menu.remove);
  Wait(100);
  Choose(1, 1, 0);
  Click(menu.buildIn);
  Wait(500);
  Wait(1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{kFrameA, kFront1, kSaddleOld, kRear}));
  EXPECT_EQ(Status(), "");
}

TEST_F(TuneUpRulesTest, OddCataloguesAndBrokenModelsStaySafe) {
  // Empty categories, a model file that is no mesh, a list of 254 parts.
  DataStore odd;
  AddCategoryNode(odd, "leer", 0x00010000);
  CatalogueNode* many = AddCategoryNode(odd, "viele", 0x03020000);
  for (int i = 1; i <= 254; ++i)
    AddItemNode(odd, many, "t", MakeItemId(3, 2, 1, static_cast<uint8_t>(i)));
  testing::WriteBytes(dir, "data/objects/0201FE.mxa", {'x', 'o', 'f', ' ', '?'});
  screen.catalogue = &odd;
  PrepareTuneUp(screen);
  ClickRow(categories, 0);
  EXPECT_TRUE(subcategories.items.empty() && partList.items.empty());
  ClickRow(categories, 1);
  ASSERT_EQ(partList.items.size(), 254u);
  partList.Select(253);
  Frame();
  Click(menu.buildIn);
  EXPECT_EQ(Status(), "Teil wird eingebaut!");
  Wait(500);
  Wait(1);
  ASSERT_EQ(Ids(), (std::vector<ItemId>{0x030201FE}));
  EXPECT_EQ(parts.FindInstalled(0x030201FE)->mesh, nullptr);
  EXPECT_EQ(Status(), "");
}

}  // namespace
}  // namespace kbh
