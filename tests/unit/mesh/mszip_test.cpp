// The compressed framing on its own: blocks that reach into the block before
// them, and damage to the framing. Cut files are refused in the reader's
// hostile tests.
#include <gtest/gtest.h>

#include <string>

#include "platform/mesh/mszip.hpp"

namespace kbh {
namespace {

// Text with long repeats across block borders, as a model's body has.
std::vector<uint8_t> RepetitiveBody(size_t size) {
  std::vector<uint8_t> body;
  for (uint32_t i = 0; body.size() < size; ++i) {
    const std::string line = "  " + std::to_string(i % 977) + ";0.500000;-1.250000;,\n";
    body.insert(body.end(), line.begin(), line.end());
  }
  body.resize(size);
  return body;
}

std::vector<uint8_t> Pack(const std::vector<uint8_t>& body, MsZipHistory history) {
  std::vector<uint8_t> packed;
  EXPECT_TRUE(DeflateMsZip(body, &packed, history));
  return packed;
}

bool Unpack(const std::vector<uint8_t>& packed, std::vector<uint8_t>* body,
            std::string* error = nullptr) {
  std::string ignored;
  return InflateMsZip(packed, size_t{256} << 20, body, error ? error : &ignored);
}

// Offsets of the block headers in a packed stream.
std::vector<size_t> BlockStarts(const std::vector<uint8_t>& packed) {
  std::vector<size_t> starts;
  for (size_t at = 4; at + 4 <= packed.size(); at += 4 + (packed[at + 2] | packed[at + 3] << 8)) {
    starts.push_back(at);
  }
  return starts;
}

TEST(MsZip, BlocksThatReachIntoThePreviousOneUnpack) {
  const std::vector<uint8_t> body = RepetitiveBody(150000);
  const std::vector<uint8_t> carried = Pack(body, MsZipHistory::kCarried);
  const std::vector<uint8_t> alone = Pack(body, MsZipHistory::kPerBlock);
  // Only back-references across borders make the carried form smaller.
  EXPECT_LT(carried.size(), alone.size());
  for (const auto* packed : {&carried, &alone}) {
    std::vector<uint8_t> unpacked;
    ASSERT_TRUE(Unpack(*packed, &unpacked));
    EXPECT_EQ(unpacked, body);
  }
}

TEST(MsZip, DamagedFramingIsRefused) {
  const std::vector<uint8_t> good = Pack(RepetitiveBody(70000), MsZipHistory::kCarried);
  const size_t second = BlockStarts(good)[1];
  const auto refused = [](std::vector<uint8_t> bytes, auto&& damage) {
    damage(bytes);
    std::vector<uint8_t> unpacked;
    return !Unpack(bytes, &unpacked);
  };
  // Total one byte off either way.
  EXPECT_TRUE(refused(good, [](auto& b) { ++b[0]; }));
  EXPECT_TRUE(refused(good, [](auto& b) { --b[0]; }));
  // Total far beyond the limit, or beyond anything the blocks could hold.
  EXPECT_TRUE(refused(good, [](auto& b) { b[3] = 0x7F; }));
  EXPECT_TRUE(refused(good, [](auto& b) { b[2] = 0x40; }));
  // A block of more than 32 KiB, of nothing, or without its mark.
  EXPECT_TRUE(refused(good, [&](auto& b) { b[second + 1] = 0x81; }));
  EXPECT_TRUE(refused(good, [&](auto& b) { b[second] = b[second + 1] = 0; }));
  EXPECT_TRUE(refused(good, [&](auto& b) { b[second + 5] = 'X'; }));
  // Compressed size shorter than its stream, and garbage in place of one.
  EXPECT_TRUE(refused(good, [&](auto& b) {
    b[second + 2] = 4;
    b[second + 3] = 0;
  }));
  EXPECT_TRUE(refused(good, [&](auto& b) {
    for (size_t i = second + 6; i < second + 60; ++i)
      b[i] = 0xFF;
  }));
}

}  // namespace
}  // namespace kbh
