// The demo catalogue as the program loads it: it exercises every kind and
// every action, its records are complete, and it agrees with the meshes and
// logos the builder wrote beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/unit/workshop_content/workshop_tree.hpp"
#include "tools/workshop/part_table.hpp"

namespace kbh {
namespace {

using testing::Actions;
using testing::AllItems;
using testing::WorkshopPath;

class DemoCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadDataStore(WorkshopPath("data/firstData.khb"), store_, &report_));
  }
  DataStore store_;
  LoadReport report_;
};

TEST_F(DemoCatalogue, LoadsCleanlyAndCoversEveryKind) {
  // Nothing the loader would skip or cut.
  EXPECT_TRUE(report_.findings.empty());
  std::set<int> kinds;
  int categories = 0;
  bool itemsUnderCategory = false;
  bool subcategories = false;
  bool umlaut = false;
  for (const CatalogueNode* c = store_.first; c; c = c->next) {
    ++categories;
    kinds.insert(c->id >> 24);
    for (const CatalogueNode* child = c->firstChild; child; child = child->next) {
      (child->type == NodeType::kItem ? itemsUnderCategory : subcategories) = true;
    }
    for (const char ch : c->name)
      umlaut = umlaut || static_cast<uint8_t>(ch) >= 0x80;
  }
  EXPECT_GE(categories, 8);
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3}));
  EXPECT_TRUE(itemsUnderCategory);
  EXPECT_TRUE(subcategories);
  EXPECT_TRUE(umlaut) << "names are Windows-1252 with umlauts";
  EXPECT_GE(AllItems(store_).size(), 40u);
}

TEST_F(DemoCatalogue, UsesEveryActionAndEveryFinish) {
  std::set<int> types;
  std::set<int> finishes;
  bool wildcardExclude = false;
  bool wholePartPaint = false;
  bool subsetPaint = false;
  for (const CatalogueNode* item : AllItems(store_)) {
    for (const PartAction* a : Actions(item)) {
      types.insert(static_cast<int>(a->type));
      if (a->type == ActionType::kExclude && HasWildcard(a->target)) wildcardExclude = true;
      if (a->type == ActionType::kPaint) {
        finishes.insert(a->paint.finish);
        (a->paint.colour >> 24 == 0 ? wholePartPaint : subsetPaint) = true;
      }
    }
  }
  EXPECT_EQ(types, (std::set<int>{1, 2, 4, 8}));
  EXPECT_EQ(finishes, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(wildcardExclude);
  EXPECT_TRUE(wholePartPaint);
  EXPECT_TRUE(subsetPaint);
}

TEST_F(DemoCatalogue, RecordsAreCompleteAndTheirLogosExist) {
  // A full record: title, second line, a description of several paragraphs
  // with a tabbed list, and the seller's logo.
  const std::vector<const CatalogueNode*> items = AllItems(store_);
  int complete = 0;
  for (const CatalogueNode* item : items) {
    const PartRecord* r = item->record.get();
    if (!r) continue;
    SCOPED_TRACE(r->text1);
    const bool paragraphs = r->text4.find("\n\n") != std::string::npos;
    const bool tab = r->text4.find('\t') != std::string::npos;
    if (!r->text1.empty() && !r->text2.empty() && paragraphs && tab && !r->text5.empty()) {
      ++complete;
    }
    if (!r->text5.empty()) {
      EXPECT_TRUE(std::filesystem::exists(WorkshopPath("data/logos/" + r->text5 + ".dds")));
    }
  }
  EXPECT_GE(complete * 10, static_cast<int>(items.size()) * 9) << "most parts have full records";
}

TEST_F(DemoCatalogue, EveryItemHasItsMeshAndEveryPaintFindsItsSubset) {
  std::set<ItemId> table;
  for (const PartSource& part : DemoParts())
    table.insert(part.id);
  std::set<ItemId> listed;
  for (const CatalogueNode* item : AllItems(store_))
    listed.insert(item->id);
  // Listed without a model on purpose: building it in shows that the model
  // file is missing.
  EXPECT_EQ(listed.erase(0x00040202), 1u);
  EXPECT_EQ(listed, table) << "the part table and the catalogue list the same parts";

  for (const CatalogueNode* item : AllItems(store_)) {
    for (const PartAction* a : Actions(item)) {
      SCOPED_TRACE(::testing::Message() << std::hex << item->id << " -> " << a->target);
      if (a->type == ActionType::kExclude && HasWildcard(a->target)) continue;
      // Every other target is one part of the catalogue.
      ASSERT_TRUE(FindById(store_, a->target)) << "target is no item";
      if (a->type != ActionType::kPaint) continue;
      MeshData mesh;
      ASSERT_TRUE(testing::LoadWorkshopMesh(a->target, &mesh));
      const uint32_t selector = a->paint.colour >> 24;
      EXPECT_LE(selector, mesh.subsets.size()) << "paints a subset the mesh does not have";
    }
  }
}

TEST_F(DemoCatalogue, RaisedForksLiftWhatIsClampedOnTheHandlebar) {
  const struct {
    ItemId fork;
    ForkStyle style;
  } forks[] = {{0x00020101, ForkStyle::kGaiters},
               {0x00020102, ForkStyle::kChrome},
               {0x00020201, ForkStyle::kRaised10},
               {0x00020202, ForkStyle::kRaised20}};
  for (const auto& fork : forks) {
    int positions = 0;
    for (const PartAction* a : Actions(FindById(store_, fork.fork))) {
      if (a->type != ActionType::kPosition) continue;
      ++positions;
      const Vec3 lift = ForkLift(fork.style);
      EXPECT_NEAR(a->position.x, lift.x, 0.01f);
      EXPECT_NEAR(a->position.y, lift.y, 0.01f);
      EXPECT_NEAR(a->position.z, lift.z, 0.01f);
    }
    // Every handlebar, the windscreen and its bracket, whatever is installed.
    EXPECT_EQ(positions, 6);
  }
}

}  // namespace
}  // namespace kbh
