#include "platform/input/sdl_input_devices.hpp"

#include <SDL.h>

#include <array>
#include <cmath>

#include "platform/input/device_channel.hpp"
#include "platform/input/key_codes.hpp"
#include "platform/input/sdl_key_map.hpp"
#include "platform/os/clock.hpp"

namespace kbh {

namespace {

// How long opening a device waits for a window that was just shown to receive
// the input focus: X11 delivers it asynchronously, while the program expects
// a window it brought to the front to be the foreground window at once.
constexpr uint32_t kFocusGraceMs = 500;
constexpr uint32_t kFocusPollMs = 5;

// Events taken from SDL's queue per call; the queue is drained completely.
constexpr int kPeepChunk = 64;

size_t IndexOf(InputDeviceKind device) {
  return static_cast<size_t>(device);
}

class SdlInputDevices final : public InputDevices {
 public:
  explicit SdlInputDevices(SDL_Window* window) : window_(window) {}
  ~SdlInputDevices() override {
    Close(InputDeviceKind::kKeyboard);
    Close(InputDeviceKind::kMouse);
  }
  SdlInputDevices(const SdlInputDevices&) = delete;
  SdlInputDevices& operator=(const SdlInputDevices&) = delete;

  bool Open(InputDeviceKind device) override {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    if (device == InputDeviceKind::kKeyboard) SDL_StopTextInput();
    WaitBrieflyForFocus();
    Channel(device).Open();
    return true;
  }

  void Close(InputDeviceKind device) override {
    DeviceChannel& channel = Channel(device);
    if (device == InputDeviceKind::kMouse && channel.IsAcquired() &&
        SDL_WasInit(SDL_INIT_VIDEO) != 0) {
      SDL_SetRelativeMouseMode(SDL_FALSE);
    }
    channel.Close();
  }

  bool Acquire(InputDeviceKind device) override {
    SDL_PumpEvents();
    if (!WindowHasFocus()) {
      LoseFocus();
      return false;
    }
    DeviceChannel& channel = Channel(device);
    if (channel.IsAcquired()) return true;
    if (!channel.IsOpen()) return false;
    if (device == InputDeviceKind::kMouse && SDL_SetRelativeMouseMode(SDL_TRUE) != 0) {
      return false;
    }
    // What queued up while the device was not acquired is not the program's
    // input, including any motion SDL reports while entering relative mode.
    DrainQueue();
    return channel.Acquire(true);
  }

  bool Read(InputDeviceKind device, std::span<DeviceEvent> events, size_t* count) override {
    SDL_PumpEvents();
    if (!WindowHasFocus()) LoseFocus();
    DrainQueue();
    return Channel(device).Read(events, count);
  }

 private:
  DeviceChannel& Channel(InputDeviceKind device) { return channels_[IndexOf(device)]; }

  bool WindowHasFocus() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
  }

  bool WindowIsShown() const {
    const uint32_t flags = SDL_GetWindowFlags(window_);
    return (flags & SDL_WINDOW_SHOWN) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
  }

  void WaitBrieflyForFocus() {
    const uint32_t start = SDL_GetTicks();
    SDL_PumpEvents();
    while (WindowIsShown() && !WindowHasFocus() && SDL_GetTicks() - start < kFocusGraceMs) {
      SDL_Delay(kFocusPollMs);
      SDL_PumpEvents();
    }
  }

  void LoseFocus() {
    DeviceChannel& mouse = Channel(InputDeviceKind::kMouse);
    if (mouse.IsAcquired()) SDL_SetRelativeMouseMode(SDL_FALSE);
    mouse.Unacquire();
    Channel(InputDeviceKind::kKeyboard).Unacquire();
  }

  // Moves every keyboard and mouse event from SDL's queue into the channels,
  // which keep them only while acquired. Nothing else is taken.
  void DrainQueue() {
    std::array<SDL_Event, kPeepChunk> events;
    int taken = 0;
    while ((taken = SDL_PeepEvents(events.data(), kPeepChunk, SDL_GETEVENT, SDL_KEYDOWN,
                                   SDL_KEYUP)) > 0) {
      for (int i = 0; i < taken; ++i)
        RouteKey(events[static_cast<size_t>(i)].key);
    }
    while ((taken = SDL_PeepEvents(events.data(), kPeepChunk, SDL_GETEVENT, SDL_MOUSEMOTION,
                                   SDL_MOUSEWHEEL)) > 0) {
      for (int i = 0; i < taken; ++i)
        RouteMouse(events[static_cast<size_t>(i)]);
    }
  }

  void RouteKey(const SDL_KeyboardEvent& event) {
    // A buffered keyboard reports changes of state, never the auto-repeat.
    if (event.repeat != 0) return;
    const uint8_t code = KeyCodeFromSdlScancode(event.keysym.scancode);
    if (code == kKeyNone) return;
    const uint32_t data = event.type == SDL_KEYDOWN ? kPressedData : 0;
    Deliver(InputDeviceKind::kKeyboard, code, data, event.timestamp);
  }

  void RouteMouse(const SDL_Event& event) {
    switch (event.type) {
      case SDL_MOUSEMOTION:
        if (event.motion.xrel != 0) {
          Deliver(InputDeviceKind::kMouse, kMouseOffsetX, static_cast<uint32_t>(event.motion.xrel),
                  event.motion.timestamp);
        }
        if (event.motion.yrel != 0) {
          Deliver(InputDeviceKind::kMouse, kMouseOffsetY, static_cast<uint32_t>(event.motion.yrel),
                  event.motion.timestamp);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const int button = ButtonIndex(event.button.button);
        if (button < 0) break;
        Deliver(InputDeviceKind::kMouse, kMouseOffsetButton0 + static_cast<uint32_t>(button),
                event.type == SDL_MOUSEBUTTONDOWN ? kPressedData : 0, event.button.timestamp);
        break;
      }
      case SDL_MOUSEWHEEL: {
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        const auto steps = static_cast<int32_t>(std::lround(notches * kWheelStep));
        if (steps != 0) {
          Deliver(InputDeviceKind::kMouse, kMouseOffsetWheel, static_cast<uint32_t>(steps),
                  event.wheel.timestamp);
        }
        break;
      }
      default:
        break;
    }
  }

  // Button numbers of the mouse data format: left, right, middle, first extra.
  static int ButtonIndex(uint8_t sdlButton) {
    switch (sdlButton) {
      case SDL_BUTTON_LEFT:
        return 0;
      case SDL_BUTTON_RIGHT:
        return 1;
      case SDL_BUTTON_MIDDLE:
        return 2;
      case SDL_BUTTON_X1:
        return 3;
      default:
        return -1;
    }
  }

  void Deliver(InputDeviceKind device, uint32_t offset, uint32_t data, uint32_t sdlTimestamp) {
    // SDL stamps events with its own ticks; restate them on the program's
    // clock so they compare with everything else it times.
    const uint32_t age = SDL_GetTicks() - sdlTimestamp;
    Channel(device).Deliver(DeviceEvent{.offset = offset,
                                        .data = data,
                                        .timestamp = TickCount() - age,
                                        .sequence = nextSequence_++});
  }

  SDL_Window* window_;
  std::array<DeviceChannel, 2> channels_;
  uint32_t nextSequence_ = 1;
};

}  // namespace

std::unique_ptr<InputDevices> CreateSdlInputDevices(SDL_Window* window) {
  if (window == nullptr || SDL_WasInit(SDL_INIT_VIDEO) == 0) return nullptr;
  return std::make_unique<SdlInputDevices>(window);
}

}  // namespace kbh
