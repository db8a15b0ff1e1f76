#include "platform/image/image_codec.hpp"

#include "platform/image/dds_reader.hpp"
#include "platform/image/picture_reader.hpp"

namespace kbh {

bool DecodeImage(std::span<const uint8_t> bytes, Image* out) {
  if (!out) return false;
  *out = Image{};
  Image decoded;
  const bool decodedOk =
      HasDdsMagic(bytes) ? DecodeDdsImage(bytes, &decoded) : DecodeCommonPicture(bytes, &decoded);
  if (decodedOk) *out = std::move(decoded);
  return decodedOk;
}

bool DecodeCubeImage(std::span<const uint8_t> bytes, CubeImage* out) {
  if (!out) return false;
  *out = CubeImage{};
  CubeImage decoded;
  if (!DecodeDdsCube(bytes, &decoded)) return false;
  *out = std::move(decoded);
  return true;
}

}  // namespace kbh
