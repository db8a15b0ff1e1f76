// The real keyboard and mouse, read from SDL's event queue.
//
// The queue is shared with the window module: these devices take only
// keyboard and mouse events from it (by event type range, after pumping) and
// leave every other event where it is. Text-input events are switched off
// when the keyboard opens, since nothing would ever take them.
//
// The acquired mouse runs in SDL's relative mode, which hides and holds the
// system pointer and reports raw motion without acceleration. Under X11 that
// motion comes from XInput2 raw events, which input synthesised with XTest
// (xdotool) produces as well.
#pragma once

#include <memory>

#include "platform/input/input_devices.hpp"

struct SDL_Window;

namespace kbh {

// Devices for window, whose input focus decides when they can be acquired.
// Null when window is null or SDL's video subsystem is not running. The
// devices must be released before the window is destroyed.
std::unique_ptr<InputDevices> CreateSdlInputDevices(SDL_Window* window);

}  // namespace kbh
