#include "workshop/installed_parts.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/unit/gfx/recording_graphics.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::Action;
using testing::BoxMesh;
using testing::GiveActions;
using testing::PaintAction;
using testing::PositionAction;

class InstalledPartsTest : public testing::RecordingGraphicsTest {
 protected:
  // The ids in list order, walked with the scan cursor so that no test
  // disturbs the walk it checks.
  std::vector<ItemId> Ids() {
    std::vector<ItemId> ids;
    for (PartModel* m = parts.ScanFirst(); m != nullptr; m = parts.ScanNext())
      ids.push_back(m->id);
    return ids;
  }
  void InstallAll(std::initializer_list<ItemId> ids) {
    for (ItemId id : ids)
      parts.InstallPart(id);
  }
  // A category of the given id with one subcategory holding items.
  CatalogueNode* Category(ItemId id, std::initializer_list<ItemId> items) {
    CatalogueNode* category = AddCategoryNode(catalogue, "c", id);
    CatalogueNode* sub = AddSubcategoryNode(catalogue, category, "s", id | 0x100);
    for (ItemId item : items)
      AddItemNode(catalogue, sub, "i", item);
    return category;
  }
  static void ExpectPosition(const PartModel* model, Vec3 expected) {
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->position.x, expected.x);
    EXPECT_EQ(model->position.y, expected.y);
    EXPECT_EQ(model->position.z, expected.z);
  }

  testing::TempDir dir;
  DataStore catalogue;
  InstalledPartList parts{graphics, ProgramDir{dir.Path().string()}};
};

TEST_F(InstalledPartsTest, InstallLoadsTheFilesAndKeepsPartsWithoutThem) {
  EXPECT_EQ(parts.CountVertices(), 0u);
  testing::WriteModel(dir, 0x040201, BoxMesh({-1, 0, -2}, {3, 2, 2}, 2));
  const Image picture = testing::SolidPicture(8, 4, 0xFF102030);
  testing::WriteBytes(dir, "data/textures/040201.khx", EncodeDds(picture, FMT_X8R8G8B8));
  testing::WriteBytes(dir, "data/images/040201.khi", EncodeDds(picture, FMT_X8R8G8B8));

  PartModel* full = parts.InstallPart(0x00040201);
  ASSERT_NE(full->mesh, nullptr);
  EXPECT_EQ(full->mesh->factors[1].reflection, 13);  // a part model's mesh
  EXPECT_TRUE(full->texture);
  ASSERT_NE(full->image, nullptr);
  EXPECT_EQ(full->image->width, 8);
  // Centred on the origin for the views that turn one part.
  EXPECT_TRUE(full->world.m[3][0] == -1 && full->world.m[3][1] == -1 && full->world.m[3][2] == 0);

  PartModel* bare = parts.InstallPart(0x00040202);
  EXPECT_TRUE(bare->mesh == nullptr && !bare->texture && bare->image == nullptr);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00040201, 0x00040202}));
  EXPECT_EQ(parts.CountVertices(), 24u);
  parts.SetAllPartsAlpha(0.25f);
  parts.SetAllPartsRotation(0, 1.0f, 0);
  EXPECT_EQ(GetPartAlpha(full), 0.25f);
  EXPECT_NEAR(full->mesh->rotation.m[0][0], std::cos(1.0f), 1e-6f);
}

TEST_F(InstalledPartsTest, RemoveTakesTheFirstExactMatchAndReleasesIt) {
  testing::WriteModel(dir, 0x040201, BoxMesh({0, 0, 0}, {1, 1, 1}));
  PartModel* first = parts.InstallPart(0x00040201);
  parts.InstallPart(0x00050101);
  PartModel* second = parts.InstallPart(0x00040201);
  ASSERT_NE(first, second);
  EXPECT_EQ(device().LiveMeshes(), 2u);

  EXPECT_EQ(parts.RemovePart(0x01040201), 1);  // the kind byte counts
  EXPECT_EQ(parts.Count(), 3u);
  parts.RemovePart(0x00040201);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00050101, 0x00040201}));
  EXPECT_EQ(parts.FindInstalled(0x00040201), second);
  EXPECT_EQ(device().LiveMeshes(), 1u);
  parts.RemoveAllParts();
  EXPECT_EQ(device().LiveMeshes(), 0u);
  EXPECT_EQ(parts.FirstInstalled(), nullptr);
}

