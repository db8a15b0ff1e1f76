// ItemId: the 32-bit name of every catalogue node and installed part.
//
//   byte 3  CategoryKind of the node's category
//   byte 2  category number
//   byte 1  subcategory number (0 for a category)
//   byte 0  item number (0 for categories and subcategories)
//
// In action targets a byte 0xFF in bytes 0 to 2 stands for "any"; that is why
// a parent holds at most 254 numbered children. The low 24 bits, as six
// upper-case hexadecimal digits, name a part's model, texture and picture.
#pragma once

#include <cstdint>

namespace kbh {

using ItemId = uint32_t;

// Decides the standard parts, which installed part a build-in replaces and how
// a category shows in the workshop lists. Files may hold any byte here; values
// other than the four named ones behave like kOnePerCategory and are not listed.
enum class CategoryKind : uint8_t {
  kOnePerCategory = 0,
  kOnePerSubcategory = 1,
  kActionOnly = 2,  // never listed: its parts come and go through actions
  kSeveralPerCategory = 3,
};

inline constexpr uint8_t kWildcardByte = 0xFF;
// The highest subcategory or item number a parent can hand out: the next one
// would be the wildcard byte.
inline constexpr int kMaxChildNumber = 254;

constexpr ItemId MakeItemId(uint8_t kind, uint8_t category, uint8_t subcategory, uint8_t item) {
  return ItemId{kind} << 24 | ItemId{category} << 16 | ItemId{subcategory} << 8 | item;
}
constexpr CategoryKind KindOf(ItemId id) {
  return static_cast<CategoryKind>(id >> 24);
}
constexpr uint8_t CategoryNumberOf(ItemId id) {
  return static_cast<uint8_t>(id >> 16);
}
constexpr uint8_t SubcategoryNumberOf(ItemId id) {
  return static_cast<uint8_t>(id >> 8);
}
constexpr uint8_t ItemNumberOf(ItemId id) {
  return static_cast<uint8_t>(id);
}

// True when bytes 2, 1 and 0 each agree, a 0xFF on either side agreeing with
// anything. Byte 3 is not compared, so a target need not know the kind.
bool IdMatches(ItemId a, ItemId b);
// True when any of bytes 2, 1, 0 is the wildcard (byte 3 is not looked at).
bool HasWildcard(ItemId id);

}  // namespace kbh
