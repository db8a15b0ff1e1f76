#include "workshop/installed_parts.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
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
  testing::WriteModel(dir, 0x040201, BoxMesh({-1, 0, -2}, {3, 2, 2}, 2));
  testing::WriteBytes(dir, "data/textures/040201.khx",
                      EncodeDds(testing::SolidPicture(8, 8, 0xFF102030), FMT_X8R8G8B8));
  testing::WriteBytes(dir, "data/images/040201.khi",
                      EncodeDds(testing::SolidPicture(6, 4, 0xFF405060), FMT_X8R8G8B8));

  PartModel* full = parts.InstallPart(0x00040201);
  ASSERT_NE(full->mesh, nullptr);
  EXPECT_EQ(full->id, 0x00040201u);
  EXPECT_EQ(full->mesh->factors[1].reflection, 13);  // a part model's mesh
  EXPECT_TRUE(full->texture);
  ASSERT_NE(full->image, nullptr);
  EXPECT_EQ(full->image->width, 6);
  // Centred on the origin for the views that turn one part.
  EXPECT_EQ(full->world.m[3][0], -1.0f);
  EXPECT_EQ(full->world.m[3][1], -1.0f);
  EXPECT_EQ(full->world.m[3][2], 0.0f);
  EXPECT_EQ(full->extents.z, 4.0f);

  PartModel* bare = parts.InstallPart(0x00040202);
  EXPECT_EQ(bare->mesh, nullptr);
  EXPECT_FALSE(bare->texture);
  EXPECT_EQ(bare->image, nullptr);
  EXPECT_TRUE(IsIdentity(bare->world));
  EXPECT_EQ(parts.Count(), 2u);
  EXPECT_EQ(parts.CountVertices(), 24u);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00040201, 0x00040202}));
}

TEST_F(InstalledPartsTest, RemoveTakesTheFirstExactMatchAndReleasesIt) {
  testing::WriteModel(dir, 0x040201, BoxMesh({0, 0, 0}, {1, 1, 1}));
  PartModel* first = parts.InstallPart(0x00040201);
  parts.InstallPart(0x00050101);
  PartModel* second = parts.InstallPart(0x00040201);
  ASSERT_NE(first, second);
  EXPECT_EQ(device().LiveMeshes(), 2u);

  EXPECT_EQ(parts.RemovePart(0x01040201), 1);  // the kind byte counts
  EXPECT_EQ(parts.RemovePart(0x00099999), 1);
  EXPECT_EQ(parts.Count(), 3u);
  parts.RemovePart(0x00040201);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00050101, 0x00040201}));
  EXPECT_EQ(parts.FindInstalled(0x00040201), second);
  EXPECT_EQ(device().LiveMeshes(), 1u);
  parts.RemoveAllParts();
  EXPECT_EQ(parts.Count(), 0u);
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

  // A free place: only the install.
  parts.ExchangePart(0x00070101);
  EXPECT_EQ(parts.Count(), 3u);
}

TEST_F(InstalledPartsTest, SearchesByCategoryAndSlot) {
  InstallAll({0x00040201, 0x01030201, 0x01030101});
  EXPECT_EQ(parts.FindInstalledInCategory(3), 0x01030201u);
  EXPECT_EQ(parts.FindInstalledInSlot(3, 1), 0x01030101u);
  EXPECT_EQ(parts.FindInstalledInSlot(3, 7), 0u);
  EXPECT_EQ(parts.FindInstalledInCategory(9), 0u);
  parts.InstallPart(0x00000101);
  EXPECT_EQ(parts.FindInstalledInCategory(0), 0u);
  EXPECT_EQ(parts.FindInstalledInSlot(0, 1), 0u);
  EXPECT_EQ(parts.FindInstalled(0x01030101)->id, 0x01030101u);
  EXPECT_EQ(parts.FindInstalled(0x00030101), nullptr);
}

