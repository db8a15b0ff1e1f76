#include "platform/image/picture_reader.hpp"

#include <stb_image.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/image/codec_support.hpp"

namespace kbh {
namespace {

// Deflate expands at most 1032:1 and a PNG pixel may be a single bit, so no
// honest picture of these formats holds more texels than this per file byte.
// Headers claiming more describe data the file cannot contain.
constexpr uint64_t kMaxTexelsPerByte = 8 * 1032;

// What the container says about its pixels, which decides sourceFormat.
struct PixelTraits {
  bool alpha = false;
  bool palette = false;
  bool thirtyTwoBit = false;
};

bool StartsWith(std::span<const uint8_t> bytes, const char* magic, size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

// A PNG has alpha with an alpha channel or with a transparency chunk, which
// must come before the image data. Truncated image data is stb_image's to
// notice: it checks the deflate stream and needs the end chunk.
bool ReadPngTraits(std::span<const uint8_t> bytes, PixelTraits* traits) {
  constexpr size_t kIhdrEnd = 8 + 8 + 13;
  if (bytes.size() < kIhdrEnd + 4 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) return false;
  const uint8_t colourType = bytes[25];
  traits->palette = colourType == 3;
  traits->alpha = colourType == 4 || colourType == 6;
  // Every chunk must fit in the file: stb_image grows its buffer for a
  // chunk's data before reading it, so one that claims a gigabyte would cost
  // a gigabyte before the file runs out.
  bool pixelsBegun = false;
  size_t offset = 8;
  while (bytes.size() - offset >= 8) {
    const uint64_t length = ReadU32Be(bytes.data() + offset);
    const uint8_t* type = bytes.data() + offset + 4;
    if (length + 12 > bytes.size() - offset) return false;
    if (std::memcmp(type, "IEND", 4) == 0) break;
    if (std::memcmp(type, "IDAT", 4) == 0) pixelsBegun = true;
    // Transparency counts only where it belongs, before the pixels.
    if (!pixelsBegun && std::memcmp(type, "tRNS", 4) == 0) traits->alpha = true;
    offset += length + 12;
  }
  return true;
}

// stb_image reads missing BMP and TGA pixels as zeros (or leaves them
// unset), so those two containers are measured here: a truncated file is
// refused rather than shown with a black or random tail.
bool ReadBmpTraits(std::span<const uint8_t> bytes, PixelTraits* traits) {
  constexpr uint32_t kUncompressed = 0;
  constexpr uint32_t kBitFields = 3;
  if (bytes.size() < 26) return false;
  const uint8_t* file = bytes.data();
  const uint32_t pixelOffset = ReadU32Le(file + 10);
  const uint32_t headerSize = ReadU32Le(file + 14);
  int64_t width = 0;
  int64_t height = 0;
  uint32_t bitCount = 0;
  uint32_t compression = kUncompressed;
  if (headerSize == 12) {  // the old OS/2 core header
    width = ReadU16Le(file + 18);
    height = ReadU16Le(file + 20);
    bitCount = ReadU16Le(file + 24);
  } else {
    if (headerSize < 40 || bytes.size() < 14 + 40) return false;
    width = static_cast<int32_t>(ReadU32Le(file + 18));
    height = static_cast<int32_t>(ReadU32Le(file + 22));
    bitCount = ReadU16Le(file + 28);
    compression = ReadU32Le(file + 30);
  }
  height = height < 0 ? -height : height;  // negative: rows stored top first
  if (!IsSideInRange(width) || !IsSideInRange(height) || bitCount == 0 || bitCount > 32 ||
      (compression != kUncompressed && compression != kBitFields)) {
    return false;
  }
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
  if (pixelOffset > bytes.size() || rowBytes * height > bytes.size() - pixelOffset) return false;

  // Only a BITMAPV4/V5 header with bit fields names an alpha mask; a plain
  // 32-bit BMP's fourth byte is padding.
  constexpr size_t kAlphaMaskAt = 14 + 52;
  traits->palette = bitCount <= 8;
  traits->thirtyTwoBit = bitCount == 32;
  traits->alpha = (bitCount == 16 || bitCount == 32) && compression == kBitFields &&
                  headerSize >= 108 && bytes.size() >= kAlphaMaskAt + 4 &&
                  ReadU32Le(file + kAlphaMaskAt) != 0;
  return true;
}

// Walks the run-length packets until they cover every pixel.
bool TgaPacketsAreComplete(std::span<const uint8_t> bytes, size_t offset, uint64_t pixels,
                           uint32_t pixelBytes) {
  uint64_t covered = 0;
  while (covered < pixels) {
    if (offset >= bytes.size()) return false;
    const uint8_t packet = bytes[offset++];
    const uint32_t count = (packet & 0x7F) + 1u;
    const uint64_t payload = (packet & 0x80) ? pixelBytes : uint64_t{count} * pixelBytes;
    if (payload > bytes.size() - offset) return false;
    offset += payload;
    covered += count;
  }
  return true;
}

// TGA has no magic number, so its header must be plausible in every field that
// matters. This also keeps every other format stb_image knows away from it:
// their magic numbers all fail the colour-map-type test.
bool ReadTgaTraits(std::span<const uint8_t> bytes, PixelTraits* traits) {
  if (bytes.size() < 18) return false;
  const uint8_t* file = bytes.data();
  const uint8_t colourMapType = file[1];
  const uint8_t imageType = file[2];
  const uint32_t colourMapLength = ReadU16Le(file + 5);
  const uint8_t colourMapEntryBits = file[7];
  const uint32_t width = ReadU16Le(file + 12);
  const uint32_t height = ReadU16Le(file + 14);
  const uint8_t bitsPerPixel = file[16];
  const uint8_t alphaBits = file[17] & 0x0F;
  if (colourMapType > 1 || !IsSideInRange(width) || !IsSideInRange(height)) return false;
  switch (imageType & ~8) {  // bit 3 marks run-length encoding
    case 1:                  // colour-mapped
      if (colourMapType != 1 || (bitsPerPixel != 8 && bitsPerPixel != 16)) return false;
      traits->alpha = colourMapEntryBits == 32;
      traits->palette = !traits->alpha;
      break;
    case 2:  // true colour
      if (bitsPerPixel != 15 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        return false;
      }
      traits->thirtyTwoBit = bitsPerPixel == 32;
      traits->alpha = bitsPerPixel == 32 && alphaBits > 0;
      break;
    case 3:  // grey, with alpha at 16 bits
      if (bitsPerPixel != 8 && bitsPerPixel != 16) return false;
      traits->alpha = bitsPerPixel == 16;
      break;
    default:
      return false;
  }
  const uint32_t pixelBytes = (bitsPerPixel + 7u) / 8;
  const uint64_t colourMapBytes =
      colourMapType == 1 ? uint64_t{colourMapLength} * ((colourMapEntryBits + 7u) / 8) : 0;
  const uint64_t pixelOffset = 18 + uint64_t{file[0]} + colourMapBytes;
  if (pixelOffset > bytes.size()) return false;
  const uint64_t pixels = uint64_t{width} * height;
  if (imageType & 8) return TgaPacketsAreComplete(bytes, pixelOffset, pixels, pixelBytes);
  return pixels * pixelBytes <= bytes.size() - pixelOffset;
}

// A JPEG's Huffman table may hold at most 256 codes, and its code lengths must
// form a prefix code: at each length no more codes than the length allows.
// stb_image builds a table before it checks either, writing past its arrays.
bool HuffmanTableIsSound(const uint8_t counts[16]) {
  uint32_t total = 0;
  uint32_t codes = 0;  // codes in use at the current length
  for (int length = 1; length <= 16; ++length) {
    total += counts[length - 1];
    codes += counts[length - 1];
    if (codes > (1u << length)) return false;
    codes <<= 1;
  }
  return total <= 256;
}

// What a JPEG has defined so far that a scan may use.
struct JpegTables {
  bool defined[2][4] = {};  // [0] DC, [1] AC; four slots each
  bool frameSeen = false;
  bool progressive = false;
};

bool ReadHuffmanSegment(std::span<const uint8_t> payload, JpegTables* tables) {
  size_t at = 0;
  while (at < payload.size()) {
    if (payload.size() - at < 17) return false;
    const uint8_t tableClass = payload[at] >> 4;
    const uint8_t slot = payload[at] & 0x0F;
    if (tableClass > 1 || slot > 3) return false;
    const uint8_t* counts = &payload[at + 1];
    if (!HuffmanTableIsSound(counts)) return false;
    size_t values = 0;
    for (int i = 0; i < 16; ++i)
      values += counts[i];
    at += 17;
    if (values > payload.size() - at) return false;
    at += values;
    tables->defined[tableClass][slot] = true;
  }
  return true;
}

// stb_image keeps its tables in memory it never clears, so a scan that names
// a table no segment defined would decode with whatever that memory held.
bool ScanUsesDefinedTables(std::span<const uint8_t> payload, const JpegTables& tables) {
  if (!tables.frameSeen || payload.empty()) return false;
  const size_t components = payload[0];
  if (components < 1 || components > 4 || payload.size() < 1 + 2 * components + 3) return false;
  const uint8_t spectralStart = payload[1 + 2 * components];
  const uint8_t successiveHigh = payload[3 + 2 * components] >> 4;
  // Progressive scans: a first DC scan decodes with the DC table, a DC
  // refinement reads raw bits, every AC scan decodes with the AC table.
  // Sequential scans use both.
  const bool usesDc = !tables.progressive || (spectralStart == 0 && successiveHigh == 0);
  const bool usesAc = !tables.progressive || spectralStart > 0;
  for (size_t c = 0; c < components; ++c) {
    const uint8_t selectors = payload[2 + 2 * c];
    const uint8_t dc = selectors >> 4;
    const uint8_t ac = selectors & 0x0F;
    if (dc > 3 || ac > 3) return false;
    if (usesDc && !tables.defined[0][dc]) return false;
    if (usesAc && !tables.defined[1][ac]) return false;
  }
  return true;
}

// A JPEG is accepted when its segments and entropy-coded data run through to
// the end-of-image marker (stb_image would show a cut-off file as a picture
// with a grey tail), every Huffman table is sound, and every scan uses only
// tables defined before it.
bool JpegIsSound(std::span<const uint8_t> bytes) {
  JpegTables tables;
  size_t offset = 2;  // past the start-of-image marker
  while (true) {
    if (bytes.size() - offset < 2 || bytes[offset] != 0xFF) return false;
    const uint8_t marker = bytes[offset + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++offset;
      continue;
    }
    offset += 2;
    if (marker == 0x00) return false;  // a stuffed byte where a marker must be
    if (marker == 0xD9) return true;   // end of image
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no payload
    if (bytes.size() - offset < 2) return false;
    const size_t length = (size_t{bytes[offset]} << 8) | bytes[offset + 1];
    if (length < 2 || length > bytes.size() - offset) return false;
    const std::span<const uint8_t> payload = bytes.subspan(offset + 2, length - 2);
    offset += length;
    if (marker == 0xC4 && !ReadHuffmanSegment(payload, &tables)) return false;
    if (marker >= 0xC0 && marker <= 0xC2) {  // the frame stb_image can decode
      tables.frameSeen = true;
      tables.progressive = marker == 0xC2;
    }
    if (marker != 0xDA) continue;
    if (!ScanUsesDefinedTables(payload, tables)) return false;
    // Entropy-coded data after a start of scan ends at the first marker that is
    // neither a stuffed 0xFF00 nor a restart marker. Fill bytes may come
    // between an 0xFF and what follows it, as the decoder reads it: 0xFF 0xFF
    // 0x00 is a stuffed byte, not the end of the data.
    while (true) {
      if (bytes.size() - offset < 2) return false;
      if (bytes[offset] != 0xFF) {
        ++offset;
        continue;
      }
      size_t code = offset + 1;
      while (code < bytes.size() && bytes[code] == 0xFF)
        ++code;
      if (code == bytes.size()) return false;
      if (bytes[code] != 0x00 && (bytes[code] < 0xD0 || bytes[code] > 0xD7)) {
        offset = code - 1;  // the marker's own 0xFF
        break;
      }
      offset = code + 1;
    }
  }
}

bool ReadTraits(std::span<const uint8_t> bytes, PixelTraits* traits) {
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return ReadPngTraits(bytes, traits);
  if (StartsWith(bytes, "\xFF\xD8", 2)) return JpegIsSound(bytes);  // never alpha or palette
  if (StartsWith(bytes, "BM", 2)) return ReadBmpTraits(bytes, traits);
  return ReadTgaTraits(bytes, traits);
}

Format SourceFormat(const PixelTraits& traits) {
  if (traits.alpha) return FMT_A8R8G8B8;
  if (traits.palette) return FMT_P8;
  return traits.thirtyTwoBit ? FMT_X8R8G8B8 : FMT_R8G8B8;
}

}  // namespace

bool DecodeCommonPicture(std::span<const uint8_t> bytes, Image* out) {
  PixelTraits traits;
  if (bytes.size() > INT_MAX || !ReadTraits(bytes, &traits)) return false;
  const int length = static_cast<int>(bytes.size());

  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) return false;
  // stb_image's size query reports a top-down BMP's height as negative, as the
  // file stores it; the decoder itself does not.
  const int64_t rows = std::abs(int64_t{height});
  if (!IsSideInRange(width) || !IsSideInRange(rows) ||
      uint64_t{static_cast<uint32_t>(width)} * rows > kMaxTexelsPerByte * bytes.size()) {
    return false;
  }
  height = static_cast<int>(rows);

  int decodedWidth = 0;
  int decodedHeight = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_from_memory(bytes.data(), length, &decodedWidth, &decodedHeight, &channels, 4),
      stbi_image_free);
  if (!rgba || decodedWidth != width || decodedHeight != height) return false;

  const Format format = SourceFormat(traits);
  // A format without alpha reads as opaque whatever its spare bits hold.
  const uint32_t forcedAlpha = format == FMT_A8R8G8B8 ? 0 : 0xFF000000;
  out->width = width;
  out->height = height;
  out->sourceFormat = format;
  out->texels.resize(static_cast<size_t>(width) * height);
  const stbi_uc* texel = rgba.get();
  for (uint32_t& target : out->texels) {
    target = (uint32_t{texel[3]} << 24) | (uint32_t{texel[0]} << 16) | (uint32_t{texel[1]} << 8) |
             texel[2] | forcedAlpha;
    texel += 4;
  }
  return true;
}

}  // namespace kbh
