#include "app/screenshot.hpp"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"

namespace kbh {

namespace {

bool EndsWithIgnoringCase(const char* text, const char* ending) {
  const size_t textLength = std::strlen(text);
  const size_t endingLength = std::strlen(ending);
  if (textLength < endingLength) return false;
  for (size_t i = 0; i < endingLength; ++i) {
    const unsigned char a = static_cast<unsigned char>(text[textLength - endingLength + i]);
    const unsigned char b = static_cast<unsigned char>(ending[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

}  // namespace

int SaveScreenShot(GraphicsDevice& graphics, const char* fileName) {
  Device* device = graphics.GetDevice();
  if (device == nullptr || fileName == nullptr) return 1;
  const Image frame = device->ReadRenderTarget();
  if (frame.texels.empty()) return 1;
  // Only names ending in "bmp" reach here from the program; a PNG is the
  // natural reading of a name that asks for one.
  const std::vector<uint8_t> bytes =
      EndsWithIgnoringCase(fileName, "png") ? EncodePng(frame) : EncodeBmp24(frame);
  WriteWholeFile(fileName, bytes);
  return 1;
}

}  // namespace kbh
