// EncodeBmp24 and EncodePng: pictures written for people and other programs
// rather than for the program itself.
#include <stb_image_write.h>

#include "platform/image/codec_support.hpp"
#include "platform/image/image_codec.hpp"

namespace kbh {

std::vector<uint8_t> EncodeBmp24(const Image& image) {
  if (!IsWellFormed(image)) return {};
  constexpr uint32_t kHeadersSize = 14 + 40;
  constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi
  const uint32_t width = static_cast<uint32_t>(image.width);
  const uint32_t height = static_cast<uint32_t>(image.height);
  const uint32_t rowSize = (width * 3 + 3) & ~3u;  // rows are padded to whole 32-bit words
  const uint32_t pixelBytes = rowSize * height;

  std::vector<uint8_t> out;
  out.reserve(kHeadersSize + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  AppendU32Le(&out, kHeadersSize + pixelBytes);
  AppendU32Le(&out, 0);  // reserved
  AppendU32Le(&out, kHeadersSize);
  AppendU32Le(&out, 40);
  AppendU32Le(&out, width);
  AppendU32Le(&out, height);  // positive: rows are stored bottom-up
  AppendU16Le(&out, 1);       // planes
  AppendU16Le(&out, 24);
  AppendU32Le(&out, 0);  // uncompressed
  AppendU32Le(&out, pixelBytes);
  AppendU32Le(&out, kPixelsPerMetre);
  AppendU32Le(&out, kPixelsPerMetre);
  AppendU32Le(&out, 0);  // no palette
  AppendU32Le(&out, 0);
  for (uint32_t y = height; y-- > 0;) {
    const uint32_t* row = image.texels.data() + size_t{y} * width;
    for (uint32_t x = 0; x < width; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));
      out.push_back(static_cast<uint8_t>(row[x] >> 8));
      out.push_back(static_cast<uint8_t>(row[x] >> 16));
    }
    out.resize(out.size() + (rowSize - width * 3), 0);
  }
  return out;
}

std::vector<uint8_t> EncodePng(const Image& image) {
  if (!IsWellFormed(image)) return {};
  std::vector<uint8_t> rgba;
  rgba.reserve(image.texels.size() * 4);
  for (uint32_t texel : image.texels) {
    rgba.push_back(static_cast<uint8_t>(texel >> 16));
    rgba.push_back(static_cast<uint8_t>(texel >> 8));
    rgba.push_back(static_cast<uint8_t>(texel));
    rgba.push_back(static_cast<uint8_t>(texel >> 24));
  }
  std::vector<uint8_t> out;
  auto append = [](void* context, void* data, int size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    static_cast<std::vector<uint8_t>*>(context)->insert(
        static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
  };
  if (!stbi_write_png_to_func(append, &out, image.width, image.height, 4, rgba.data(),
                              image.width * 4)) {
    return {};
  }
  return out;
}

}  // namespace kbh
