#include "catalogue/data_store.hpp"
#include "catalogue/part_files.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace kbh {
namespace {

TEST(ItemId, WildcardsMatchAnyByteButTheKindIsNeverCompared) {
  EXPECT_TRUE(IdMatches(0x0103FFFF, 0x00030201));
  EXPECT_TRUE(IdMatches(0x00030201, 0x0103FFFF));
  EXPECT_FALSE(IdMatches(0x00030201, 0x00040201));
  EXPECT_TRUE(IdMatches(0x00FF0201, 0x02070201));
  EXPECT_FALSE(IdMatches(0x00030201, 0x00030202));
  EXPECT_TRUE(HasWildcard(0x0103FF00));
  EXPECT_TRUE(HasWildcard(0x00FF0000));
  EXPECT_FALSE(HasWildcard(0xFF030101));
}

// Category 0x03 (kind 1) with items 1 and 2 directly below it and
// subcategory 2 holding item 1; category 0x05 (kind 0) with subcategory 1.
struct SmallTree {
  DataStore store;
  CatalogueNode* wheels = AddCategoryNode(store, "Wheels", 0x01030000);
  CatalogueNode* directA = AddItemNode(store, wheels, "A", 0x01030101);
  CatalogueNode* directB = AddItemNode(store, wheels, "B", 0x01030102);
  CatalogueNode* front = AddSubcategoryNode(store, wheels, "Front", 0x01030200);
  CatalogueNode* spoke = AddItemNode(store, front, "Spoke", 0x01030201);
  CatalogueNode* engine = AddCategoryNode(store, "Engine", 0x00050000);
  CatalogueNode* cylinders = AddSubcategoryNode(store, engine, "Cylinders", 0x00050100);
};

TEST(PartFiles, NameAPartsFilesByTheLowThreeBytesOfItsIdInUpperCaseHex) {
  PathBuffer path;
  EXPECT_STREQ(FormatPartFilePath(path, ProgramDir{"/w"}, kPartModel, 0x01030101u),
               "/w\\data\\objects\\030101.mxa");
  EXPECT_STREQ(FormatPartFilePath(path, ProgramDir{"/w"}, kPartTexture, 0x030A0B0Cu),
               "/w\\data\\textures\\0A0B0C.khx");
  EXPECT_STREQ(FormatPartFilePath(path, ProgramDir{"/w"}, kPartPicture, 0xFF00FFEEu),
               "/w\\data\\images\\00FFEE.khi");
  EXPECT_EQ(PartFileRelativePath(kPartPicture, 0x0002A1FFu), "data/images/02A1FF.khi");
}

TEST(DataStore, FindByIdAndFindCategory) {
  SmallTree tree;
  EXPECT_EQ(FindById(tree.store, 0x01030000), tree.wheels);
  EXPECT_EQ(FindById(tree.store, 0x01030201), tree.spoke);
  EXPECT_EQ(FindById(tree.store, 0x01030202), nullptr);
  EXPECT_EQ(FindById(tree.store, 0x00030201), nullptr);  // the kind byte counts here
  EXPECT_EQ(FindCategory(tree.store, 0x05), tree.engine);
  EXPECT_EQ(FindCategory(tree.store, 0x04), nullptr);
  EXPECT_EQ(FindById(DataStore{}, 0), nullptr);
}

TEST(DataStore, RepeatedIdsAnswerTheFirstNodeInPreOrderWhateverTheOrderOfAdding) {
  DataStore store;
  CatalogueNode* first = AddCategoryNode(store, "first", 0x00010000);
  CatalogueNode* second = AddCategoryNode(store, "second", 0x00020000);
  // Added to the later category first, then to the earlier one.
  CatalogueNode* late = AddItemNode(store, second, "late", 0x00090101);
  CatalogueNode* early = AddItemNode(store, first, "early", 0x00090101);
  EXPECT_EQ(FindById(store, 0x00090101), early);
  // A child comes before its parent's next sibling, even with that sibling
  // added earlier.
  AddCategoryNode(store, "third", 0x00090100);
  CatalogueNode* child = AddSubcategoryNode(store, second, "child", 0x00090100);
  EXPECT_EQ(FindById(store, 0x00090100), child);
  // A parent comes before its own children.
  AddItemNode(store, late, "grandchild", 0x00020000);
  EXPECT_EQ(FindById(store, 0x00020000), second);
  // The same category twice: the first wins, also for its children's ids.
  CatalogueNode* again = AddCategoryNode(store, "again", 0x00010000);
  AddItemNode(store, again, "shadowed", 0x00090101);
  EXPECT_EQ(FindById(store, 0x00010000), first);
  EXPECT_EQ(FindById(store, 0x00090101), early);
}

TEST(DataStore, TheIndexFindsEveryIdOfALargeStoreAndNothingElse) {
  DataStore store;
  std::mt19937 random(3);
  std::vector<ItemId> ids;
  CatalogueNode* parent = AddCategoryNode(store, "root", 0);
  for (int index = 0; index < 20000; ++index) {
    const ItemId id = static_cast<ItemId>(random());
    ids.push_back(id);
    AddItemNode(store, parent, "", id);
  }
  for (size_t index = 0; index < ids.size(); ++index) {
    const CatalogueNode* found = FindById(store, ids[index]);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, ids[index]);
  }
  std::sort(ids.begin(), ids.end());
  for (int index = 0; index < 20000; ++index) {
    const ItemId id = static_cast<ItemId>(random());
    if (id == 0 || std::binary_search(ids.begin(), ids.end(), id)) continue;
    ASSERT_EQ(FindById(store, id), nullptr) << id;
  }
}

