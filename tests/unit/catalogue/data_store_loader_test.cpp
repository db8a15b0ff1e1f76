#include "catalogue/data_store_loader.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.hpp"
#include "tests/unit/catalogue/khb_builder.hpp"

namespace kbh {
namespace {

using testing::KhbBuilder;
using namespace std::literals;
using Kinds = std::vector<FindingKind>;
using Ids = std::vector<ItemId>;

constexpr size_t kTreeStart = 17;  // header 1, its body byte, header 2

// A '#' record: its two bytes may be zero, which a plain literal would end at.
std::string Category(uint8_t number, uint8_t kind, std::string_view nameLine) {
  return std::string{'#', static_cast<char>(number), static_cast<char>(kind)} +
         std::string(nameLine);
}

// Headers, the given tree records, the end byte and header 3.
KhbBuilder Tree(std::string_view records) {
  return std::move(KhbBuilder().Start().Raw(records).EndTree());
}

std::vector<LoadFinding> Load(const KhbBuilder& file, DataStore& store) {
  LoadReport report;
  LoadDataStoreFromBytes(file.Bytes(), store, &report);
  return report.findings;
}

Kinds KindsOf(const std::vector<LoadFinding>& findings) {
  Kinds kinds;
  for (const LoadFinding& finding : findings)
    kinds.push_back(finding.kind);
  return kinds;
}

Ids ChildIds(const CatalogueNode* node) {
  Ids ids;
  for (const CatalogueNode* child = node->firstChild; child; child = child->next) {
    ids.push_back(child->id);
  }
  return ids;
}

TEST(Loader, EmptyAndTooShortFilesGiveAnEmptyCatalogue) {
  for (const KhbBuilder& file :
       {KhbBuilder().Start().EndTree(), KhbBuilder(), KhbBuilder().Raw("\x01"),
        KhbBuilder().Header(1).Byte(0).Raw("\x02\0\0"sv)}) {
    DataStore store;
    LoadDataStoreFromBytes(file.Bytes(), store);
    EXPECT_EQ(store.first, nullptr);
  }
}

TEST(Loader, IdsFollowTheOrderWithDirectItemsFormingSubcategoryOne) {
  DataStore store;
  EXPECT_TRUE(Load(Tree(Category(0x03, 0x01, "Wheels\0\n"sv) + "+A\0\n+B\0\n$Front\0\n+Spoke\0\n"s +
                        Category(0x05, 0x00, "Engine\0\n"sv) + "$Cyl\0\n$Head\0\n+H1\0\n"s),
                   store)
                  .empty());
  const CatalogueNode* wheels = store.first;
  ASSERT_NE(wheels, nullptr);
  EXPECT_EQ(wheels->id, 0x01030000u);
  EXPECT_EQ(ChildIds(wheels), (Ids{0x01030101, 0x01030102, 0x01030200}));
  EXPECT_EQ(wheels->firstChild->type, NodeType::kItem);
  EXPECT_EQ(ChildIds(FindById(store, 0x01030200)), (Ids{0x01030201}));
  EXPECT_EQ(ChildIds(wheels->next), (Ids{0x00050100, 0x00050200}));
  EXPECT_EQ(FindById(store, 0x00050201)->name, "H1");
}

TEST(Loader, NamesKeepTheirLineEndUnlessANulComesFirst) {
  DataStore store;
  // The file ends inside the last line.
  Load(KhbBuilder().Start().Raw("#\x01\x00plain\n+windows\r\n+cut\0rest\n+\n+last"sv), store);
  ASSERT_NE(store.first, nullptr);
  EXPECT_EQ(store.first->name, "plain\n");
  std::vector<std::string> names;
  for (auto* item = store.first->firstChild; item; item = item->next)
    names.push_back(item->name);
  EXPECT_EQ(names, (std::vector<std::string>{"windows\r\n", "cut", "\n", "last"}));
}

TEST(Loader, ALongNameIsCutAndItsRestIsReadAsMarkers) {
  DataStore store;
  const auto findings = Load(
      Tree(Category(0x01, 0x00, "c\n") + "+" + std::string(199, 'n') + "x+hidden\n+next\n"), store);
  const size_t nameOffset = kTreeStart + 5 + 1;
  ASSERT_EQ(KindsOf(findings), (Kinds{FindingKind::kNameCut, FindingKind::kSkippedBytes}));
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
    KhbBuilder file;
    file.Start().Raw(Category(0x01, 0x00, "c\n")).Byte(end).Header(3);
    EXPECT_TRUE(Load(file.Record(0x00010000).ActionCount(0), store).empty()) << int(end);
    EXPECT_NE(store.first->record, nullptr) << int(end);
  }
}

TEST(Loader, MarkersBeforeTheFirstCategoryAreIgnored) {
  DataStore store;
  const auto findings = Load(Tree("$lost\n+lost\n" + Category(0x02, 0x00, "c\n") + "+i\n"), store);
  EXPECT_EQ(KindsOf(findings),
            (Kinds{FindingKind::kMarkerWithoutCategory, FindingKind::kMarkerWithoutCategory}));
  EXPECT_EQ(findings[0].value, '$');
  EXPECT_EQ(findings[1].offset, kTreeStart + 6);
  EXPECT_EQ(ChildIds(store.first), (Ids{0x00020101}));
}

TEST(Loader, ChildrenBeyondTheWildcardNumberAreDroppedWithTheirItems) {
  std::string records = Category(0x07, 0x01, "c\n");
  for (int index = 0; index < 256; ++index)
    records += "$s\n+i\n";
  records += Category(0x08, 0x00, "d\n") + "$s\n";
  for (int index = 0; index < 256; ++index)
    records += "+i\n";
  records += "$t\n+i\n";
  DataStore store;
  const auto findings = Load(Tree(records), store);
  EXPECT_EQ(KindsOf(findings),
            (Kinds{FindingKind::kTooManySubcategories, FindingKind::kItemOfDroppedParent,
                   FindingKind::kTooManySubcategories, FindingKind::kItemOfDroppedParent,
                   FindingKind::kTooManyItems, FindingKind::kTooManyItems}));
  EXPECT_EQ(findings[0].id, 0x01070000u);
  EXPECT_EQ(findings[4].id, 0x00080100u);
  EXPECT_EQ(store.first->lastChild->id, 0x0107FE00u);
  EXPECT_EQ(FindById(store, 0x0107FF00), nullptr);
  EXPECT_EQ(FindById(store, 0x0107FEFF), nullptr);
  EXPECT_NE(FindById(store, 0x000801FE), nullptr);
  EXPECT_EQ(FindById(store, 0x000801FF), nullptr);
  EXPECT_EQ(ChildIds(FindById(store, 0x00080200)), (Ids{0x00080201}));
}

TEST(Loader, AHeaderOfTheWrongTypeHasNoBody) {
  DataStore store;
  // Header 2 says 5: no tree, header 3 follows at once.
  const auto findings =
      Load(KhbBuilder().Header(1).Byte(0).Header(5).Header(3).Record(1).ActionCount(0), store);
  EXPECT_EQ(KindsOf(findings),
            (Kinds{FindingKind::kSectionAbsent, FindingKind::kRecordWithoutNode}));
  EXPECT_EQ(findings[0].offset, 9u);
  EXPECT_EQ(findings[0].value, 2u);
  EXPECT_EQ(findings[0].detail, 5u);
  EXPECT_EQ(findings[1].offset, 25u);
  // Header 1 is not type 1: no body byte, header 2 follows directly.
  DataStore other;
  Load(KhbBuilder().Header(9).Header(2).Raw(Category(0x04, 0x00, "c\n")).EndTree(), other);
  EXPECT_EQ(other.first->id, 0x00040000u);
}

TEST(Loader, EveryTruncationOfAGoodFileLoadsAPrefixAndSaysSo) {
  KhbBuilder file = Tree(Category(0x01, 0x03, "Cat\0\n"sv) + "$Sub\0\n+Item\0\n"s);
  const size_t recordsStart = file.Size();
  file.Record(0x03010101).ActionCount(2).PositionAction(0x0301FFFF, 1, 2, 3);
  file.PaintAction(0x03010101, 0xFF112233, 4);
  const std::string whole = file.String();
  for (size_t length = 0; length <= whole.size(); ++length) {
    DataStore store;
    LoadReport report;
    LoadDataStoreFromBytes(file.Bytes().first(length), store, &report);
    const CatalogueNode* item = FindById(store, 0x03010101);
    if (item != nullptr && item->record != nullptr) {
      int actions = 0;
      for (auto* action = item->record->actions.get(); action; action = action->next.get()) {
        ++actions;
      }
      // An action cut off by the end is dropped.
      EXPECT_EQ(actions, length == whole.size() ? 2 : length >= whole.size() - 16 ? 1 : 0);
    }
    // Only the file that ends right before its first record is whole.
    if (length < whole.size() && length != recordsStart) {
      EXPECT_FALSE(report.findings.empty()) << length;
    }
  }
}

TEST(Loader, RecordsCarryTextsAndActionsInFileOrder) {
  DataStore store;
  KhbBuilder file = Tree(Category(0x01, 0x00, "c\n") + "+i\n");
  file.Record(0x00010101, "Title\0\n"sv, "Second\n", "logo\0\n"sv, "three\0\n"sv,
              "line one\nline two\0junk"sv);
  file.ActionCount(5).Action(1, 0x00020101).PositionAction(0x0001FFFF, 1.5f, -0.25f, 3e-8f);
  file.PaintAction(0x00010101, 0x02AABBCC, 5).Action(2, 0x00FFFFFF).Action(3, 9);
  const auto findings = Load(file, store);
  // Type 3 means nothing; it is kept, without a payload, and reported.
  ASSERT_EQ(KindsOf(findings), (Kinds{FindingKind::kUnknownActionType}));
  EXPECT_EQ(findings[0].value, 3u);
  const PartRecord* record = FindById(store, 0x00010101)->record.get();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(std::vector<std::string>(
                {record->text1, record->text2, record->text3, record->text4, record->text5}),
            std::vector<std::string>({"Title", "Second\n", "three", "line one\nline two", "logo"}));
  std::vector<std::pair<ActionType, ItemId>> actions;
  for (const PartAction* action = record->actions.get(); action; action = NextAction(action))
    actions.push_back({action->type, action->target});
  EXPECT_EQ(actions,
            (std::vector<std::pair<ActionType, ItemId>>{{ActionType::kRequire, 0x00020101},
                                                        {ActionType::kPosition, 0x0001FFFF},
                                                        {ActionType::kPaint, 0x00010101},
                                                        {ActionType::kExclude, 0x00FFFFFF},
                                                        {static_cast<ActionType>(3), 9}}));
  const PartAction* position = NextAction(record->actions.get());
  EXPECT_TRUE(position->position.x == 1.5f && position->position.y == -0.25f &&
              position->position.z == 3e-8f);
  EXPECT_EQ(NextAction(position)->paint.colour, 0x02AABBCCu);
  EXPECT_EQ(NextAction(position)->paint.finish, 5);
}

TEST(Loader, TheSecondRecordForAnIdWinsAndRecordsForUnknownIdsAreDropped) {
  KhbBuilder file = Tree(Category(0x01, 0x00, "c\n") + "+i\n");
  const size_t firstOffset = file.Size();
  file.Record(0x00010101, "first\n").ActionCount(1).Action(1, 5);
  const size_t secondOffset = file.Size();
  file.Record(0x00010101, "second\n").ActionCount(0);
  const size_t strayOffset = file.Size();
  file.Record(0x00010199, "stray\n").ActionCount(0);
  DataStore store;
  const auto findings = Load(file, store);
  ASSERT_EQ(KindsOf(findings),
            (Kinds{FindingKind::kDuplicateRecord, FindingKind::kRecordWithoutNode}));
  EXPECT_EQ(findings[0].offset, secondOffset);
  EXPECT_EQ(findings[0].value, firstOffset);
  EXPECT_EQ(findings[1].offset, strayOffset);
  EXPECT_EQ(findings[1].id, 0x00010199u);
  const PartRecord* record = FindById(store, 0x00010101)->record.get();
  EXPECT_EQ(record->text1, "second\n");
  EXPECT_EQ(record->actions, nullptr);  // N = 0: a record with no actions
}

TEST(Loader, OverlongAndUnterminatedBlocksKeepWhatFitsAndStayInStep) {
  KhbBuilder file = Tree(Category(0x01, 0x00, "c\n") + "+a\n+b\n");
  const size_t first = file.Size();
  file.Record(0x00010101, "x\n", "x\n", "x\n", "x\n", std::string(1500, 'd')).ActionCount(0);
  const size_t second = file.Size();
  file.Record(0x00010102, "x\n", "x\n", "x\n", "x\n", std::string(1000, 'e')).ActionCount(0);
  DataStore store;
  const auto findings = Load(file, store);
  ASSERT_EQ(KindsOf(findings), (Kinds{FindingKind::kBlockTooLong, FindingKind::kBlockWithoutNul}));
  EXPECT_EQ(findings[0].offset, first + 4 + 8);
  EXPECT_EQ(findings[0].value, 1500u);
  EXPECT_EQ(findings[1].offset, second + 4 + 8);
  EXPECT_EQ(FindById(store, 0x00010101)->record->text4, std::string(999, 'd'));
  EXPECT_EQ(FindById(store, 0x00010102)->record->text4, std::string(999, 'e'));
}

TEST(Loader, LengthsAndCountsBeyondTheFileCostNothing) {
  // A block that claims 4 GB: it ends with the file, nothing is allocated for it.
  DataStore store;
  KhbBuilder file = Tree(Category(0x01, 0x00, "c\n") + "+i\n");
  file.U32(0x00010101).Raw("a\nb\nc\nd\n").U32(0xFFFFFFFF).Raw("short");
  EXPECT_EQ(KindsOf(Load(file, store)),
            (Kinds{FindingKind::kBlockTooLong, FindingKind::kRecordCut}));
  EXPECT_EQ(FindById(store, 0x00010101)->record->text4, "short");
  // 65535 actions promised, one and a half there.
  DataStore other;
  file = Tree(Category(0x01, 0x00, "c\n") + "+i\n");
  file.Record(0x00010101).ActionCount(0xFFFF).Action(1, 7).Raw("half");
  EXPECT_EQ(KindsOf(Load(file, other)), (Kinds{FindingKind::kRecordCut}));
  const PartAction* action = FindById(other, 0x00010101)->record->actions.get();
  EXPECT_EQ(action->target, 7u);
  EXPECT_EQ(action->next, nullptr);
}

TEST(Loader, TextLinesAreCutAtTheirLimitsAndTheRestMovesOn) {
  // text1 is cut; "tail\n" becomes text2, the old text2 goes to text5 and is
  // cut there, and everything after is read one field late.
  DataStore store;
  KhbBuilder file = Tree(Category(0x01, 0x00, "c\n") + "+i\n");
  file.Record(0x00010101, std::string(499, 'T') + "tail\n", std::string(60, 'L') + "\n", "t3\n");
  const auto findings = Load(file.ActionCount(0), store);
  ASSERT_GE(findings.size(), 2u);
  // Which text was cut, and where.
  EXPECT_TRUE(findings[0].kind == FindingKind::kTextCut && findings[0].value == 1 &&
              findings[0].detail == 499);
  EXPECT_TRUE(findings[1].kind == FindingKind::kTextCut && findings[1].value == 5 &&
              findings[1].detail == 49);
  const PartRecord* record = FindById(store, 0x00010101)->record.get();
  EXPECT_EQ(record->text1, std::string(499, 'T'));
  EXPECT_EQ(record->text2, "tail\n");
  EXPECT_EQ(record->text5, std::string(49, 'L'));
}

TEST(Loader, BytesNotReadAreReportedAsTrailing) {
  KhbBuilder file = Tree(Category(0x01, 0x00, "c\n"));
  file.Record(0x00010000).ActionCount(0);
  const size_t end = file.Size();
  DataStore store;
  auto findings = Load(file.Raw("xyz"), store);  // too few for a record
  ASSERT_EQ(KindsOf(findings), (Kinds{FindingKind::kTrailingBytes}));
  EXPECT_EQ(findings[0].offset, end);
  EXPECT_EQ(findings[0].value, 3u);
  // With section 3 absent everything after its header is left over.
  DataStore other;
  findings = Load(KhbBuilder().Start().Raw("\xA7").Header(4).Raw("abcdef"), other);
  EXPECT_EQ(KindsOf(findings), (Kinds{FindingKind::kSectionAbsent, FindingKind::kTrailingBytes}));
  EXPECT_EQ(findings[1].value, 6u);
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
  testing::WriteFileBytes(dir / "data/firstData.khb", Tree(Category(0x01, 0x00, "c\n")).String());
  ASSERT_EQ(chmod((dir / "data/firstData.khb").c_str(), 0444), 0);
  DataStore store;
  // The program's own pattern, with backslashes and a different letter case.
  EXPECT_TRUE(LoadDataStore(dir.Path().string() + "\\data\\FirstData.khb", store));
  EXPECT_EQ(store.first->name, "c\n");
  // Permissions do not stop root, but nobody may write to a running program:
  // opening one for update fails for everyone, reading it works.
  DataStore running;
  EXPECT_TRUE(LoadDataStore("/proc/self/exe", running));
}

}  // namespace
}  // namespace kbh
