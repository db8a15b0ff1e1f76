// Text on a real headless device with the installed face: where the ink of a
// word-wrapped text lands, and that an unclipped line is drawn whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/gfx/log_capture.hpp"

namespace kbh {
namespace {

// The bounding box of every pixel that differs from the black clear colour.
PixelRect InkBounds(const Image& frame) {
  PixelRect ink{frame.width, frame.height, -1, -1};
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      if ((frame.texels[static_cast<size_t>(y) * frame.width + x] & 0xFFFFFF) == 0) continue;
      ink.left = std::min(ink.left, x);
      ink.top = std::min(ink.top, y);
      ink.right = std::max(ink.right, x + 1);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  return ink;
}

class TextPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) << log.Text();
    font = CreateTextFont(*graphics.GetDevice(), 15, 600, nullptr, "Verdana");
    if (font == nullptr) KBH_SKIP_OR_FAIL() << "no sans face installed";
  }
  void TearDown() override {
    if (graphics.GetDevice() != nullptr) ReleaseTextFont(*graphics.GetDevice(), font);
  }

  Image Draw(const std::function<void(Device&)>& draw) {
    Device& device = *graphics.GetDevice();
    graphics.BeginFrame();
    draw(device);
    Image frame = device.ReadRenderTarget();
    graphics.EndFrame();
    return frame;
  }

  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  std::unique_ptr<FontRecord> font;
};

TEST_F(TextPixelsTest, WrappedTextStaysInItsBoxAndFillsItsWidth) {
  const std::string text =
      "Bei dieser Version handelt es sich um ein Beta-Release mit M\xF6glichkeiten "
      "f\xFCr Umbauten, Lackierungen und \xDC"
      "berraschungen aller Art.";
  const PixelRect box{0, 0, 286, 122};
  const TextSize measured = MeasureTextInBox(font.get(), text, box.right);
  ASSERT_GT(measured.height, font->font->lineStep);  // it had to wrap
  const PixelRect ink = InkBounds(Draw(
      [&](Device& device) { DrawTextInBox(device, font.get(), 270, 578, text, 0xFFFFFFFF, box); }));
  EXPECT_GE(ink.left, 270);
  EXPECT_GE(ink.top, 578);
  EXPECT_LE(ink.right, 270 + box.right);
  EXPECT_LE(ink.bottom, 578 + box.bottom);
  // Wrapping uses the width: the longest line reaches well into the box's
  // last quarter, and the ink is as tall as the measured lines.
  EXPECT_GT(ink.right, 270 + box.right * 3 / 4);
  EXPECT_LE(ink.bottom - 578, measured.height);
  EXPECT_GT(ink.bottom - 578, measured.height - font->font->lineStep);
}

TEST_F(TextPixelsTest, ABoxCutsWhatDoesNotFitWhileAPlainLineIsDrawnWhole) {
  const std::string text = "Kurbelwellenlagerdichtungssatz";
  const int width = MeasureTextInBox(font.get(), text, 0).width;
  ASSERT_GT(width, 100);
  const PixelRect cut = InkBounds(Draw([&](Device& device) {
    DrawTextInBox(device, font.get(), 100, 100, text, 0xFFFFFFFF, PixelRect{0, 0, 60, 10});
  }));
  EXPECT_LE(cut.right, 160);
  EXPECT_LE(cut.bottom, 110);
  const PixelRect whole = InkBounds(
      Draw([&](Device& device) { DrawTextAt(device, font.get(), 100, 100, text, 0xFFFAFAFA); }));
  EXPECT_GT(whole.right, 100 + width - 4);
  EXPECT_LE(whole.right, 100 + width + 2);
}

}  // namespace
}  // namespace kbh
