#include "catalogue/data_store_loader.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/temp_dir.hpp"
#include "tests/unit/catalogue/khb_builder.hpp"

namespace kbh {
namespace {

using testing::KhbBuilder;
using namespace std::literals;

std::vector<LoadFinding> Load(const KhbBuilder& file, DataStore& store) {
  LoadReport report;
  LoadDataStoreFromBytes(file.Bytes(), store, &report);
  return report.findings;
}

std::vector<FindingKind> Kinds(const std::vector<LoadFinding>& findings) {
  std::vector<FindingKind> kinds;
  for (const LoadFinding& finding : findings)
    kinds.push_back(finding.kind);
  return kinds;
}

std::vector<ItemId> ChildIds(const CatalogueNode* node) {
  std::vector<ItemId> ids;
  for (const CatalogueNode* child = node->firstChild; child != nullptr; child = child->next) {
    ids.push_back(child->id);
  }
  return ids;
}

TEST(Loader, ThreeHeadersAndAnEndByteGiveAnEmptyCatalogue) {
  DataStore store;
  EXPECT_TRUE(Load(KhbBuilder().Start().EndTree(), store).empty());
  EXPECT_EQ(store.first, nullptr);
}

TEST(Loader, IdsFollowTheOrderWithDirectItemsFormingSubcategoryOne) {
  DataStore store;
  const auto findings = Load(KhbBuilder()
                                 .Start()
                                 .Category(0x03, 0x01, "Wheels\0\n"sv)
                                 .Item("A\0\n"sv)
                                 .Item("B\0\n"sv)
                                 .Subcategory("Front\0\n"sv)
                                 .Item("Spoke\0\n"sv)
                                 .Category(0x05, 0x00, "Engine\0\n"sv)
                                 .Subcategory("Cyl\0\n"sv)
                                 .Subcategory("Head\0\n"sv)
                                 .Item("H1\0\n"sv)
                                 .EndTree(),
                             store);
  EXPECT_TRUE(findings.empty());
  const CatalogueNode* wheels = store.first;
  ASSERT_NE(wheels, nullptr);
  EXPECT_EQ(wheels->id, 0x01030000u);
  EXPECT_EQ(ChildIds(wheels), (std::vector<ItemId>{0x01030101, 0x01030102, 0x01030200}));
  EXPECT_EQ(wheels->firstChild->type, NodeType::kItem);
  EXPECT_EQ(ChildIds(FindById(store, 0x01030200)), (std::vector<ItemId>{0x01030201}));
  const CatalogueNode* engine = wheels->next;
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(ChildIds(engine), (std::vector<ItemId>{0x00050100, 0x00050200}));
  EXPECT_EQ(ChildIds(FindById(store, 0x00050200)), (std::vector<ItemId>{0x00050201}));
  EXPECT_EQ(FindById(store, 0x00050201)->name, "H1");
}

TEST(Loader, NamesKeepTheirLineEndUnlessANulComesFirst) {
  DataStore store;
  Load(KhbBuilder()
           .Start()
           .Category(1, 0, "plain\n")
           .Item("windows\r\n")
           .Item("cut\0rest\n"sv)
           .Item("\n")
           .Item("last")  // the file ends inside this line
       ,
       store);
  const CatalogueNode* category = store.first;
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(category->name, "plain\n");
  std::vector<std::string> names;
  for (const CatalogueNode* item = category->firstChild; item != nullptr; item = item->next) {
    names.push_back(item->name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"windows\r\n", "cut", "\n", "last"}));
}

TEST(Loader, ALongNameIsCutAndItsRestIsReadAsMarkers) {
  DataStore store;
  const std::string longName = std::string(199, 'n') + "x+hidden\n";
  const KhbBuilder file =
      KhbBuilder().Start().Category(1, 0, "c\n").Item(longName).Item("next\n").EndTree();
  const auto findings = Load(file, store);
  const size_t nameOffset = 17 + 5 + 1;  // headers, the category, the '+'
  ASSERT_EQ(Kinds(findings),
            (std::vector<FindingKind>{FindingKind::kNameCut, FindingKind::kSkippedBytes}));
  EXPECT_EQ(findings[0].offset, nameOffset);
  EXPECT_EQ(findings[0].value, 199u);
  EXPECT_EQ(findings[1].offset, nameOffset + 199);  // the 'x'
  EXPECT_EQ(findings[1].value, 1u);
  EXPECT_EQ(FindById(store, 0x00010101)->name, std::string(199, 'n'));
  EXPECT_EQ(FindById(store, 0x00010102)->name, "hidden\n");
  EXPECT_EQ(FindById(store, 0x00010103)->name, "next\n");
}

TEST(Loader, EitherEndByteClosesTheTree) {
  for (uint8_t end : {uint8_t{0xA7}, uint8_t{0xFF}}) {
    DataStore store;
    const auto findings = Load(KhbBuilder()
                                   .Start()
                                   .Category(1, 0, "c\n")
                                   .Byte(end)
                                   .Header(3)
                                   .Record(0x00010000)
                                   .ActionCount(0),
                               store);
    EXPECT_TRUE(findings.empty()) << int(end);
    ASSERT_NE(store.first, nullptr);
    EXPECT_NE(store.first->record, nullptr) << int(end);
  }
}

TEST(Loader, MarkersBeforeTheFirstCategoryAreIgnored) {
  DataStore store;
  const auto findings = Load(
      KhbBuilder().Start().Subcategory("lost\n").Item("lost\n").Category(2, 0, "c\n").Item("i\n"),
      store);
  EXPECT_EQ(Kinds(findings),
            (std::vector<FindingKind>{
                FindingKind::kMarkerWithoutCategory, FindingKind::kMarkerWithoutCategory,
                FindingKind::kTreeUnterminated, FindingKind::kSectionAbsent}));
  EXPECT_EQ(findings[0].value, '$');
  EXPECT_EQ(findings[1].offset, 17u + 6);
  ASSERT_NE(store.first, nullptr);
  EXPECT_EQ(ChildIds(store.first), (std::vector<ItemId>{0x00020101}));
}

TEST(Loader, ChildrenBeyondTheWildcardNumberAreDroppedWithTheirItems) {
  KhbBuilder file;
  file.Start().Category(7, 1, "c\n");
  for (int index = 0; index < 255; ++index)
    file.Subcategory("s\n").Item("i\n");
  file.Subcategory("s\n").Item("i\n");
  file.Category(8, 0, "d\n").Subcategory("s\n");
  for (int index = 0; index < 256; ++index)
    file.Item("i\n");
  file.Subcategory("t\n").Item("i\n").EndTree();
  DataStore store;
  const auto findings = Load(file, store);
  EXPECT_EQ(Kinds(findings),
            (std::vector<FindingKind>{
                FindingKind::kTooManySubcategories, FindingKind::kItemOfDroppedParent,
                FindingKind::kTooManySubcategories, FindingKind::kItemOfDroppedParent,
                FindingKind::kTooManyItems, FindingKind::kTooManyItems}));
  EXPECT_EQ(findings[0].id, 0x01070000u);
  EXPECT_EQ(findings[4].id, 0x00080100u);
  EXPECT_EQ(store.first->childCount, 254u);
  EXPECT_EQ(store.first->lastChild->id, 0x0107FE00u);
  EXPECT_EQ(FindById(store, 0x0107FF00), nullptr);
  EXPECT_EQ(FindById(store, 0x0107FEFF), nullptr);
  EXPECT_EQ(FindById(store, 0x000801FE)->name, "i\n");
  EXPECT_EQ(FindById(store, 0x000801FF), nullptr);
  EXPECT_EQ(ChildIds(FindById(store, 0x00080200)), (std::vector<ItemId>{0x00080201}));
}

TEST(Loader, AHeaderOfTheWrongTypeHasNoBody) {
  DataStore store;
  // Header 2 says 5: the tree is absent and header 3 follows at once.
  const auto findings =
      Load(KhbBuilder().Header(1).Byte(0).Header(5).Header(3).Record(1).ActionCount(0), store);
  EXPECT_EQ(Kinds(findings), (std::vector<FindingKind>{FindingKind::kSectionAbsent,
                                                       FindingKind::kRecordWithoutNode}));
  EXPECT_EQ(findings[0].offset, 9u);
  EXPECT_EQ(findings[0].value, 2u);
  EXPECT_EQ(findings[0].detail, 5u);
  EXPECT_EQ(findings[1].offset, 25u);

  // Header 1 is not type 1: no body byte, header 2 follows directly.
  DataStore other;
  Load(KhbBuilder().Header(9).Header(2).Category(4, 0, "c\n").EndTree(), other);
  ASSERT_NE(other.first, nullptr);
  EXPECT_EQ(other.first->id, 0x00040000u);
}

TEST(Loader, EveryTruncationOfAGoodFileLoadsAPrefix) {
  KhbBuilder file;
  file.Start().Category(1, 3, "Cat\0\n"sv).Subcategory("Sub\0\n"sv).Item("Item\0\n"sv).EndTree();
  const size_t recordsStart = file.Size();
  file.Record(0x03010101)
      .ActionCount(2)
      .PositionAction(0x0301FFFF, 1, 2, 3)
      .PaintAction(0x03010101, 0xFF112233, 4);
  const std::string whole = file.String();
  for (size_t length = 0; length <= whole.size(); ++length) {
    DataStore store;
    LoadReport report;
    const std::string prefix = whole.substr(0, length);
    LoadDataStoreFromBytes(std::span(reinterpret_cast<const uint8_t*>(prefix.data()), length),
                           store, &report);
    const CatalogueNode* item = FindById(store, 0x03010101);
    if (item != nullptr && item->record != nullptr) {
      int actions = 0;
      for (auto* action = item->record->actions.get(); action != nullptr;
           action = action->next.get())
        ++actions;
      EXPECT_EQ(actions, length == whole.size()        ? 2
                         : length >= whole.size() - 16 ? 1
                                                       : 0)
          << length;
    }
    // Only the file that ends right before its first record is whole.
    if (length < whole.size() && length != recordsStart) {
      EXPECT_FALSE(report.findings.empty()) << length;
    }
  }
}

TEST(Loader, RecordsCarryTextsAndActionsInFileOrder) {
  DataStore store;
  const auto findings = Load(KhbBuilder()
                                 .Start()
                                 .Category(1, 0, "c\n")
                                 .Item("i\n")
                                 .EndTree()
                                 .Record(0x00010101, "Title\0\n"sv, "Second\n", "logo\0\n"sv,
                                         "three\0\n"sv, "line one\nline two\0junk"sv)
                                 .ActionCount(4)
                                 .Action(1, 0x00020101)
                                 .PositionAction(0x0001FFFF, 1.5f, -0.25f, 3e-8f)
                                 .PaintAction(0x00010101, 0x02AABBCC, 5)
                                 .Action(2, 0x00FFFFFF),
                             store);
  EXPECT_TRUE(findings.empty());
  const PartRecord* record = FindById(store, 0x00010101)->record.get();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->text1, "Title");
  EXPECT_EQ(record->text2, "Second\n");
  EXPECT_EQ(record->text3, "three");
  EXPECT_EQ(record->text4, "line one\nline two");
  EXPECT_EQ(record->text5, "logo");
  const PartAction* action = record->actions.get();
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->type, ActionType::kRequire);
  EXPECT_EQ(action->target, 0x00020101u);
  action = NextAction(action);
  EXPECT_EQ(action->type, ActionType::kPosition);
  EXPECT_EQ(action->position.x, 1.5f);
  EXPECT_EQ(action->position.y, -0.25f);
  EXPECT_EQ(action->position.z, 3e-8f);
  action = NextAction(action);
  EXPECT_EQ(action->type, ActionType::kPaint);
  EXPECT_EQ(action->paint.colour, 0x02AABBCCu);
  EXPECT_EQ(action->paint.finish, 5);
  action = NextAction(action);
  EXPECT_EQ(action->type, ActionType::kExclude);
  EXPECT_EQ(action->target, 0x00FFFFFFu);
  EXPECT_EQ(NextAction(action), nullptr);
}

