// The graphics module on a real headless device: start-up, the blending rules
// of pictures, scaled drawing, the loading bar's line and screenshots.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/screenshot.hpp"
#include "gfx/draw2d.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/image/image_codec.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/gfx/log_capture.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;

Image RandomPicture(int width, int height, Format format, uint32_t seed) {
  Image image;
  image.width = width;
  image.height = height;
  image.sourceFormat = format;
  std::mt19937 random(seed);
  for (int i = 0; i < width * height; ++i)
    image.texels.push_back(0xFF000000u | random());
  return image;
}

class GfxPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) << log.Text();
  }

  std::string WriteDds(const std::string& name, const Image& image, Format format) {
    const std::vector<uint8_t> bytes = EncodeDds(image, format);
    testing::WriteFileBytes(dir.Path() / name, std::string(bytes.begin(), bytes.end()));
    return dir / name;
  }
  Image Frame() { return graphics.GetDevice()->ReadRenderTarget(); }

  testing::TempDir dir;
  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
};

TEST_F(GfxPixelsTest, HeadlessStartLogsTheAdapterAndMultisamples) {
  const std::string text = log.Text();
  EXPECT_EQ(text.rfind("   D3DCreate - success\n   adapter: ", 0), 0u) << text;
  EXPECT_NE(text.find("\n   driver: "), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 25), "\n   CreateDevice success\n");
  if (graphics.MultiSampleType() == 2) {
    EXPECT_GE(graphics.GetDevice()->BackBufferSamples(), 2);
  }
}

TEST_F(GfxPixelsTest, PicturesBlendByFormatAndBlendByte) {
  const Image halfRed = testing::SolidImage(8, 8, 0x80FF0000, FMT_A8R8G8B8);
  std::unique_ptr<TextureRecord> withAlpha =
      LoadBmp(graphics, WriteDds("alpha.dds", halfRed, FMT_A8R8G8B8).c_str());
  std::unique_ptr<TextureRecord> opaque =
      LoadBmp(graphics, WriteDds("opaque.dds", halfRed, FMT_X8R8G8B8).c_str());
  ASSERT_NE(withAlpha, nullptr);
  ASSERT_NE(opaque, nullptr);
  // A picture that carries alpha in another format, as a DXT5 file does.
  auto compressed = std::make_unique<TextureRecord>();
  Image dxt = halfRed;
  dxt.sourceFormat = FMT_DXT5;
  compressed->texture =
      UniqueTexture(graphics.GetDevice(), graphics.GetDevice()->CreateTexture(dxt));
  compressed->width = compressed->height = 8;
  compressed->format = FMT_DXT5;

  graphics.BeginFrame();
  graphics.GetDevice()->Clear(kClearTarget, 0xFF404040, 1.0f, 0);
  EXPECT_EQ(DrawTexture(graphics, withAlpha.get(), 0, 0), 1);
  EXPECT_EQ(DrawTexture(graphics, opaque.get(), 10, 0), 1);
  EXPECT_EQ(DrawTexture(graphics, compressed.get(), 20, 0), 1);
  SetTextureBlend(compressed.get(), 50);
  EXPECT_EQ(DrawTexture(graphics, compressed.get(), 30, 0), 1);
  SetTextureBlend(withAlpha.get(), 255);
  EXPECT_EQ(DrawTexture(graphics, withAlpha.get(), 40, 0), 0);
  const Image frame = Frame();
  graphics.EndFrame();

  const uint32_t blended = 0xFFA02020;  // 128/255 red over 0x40 grey
  EXPECT_LE(ColorDistance(PixelAt(frame, 4, 4), blended), 1);
  EXPECT_EQ(PixelAt(frame, 14, 4), 0xFFFF0000u);  // X8R8G8B8: no alpha at all
  EXPECT_EQ(PixelAt(frame, 24, 4), 0xFFFF0000u);  // alpha ignored without the blend byte
  EXPECT_LE(ColorDistance(PixelAt(frame, 34, 4), blended), 1);
  EXPECT_EQ(PixelAt(frame, 44, 4), 0xFF404040u);  // blend 255: not drawn
}

