// Feeds arbitrary bytes to the DDS paths the program uses for textures and
// for the cube map. Besides the sanitizers' findings it traps when a picture
// it accepts has another texel count than its size, or a cube map whose
// faces differ in size or whose +X face is not the 2D reading of the file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/image/dds_reader.hpp"
#include "platform/image/image_codec.hpp"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

bool SideInRange(int side) {
  return side >= 1 && side <= kbh::kMaxImageSide;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kbh::Image image;
  const bool flat = kbh::DecodeImage(bytes, &image);
  if (flat) {
    Require(SideInRange(image.width) && SideInRange(image.height));
    Require(image.texels.size() == size_t(image.width) * size_t(image.height));
    if (kbh::HasDdsMagic(bytes)) Require(image.sourceFormat != kbh::FMT_UNKNOWN);
  } else {
    Require(image.width == 0 && image.height == 0 && image.texels.empty());
  }

  kbh::CubeImage cube;
  if (kbh::DecodeCubeImage(bytes, &cube)) {
    Require(SideInRange(cube.size));
    for (const std::vector<uint32_t>& face : cube.faces)
      Require(face.size() == size_t(cube.size) * size_t(cube.size));
    // A cube map is a DDS file first: the 2D path reads its +X face.
    Require(flat && image.width == cube.size && image.height == cube.size);
    Require(image.texels == cube.faces[0] && image.sourceFormat == cube.sourceFormat);
  } else {
    Require(cube.size == 0);
    for (const std::vector<uint32_t>& face : cube.faces)
      Require(face.empty());
  }
  return 0;
}
