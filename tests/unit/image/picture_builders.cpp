#include "tests/unit/image/picture_builders.hpp"

#include <algorithm>

namespace kbh::testing {
namespace {

void AppendLe16(Bytes* out, uint32_t value) {
  out->insert(out->end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

void AppendBe32(Bytes* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out->push_back(static_cast<uint8_t>(value >> shift));
}

void AppendPngChunk(Bytes* out, const char* type, std::span<const uint8_t> data) {
  AppendBe32(out, static_cast<uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  Append(&typed, data);
  uint32_t crc = 0xFFFFFFFF;
  for (uint8_t byte : typed) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  Append(out, typed);
  AppendBe32(out, ~crc);
}

}  // namespace

void AppendLe32(Bytes* out, uint32_t value) {
  AppendLe16(out, value & 0xFFFF);
  AppendLe16(out, value >> 16);
}

void Append(Bytes* out, std::span<const uint8_t> bytes) {
  out->insert(out->end(), bytes.begin(), bytes.end());
}

DdsHeader BlockHeader(uint32_t fourCc, uint32_t width, uint32_t height) {
  DdsHeader header{.width = width, .height = height, .pixelFlags = 0x4, .fourCc = fourCc};
  header.bitCount = 0;
  std::fill(std::begin(header.masks), std::end(header.masks), 0);
  return header;
}

void MakeMipChain(DdsHeader* header, uint32_t levels) {
  header->flags |= 0x20000;
  header->mipCount = levels;
  header->caps |= 0x400008;  // mipmap, complex
}

void MakeCube(DdsHeader* header) {
  header->caps |= 0x8;
  header->caps2 = 0x200 | 0xFC00;  // cube map, all faces
}

Bytes BuildDds(const DdsHeader& header, std::span<const uint8_t> data) {
  Bytes out = {'D', 'D', 'S', ' '};
  for (uint32_t field :
       {header.headerSize, header.flags, header.height, header.width, 0u, 0u, header.mipCount}) {
    AppendLe32(&out, field);
  }
  out.resize(out.size() + 11 * 4);
  for (uint32_t field : {32u, header.pixelFlags, header.fourCc, header.bitCount}) {
    AppendLe32(&out, field);
  }
  for (uint32_t mask : header.masks)
    AppendLe32(&out, mask);
  AppendLe32(&out, header.caps);
  AppendLe32(&out, header.caps2);
  out.resize(out.size() + 3 * 4);
  Append(&out, data);
  return out;
}

Bytes Dxt1Block(uint16_t colour0, uint16_t colour1, uint32_t indices) {
  Bytes out;
  AppendLe16(&out, colour0);
  AppendLe16(&out, colour1);
  AppendLe32(&out, indices);
  return out;
}

Bytes BuildBmp(const BmpContent& content) {
  const bool v4 = content.alphaMask != 0;
  const uint32_t infoSize = v4 ? 108 : 40;
  const uint32_t pixelOffset = 14 + infoSize + static_cast<uint32_t>(content.palette.size()) * 4;
  const uint32_t rowSize = (static_cast<uint32_t>(content.width) * content.bitCount / 8 + 3) & ~3u;
  const uint32_t pixelBytes = rowSize * static_cast<uint32_t>(content.rows.size());
  Bytes out = {'B', 'M'};
  for (uint32_t field :
       {pixelOffset + pixelBytes, 0u, pixelOffset, infoSize, static_cast<uint32_t>(content.width),
        static_cast<uint32_t>(content.height)}) {
    AppendLe32(&out, field);
  }
  AppendLe16(&out, 1);
  AppendLe16(&out, content.bitCount);
  for (uint32_t field : {v4 ? 3u : 0u, pixelBytes, 2835u, 2835u,
                         static_cast<uint32_t>(content.palette.size()), 0u}) {
    AppendLe32(&out, field);
  }
  if (v4) {
    for (uint32_t field : {0xFF0000u, 0xFF00u, 0xFFu, content.alphaMask, 0x73524742u}) {
      AppendLe32(&out, field);
    }
    out.resize(out.size() + 12 * 4);  // end points and gamma
  }
  for (uint32_t entry : content.palette)
    AppendLe32(&out, entry);
  for (size_t i = 0; i < content.rows.size(); ++i) {
    const Bytes& row = content.rows[content.height > 0 ? content.rows.size() - 1 - i : i];
    Append(&out, row);
    out.resize(out.size() + (rowSize - row.size()), 0);
  }
  return out;
}

Bytes BuildTga(const TgaContent& content) {
  const bool mapped = !content.colourMap.empty();
  const uint32_t entries =
      mapped ? static_cast<uint32_t>(content.colourMap.size()) * 8 / content.colourMapBits : 0;
  Bytes out = {0, static_cast<uint8_t>(mapped ? 1 : 0), content.imageType, 0, 0};
  AppendLe16(&out, entries);
  out.push_back(content.colourMapBits);
  AppendLe32(&out, 0);  // origin
  AppendLe16(&out, content.width);
  AppendLe16(&out, content.height);
  out.insert(out.end(), {content.bitsPerPixel, content.descriptor});
  Append(&out, content.colourMap);
  Append(&out, content.pixels);
  return out;
}

Bytes BuildPng(const PngContent& content) {
  static constexpr uint8_t kSamplesPerPixel[] = {1, 0, 3, 1, 2, 0, 4};
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  AppendBe32(&header, content.width);
  AppendBe32(&header, content.height);
  Append(&header, Bytes{8, content.colourType, 0, 0, 0});
  AppendPngChunk(&out, "IHDR", header);
  if (!content.palette.empty()) AppendPngChunk(&out, "PLTE", content.palette);
  if (!content.transparency.empty()) AppendPngChunk(&out, "tRNS", content.transparency);

  // One stored deflate block (at most 65535 bytes) in a zlib wrapper.
  const size_t rowBytes = content.width * kSamplesPerPixel[content.colourType];
  Bytes raw;
  for (size_t row = 0; row < content.height; ++row) {
    raw.push_back(0);  // filter: none
    Append(&raw, std::span(content.pixels).subspan(row * rowBytes, rowBytes));
  }
  Bytes zlib = {0x78, 0x01, 1};
  AppendLe16(&zlib, static_cast<uint32_t>(raw.size()));
  AppendLe16(&zlib, static_cast<uint32_t>(~raw.size() & 0xFFFF));
  Append(&zlib, raw);
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  AppendBe32(&zlib, (b << 16) | a);
  AppendPngChunk(&out, "IDAT", zlib);
  AppendPngChunk(&out, "IEND", {});
  return out;
}

}  // namespace kbh::testing
