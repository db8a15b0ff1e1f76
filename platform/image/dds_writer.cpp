// EncodeDds and EncodeCubeDds: uncompressed 32-bit DDS files with one mip
// level, in the layout every DDS reader understands.
#include <span>

#include "platform/image/codec_support.hpp"
#include "platform/image/image_codec.hpp"

namespace kbh {
namespace {

constexpr uint32_t kFlagCaps = 0x1;
constexpr uint32_t kFlagHeight = 0x2;
constexpr uint32_t kFlagWidth = 0x4;
constexpr uint32_t kFlagPitch = 0x8;
constexpr uint32_t kFlagPixelFormat = 0x1000;
constexpr uint32_t kFlagMipCount = 0x20000;
constexpr uint32_t kPixelAlphaPixels = 0x1;
constexpr uint32_t kPixelRgb = 0x40;
constexpr uint32_t kCapsComplex = 0x8;
constexpr uint32_t kCapsTexture = 0x1000;
constexpr uint32_t kCaps2CubeMapAllFaces = 0x200 | 0xFC00;

void AppendHeader(std::vector<uint8_t>* out, int width, int height, Format format, bool cube) {
  const bool alpha = format == FMT_A8R8G8B8;
  AppendU32Le(out, 0x20534444);  // "DDS "
  AppendU32Le(out, 124);
  AppendU32Le(out,
              kFlagCaps | kFlagHeight | kFlagWidth | kFlagPitch | kFlagPixelFormat | kFlagMipCount);
  AppendU32Le(out, static_cast<uint32_t>(height));
  AppendU32Le(out, static_cast<uint32_t>(width));
  AppendU32Le(out, static_cast<uint32_t>(width) * 4);  // pitch
  AppendU32Le(out, 0);                                 // depth
  AppendU32Le(out, 1);                                 // mip levels
  for (int i = 0; i < 11; ++i)
    AppendU32Le(out, 0);
  AppendU32Le(out, 32);
  AppendU32Le(out, alpha ? kPixelRgb | kPixelAlphaPixels : kPixelRgb);
  AppendU32Le(out, 0);  // no FourCC
  AppendU32Le(out, 32);
  AppendU32Le(out, 0xFF0000);
  AppendU32Le(out, 0xFF00);
  AppendU32Le(out, 0xFF);
  AppendU32Le(out, alpha ? 0xFF000000 : 0);
  AppendU32Le(out, cube ? kCapsTexture | kCapsComplex : kCapsTexture);
  AppendU32Le(out, cube ? kCaps2CubeMapAllFaces : 0);
  AppendU32Le(out, 0);
  AppendU32Le(out, 0);
  AppendU32Le(out, 0);
}

// The unused byte of X8R8G8B8 is written as 0xFF, so that a reader which
// ignores the format still sees an opaque picture.
void AppendTexels(std::vector<uint8_t>* out, std::span<const uint32_t> texels, Format format) {
  const uint32_t forcedAlpha = format == FMT_X8R8G8B8 ? 0xFF000000 : 0;
  for (uint32_t texel : texels)
    AppendU32Le(out, texel | forcedAlpha);
}

bool IsWritableFormat(Format format) {
  return format == FMT_A8R8G8B8 || format == FMT_X8R8G8B8;
}

}  // namespace

std::vector<uint8_t> EncodeDds(const Image& image, Format format) {
  if (!IsWellFormed(image) || !IsWritableFormat(format)) return {};
  std::vector<uint8_t> out;
  out.reserve(128 + image.texels.size() * 4);
  AppendHeader(&out, image.width, image.height, format, false);
  AppendTexels(&out, image.texels, format);
  return out;
}

std::vector<uint8_t> EncodeCubeDds(const CubeImage& image, Format format) {
  if (!IsSideInRange(image.size) || !IsWritableFormat(format)) return {};
  const size_t faceTexels = static_cast<size_t>(image.size) * image.size;
  for (const std::vector<uint32_t>& face : image.faces) {
    if (face.size() != faceTexels) return {};
  }
  std::vector<uint8_t> out;
  out.reserve(128 + 6 * faceTexels * 4);
  AppendHeader(&out, image.size, image.size, format, true);
  for (const std::vector<uint32_t>& face : image.faces)
    AppendTexels(&out, face, format);
  return out;
}

}  // namespace kbh