TEST(Loader, TheSecondRecordForAnIdWinsAndRecordsForUnknownIdsAreDropped) {
  KhbBuilder file;
  file.Start().Category(1, 0, "c\n").Item("i\n").EndTree();
  const size_t firstOffset = file.Size();
  file.Record(0x00010101, "first\n").ActionCount(1).Action(1, 5);
  const size_t secondOffset = file.Size();
  file.Record(0x00010101, "second\n").ActionCount(0);
  const size_t strayOffset = file.Size();
  file.Record(0x00010199, "stray\n").ActionCount(0);
  DataStore store;
  const auto findings = Load(file, store);
  ASSERT_EQ(Kinds(findings), (std::vector<FindingKind>{FindingKind::kDuplicateRecord,
                                                       FindingKind::kRecordWithoutNode}));
  EXPECT_EQ(findings[0].offset, secondOffset);
  EXPECT_EQ(findings[0].value, firstOffset);
  EXPECT_EQ(findings[1].offset, strayOffset);
  EXPECT_EQ(findings[1].id, 0x00010199u);
  const PartRecord* record = FindById(store, 0x00010101)->record.get();
  EXPECT_EQ(record->text1, "second\n");
  EXPECT_EQ(record->actions, nullptr);  // N = 0: a record with no actions
}

