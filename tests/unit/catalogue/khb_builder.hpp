// Builds catalogue files byte by byte for tests, including the malformed ones
// no tool would write.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kbh::testing {

class KhbBuilder {
 public:
  KhbBuilder& Raw(std::string_view bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  KhbBuilder& Byte(uint8_t byte) {
    bytes_.push_back(byte);
    return *this;
  }
  KhbBuilder& U16(uint16_t value) { return Byte(value & 0xFF).Byte(value >> 8); }
  KhbBuilder& U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
      Byte(static_cast<uint8_t>(value >> shift));
    return *this;
  }
  KhbBuilder& Header(uint8_t type) {
    Byte(type);
    return Raw(std::string(7, '\0'));
  }
  // Header 1 with its body byte, header 2: what precedes the tree.
  KhbBuilder& Start() { return Header(1).Byte(0).Header(2); }
  // The tree's end byte and header 3: what precedes the records.
  KhbBuilder& EndTree() { return Byte(0xA7).Header(3); }

  KhbBuilder& Category(uint8_t number, uint8_t kind, std::string_view nameLine) {
    return Byte('#').Byte(number).Byte(kind).Raw(nameLine);
  }

  // A record's fields up to and including its block; actions follow with
  // ActionCount and the Action* calls.
  KhbBuilder& Record(uint32_t id, std::string_view text1 = "t1\n", std::string_view text2 = "t2\n",
                     std::string_view text5 = "t5\n", std::string_view text3 = "t3\n",
                     std::string_view block = std::string_view("desc", 5)) {
    U32(id).Raw(text1).Raw(text2).Raw(text5).Raw(text3);
    return U32(static_cast<uint32_t>(block.size())).Raw(block);
  }
  KhbBuilder& ActionCount(uint16_t count) { return U16(count); }
  KhbBuilder& Action(uint8_t type, uint32_t target) { return Byte(type).Raw("abc").U32(target); }
  KhbBuilder& PositionAction(uint32_t target, float x, float y, float z) {
    Action(4, target).U32(std::bit_cast<uint32_t>(x)).U32(std::bit_cast<uint32_t>(y));
    return U32(std::bit_cast<uint32_t>(z)).U32(0xDEADBEEF);
  }
  KhbBuilder& PaintAction(uint32_t target, uint32_t colour, uint8_t finish) {
    return Action(8, target).U32(colour).Byte(finish).Raw("xyz");
  }

  size_t Size() const { return bytes_.size(); }
  std::span<const uint8_t> Bytes() const { return bytes_; }
  std::string String() const { return std::string(bytes_.begin(), bytes_.end()); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace kbh::testing
