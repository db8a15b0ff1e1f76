#include "gfx/texture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/image/image_codec.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/gfx/recording_graphics.hpp"

namespace kbh {
namespace {

Image Gradient(int width, int height, bool alpha) {
  Image image;
  image.width = width;
  image.height = height;
  image.sourceFormat = alpha ? FMT_A8R8G8B8 : FMT_X8R8G8B8;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.texels.push_back((alpha ? 0x80u : 0xFFu) << 24 | uint32_t(x & 0xFF) << 16 |
                             uint32_t(y & 0xFF) << 8 | 0x40u);
    }
  }
  return image;
}

std::string WritePicture(const testing::TempDir& dir, const std::string& name, const Image& image,
                         Format format) {
  const std::vector<uint8_t> bytes = EncodeDds(image, format);
  testing::WriteFileBytes(dir.Path() / name, std::string(bytes.begin(), bytes.end()));
  return dir / name;
}

class TextureTest : public testing::RecordingGraphicsTest {
 protected:
  testing::TempDir files;
};

TEST_F(TextureTest, PictureKeepsItsExactSizeFormatAndTexels) {
  const Image source = Gradient(300, 200, true);
  std::unique_ptr<TextureRecord> record =
      LoadBmp(graphics, WritePicture(files, "odd.khi", source, FMT_A8R8G8B8).c_str());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->width, 300);
  EXPECT_EQ(record->height, 200);
  EXPECT_EQ(record->format, FMT_A8R8G8B8);
  EXPECT_EQ(record->blend, 0);
  int width = 0;
  int height = 0;
  ASSERT_TRUE(device().TextureSize(record->texture.get(), &width, &height));
  EXPECT_EQ(width, 300);
  EXPECT_EQ(height, 200);

  EXPECT_EQ(ReadTexel(record.get(), 0, 0), source.texels[0]);
  EXPECT_EQ(ReadTexel(record.get(), 299, 199), source.texels.back());
  EXPECT_EQ(ReadTexel(record.get(), 300, 0), 0xFFFFFFFFu);
  EXPECT_EQ(ReadTexel(record.get(), 0, 200), 0xFFFFFFFFu);
  EXPECT_EQ(ReadTexel(record.get(), -1, 5), 0xFFFFFFFFu);
  EXPECT_EQ(ReadTexel(nullptr, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(LogAfterStart(), "");
}

TEST_F(TextureTest, MissingFileIsSilentUnreadableFileIsLogged) {
  EXPECT_EQ(LoadBmp(graphics, nullptr), nullptr);
  EXPECT_EQ(LoadBmp(graphics, (files / "absent.dds").c_str()), nullptr);
  EXPECT_EQ(LogAfterStart(), "");

  testing::WriteFileBytes(files.Path() / "junk.dds", "DDS definitely not a picture");
  EXPECT_EQ(LoadBmp(graphics, (files / "junk.dds").c_str()), nullptr);
  EXPECT_EQ(LogAfterStart(), "\nerror: LoadBmp() - HRESULT:-2005529767");
  EXPECT_EQ(device().LiveTextures(), 0u);
}

TEST_F(TextureTest, TextureTheDeviceCannotMakeIsLoggedAsOutOfMemory) {
  const std::string path = WritePicture(files, "a.dds", Gradient(4, 4, false), FMT_X8R8G8B8);
  device().FailNextCreate();
  EXPECT_EQ(LoadBmp(graphics, path.c_str()), nullptr);
  EXPECT_EQ(LogAfterStart(), "\nerror: LoadBmp() - HRESULT:-2005532292");
}

TEST_F(TextureTest, RenderTexturesAndRelease) {
  EXPECT_EQ(CreateRenderTexture(graphics, 0, 260), nullptr);
  EXPECT_EQ(CreateRenderTexture(graphics, 450, 0), nullptr);
  std::unique_ptr<TextureRecord> target = CreateRenderTexture(graphics, 450, 260);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->format, FMT_A8R8G8B8);
  EXPECT_EQ(ReadTexel(target.get(), 10, 10), 0u);  // no copy in memory
  EXPECT_EQ(ReadTexel(target.get(), 450, 10), 0xFFFFFFFFu);
  EXPECT_EQ(SetTextureBlend(target.get(), 50), 1);
  EXPECT_EQ(target->blend, 50);
  EXPECT_EQ(device().LiveTextures(), 1u);

  EXPECT_EQ(ReleaseTexture(target), 1);
  EXPECT_EQ(target, nullptr);
  EXPECT_EQ(device().LiveTextures(), 0u);
  EXPECT_EQ(ReleaseTexture(target), -1);
}

TEST_F(TextureTest, CubeSlots) {
  CubeImage cube;
  cube.size = 8;
  for (auto& face : cube.faces)
    face.assign(64, 0xFF102030);
  const std::vector<uint8_t> bytes = EncodeCubeDds(cube, FMT_X8R8G8B8);
  testing::WriteFileBytes(files.Path() / "env.dds", std::string(bytes.begin(), bytes.end()));
  const std::string path = files / "env.dds";

  CubeTextureSlots slots(graphics);
  EXPECT_EQ(slots.LoadCubeTexture(10, path.c_str()), 0);
  EXPECT_EQ(slots.GetCubeTexture(10), TextureHandle::kNone);
  EXPECT_EQ(device().Count(DeviceCallKind::kCreateCubeTexture), 0u);

  EXPECT_EQ(slots.LoadCubeTexture(0, path.c_str()), 1);
  const TextureHandle first = slots.GetCubeTexture(0);
  EXPECT_NE(first, TextureHandle::kNone);
  // Loading again replaces the texture; a failed load leaves the slot empty.
  EXPECT_EQ(slots.LoadCubeTexture(0, path.c_str()), 1);
  EXPECT_NE(slots.GetCubeTexture(0), first);
  EXPECT_EQ(device().LiveTextures(), 1u);
  EXPECT_EQ(slots.LoadCubeTexture(0, (files / "absent.dds").c_str()), 1);
  EXPECT_EQ(slots.GetCubeTexture(0), TextureHandle::kNone);
  EXPECT_EQ(device().LiveTextures(), 0u);

  // A plain picture is not a cube map.
  const std::string flat = WritePicture(files, "flat.dds", Gradient(8, 8, false), FMT_X8R8G8B8);
  EXPECT_EQ(slots.LoadCubeTexture(1, flat.c_str()), 1);
  EXPECT_EQ(slots.GetCubeTexture(1), TextureHandle::kNone);

  EXPECT_EQ(slots.LoadCubeTexture(9, path.c_str()), 1);
  slots.ReleaseCubeTexture(9);
  slots.ReleaseCubeTexture(42);
  EXPECT_EQ(slots.GetCubeTexture(9), TextureHandle::kNone);
}

TEST_F(TextureTest, ModelTexturesGetAMipChain) {
  const std::string path = WritePicture(files, "000102.khx", Gradient(16, 8, false), FMT_X8R8G8B8);
  UniqueTexture texture;
  EXPECT_TRUE(LoadModelTexture(graphics, path.c_str(), &texture));
  EXPECT_TRUE(texture);
  EXPECT_EQ(device().Count(DeviceCallKind::kCreateMipmappedTexture), 1u);
  EXPECT_FALSE(LoadModelTexture(graphics, (files / "absent.khx").c_str(), &texture));
  EXPECT_FALSE(texture);
  EXPECT_EQ(device().LiveTextures(), 0u);
}

}  // namespace
}  // namespace kbh