TEST_F(InstalledPartsTest, ExchangeBySlotForKindOneAndByCategoryOtherwise) {
  InstallAll({0x01030101, 0x01030201});
  parts.ExchangePart(0x01030205);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x01030101, 0x01030205}));

  parts.RemoveAllParts();
  parts.InstallPart(0x00040201);
  parts.ExchangePart(0x00040103);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00040103}));

  // Kind 3: the first part of the category goes, whatever its slot.
  parts.RemoveAllParts();
  InstallAll({0x03060101, 0x03060201});
  parts.ExchangePart(0x03060202);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x03060201, 0x03060202}));

  // A free place: only the install. Category 0 names no place.
  parts.ExchangePart(0x00070101);
  parts.ExchangePart(0x00000101);
  parts.ExchangePart(0x00000102);
  EXPECT_EQ(parts.Count(), 5u);
  EXPECT_EQ(parts.FindInstalledInSlot(6, 2), 0x03060201u);
}

TEST_F(InstalledPartsTest, PaintSelectorPicksTheSubset) {
  testing::WriteModel(dir, 0x010101, BoxMesh({0, 0, 0}, {1, 1, 1}, 3));
  PartModel* model = parts.InstallPart(0x00010101);
  ASSERT_NE(model->mesh, nullptr);
  auto reflections = [&] {
    std::vector<int> bytes;
    for (const FactorPair& factors : model->mesh->factors)
      bytes.push_back(factors.reflection);
    return bytes;
  };
  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x04FF0000, 2), model);  // past the count
  EXPECT_EQ(reflections(), (std::vector<int>{13, 13, 13}));
  SetPartAlpha(model, 0.5f);  // halfway through a fade
  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x02FF0000, 0), model);
  EXPECT_EQ(reflections(), (std::vector<int>{13, 2, 13}));
  // The selector byte is no alpha: the subset keeps the one it had.
  EXPECT_EQ(model->mesh->materials[1].diffuse.r, 1.0f);
  EXPECT_EQ(model->mesh->materials[1].diffuse.a, 0.5f);
  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x000000FF, 1), model);
  EXPECT_EQ(reflections(), (std::vector<int>{15, 15, 15}));
  EXPECT_EQ(model->mesh->materials[2].diffuse.b, 1.0f);

  // Positions move any model; paints need a mesh; other types do nothing.
  PartModel* bare = parts.InstallPart(0x00020101);
  ApplyPositionOrPaint(*PaintAction(0x00020101, 0x00FF0000, 0), bare);
  ApplyPositionOrPaint(*Action(static_cast<ActionType>(16), 0x00020101), bare);
  ApplyPositionOrPaint(*PositionAction(0x00020101, {1, 2, 3}), bare);
  ExpectPosition(bare, {1, 2, 3});
}

TEST_F(InstalledPartsTest, WildcardExcludeTakesTheWholeCategoryWhateverItsKind) {
  CatalogueNode* excluder = Category(0x00070000, {0x00070101});
  GiveActions(excluder->firstChild->firstChild, Action(ActionType::kExclude, 0x0005FFFF),
              Action(ActionType::kExclude, 0x00060201), Action(ActionType::kExclude, 0x01080101));
  InstallAll({0x00050101, 0x00060101, 0x01050201, 0x03050301, 0x00060201, 0x01080101});
  EXPECT_TRUE(parts.ApplyPartActions(&catalogue, 0x00070101));
  // The exact target needs its exact id: 0x01080101 is gone, and of category
  // 6 only the named part.
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00060101}));
  EXPECT_FALSE(parts.ApplyPartActions(nullptr, 0x00070101));
}