TEST_F(GfxPixelsTest, ScaledDrawAtTheImageSizeEqualsThePlainDraw) {
  std::unique_ptr<TextureRecord> picture = LoadBmp(
      graphics, WriteDds("p.dds", RandomPicture(37, 29, FMT_X8R8G8B8, 3), FMT_X8R8G8B8).c_str());
  ASSERT_NE(picture, nullptr);
  graphics.BeginFrame();
  DrawTexture(graphics, picture.get(), 17, 33);
  DrawTextureScaled(graphics, picture.get(), 117, 33, 37, 29);
  const Image frame = Frame();
  int different = 0;
  for (int y = 30; y < 65; ++y) {
    for (int x = 14; x < 57; ++x)
      different += PixelAt(frame, x, y) != PixelAt(frame, x + 100, y);
  }
  EXPECT_EQ(different, 0);
  EXPECT_EQ(PixelAt(frame, 17, 33), picture->picture.texels[0]);
}

TEST_F(GfxPixelsTest, LoadingBarLine) {
  std::unique_ptr<Line> line = CreateLine(graphics);
  ASSERT_NE(line, nullptr);
  graphics.BeginFrame();
  const Vec2 frameEnds[2] = {{361.0f, 390.0f}, {597.0f, 390.0f}};
  const Vec2 barEnds[2] = {{362.0f, 390.0f}, {362.0f + 100 * 2.34f, 390.0f}};
  line->SetWidth(12.0f);
  line->Draw(frameEnds, 2, 0xBEFFFFFF);
  line->SetWidth(10.0f);
  line->Draw(barEnds, 2, 0xFF1B5184);
  const Image frame = Frame();
  EXPECT_EQ(PixelAt(frame, 450, 384), 0xFFBEBEBEu);  // the frame's edge above the bar
  EXPECT_EQ(PixelAt(frame, 450, 390), 0xFF1B5184u);
  EXPECT_EQ(PixelAt(frame, 361, 390), 0xFFBEBEBEu);
  EXPECT_EQ(PixelAt(frame, 595, 390), 0xFF1B5184u);
  EXPECT_EQ(PixelAt(frame, 450, 383), 0xFF000000u);
  EXPECT_EQ(PixelAt(frame, 598, 390), 0xFF000000u);
}

TEST_F(GfxPixelsTest, ScreenshotHoldsTheFramePixelForPixel) {
  const Image picture = RandomPicture(1024, 768, FMT_X8R8G8B8, 11);
  std::unique_ptr<TextureRecord> background =
      LoadBmp(graphics, WriteDds("mainBG.dds", picture, FMT_X8R8G8B8).c_str());
  ASSERT_NE(background, nullptr);
  graphics.BeginFrame();
  DrawTexture(graphics, background.get(), 0, 0);
  const std::string path = dir / "ScreenShot_0.bmp";
  EXPECT_EQ(SaveScreenShot(graphics, path.c_str()), 1);
  graphics.EndFrame();

  const std::string bytes = testing::ReadFileBytes(path);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);        // bits per pixel
  EXPECT_EQ(bytes[30], 0);                               // uncompressed
  EXPECT_EQ(static_cast<uint8_t>(bytes[25]) & 0x80, 0);  // positive height: bottom-up rows
  Image saved;
  ASSERT_TRUE(
      DecodeImage(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), &saved));
  ASSERT_EQ(saved.width, 1024);
  ASSERT_EQ(saved.height, 768);
  int different = 0;
  for (size_t i = 0; i < picture.texels.size(); ++i) {
    different += (saved.texels[i] & 0xFFFFFF) != (picture.texels[i] & 0xFFFFFF);
  }
  EXPECT_EQ(different, 0);
}

}  // namespace
}  // namespace kbh
