#include "tools/catalogue/catalogue_check.hpp"

#include <cstdio>

#include "tools/catalogue/catalogue_dump.hpp"

namespace kbh {
namespace {

std::string Number(uint64_t value) {
  return std::to_string(value);
}

}  // namespace

std::string DescribeFinding(const LoadFinding& finding) {
  const std::string id = HexId(finding.id);
  switch (finding.kind) {
    case FindingKind::kSectionAbsent:
      if (finding.detail > 0xFF) {
        return "the file ends inside the header of section " + Number(finding.value) +
               ": the section is absent";
      }
      return "the header of section " + Number(finding.value) + " has type " +
             Number(finding.detail) + " instead of " + Number(finding.value) +
             ": the section's body is not read";
    case FindingKind::kMarkerWithoutCategory:
      return std::string("'") + static_cast<char>(finding.value) +
             "' before the first category: the record is ignored";
    case FindingKind::kSkippedBytes:
      return Number(finding.value) + " bytes in the tree start no record and are skipped";
    case FindingKind::kNameCut:
      return "name cut after " + Number(finding.value) +
             " bytes: the rest of its line is read as markers";
    case FindingKind::kTooManySubcategories:
      return "subcategory dropped: category " + id + " already has 254";
    case FindingKind::kTooManyItems:
      return "item dropped: " + id + " already has 254 items";
    case FindingKind::kItemOfDroppedParent:
      return "item dropped with its subcategory (category " + id + ")";
    case FindingKind::kCategoryCut:
      return "the file ends inside a category record: it is dropped";
    case FindingKind::kTreeUnterminated:
      return "the file ends before the tree's end byte 0xA7";
    case FindingKind::kTextCut:
      return "text" + Number(finding.value) + " of the record for " + id + " cut after " +
             Number(finding.detail) + " bytes: the rest is read as the next field";
    case FindingKind::kBlockTooLong:
      return "the description block of the record for " + id + " is " + Number(finding.value) +
             " bytes, over the limit of 1000: 999 at most are kept";
    case FindingKind::kBlockWithoutNul:
      return "the description block of the record for " + id + " (" + Number(finding.value) +
             " bytes) has no terminating NUL";
    case FindingKind::kUnknownActionType:
      return "an action of the record for " + id + " has the unknown type " +
             Number(finding.value) + ": it does nothing";
    case FindingKind::kRecordCut:
      return "the file ends inside the record for " + id + ": it keeps what could be read";
    case FindingKind::kRecordWithoutNode:
      return "no node has the id " + id + ": the record is dropped";
    case FindingKind::kDuplicateRecord:
      return "a second record for " + id + " replaces the one at offset " + Number(finding.value);
    case FindingKind::kTrailingBytes:
      return Number(finding.value) + " bytes after the end of what is read";
  }
  return "unknown finding";
}

}  // namespace kbh