TEST_F(InstalledPartsTest, PositionWaitsForItsTargetButRequiredPartsGetNoSecondPass) {
  const ItemId a = 0x00010101, target = 0x00020101, required = 0x00030101, q = 0x00040101;
  Category(0x00010000, {a});
  Category(0x00020000, {target});
  Category(0x00030000, {required});
  Category(0x00040000, {q});
  // Its own pass finds targets by their exact id, the target's pass matches
  // wildcards.
  GiveActions(FindById(catalogue, a), PositionAction(0x0002FFFF, {1, 2, 3}),
              PositionAction(required, {4, 5, 6}));
  GiveActions(FindById(catalogue, q), Action(ActionType::kRequire, required));

  parts.InstallPart(a);
  parts.ApplyPartActions(&catalogue, a);  // its target is not there yet
  EXPECT_EQ(parts.Count(), 1u);

  parts.InstallPart(target);
  parts.ApplyPartActions(&catalogue, target);
  ExpectPosition(parts.FindInstalled(target), {1, 2, 3});

  parts.InstallPart(q);
  parts.ApplyPartActions(&catalogue, q);
  ASSERT_EQ(Ids(), (std::vector<ItemId>{a, target, q, required}));
  ExpectPosition(parts.FindInstalled(required), {0, 0, 0});
  // Requiring what is installed installs nothing more.
  parts.ApplyPartActions(&catalogue, q);
  EXPECT_EQ(parts.Count(), 4u);
}

TEST_F(InstalledPartsTest, StandardPartsFollowTheCategoryKind) {
  CatalogueNode* one = Category(0x00010000, {0x00010101, 0x00010102});
  AddItemNode(catalogue, AddSubcategoryNode(catalogue, one, "s2", 0x00010200), "i", 0x00010201);

  CatalogueNode* slots = Category(0x01020000, {0x01020101, 0x01020102});
  AddSubcategoryNode(catalogue, slots, "empty", 0x01020200);
  AddItemNode(catalogue, AddSubcategoryNode(catalogue, slots, "s3", 0x01020300), "i", 0x01020301);

  Category(0x02030000, {0x02030101});

  // Items right below a kind-3 category, then a subcategory: only the items.
  CatalogueNode* several = AddCategoryNode(catalogue, "several", 0x03040000);
  AddItemNode(catalogue, several, "i", 0x03040101);
  AddItemNode(catalogue, several, "i", 0x03040102);
  AddItemNode(catalogue, AddSubcategoryNode(catalogue, several, "s", 0x03040200), "i", 0x03040201);

  CatalogueNode* severalSubs = Category(0x03050000, {0x03050101, 0x03050102});
  AddItemNode(catalogue, AddSubcategoryNode(catalogue, severalSubs, "s2", 0x03050200), "i",
              0x03050201);
  // An action-only part inside another kind's category stays out too.
  Category(0x00060000, {0x02060101});

  EXPECT_EQ(parts.LoadStandardParts(catalogue), 1);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00010101, 0x01020101, 0x01020301, 0x03040101, 0x03040102,
                                        0x03050101, 0x03050102}));
}

TEST_F(InstalledPartsTest, StartUpWalkContinuesAfterThePartItStandsOnIsRemoved) {
  // b removes itself and requires d; e removes itself and f by a wildcard;
  // c and d, met after them, still run their actions.
  const ItemId a = 0x00010101, b = 0x00020101, c = 0x00030101, d = 0x02090101, e = 0x01060101,
               f = 0x01060201, g = 0x00070101;
  Category(0x00010000, {a});
  Category(0x00020000, {b});
  Category(0x00030000, {c});
  CatalogueNode* slots = Category(0x01060000, {e});
  AddItemNode(catalogue, AddSubcategoryNode(catalogue, slots, "s2", 0x01060200), "i", f);
  Category(0x00070000, {g});
  Category(0x02090000, {d});
  GiveActions(FindById(catalogue, b), Action(ActionType::kExclude, b),
              Action(ActionType::kRequire, d));
  GiveActions(FindById(catalogue, c), PositionAction(c, {1, 1, 1}));
  GiveActions(FindById(catalogue, d), PositionAction(d, {2, 2, 2}));
  GiveActions(FindById(catalogue, e), Action(ActionType::kExclude, 0x0006FFFF));
  GiveActions(FindById(catalogue, g), PositionAction(g, {3, 3, 3}));
  parts.LoadStandardParts(catalogue);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{a, c, g, d}));
  ExpectPosition(parts.FindInstalled(c), {1, 1, 1});
  ExpectPosition(parts.FindInstalled(d), {2, 2, 2});
  ExpectPosition(parts.FindInstalled(g), {3, 3, 3});
}