TEST(Loader, RecordsAttachToTheFirstNodeOfARepeatedCategory) {
  DataStore store;
  Load(KhbBuilder()
           .Start()
           .Category(1, 0, "first\n")
           .Category(1, 0, "again\n")
           .EndTree()
           .Record(0x00010000, "r\n"),
       store);
  EXPECT_NE(store.first->record, nullptr);
  EXPECT_EQ(store.first->next->record, nullptr);
}

TEST(Loader, OverlongAndUnterminatedBlocksKeepWhatFitsAndStayInStep) {
  KhbBuilder file;
  file.Start().Category(1, 0, "c\n").Item("a\n").Item("b\n").EndTree();
  const size_t first = file.Size();
  file.Record(0x00010101, "x\n", "x\n", "x\n", "x\n", std::string(1500, 'd')).ActionCount(0);
  const size_t second = file.Size();
  file.Record(0x00010102, "x\n", "x\n", "x\n", "x\n", std::string(1000, 'e')).ActionCount(0);
  DataStore store;
  const auto findings = Load(file, store);
  ASSERT_EQ(Kinds(findings),
            (std::vector<FindingKind>{FindingKind::kBlockTooLong, FindingKind::kBlockWithoutNul}));
  EXPECT_EQ(findings[0].offset, first + 4 + 8);
  EXPECT_EQ(findings[0].value, 1500u);
  EXPECT_EQ(findings[1].offset, second + 4 + 8);
  EXPECT_EQ(FindById(store, 0x00010101)->record->text4, std::string(999, 'd'));
  EXPECT_EQ(FindById(store, 0x00010102)->record->text4, std::string(999, 'e'));
}

