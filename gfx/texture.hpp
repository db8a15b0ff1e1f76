// Pictures and render textures as the program holds them (TextureRecord),
// the ten cube-texture slots of which the scene uses the first for its
// environment map, and the loader of the models' own textures.
//
// Pictures keep their file's exact pixel size and alpha: nothing is
// resampled and no colour is keyed out. Files are recognised by content, so
// the .khi pictures and .khx textures may be any picture format.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gfx/graphics_device.hpp"
#include "platform/gpu/device_resource.hpp"
#include "platform/image/image.hpp"

namespace kbh {

// Records and cube slots hold device textures: release them before the
// graphics device (shutdown does so in reverse order of creation).
struct TextureRecord {
  UniqueTexture texture;
  int width = 0;
  int height = 0;
  // The source file's format (a render texture's own); A8R8G8B8 pictures
  // draw blended.
  Format format = FMT_UNKNOWN;
  // 255: never drawn; any other non-zero value: drawn blended whatever the
  // format.
  uint8_t blend = 0;
  // The decoded texels, kept for ReadTexel; empty for a render texture.
  Image picture;
};

// A picture from a file. Null, silently, for a null path or a missing file;
// null after the log line "\nerror: LoadBmp() - HRESULT:%i" for a file that
// cannot be decoded or a texture that cannot be made.
std::unique_ptr<TextureRecord> LoadBmp(GraphicsDevice& graphics, const char* path);

// An A8R8G8B8 texture to render into; null for a zero size or when the
// device cannot make it.
std::unique_ptr<TextureRecord> CreateRenderTexture(GraphicsDevice& graphics, int width, int height);

// Stores value in the record's blend byte. Returns 1 (also for null, which
// has no byte to set).
int SetTextureBlend(TextureRecord* record, uint8_t value);

// The 0xAARRGGBB texel at column x, row y; 0xFFFFFFFF outside the picture.
// A render texture has no copy in memory and reads as 0 (nothing there).
uint32_t ReadTexel(const TextureRecord* record, int x, int y);

// Frees the record and its texture; 1, or -1 when record holds nothing.
int ReleaseTexture(std::unique_ptr<TextureRecord>& record);

constexpr uint32_t kCubeTextureSlotCount = 10;

class CubeTextureSlots {
 public:
  explicit CubeTextureSlots(GraphicsDevice& graphics) : graphics_(graphics) {}

  // Empties the slot, then loads a DDS cube map into it. 0 for a slot past
  // the last; otherwise 1 whether or not the file loaded (a failed load
  // leaves the slot empty).
  int LoadCubeTexture(uint32_t slot, const char* path);
  // None for an empty slot or one past the last.
  TextureHandle GetCubeTexture(uint32_t slot) const;
  void ReleaseCubeTexture(uint32_t slot);

 private:
  GraphicsDevice& graphics_;
  std::array<UniqueTexture, kCubeTextureSlotCount> slots_;
};

// A model's own texture with its full mip chain, as a plain device texture.
// False, and *out empty, when the file is missing, undecodable or the
// texture cannot be made.
bool LoadModelTexture(GraphicsDevice& graphics, const char* path, UniqueTexture* out);

}  // namespace kbh