TEST(DataStore, WalksStopAndStayAtTheEndAndIndexedAccessSharesTheCursor) {
  SmallTree tree;
  EXPECT_EQ(FirstCategory(tree.store), tree.wheels);
  EXPECT_EQ(NextCategory(tree.store), tree.engine);
  EXPECT_EQ(NextCategory(tree.store), nullptr);
  EXPECT_EQ(NextCategory(tree.store), nullptr);
  DataStore empty;
  EXPECT_EQ(FirstCategory(empty), nullptr);

  EXPECT_EQ(FirstSubcategory(tree.store, tree.wheels), tree.directA);
  EXPECT_EQ(SubcategoryAt(tree.store, tree.wheels, 0), tree.directA);
  EXPECT_EQ(SubcategoryAt(tree.store, tree.wheels, 2), tree.front);
  EXPECT_EQ(NextSubcategory(tree.store), nullptr);  // the cursor was left on front
  EXPECT_EQ(SubcategoryAt(tree.store, tree.wheels, 3), nullptr);
  EXPECT_EQ(SubcategoryAt(tree.store, tree.wheels, -1), nullptr);
  EXPECT_EQ(SubcategoryAt(tree.store, nullptr, 0), nullptr);
  // A null category leaves the cursor where it was.
  EXPECT_EQ(SubcategoryAt(tree.store, tree.wheels, 1), tree.directB);
  EXPECT_EQ(FirstSubcategory(tree.store, nullptr), nullptr);
  EXPECT_EQ(NextSubcategory(tree.store), tree.front);
}

TEST(DataStore, AnItemIsItsOwnFirstItemSoOneWalkCoversBothShapes) {
  SmallTree tree;
  EXPECT_EQ(FirstItem(tree.store, tree.directB), tree.directB);
  EXPECT_EQ(NextItem(tree.store), tree.front);  // then its siblings
  EXPECT_EQ(FirstItem(tree.store, tree.front), tree.spoke);
  EXPECT_EQ(NextItem(tree.store), nullptr);
  EXPECT_EQ(FirstItem(tree.store, tree.cylinders), nullptr);
  EXPECT_EQ(FirstItem(tree.store, nullptr), nullptr);

  // The nested walk the workshop lists use: each child, then its items.
  std::vector<std::string> names;
  for (auto* child = FirstSubcategory(tree.store, tree.wheels); child != nullptr;
       child = NextSubcategory(tree.store)) {
    names.push_back(FirstItem(tree.store, child)->name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "Spoke"}));
}

TEST(PartRecord, ActionsAppendInOrderAndLongListsFreeWithoutRecursion) {
  std::unique_ptr<PartAction> actions;
  for (int index = 0; index < 3; ++index) {
    auto action = std::make_unique<PartAction>();
    action->target = static_cast<ItemId>(index);
    AppendAction(actions, std::move(action));
  }
  const PartAction* second = NextAction(actions.get());
  EXPECT_EQ(second->target, 1u);
  EXPECT_EQ(NextAction(NextAction(second)), nullptr);

  // A million links would overflow the stack if each owner freed the next.
  std::unique_ptr<PartAction> longList = std::make_unique<PartAction>();
  PartAction* tail = longList.get();
  for (int index = 0; index < 1000000; ++index) {
    tail->next = std::make_unique<PartAction>();
    tail = tail->next.get();
  }
  longList.reset();
}

}  // namespace
}  // namespace kbh