TEST(Loader, LengthsAndCountsBeyondTheFileCostNothing) {
  // A block that claims 4 GB, then a record that claims 65535 actions but
  // holds one: both end with the file, nothing is allocated for the claims.
  DataStore store;
  auto findings = Load(KhbBuilder()
                           .Start()
                           .Category(1, 0, "c\n")
                           .Item("i\n")
                           .EndTree()
                           .U32(0x00010101)
                           .Raw("a\nb\nc\nd\n")
                           .U32(0xFFFFFFFF)
                           .Raw("short"),
                       store);
  EXPECT_EQ(Kinds(findings),
            (std::vector<FindingKind>{FindingKind::kBlockTooLong, FindingKind::kRecordCut}));
  EXPECT_EQ(FindById(store, 0x00010101)->record->text4, "short");

  DataStore other;
  findings = Load(KhbBuilder()
                      .Start()
                      .Category(1, 0, "c\n")
                      .Item("i\n")
                      .EndTree()
                      .Record(0x00010101)
                      .ActionCount(0xFFFF)
                      .Action(1, 7)
                      .Raw("half"),
                  other);
  EXPECT_EQ(Kinds(findings), (std::vector<FindingKind>{FindingKind::kRecordCut}));
  const PartAction* action = FindById(other, 0x00010101)->record->actions.get();
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->target, 7u);
  EXPECT_EQ(action->next, nullptr);  // the half action is dropped
}

TEST(Loader, TextLinesAreCutAtTheirLimitsAndTheRestMovesOn) {
  DataStore store;
  const std::string longTitle = std::string(499, 'T') + "tail\n";
  const auto findings = Load(KhbBuilder()
                                 .Start()
                                 .Category(1, 0, "c\n")
                                 .Item("i\n")
                                 .EndTree()
                                 .Record(0x00010101, longTitle,
                                         "logo-name-much-too-long-"
                                         "for-its-fifty-byte-limit!!"
                                         "\n",
                                         "t3\n")
                                 .ActionCount(0),
                             store);
  // text1 is cut; "tail\n" becomes text2, the old text2 goes to text5 and is
  // cut there, its rest becomes text3, and "t3\n" is read as the block length.
  ASSERT_GE(findings.size(), 2u);
  EXPECT_EQ(findings[0].kind, FindingKind::kTextCut);
  EXPECT_EQ(findings[0].value, 1u);
  EXPECT_EQ(findings[0].detail, 499u);
  EXPECT_EQ(findings[1].kind, FindingKind::kTextCut);
  EXPECT_EQ(findings[1].value, 5u);
  EXPECT_EQ(findings[1].detail, 49u);
  const PartRecord* record = FindById(store, 0x00010101)->record.get();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->text1, std::string(499, 'T'));
  EXPECT_EQ(record->text2, "tail\n");
  EXPECT_EQ(record->text5.size(), 49u);
}

