// Feeds arbitrary bytes to DecodeImage, the entry every picture the program
// loads goes through, with BMP, PNG, JPEG and TGA seeds. Besides the
// sanitizers' findings it traps when an accepted picture has a size outside
// the limit, another texel count than its size, or a source format other
// than the four these containers map to.
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

bool IsCommonPictureFormat(kbh::Format format) {
  return format == kbh::FMT_A8R8G8B8 || format == kbh::FMT_X8R8G8B8 || format == kbh::FMT_R8G8B8 ||
         format == kbh::FMT_P8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kbh::Image image;
  if (!kbh::DecodeImage(bytes, &image)) {
    Require(image.width == 0 && image.height == 0 && image.texels.empty());
    return 0;
  }
  Require(SideInRange(image.width) && SideInRange(image.height));
  Require(image.texels.size() == size_t(image.width) * size_t(image.height));
  if (!kbh::HasDdsMagic(bytes)) Require(IsCommonPictureFormat(image.sourceFormat));
  return 0;
}
