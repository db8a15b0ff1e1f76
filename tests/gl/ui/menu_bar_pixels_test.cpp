// The menu bar of the demo workshop drawn by the real device: at chosen
// texels the frame must show exactly the skin's pictures, and where a label
// is translucent, the blend of label and base that the blend equation gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/draw2d.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "ui/cursor.hpp"
#include "ui/menu_bar.hpp"

namespace kbh {
namespace {

const std::filesystem::path kWorkshop = KBH_WORKSHOP_DIR;

Image Decode(const std::string& relative) {
  std::vector<uint8_t> bytes;
  Image image;
  if (ReadWholeFile((kWorkshop / relative).string(), &bytes)) DecodeImage(bytes, &image);
  return image;
}

uint32_t At(const Image& image, int x, int y) {
  return image.texels[static_cast<size_t>(y) * image.width + x];
}

int Channel(uint32_t argb, int shift) {
  return static_cast<int>((argb >> shift) & 0xFF);
}

// Largest difference of the red, green and blue channels.
int Distance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift : {16, 8, 0})
    largest = std::max(largest, std::abs(Channel(a, shift) - Channel(b, shift)));
  return largest;
}

// source over destination by the source's alpha, channel by channel.
uint32_t Over(uint32_t source, uint32_t destination) {
  const double a = Channel(source, 24) / 255.0;
  uint32_t out = 0xFF000000u;
  for (int shift : {16, 8, 0}) {
    const double value = Channel(source, shift) * a + Channel(destination, shift) * (1.0 - a);
    out |= static_cast<uint32_t>(value + 0.5) << shift;
  }
  return out;
}

class MenuBarPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kWorkshop / "gfx/gui/gui_menu_base.dds")) {
      KBH_SKIP_OR_FAIL() << "no demo workshop with interface pictures at " << kWorkshop;
    }
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) << log.Text();
    ASSERT_TRUE(menuBar.Load(graphics, ProgramDir{kWorkshop.string()}));
    menuBar.SetLabelBlend(50);
  }
  void TearDown() override { menuBar.Release(); }

  // The frame as the main loop draws it, on a black background.
  Image Frame() {
    graphics.BeginFrame();
    menuBar.Draw(graphics);
    Image frame = graphics.GetDevice()->ReadRenderTarget();
    graphics.EndFrame();
    return frame;
  }

  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  MenuBar menuBar;
};

TEST_F(MenuBarPixelsTest, DrawsTheSkinAtItsPlacesAndBlendsTheLabelOverTheBase) {
  menuBar.SetActiveTab(0);
  const Image frame = Frame();
  const Image base = Decode("gfx/gui/gui_menu_base.dds");
  const Image label = Decode("gfx/gui/gui_menu_xTuneup.dds");
  const Image litTab = Decode("gfx/gui/gui_menu_bTuneUp_active.dds");
  const Image top = Decode("gfx/gui/gui_menu_bordertop.dds");
  ASSERT_GT(base.width, 0);
  ASSERT_GT(label.width, 0);
  ASSERT_GT(litTab.width, 0);
  ASSERT_GT(top.width, 0);

  // Where only the base is: an opaque base texel, straight onto black.
  int baseChecked = 0;
  for (int y = 0; y < base.height; y += 7) {
    for (int x = 0; x < base.width; x += 13) {
      const int sx = x;
      const int sy = 515 + y;
      const bool underLabel =
          sx >= 25 && sx < 25 + label.width && sy >= 575 && sy < 575 + label.height;
      const bool underTab =
          sx >= 150 && sx < 150 + litTab.width && sy >= 520 && sy < 520 + litTab.height;
      if (underLabel || underTab || Channel(At(base, x, y), 24) != 255) continue;
      SCOPED_TRACE(::testing::Message() << "base texel " << x << ", " << y);
      EXPECT_LE(Distance(At(frame, sx, sy), At(base, x, y)), 1);
      ++baseChecked;
    }
  }
  EXPECT_GT(baseChecked, 500);

  // The label over the base: opaque texels as they are, translucent ones as
  // the blend of the two.
  int opaque = 0;
  int translucent = 0;
  for (int y = 0; y < label.height; y += 3) {
    for (int x = 0; x < label.width; x += 5) {
      const int sx = 25 + x;
      const int sy = 575 + y;
      if (sy < 515 || (sx >= 150 && sx < 150 + litTab.width && sy < 520 + litTab.height)) continue;
      const uint32_t texel = At(label, x, y);
      const uint32_t under = Over(At(base, sx, sy - 515), 0xFF000000u);
      SCOPED_TRACE(::testing::Message() << "label texel " << x << ", " << y);
      EXPECT_LE(Distance(At(frame, sx, sy), Over(texel, under)), 2);
      (Channel(texel, 24) == 255 ? opaque : translucent) += Channel(texel, 24) > 0 ? 1 : 0;
    }
  }
  EXPECT_GT(opaque, 200);
  EXPECT_GT(translucent, 0) << "the label has no translucent texel to check the blend with";

  // The active tab lit, and the top border at its place.
  for (int y = 2; y < litTab.height; y += 5) {
    for (int x = 2; x < litTab.width; x += 9) {
      if (Channel(At(litTab, x, y), 24) != 255) continue;
      EXPECT_LE(Distance(At(frame, 150 + x, 520 + y), At(litTab, x, y)), 1) << x << ", " << y;
    }
  }
  for (int x = 0; x < top.width; x += 31) {
    if (Channel(At(top, x, 2), 24) != 255) continue;
    EXPECT_LE(Distance(At(frame, 13 + x, 2), At(top, x, 2)), 1) << x;
  }
}

TEST_F(MenuBarPixelsTest, AClickedTabShowsItsLabelInTheSameFrame) {
  menuBar.SetActiveTab(0);
  menuBar.SetActiveTab(1);
  const Image frame = Frame();
  const Image label = Decode("gfx/gui/gui_menu_xSpray.dds");
  ASSERT_GT(label.width, 0);
  // The palette the colour selector reads is part of the Spray label: its
  // opaque texels appear at (547, 654) exactly.
  const Image palette = Decode("gfx/gui/gui_colsel_palette.dds");
  ASSERT_GT(palette.width, 0);
  for (int y = 1; y < palette.height; y += 4) {
    for (int x = 1; x < palette.width; x += 6) {
      EXPECT_LE(Distance(At(frame, 547 + x, 654 + y), At(palette, x, y)), 1) << x << ", " << y;
    }
  }
}

}  // namespace
}  // namespace kbh
