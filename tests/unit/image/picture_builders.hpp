// Builders for small picture files, so that tests state the pixels they mean
// instead of pasting bytes. Each writes its container as the format's own
// documentation lays it out, independently of the code under test.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kbh::testing {

using Bytes = std::vector<uint8_t>;

void AppendLe32(Bytes* out, uint32_t value);
void Append(Bytes* out, std::span<const uint8_t> bytes);

// The 128-byte DDS preamble (magic and header) followed by data.
struct DdsHeader {
  uint32_t width = 1;
  uint32_t height = 1;
  uint32_t flags = 0x1007;  // caps, height, width, pixel format
  uint32_t mipCount = 0;
  uint32_t pixelFlags = 0x40;  // RGB
  uint32_t fourCc = 0;
  uint32_t bitCount = 32;
  uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};  // red, green, blue, alpha
  uint32_t caps = 0x1000;                           // texture
  uint32_t caps2 = 0;
  uint32_t headerSize = 124;
};
DdsHeader BlockHeader(uint32_t fourCc, uint32_t width, uint32_t height);
void MakeMipChain(DdsHeader* header, uint32_t levels);
void MakeCube(DdsHeader* header);
Bytes BuildDds(const DdsHeader& header, std::span<const uint8_t> data);
// Two 5:6:5 colours and sixteen 2-bit indices, texel 0 in the lowest bits.
Bytes Dxt1Block(uint16_t colour0, uint16_t colour1, uint32_t indices);

// BITMAPINFOHEADER, or BITMAPV4HEADER with bit fields when alphaMask is set.
// rows: stored bytes of each row, top row first, unpadded; a positive height
// writes them bottom-up.
struct BmpContent {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitCount = 24;
  std::vector<uint32_t> palette = {};  // 0x00RRGGBB
  uint32_t alphaMask = 0;
  std::vector<Bytes> rows = {};
};
Bytes BuildBmp(const BmpContent& content);

struct TgaContent {
  uint16_t width = 1;
  uint16_t height = 1;
  uint8_t imageType = 2;
  uint8_t bitsPerPixel = 24;
  uint8_t descriptor = 0x20;  // rows top first
  uint8_t colourMapBits = 0;
  Bytes colourMap = {};
  Bytes pixels = {};  // as stored
};
Bytes BuildTga(const TgaContent& content);

// 8 bits a sample, no filtering, stored (uncompressed) deflate.
struct PngContent {
  uint32_t width = 1;
  uint32_t height = 1;
  uint8_t colourType = 2;
  Bytes palette = {};       // PLTE
  Bytes transparency = {};  // tRNS
  Bytes pixels = {};        // all rows, top first
};
Bytes BuildPng(const PngContent& content);

}  // namespace kbh::testing