TEST(Loader, UnknownActionTypesAreKeptAndReported) {
  DataStore store;
  const auto findings = Load(KhbBuilder()
                                 .Start()
                                 .Category(1, 0, "c\n")
                                 .EndTree()
                                 .Record(0x00010000)
                                 .ActionCount(2)
                                 .Action(3, 9)
                                 .Action(1, 10),
                             store);
  ASSERT_EQ(Kinds(findings), (std::vector<FindingKind>{FindingKind::kUnknownActionType}));
  EXPECT_EQ(findings[0].value, 3u);
  const PartAction* action = store.first->record->actions.get();
  EXPECT_EQ(static_cast<int>(action->type), 3);
  EXPECT_EQ(NextAction(action)->target, 10u);  // no payload was assumed
}

TEST(Loader, BytesTooFewForARecordAreReportedAsTrailing) {
  KhbBuilder file;
  file.Start().Category(1, 0, "c\n").EndTree().Record(0x00010000).ActionCount(0);
  const size_t end = file.Size();
  file.Raw("xyz");
  DataStore store;
  const auto findings = Load(file, store);
  ASSERT_EQ(Kinds(findings), (std::vector<FindingKind>{FindingKind::kTrailingBytes}));
  EXPECT_EQ(findings[0].offset, end);
  EXPECT_EQ(findings[0].value, 3u);

  // With section 3 absent everything after its header is left over.
  DataStore other;
  const auto rest =
      Load(KhbBuilder().Start().Category(1, 0, "c\n").Byte(0xA7).Header(4).Raw("abcdef"), other);
  EXPECT_EQ(Kinds(rest),
            (std::vector<FindingKind>{FindingKind::kSectionAbsent, FindingKind::kTrailingBytes}));
  EXPECT_EQ(rest[1].value, 6u);
}

TEST(Loader, AFileTooShortForItsHeadersIsEmptyButLoads) {
  for (const char* bytes : {"", "\x01", "\x01\0\0\0\0\0\0\0\0\x02\0\0"}) {
    DataStore store;
    LoadDataStoreFromBytes(std::span(reinterpret_cast<const uint8_t*>(bytes), std::strlen(bytes)),
                           store);
    EXPECT_EQ(store.first, nullptr);
  }
}

// --- Opening files -------------------------------------------------------------

TEST(LoaderFile, OnlyAFileThatCannotBeOpenedFails) {
  testing::TempDir dir;
  DataStore store;
  EXPECT_FALSE(LoadDataStore(dir / "missing.khb", store));
  EXPECT_FALSE(LoadDataStore(dir.Path().string(), store));  // a folder is no catalogue
  testing::WriteFileBytes(dir / "garbage.khb", "not a catalogue at all");
  EXPECT_TRUE(LoadDataStore(dir / "garbage.khb", store));
}

TEST(LoaderFile, AReadOnlyCatalogueLoads) {
  testing::TempDir dir;
  testing::WriteFileBytes(dir / "data/firstData.khb",
                          KhbBuilder().Start().Category(1, 0, "c\n").EndTree().String());
  ASSERT_EQ(chmod((dir / "data/firstData.khb").c_str(), 0444), 0);
  DataStore store;
  // The program's own pattern, with backslashes and a different letter case.
  EXPECT_TRUE(LoadDataStore(dir.Path().string() + "\\data\\FirstData.khb", store));
  ASSERT_NE(store.first, nullptr);
  EXPECT_EQ(store.first->name, "c\n");

  // Permissions do not stop root, but nobody may write to a running program:
  // opening one for update fails for everyone, reading it works.
  DataStore running;
  EXPECT_TRUE(LoadDataStore("/proc/self/exe", running));
}

}  // namespace
}  // namespace kbh
