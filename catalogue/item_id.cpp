#include "catalogue/item_id.hpp"

namespace kbh {

bool IdMatches(ItemId a, ItemId b) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint8_t byteA = static_cast<uint8_t>(a >> shift);
    const uint8_t byteB = static_cast<uint8_t>(b >> shift);
    if (byteA != byteB && byteA != kWildcardByte && byteB != kWildcardByte) return false;
  }
  return true;
}

bool HasWildcard(ItemId id) {
  return SubcategoryNumberOf(id) == kWildcardByte || ItemNumberOf(id) == kWildcardByte ||
         CategoryNumberOf(id) == kWildcardByte;
}

}  // namespace kbh
