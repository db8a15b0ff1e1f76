// The seam between the input module and the system's keyboard and mouse: two
// buffered devices that are opened, acquired while the program's window has
// the focus, and read once per frame (device_channel.hpp gives the rules both
// implementations follow).
//
// CreateSdlInputDevices (sdl_input_devices.hpp) reads the real devices;
// ScriptedInputDevices (scripted_input_devices.hpp) plays events that a test
// pushes.
#pragma once

#include <cstddef>
#include <span>

#include "platform/input/device_event.hpp"

namespace kbh {

class InputDevices {
 public:
  virtual ~InputDevices() = default;

  // Makes the device available with an empty buffer; false when the system
  // has no such device.
  virtual bool Open(InputDeviceKind device) = 0;
  // Unacquires and closes; closing a closed device does nothing.
  virtual void Close(InputDeviceKind device) = 0;
  // Starts buffering. For the mouse this also takes it exclusively: the
  // system pointer stops moving and the device reports relative motion. False
  // while the program's window lacks the input focus or the device is closed.
  virtual bool Acquire(InputDeviceKind device) = 0;
  // Takes the oldest buffered events, at most events.size(), leaving the rest
  // for later. False when the device is not acquired, for instance because
  // the window lost the focus since the last read.
  virtual bool Read(InputDeviceKind device, std::span<DeviceEvent> events, size_t* count) = 0;
};

}  // namespace kbh
