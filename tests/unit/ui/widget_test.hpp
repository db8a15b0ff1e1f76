// A widget test bench with no GPU: a graphics device on a recording fake that
// also keeps every text draw, a pointer the test moves and clicks, a clock
// the test sets, and pictures made in memory or written as files.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "gfx/texture.hpp"
#include "platform/font/fake_font.hpp"
#include "platform/gpu/recording_device.hpp"
#include "platform/image/image_codec.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "ui/widgets/widget_context.hpp"

namespace kbh::testing {

// Keeps what the recording device only counts: each text draw's quads, its
// colour and the target it went to.
class TextRecordingDevice : public RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;
  struct TextDraw {
    TextureHandle target;
    std::vector<GlyphQuad> quads;
    uint32_t color;
  };
  std::vector<TextDraw> texts;

  void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                  const PixelRect* clip) override {
    texts.push_back(TextDraw{GetRenderTarget(), {quads.begin(), quads.end()}, color});
    RecordingDevice::DrawGlyphs(atlas, quads, color, clip);
  }
};

class TextRecordingSystem : public RecordingSystem {
 public:
  TextRecordingDevice* textDevice = nullptr;
  int32_t CreateDevice(const PresentParameters& parameters, std::unique_ptr<Device>* out) override {
    auto device = std::make_unique<TextRecordingDevice>(parameters.backBufferWidth,
                                                        parameters.backBufferHeight);
    textDevice = device.get();
    *out = std::move(device);
    return kD3dOk;
  }
};

// Where a sprite landed, in whole back-buffer pixels.
struct Placed {
  TextureHandle texture;
  int x, y, width, height;
  bool operator==(const Placed&) const = default;
};
inline void PrintTo(const Placed& p, std::ostream* out) {
  *out << "texture " << static_cast<uint32_t>(p.texture) << " at (" << p.x << ", " << p.y << ") "
       << p.width << " x " << p.height;
}

class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(graphics.InitGraphicsDevice(
        [this] {
          auto system = std::make_unique<TextRecordingSystem>();
          system_ = system.get();
          return system;
        },
        1024, 768, 32));
    device().ClearCalls();
    SetMouse(context, &mouse);
    context.clock = [this] { return now; };
  }

  TextRecordingDevice& device() { return *system_->textDevice; }
  void PointAt(int x, int y, uint32_t buttons = 0) { mouse = MouseState{x, y, buttons}; }

  // An opaque picture held in memory, as LoadBmp would make it from a file.
  std::unique_ptr<TextureRecord> Picture(int width, int height, Format format = FMT_A8R8G8B8,
                                         uint32_t texel = 0xFF808080) {
    auto record = std::make_unique<TextureRecord>();
    Image image{width, height, format, std::vector<uint32_t>(size_t(width) * height, texel)};
    record->texture = UniqueTexture(&device(), device().CreateTexture(image));
    record->width = width;
    record->height = height;
    record->format = format;
    record->picture = std::move(image);
    return record;
  }
  // An opaque DDS file below the test's program folder; returns its path.
  std::string WritePicture(const std::string& relativePath, int width, int height) {
    const Image image{width, height, FMT_A8R8G8B8,
                      std::vector<uint32_t>(size_t(width) * height, 0xFF40A0C0)};
    const std::vector<uint8_t> bytes = EncodeDds(image, FMT_A8R8G8B8);
    const std::string path = dir / relativePath;
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
    return path;
  }
  ProgramDir Dir() const { return ProgramDir{dir.Path().string()}; }

  // Blocks 10 pixels wide, line step 14; lineHeight as given.
  static std::unique_ptr<FontRecord> BlockFont(int lineHeight) {
    auto record = std::make_unique<FontRecord>();
    record->font = std::make_unique<Font>(MakeBlockFont(10, 11, 3));
    record->atlas = static_cast<TextureHandle>(999);
    record->lineHeight = lineHeight;
    return record;
  }

  // Every sprite drawn since the last ClearDrawn, in order.
  std::vector<Placed> Drawn() {
    std::vector<Placed> placed;
    for (const SpriteDraw& sprite : device().Sprites()) {
      int width = 0, height = 0;
      device().TextureSize(sprite.texture, &width, &height);
      const Vec3 from = TransformCoord(sprite.position, sprite.transform);
      const Vec3 to = TransformCoord(
          Vec3{sprite.position.x + float(width), sprite.position.y + float(height), 0.0f},
          sprite.transform);
      placed.push_back(Placed{sprite.texture, int(std::lround(from.x)), int(std::lround(from.y)),
                              int(std::lround(to.x - from.x)), int(std::lround(to.y - from.y))});
    }
    return placed;
  }
  void ClearDrawn() {
    device().ClearCalls();
    device().texts.clear();
  }

  TempDir dir;
  LogCapture log;
  GraphicsDevice graphics{log.Log()};
  MouseState mouse;
  uint32_t now = 1000;
  WidgetContext context;

 private:
  TextRecordingSystem* system_ = nullptr;
};

}  // namespace kbh::testing