TEST_F(InstalledPartsTest, PaintSelectorPicksTheSubset) {
  testing::WriteModel(dir, 0x010101, BoxMesh({0, 0, 0}, {1, 1, 1}, 3));
  PartModel* model = parts.InstallPart(0x00010101);
  ASSERT_NE(model->mesh, nullptr);
  const std::vector<Material> before = model->mesh->materials;
  auto diffuse = [&](uint32_t subset) { return model->mesh->materials[subset].diffuse; };

  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x04FF0000, 0), model);  // past the count
  EXPECT_EQ(std::memcmp(model->mesh->materials.data(), before.data(), 3 * sizeof(Material)), 0);
  EXPECT_EQ(model->mesh->factors[2].reflection, 13);

  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x0200FF00, 2), model);
  EXPECT_EQ(model->mesh->factors[1].reflection, 96);  // chrome
  EXPECT_EQ(model->mesh->factors[0].reflection, 13);
  EXPECT_EQ(model->mesh->factors[2].reflection, 13);

  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x03FF0000, 0), model);
  EXPECT_EQ(diffuse(2).r, 1.0f);
  EXPECT_EQ(diffuse(2).g, 0.0f);
  // The selector byte is also the colour's alpha byte.
  EXPECT_FLOAT_EQ(diffuse(2).a, 3 * 0.003921569f);
  EXPECT_EQ(diffuse(0).r, before[0].diffuse.r);

  ApplyPositionOrPaint(*PaintAction(0x00010101, 0x000000FF, 1), model);
  for (uint32_t s = 0; s < 3; ++s) {
    EXPECT_EQ(diffuse(s).b, 1.0f) << s;
    EXPECT_EQ(diffuse(s).a, 0.0f) << s;
    EXPECT_EQ(model->mesh->factors[s].reflection, 15) << s;
  }

  // Positions move any model; paints need a mesh; other types do nothing.
  PartModel* bare = parts.InstallPart(0x00020101);
  ApplyPositionOrPaint(*PaintAction(0x00020101, 0x00FF0000, 0), bare);
  ApplyPositionOrPaint(*PositionAction(0x00020101, {1, 2, 3}), bare);
  ExpectPosition(bare, {1, 2, 3});
  ApplyPositionOrPaint(*Action(static_cast<ActionType>(16), 0x00020101), bare);
  ApplyPositionOrPaint(*PositionAction(0x00020101, {1, 2, 3}), nullptr);
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

TEST_F(InstalledPartsTest, StandardPartsRunTheActionsOfRequiredPartsToo) {
  Category(0x00010000, {0x00010101});
  Category(0x02090000, {0x02090101});
  GiveActions(FindById(catalogue, 0x00010101), Action(ActionType::kRequire, 0x02090101));
  GiveActions(FindById(catalogue, 0x02090101), PositionAction(0x02090101, {7, 8, 9}));
  parts.LoadStandardParts(catalogue);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00010101, 0x02090101}));
  ExpectPosition(parts.FindInstalled(0x02090101), {7, 8, 9});
}

TEST_F(InstalledPartsTest, StartUpWalkContinuesAfterThePartItStandsOnIsRemoved) {
  const ItemId a = 0x00010101, b = 0x00020101, c = 0x00030101, d = 0x02090101;
  Category(0x00010000, {a});
  Category(0x00020000, {b});
  Category(0x00030000, {c});
  Category(0x02090000, {d});
  GiveActions(FindById(catalogue, b), Action(ActionType::kExclude, b),
              Action(ActionType::kRequire, d));
  GiveActions(FindById(catalogue, c), PositionAction(c, {1, 1, 1}));
  GiveActions(FindById(catalogue, d), PositionAction(d, {2, 2, 2}));
  parts.LoadStandardParts(catalogue);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{a, c, d}));
  ExpectPosition(parts.FindInstalled(c), {1, 1, 1});
  ExpectPosition(parts.FindInstalled(d), {2, 2, 2});
}

TEST_F(InstalledPartsTest, WildcardExcludeInsideTheStartUpWalk) {
  // The second part removes itself and the part after it.
  CatalogueNode* slots = Category(0x01060000, {0x01060101});
  AddItemNode(catalogue, AddSubcategoryNode(catalogue, slots, "s2", 0x01060200), "i", 0x01060201);
  Category(0x00010000, {0x00010101});
  Category(0x00070000, {0x00070101});
  GiveActions(FindById(catalogue, 0x01060101), Action(ActionType::kExclude, 0x0006FFFF));
  GiveActions(FindById(catalogue, 0x00070101), PositionAction(0x00070101, {3, 3, 3}));
  parts.LoadStandardParts(catalogue);
  EXPECT_EQ(Ids(), (std::vector<ItemId>{0x00010101, 0x00070101}));
  ExpectPosition(parts.FindInstalled(0x00070101), {3, 3, 3});
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

TEST_F(InstalledPartsTest, AllPartsSettersAndVertexCount) {
  EXPECT_EQ(parts.CountVertices(), 0u);
  testing::WriteModel(dir, 0x010101, BoxMesh({0, 0, 0}, {1, 1, 1}));
  testing::WriteModel(dir, 0x020101, testing::SphereMesh(1.0f, 4, 6));
  InstallAll({0x00010101, 0x00030101, 0x00020101});
  EXPECT_EQ(parts.CountVertices(), 24u + 5 * 7);
  parts.SetAllPartsAlpha(0.25f);
  parts.SetAllPartsAlpha(7.0f);
  parts.SetAllPartsRotation(0, 1.0f, 0);
  for (ItemId id : {0x00010101u, 0x00020101u}) {
    const PartModel* model = parts.FindInstalled(id);
    EXPECT_EQ(GetPartAlpha(model), 0.25f);
    EXPECT_NEAR(model->mesh->rotation.m[0][0], std::cos(1.0f), 1e-6f);
  }
  EXPECT_EQ(GetPartAlpha(parts.FindInstalled(0x00030101)), -1.0f);
}

}  // namespace
}  // namespace kbh