TEST_F(InstalledPartsTest, ActionsThatGoRoundInCirclesEnd) {
  Category(0x00010000, {0x00010101});
  GiveActions(FindById(catalogue, 0x00010101), Action(ActionType::kExclude, 0x00010101),
              Action(ActionType::kRequire, 0x00010101));
  parts.LoadStandardParts(catalogue);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00010101}));
  EXPECT_EQ(LogAfterStart(), "\n error: part actions keep re-installing parts; stopped");
  // The list is usable afterwards: a new walk sees every part.
  EXPECT_NE(parts.FirstInstalled(), nullptr);
  EXPECT_EQ(parts.NextInstalled(), nullptr);
}

TEST_F(InstalledPartsTest, ARepeatedRecordIsNoCircle) {
  // Nine copies of one part among the standard parts, each positioning a
  // part that comes after them: the walk must reach the last part.
  CatalogueNode* category = AddCategoryNode(catalogue, "c", 0x03010000);
  CatalogueNode* sub = AddSubcategoryNode(catalogue, category, "s", 0x03010100);
  for (int copy = 0; copy < 9; ++copy)
    GiveActions(AddItemNode(catalogue, sub, "i", 0x03010101),
                PositionAction(0x00020101, {4, 5, 6}));
  Category(0x00020000, {0x00020101});
  parts.LoadStandardParts(catalogue);
  EXPECT_EQ(parts.Count(), 10u);
  ExpectPosition(parts.FindInstalled(0x00020101), {4, 5, 6});
  EXPECT_EQ(LogAfterStart(), "");
}

TEST_F(InstalledPartsTest, RemovingDuringWalksNeverLosesTheWay) {
  InstallAll({1, 2, 3, 4});
  // The walk's own part.
  EXPECT_EQ(parts.FirstInstalled()->id, 1u);
  EXPECT_EQ(parts.NextInstalled()->id, 2u);
  parts.RemovePart(2);
  EXPECT_EQ(parts.NextInstalled()->id, 3u);

  // The enclosing walk's part, removed by the inner walk.
  EXPECT_EQ(parts.FirstInstalled()->id, 1u);
  parts.RemovePart(3);
  EXPECT_EQ(parts.NextInstalled()->id, 4u);
  EXPECT_EQ(parts.NextInstalled(), nullptr);  // the outer walk resumes
  EXPECT_EQ(parts.NextInstalled()->id, 4u);

  // The last part removed, another appended: the walk goes on to it.
  parts.RemovePart(4);
  parts.InstallPart(5);
  EXPECT_EQ(parts.NextInstalled()->id, 5u);
  EXPECT_EQ(parts.NextInstalled(), nullptr);
  EXPECT_EQ(parts.NextInstalled(), nullptr);  // an ended walk stays ended

  // The head under the scan cursor.
  EXPECT_EQ(parts.ScanFirst()->id, 1u);
  parts.RemovePart(1);
  EXPECT_EQ(parts.ScanNext()->id, 5u);

  // Everything at once.
  EXPECT_EQ(parts.FirstInstalled()->id, 5u);
  parts.RemoveAllParts();
  EXPECT_EQ(parts.NextInstalled(), nullptr);
  EXPECT_EQ(parts.ScanNext(), nullptr);
}

}  // namespace
}  // namespace kbh
