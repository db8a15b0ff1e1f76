// The SDL devices on SDL's dummy video driver, which has windows but never
// gives one the input focus: enough to check how the devices share the event
// queue with the window module and that they refuse to deliver without focus.
// Delivery itself is checked under a real X server by the end-to-end tests.
#include "platform/input/sdl_input_devices.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

namespace kbh {
namespace {

class SdlDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // Hidden: a shown window without focus would make opening wait for it.
    window = SDL_CreateWindow("input test", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_Quit();
  }

  static void Push(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_KEYDOWN) event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    if (type == SDL_WINDOWEVENT) event.window.event = SDL_WINDOWEVENT_CLOSE;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  static int Queued(Uint32 type) { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, type, type); }

  SDL_Window* window = nullptr;
};

TEST_F(SdlDevicesTest, NeedAWindowAndRunningVideo) {
  EXPECT_EQ(CreateSdlInputDevices(nullptr), nullptr);
  EXPECT_NE(CreateSdlInputDevices(window), nullptr);
}

TEST_F(SdlDevicesTest, TakeOnlyKeyboardAndMouseEventsFromTheSharedQueue) {
  auto devices = CreateSdlInputDevices(window);
  ASSERT_NE(devices, nullptr);
  ASSERT_TRUE(devices->Open(InputDeviceKind::kKeyboard));
  ASSERT_TRUE(devices->Open(InputDeviceKind::kMouse));
  EXPECT_FALSE(SDL_IsTextInputActive()) << "text events would pile up untaken";

  Push(SDL_WINDOWEVENT);
  Push(SDL_KEYDOWN);
  Push(SDL_MOUSEBUTTONDOWN);
  Push(SDL_QUIT);
  Push(SDL_MOUSEMOTION);
  Push(SDL_USEREVENT);

  std::array<DeviceEvent, 8> events;
  size_t count = 5;
  EXPECT_FALSE(devices->Read(InputDeviceKind::kKeyboard, events, &count))
      << "without the input focus nothing is read";
  EXPECT_EQ(count, 0u);

  EXPECT_EQ(Queued(SDL_KEYDOWN), 0);
  EXPECT_EQ(Queued(SDL_MOUSEBUTTONDOWN), 0);
  EXPECT_EQ(Queued(SDL_MOUSEMOTION), 0);
  EXPECT_EQ(Queued(SDL_WINDOWEVENT), 1);
  EXPECT_EQ(Queued(SDL_QUIT), 1);
  EXPECT_EQ(Queued(SDL_USEREVENT), 1);
}

TEST_F(SdlDevicesTest, CannotBeAcquiredWithoutTheInputFocus) {
  auto devices = CreateSdlInputDevices(window);
  ASSERT_NE(devices, nullptr);
  EXPECT_FALSE(devices->Acquire(InputDeviceKind::kMouse)) << "not open";
  ASSERT_TRUE(devices->Open(InputDeviceKind::kMouse));
  EXPECT_FALSE(devices->Acquire(InputDeviceKind::kMouse));
  EXPECT_FALSE(SDL_GetRelativeMouseMode());
  devices->Close(InputDeviceKind::kMouse);
  devices->Close(InputDeviceKind::kMouse);
}

}  // namespace
}  // namespace kbh
