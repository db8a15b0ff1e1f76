#include "platform/font/windows1252.hpp"

namespace kbh {

bool IsPrintableWindows1252(uint8_t byte) {
  if (byte < 0x20 || byte == 0x7F) return false;
  switch (byte) {
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
      return false;
    default:
      return true;
  }
}

}  // namespace kbh
