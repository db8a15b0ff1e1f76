#include "gfx/texture.hpp"

#include <cstdio>
#include <vector>

#include "platform/gpu/graphics_system.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"

namespace kbh {

namespace {

// A picture file larger than this is not one the program could show.
constexpr size_t kMaxPictureFileBytes = size_t{256} << 20;

bool FileExists(const char* path) {
  FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

void LogLoadFailure(ErrorLog& log, int32_t result) {
  char line[64];
  std::snprintf(line, sizeof line, "\nerror: LoadBmp() - HRESULT:%i", static_cast<int>(result));
  log.WriteLog(line);
}

}  // namespace

std::unique_ptr<TextureRecord> LoadBmp(GraphicsDevice& graphics, const char* path) {
  if (path == nullptr || !FileExists(path)) return nullptr;
  Device* device = graphics.GetDevice();
  std::vector<uint8_t> bytes;
  Image picture;
  if (!ReadWholeFile(path, &bytes, kMaxPictureFileBytes) || !DecodeImage(bytes, &picture)) {
    LogLoadFailure(graphics.Log(), kD3dxErrInvalidData);
    return nullptr;
  }
  const TextureHandle handle =
      device != nullptr ? device->CreateTexture(picture) : TextureHandle::kNone;
  if (handle == TextureHandle::kNone) {
    LogLoadFailure(graphics.Log(), kD3dErrOutOfVideoMemory);
    return nullptr;
  }
  auto record = std::make_unique<TextureRecord>();
  record->texture = UniqueTexture(device, handle);
  record->width = picture.width;
  record->height = picture.height;
  record->format = picture.sourceFormat;
  record->picture = std::move(picture);
  return record;
}

std::unique_ptr<TextureRecord> CreateRenderTexture(GraphicsDevice& graphics, int width,
                                                   int height) {
  Device* device = graphics.GetDevice();
  if (width <= 0 || height <= 0 || device == nullptr) return nullptr;
  const TextureHandle handle = device->CreateRenderTexture(width, height);
  if (handle == TextureHandle::kNone) return nullptr;
  auto record = std::make_unique<TextureRecord>();
  record->texture = UniqueTexture(device, handle);
  record->width = width;
  record->height = height;
  record->format = FMT_A8R8G8B8;
  return record;
}

int SetTextureBlend(TextureRecord* record, uint8_t value) {
  if (record != nullptr) record->blend = value;
  return 1;
}

uint32_t ReadTexel(const TextureRecord* record, int x, int y) {
  if (record == nullptr || x < 0 || y < 0 || x >= record->width || y >= record->height) {
    return 0xFFFFFFFF;
  }
  const Image& picture = record->picture;
  if (x >= picture.width || y >= picture.height) return 0;
  return picture
      .texels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)];
}

int ReleaseTexture(std::unique_ptr<TextureRecord>& record) {
  if (record == nullptr) return -1;
  record.reset();
  return 1;
}

int CubeTextureSlots::LoadCubeTexture(uint32_t slot, const char* path) {
  if (slot >= kCubeTextureSlotCount) return 0;
  slots_[slot].reset();
  Device* device = graphics_.GetDevice();
  std::vector<uint8_t> bytes;
  CubeImage cube;
  if (path == nullptr || device == nullptr || !ReadWholeFile(path, &bytes, kMaxPictureFileBytes) ||
      !DecodeCubeImage(bytes, &cube)) {
    return 1;
  }
  slots_[slot] = UniqueTexture(device, device->CreateCubeTexture(cube));
  return 1;
}

TextureHandle CubeTextureSlots::GetCubeTexture(uint32_t slot) const {
  return slot < kCubeTextureSlotCount ? slots_[slot].get() : TextureHandle::kNone;
}

void CubeTextureSlots::ReleaseCubeTexture(uint32_t slot) {
  if (slot < kCubeTextureSlotCount) slots_[slot].reset();
}

bool LoadModelTexture(GraphicsDevice& graphics, const char* path, UniqueTexture* out) {
  out->reset();
  Device* device = graphics.GetDevice();
  std::vector<uint8_t> bytes;
  Image picture;
  if (path == nullptr || device == nullptr || !ReadWholeFile(path, &bytes, kMaxPictureFileBytes) ||
      !DecodeImage(bytes, &picture)) {
    return false;
  }
  *out = UniqueTexture(device, device->CreateMipmappedTexture(picture));
  return static_cast<bool>(*out);
}

}  // namespace kbh
