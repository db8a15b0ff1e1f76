#include "platform/image/dds_reader.hpp"

#include <squish.h>

#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "platform/image/codec_support.hpp"

namespace kbh {
namespace {

// The file starts with the magic and a 124-byte header; the 32-byte pixel
// format sits inside the header. Offsets are from the start of the file.
constexpr uint32_t kMagic = 0x20534444;  // "DDS "
constexpr size_t kDataOffset = 128;
constexpr size_t kHeaderSizeAt = 4;
constexpr size_t kFlagsAt = 8;
constexpr size_t kHeightAt = 12;
constexpr size_t kWidthAt = 16;
constexpr size_t kDepthAt = 24;
constexpr size_t kMipCountAt = 28;
constexpr size_t kPixelFormatAt = 76;
constexpr size_t kCapsAt = 108;
constexpr size_t kCaps2At = 112;

constexpr uint32_t kFlagMipCount = 0x20000;
constexpr uint32_t kFlagDepth = 0x800000;
constexpr uint32_t kCapsMipMap = 0x400000;
constexpr uint32_t kCaps2CubeMap = 0x200;
constexpr uint32_t kCaps2AllFaces = 0xFC00;
constexpr uint32_t kCaps2Volume = 0x200000;

constexpr uint32_t kPixelAlphaPixels = 0x1;
constexpr uint32_t kPixelAlphaOnly = 0x2;
constexpr uint32_t kPixelFourCc = 0x4;
constexpr uint32_t kPixelRgb = 0x40;
constexpr uint32_t kPixelLuminance = 0x20000;

// An uncompressed layout as a pixel format describes it. kind is the pixel
// format flag that announces it: RGB, luminance or alpha only.
struct MaskLayout {
  Format format;
  uint32_t kind;
  uint32_t bitCount;
  uint32_t red;
  uint32_t green;
  uint32_t blue;
  uint32_t alpha;
};

// Whether a layout counts as one with alpha follows the pixel format's flags,
// not its masks: X8R8G8B8 files often carry an alpha mask with the flag off.
constexpr MaskLayout kMaskLayouts[] = {
    {FMT_A8R8G8B8, kPixelRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {FMT_X8R8G8B8, kPixelRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {FMT_A8B8G8R8, kPixelRgb, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000},
    {FMT_X8B8G8R8, kPixelRgb, 32, 0xFF, 0xFF00, 0xFF0000, 0},
    {FMT_R8G8B8, kPixelRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0},
    {FMT_R5G6B5, kPixelRgb, 16, 0xF800, 0x7E0, 0x1F, 0},
    {FMT_A1R5G5B5, kPixelRgb, 16, 0x7C00, 0x3E0, 0x1F, 0x8000},
    {FMT_X1R5G5B5, kPixelRgb, 16, 0x7C00, 0x3E0, 0x1F, 0},
    {FMT_A4R4G4B4, kPixelRgb, 16, 0xF00, 0xF0, 0xF, 0xF000},
    {FMT_L8, kPixelLuminance, 8, 0xFF, 0, 0, 0},
    {FMT_A8, kPixelAlphaOnly, 8, 0, 0, 0, 0xFF},
};

// DXT2 and DXT4 differ from DXT3 and DXT5 only in that their colours are
// premultiplied by alpha; the block bits decode the same.
struct BlockLayout {
  Format format;
  int squishFlags;
  uint32_t blockBytes;
};

constexpr BlockLayout kBlockLayouts[] = {
    {FMT_DXT1, squish::kDxt1, 8},  {FMT_DXT2, squish::kDxt3, 16}, {FMT_DXT3, squish::kDxt3, 16},
    {FMT_DXT4, squish::kDxt5, 16}, {FMT_DXT5, squish::kDxt5, 16},
};

struct DdsLayout {
  uint32_t width = 0;
  uint32_t height = 0;
  int faceCount = 1;
  Format format = FMT_UNKNOWN;
  // Exactly one of these is set.
  const MaskLayout* masks = nullptr;
  const BlockLayout* blocks = nullptr;
  // One face with its whole mip chain: the distance from one face to the next.
  uint64_t faceBytes = 0;
};

uint64_t LevelBytes(const DdsLayout& layout, uint32_t width, uint32_t height) {
  if (layout.blocks) {
    return uint64_t{(width + 3) / 4} * ((height + 3) / 4) * layout.blocks->blockBytes;
  }
  return uint64_t{width} * height * (layout.masks->bitCount / 8);
}

bool FindPixelLayout(const uint8_t* pixelFormat, DdsLayout* layout) {
  const uint32_t flags = ReadU32Le(pixelFormat + 4);
  if (flags & kPixelFourCc) {
    const uint32_t fourCc = ReadU32Le(pixelFormat + 8);
    for (const BlockLayout& candidate : kBlockLayouts) {
      if (candidate.format == fourCc) {
        layout->blocks = &candidate;
        layout->format = candidate.format;
        return true;
      }
    }
    // Some writers name an uncompressed format by its Direct3D number.
    for (const MaskLayout& candidate : kMaskLayouts) {
      if (candidate.format == fourCc) {
        layout->masks = &candidate;
        layout->format = candidate.format;
        return true;
      }
    }
    return false;
  }
  const uint32_t bitCount = ReadU32Le(pixelFormat + 12);
  const uint32_t red = ReadU32Le(pixelFormat + 16);
  const uint32_t green = ReadU32Le(pixelFormat + 20);
  const uint32_t blue = ReadU32Le(pixelFormat + 24);
  const bool hasAlpha = (flags & (kPixelAlphaPixels | kPixelAlphaOnly)) != 0;
  const uint32_t alpha = hasAlpha ? ReadU32Le(pixelFormat + 28) : 0;
  for (const MaskLayout& candidate : kMaskLayouts) {
    if ((flags & candidate.kind) && candidate.bitCount == bitCount && candidate.red == red &&
        candidate.green == green && candidate.blue == blue && candidate.alpha == alpha) {
      layout->masks = &candidate;
      layout->format = candidate.format;
      return true;
    }
  }
  return false;
}

// Reads and checks the header. Every size it implies is measured against the
// bytes that follow it, so the caller may allocate and read without further
// checks. *reason (always given) says what was wrong.
bool ParseHeader(std::span<const uint8_t> bytes, DdsLayout* layout, std::string* reason) {
  const auto refuse = [&](std::string text) {
    *reason = std::move(text);
    return false;
  };
  if (bytes.size() < kDataOffset || !HasDdsMagic(bytes)) return refuse("not a DDS file");
  const uint8_t* file = bytes.data();
  if (ReadU32Le(file + kHeaderSizeAt) != 124 || ReadU32Le(file + kPixelFormatAt) != 32) {
    return refuse("the header has the wrong size");
  }
  const uint32_t flags = ReadU32Le(file + kFlagsAt);
  const uint32_t caps = ReadU32Le(file + kCapsAt);
  const uint32_t caps2 = ReadU32Le(file + kCaps2At);
  layout->width = ReadU32Le(file + kWidthAt);
  layout->height = ReadU32Le(file + kHeightAt);
  const auto size = [&] {
    return std::to_string(layout->width) + " x " + std::to_string(layout->height);
  };
  if (!IsSideInRange(layout->width) || !IsSideInRange(layout->height)) {
    return refuse(size() + " is outside 1 ... " + std::to_string(kMaxImageSide) + " a side");
  }

  if ((caps2 & kCaps2Volume) || ((flags & kFlagDepth) && ReadU32Le(file + kDepthAt) > 1)) {
    return refuse("a volume texture");
  }
  if (caps2 & kCaps2CubeMap) {
    // A cube texture needs all six faces, and square ones.
    if ((caps2 & kCaps2AllFaces) != kCaps2AllFaces || layout->width != layout->height) {
      return refuse("a cube map without six square faces");
    }
    layout->faceCount = 6;
  }

  uint32_t mipCount = 1;
  if ((flags & kFlagMipCount) || (caps & kCapsMipMap)) {
    mipCount = std::max<uint32_t>(1, ReadU32Le(file + kMipCountAt));
  }
  // A longer chain than the size allows has no meaningful layout.
  const auto mostLevels =
      static_cast<uint32_t>(std::bit_width(std::max(layout->width, layout->height)));
  if (mipCount > mostLevels) {
    return refuse(std::to_string(mipCount) + " mip levels where " + size() + " allows " +
                  std::to_string(mostLevels));
  }

  if (!FindPixelLayout(file + kPixelFormatAt, layout)) return refuse("unsupported pixel format");

  uint32_t width = layout->width;
  uint32_t height = layout->height;
  layout->faceBytes = 0;
  for (uint32_t level = 0; level < mipCount; ++level) {
    layout->faceBytes += LevelBytes(*layout, width, height);
    width = std::max<uint32_t>(1, width / 2);
    height = std::max<uint32_t>(1, height / 2);
  }
  const uint64_t needed = layout->faceBytes * layout->faceCount;
  if (needed > bytes.size() - kDataOffset) {
    return refuse("the pixels need " + std::to_string(needed) + " bytes, the file holds " +
                  std::to_string(bytes.size() - kDataOffset));
  }
  return true;
}

// Turns one channel of a packed pixel into 8 bits, rounding to the nearest
// level as a texture unit does (31 -> 255, 16 -> 132).
class ChannelExpander {
 public:
  ChannelExpander(uint32_t mask, uint8_t absentValue) : mask_(mask), absentValue_(absentValue) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    const uint32_t maxValue = mask >> shift_;
    for (uint32_t value = 0; value <= maxValue; ++value) {
      levels_[value] = static_cast<uint8_t>((value * 255 + maxValue / 2) / maxValue);
    }
  }

  uint32_t Expand(uint32_t pixel) const {
    return mask_ ? levels_[(pixel & mask_) >> shift_] : absentValue_;
  }

 private:
  uint32_t mask_;
  uint8_t absentValue_;
  int shift_ = 0;
  std::array<uint8_t, 256> levels_{};  // every layout has at most 8 bits a channel
};

void DecodeMaskedPixels(const uint8_t* source, const MaskLayout& masks, std::span<uint32_t> out) {
  if (masks.format == FMT_A8R8G8B8 || masks.format == FMT_X8R8G8B8) {
    // The texel layout itself: no channel arithmetic needed.
    const uint32_t opaque = masks.format == FMT_X8R8G8B8 ? 0xFF000000 : 0;
    for (size_t i = 0; i < out.size(); ++i)
      out[i] = ReadU32Le(source + 4 * i) | opaque;
    return;
  }
  const bool luminance = masks.kind == kPixelLuminance;
  const ChannelExpander red(masks.red, 0);
  const ChannelExpander green(luminance ? masks.red : masks.green, 0);
  const ChannelExpander blue(luminance ? masks.red : masks.blue, 0);
  const ChannelExpander alpha(masks.alpha, 0xFF);
  const size_t bytesPerPixel = masks.bitCount / 8;
  for (size_t i = 0; i < out.size(); ++i) {
    const uint8_t* p = source + i * bytesPerPixel;
    uint32_t pixel = 0;
    for (size_t b = 0; b < bytesPerPixel; ++b)
      pixel |= uint32_t{p[b]} << (8 * b);
    out[i] = (alpha.Expand(pixel) << 24) | (red.Expand(pixel) << 16) | (green.Expand(pixel) << 8) |
             blue.Expand(pixel);
  }
}

void DecodeBlocks(const uint8_t* source, const BlockLayout& blocks, uint32_t width, uint32_t height,
                  std::span<uint32_t> out) {
  const uint32_t blocksWide = (width + 3) / 4;
  const uint32_t blocksHigh = (height + 3) / 4;
  squish::u8 rgba[4 * 16];
  for (uint32_t blockY = 0; blockY < blocksHigh; ++blockY) {
    for (uint32_t blockX = 0; blockX < blocksWide; ++blockX) {
      const size_t blockIndex = size_t{blockY} * blocksWide + blockX;
      squish::Decompress(rgba, source + blockIndex * blocks.blockBytes, blocks.squishFlags);
      // Blocks on the right and bottom edges of a size that is not a multiple
      // of four hang over the picture; their outer texels are dropped.
      const uint32_t rows = std::min<uint32_t>(4, height - blockY * 4);
      const uint32_t columns = std::min<uint32_t>(4, width - blockX * 4);
      for (uint32_t row = 0; row < rows; ++row) {
        uint32_t* target = out.data() + size_t{blockY * 4 + row} * width + blockX * 4;
        for (uint32_t column = 0; column < columns; ++column) {
          const squish::u8* texel = rgba + 4 * (row * 4 + column);
          target[column] = (uint32_t{texel[3]} << 24) | (uint32_t{texel[0]} << 16) |
                           (uint32_t{texel[1]} << 8) | texel[2];
        }
      }
    }
  }
}

std::vector<uint32_t> DecodeTopLevel(std::span<const uint8_t> bytes, const DdsLayout& layout,
                                     int face) {
  std::vector<uint32_t> texels(size_t{layout.width} * layout.height);
  const uint8_t* source = bytes.data() + kDataOffset + layout.faceBytes * face;
  if (layout.blocks) {
    DecodeBlocks(source, *layout.blocks, layout.width, layout.height, texels);
  } else {
    DecodeMaskedPixels(source, *layout.masks, texels);
  }
  return texels;
}

}  // namespace

bool HasDdsMagic(std::span<const uint8_t> bytes) {
  return bytes.size() >= 4 && ReadU32Le(bytes.data()) == kMagic;
}

bool DecodeDdsImage(std::span<const uint8_t> bytes, Image* out, std::string* reason) {
  DdsLayout layout;
  std::string problem;
  if (!ParseHeader(bytes, &layout, &problem)) {
    if (reason) *reason = std::move(problem);
    return false;
  }
  out->width = static_cast<int>(layout.width);
  out->height = static_cast<int>(layout.height);
  out->sourceFormat = layout.format;
  out->texels = DecodeTopLevel(bytes, layout, 0);
  return true;
}

bool DecodeDdsCube(std::span<const uint8_t> bytes, CubeImage* out, std::string* reason) {
  DdsLayout layout;
  std::string problem;
  if (ParseHeader(bytes, &layout, &problem) && layout.faceCount != 6) problem = "not a cube map";
  if (!problem.empty()) {
    if (reason) *reason = std::move(problem);
    return false;
  }
  out->size = static_cast<int>(layout.width);
  out->sourceFormat = layout.format;
  for (int face = 0; face < 6; ++face)
    out->faces[face] = DecodeTopLevel(bytes, layout, face);
  return true;
}

}  // namespace kbh
