// The real window on an X server of the test's own: the back buffer shown
// scaled and letterboxed, read back with xwd as the server has it; and the
// window's share of SDL's event queue.
#include "platform/window/window.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gpu/gl_system.hpp"
#include "tests/e2e/support/process.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"

// libdbus holds SDL's D-Bus connection until exit; that buffer is libdbus's
// own to keep. Mesa's records for the window stay reachable because sanitizer
// builds of the tests keep every library loaded (keep_modules_loaded.cpp).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

namespace kbh {
namespace {

// The root window as xwd dumps it (X Window Dump, 32 bits per pixel).
struct ScreenDump {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
};

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3]));
}

bool DumpScreen(const std::string& display, ScreenDump* out) {
  std::string bytes;
  if (testing::RunCommand({"xwd", "-root", "-silent", "-display", display}, &bytes) != 0) {
    return false;
  }
  if (bytes.size() < 100) return false;
  const uint32_t headerSize = BigEndian32(bytes, 0);
  const uint32_t width = BigEndian32(bytes, 16);
  const uint32_t height = BigEndian32(bytes, 20);
  const uint32_t byteOrder = BigEndian32(bytes, 28);
  const uint32_t bitsPerPixel = BigEndian32(bytes, 44);
  const uint32_t bytesPerLine = BigEndian32(bytes, 48);
  const uint32_t colors = BigEndian32(bytes, 76);
  const size_t data = size_t{headerSize} + size_t{colors} * 12;
  if (bitsPerPixel != 32 || bytes.size() < data + size_t{bytesPerLine} * height) return false;
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->pixels.clear();
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const size_t at = data + size_t{y} * bytesPerLine + size_t{x} * 4;
      uint32_t value = BigEndian32(bytes, at);
      if (byteOrder == 0) value = __builtin_bswap32(value);  // least significant byte first
      out->pixels.push_back(value & 0xFFFFFF);
    }
  }
  return true;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveProgram("xwd")) KBH_SKIP_OR_FAIL() << "xwd is not installed";
    xvfb_ = testing::XvfbSession::Start(1280, 1024);
    if (xvfb_ == nullptr) KBH_SKIP_OR_FAIL() << "Xvfb is not installed or did not start";
    setenv("DISPLAY", xvfb_->Display().c_str(), 1);
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    window_.reset();
    xvfb_.reset();
  }

  std::unique_ptr<testing::XvfbSession> xvfb_;
  MainWindowPtr window_;
};

TEST_F(WindowTest, PresentShowsTheBackBufferScaledAndLetterboxed) {
  int width = 0;
  int height = 0;
  GetWindowSize(*window_, &width, &height);
  EXPECT_EQ(width, 1280);
  EXPECT_EQ(height, 1024);
  std::string tree;
  if (testing::HaveProgram("xwininfo")) {
    testing::RunCommand({"xwininfo", "-root", "-tree", "-display", xvfb_->Display()}, &tree);
    EXPECT_NE(tree.find("\"3DKolbenhof\""), std::string::npos) << tree;
  }

  std::unique_ptr<GraphicsSystem> system = CreateGlSystem(CreateWindowGlContext(*window_));
  ASSERT_NE(system, nullptr);
  PresentParameters parameters;
  parameters.backBufferWidth = 1024;
  parameters.backBufferHeight = 768;
  parameters.backBufferFormat = FMT_X8R8G8B8;
  parameters.multiSampleType = 2;
  parameters.enableAutoDepthStencil = true;
  parameters.autoDepthStencilFormat = FMT_D24S8;
  parameters.presentationInterval = kPresentIntervalImmediate;
  std::unique_ptr<Device> device;
  ASSERT_EQ(system->CreateDevice(parameters, &device), kD3dOk);

  // Four quadrants: red, green / blue, white.
  Image quadrants = testing::SolidImage(1024, 768, 0xFFFF0000, FMT_X8R8G8B8);
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) {
      const bool right = x >= 512;
      const bool bottom = y >= 384;
      quadrants.texels[static_cast<size_t>(y) * 1024 + x] =
          bottom ? (right ? 0xFFFFFFFF : 0xFF0000FF) : (right ? 0xFF00FF00 : 0xFFFF0000);
    }
  }
  SpriteDraw sprite;
  sprite.texture = device->CreateTexture(quadrants);
  device->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0);
  device->DrawSprite(sprite);
  const bool presented = device->Present();
  ASSERT_TRUE(presented);

  // 1024 x 768 scaled by 1.25 is 1280 x 960: bars of 32 rows above and below.
  ScreenDump screen;
  auto at = [&](int x, int y) { return screen.pixels[static_cast<size_t>(y) * 1280 + x]; };
  const bool shown = testing::WaitUntil(
      [&] {
        device->Present();
        return DumpScreen(xvfb_->Display(), &screen) && screen.width == 1280 &&
               at(320, 272) == 0xFF0000;
      },
      std::chrono::seconds(10));
  ASSERT_TRUE(shown);
  EXPECT_EQ(at(640, 10), 0x000000u);
  EXPECT_EQ(at(640, 31), 0x000000u);
  EXPECT_EQ(at(5, 33), 0xFF0000u);
  EXPECT_EQ(at(960, 272), 0x00FF00u);
  EXPECT_EQ(at(320, 752), 0x0000FFu);
  EXPECT_EQ(at(960, 752), 0xFFFFFFu);
  EXPECT_EQ(at(1275, 990), 0xFFFFFFu);
  EXPECT_EQ(at(640, 993), 0x000000u);
  EXPECT_EQ(at(640, 1023), 0x000000u);
}

TEST_F(WindowTest, TakesWindowEventsOneAtATimeAndLeavesInput) {
  WindowMessage message;
  while (PeekWindowMessage(*window_, &message)) {
  }
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);

  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  event = SDL_Event{};
  event.type = SDL_MOUSEMOTION;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  event = SDL_Event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  event = SDL_Event{};
  event.type = SDL_KEYMAPCHANGED;  // a notice, not input: the window's
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  event.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&event), 1);

  ASSERT_TRUE(PeekWindowMessage(*window_, &message));
  EXPECT_EQ(message, WindowMessage::kDeactivated);
  ASSERT_TRUE(PeekWindowMessage(*window_, &message));
  EXPECT_EQ(message, WindowMessage::kActivated);
  EXPECT_EQ(WaitWindowMessage(*window_), WindowMessage::kClose);
  EXPECT_EQ(WaitWindowMessage(*window_), WindowMessage::kOther);  // the keymap notice
  // Only input is left: waiting returns at once without taking it.
  EXPECT_EQ(WaitWindowMessage(*window_), WindowMessage::kOther);
  EXPECT_FALSE(PeekWindowMessage(*window_, &message));
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 1);
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 1);
}

}  // namespace
}  // namespace kbh
