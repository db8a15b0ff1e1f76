// Reads the catalogue file into a DataStore (khb_format.hpp describes it).
//
// Only a file that cannot be opened is a failure. Anything else, truncated or
// malformed, loads as far as its content allows, and a hostile file can
// neither crash the loader, nor make it loop, nor make it allocate more than
// its own size justifies. What the loader skips, cuts or drops is silent in
// the program; a caller that wants to know (the catalogue tool's check) passes
// a LoadReport and gets every such place with its byte offset.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalogue/data_store.hpp"

namespace kbh {

enum class FindingKind : uint8_t {
  kSectionAbsent,          // value: section 1-3; detail: type found, or 256 if cut off
  kMarkerWithoutCategory,  // a '$' or '+' (value) before the first '#': ignored
  kSkippedBytes,           // value bytes in the tree that start no record
  kNameCut,                // a name line gave its maximum of value bytes without a line feed
  kTooManySubcategories,   // a '$' after the 254th of category id: dropped
  kTooManyItems,           // a '+' after the 254th of parent id: dropped
  kItemOfDroppedParent,    // a '+' that belongs to a dropped subcategory
  kCategoryCut,            // the file ends inside a '#' record's two bytes
  kTreeUnterminated,       // the file ends before the tree's end byte
  kTextCut,                // text value (1-5) of record id gave its maximum of detail bytes
  kBlockTooLong,           // the description block of id is value bytes long
  kBlockWithoutNul,        // the description block of id (value bytes) holds no NUL
  kUnknownActionType,      // an action of record id has the type value
  kRecordCut,              // the file ends inside the record of id
  kRecordWithoutNode,      // no node has the record's id: dropped
  kDuplicateRecord,        // replaces the record of id read at offset value
  kTrailingBytes,          // value bytes after the last thing read
};

struct LoadFinding {
  FindingKind kind{};
  uint64_t offset = 0;  // where the record, line or run of bytes starts
  ItemId id = 0;
  uint64_t value = 0;
  uint32_t detail = 0;

  bool operator==(const LoadFinding&) const = default;
};

struct LoadReport {
  std::vector<LoadFinding> findings;  // in the order the loader met them
};

// Opens path read-only (the program never writes the catalogue, and a
// read-only installation must still start) and fills store, which should be
// empty. False only when the file cannot be opened or read.
bool LoadDataStore(const std::string& path, DataStore& store, LoadReport* report = nullptr);

// The same for a file's bytes already in memory.
void LoadDataStoreFromBytes(std::span<const uint8_t> bytes, DataStore& store,
                            LoadReport* report = nullptr);

}  // namespace kbh
