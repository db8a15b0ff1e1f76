// Input devices driven by a script instead of hardware, so that the input
// module, the widgets and the screens can be tested with exact sequences of
// key presses, motion, clicks and focus changes. Events follow the same
// buffering rules as the real devices (device_channel.hpp): pushed while a
// device is not acquired, they are lost, as they would be.
//
// The window starts with the focus; both devices start closed.
#pragma once

#include <array>
#include <cstdint>

#include "platform/input/device_channel.hpp"
#include "platform/input/input_devices.hpp"

namespace kbh {

class ScriptedInputDevices final : public InputDevices {
 public:
  // --- Script ---------------------------------------------------------------
  void PressKey(uint8_t code);
  void ReleaseKey(uint8_t code);
  // One x event and one y event, each only when its motion is not zero, as a
  // mouse reports them.
  void MoveMouse(int32_t dx, int32_t dy);
  void PressButton(uint32_t button = 0);
  void ReleaseButton(uint32_t button = 0);
  void TurnWheel(int32_t notches);
  // Losing the focus unacquires both devices and discards their events.
  void SetFocus(bool hasFocus);
  // The timestamp of the events pushed from now on.
  void SetTime(uint32_t tick) { time_ = tick; }
  // Makes Open fail for the device, as on a system without it.
  void SetDeviceMissing(InputDeviceKind device, bool missing);

  // --- Observation ----------------------------------------------------------
  const DeviceChannel& Channel(InputDeviceKind device) const;
  // Calls of Acquire since construction, whether they succeeded or not.
  uint32_t AcquireCalls(InputDeviceKind device) const;

  // --- InputDevices ---------------------------------------------------------
  bool Open(InputDeviceKind device) override;
  void Close(InputDeviceKind device) override;
  bool Acquire(InputDeviceKind device) override;
  bool Read(InputDeviceKind device, std::span<DeviceEvent> events, size_t* count) override;

 private:
  void Push(InputDeviceKind device, uint32_t offset, uint32_t data);

  std::array<DeviceChannel, 2> channels_;
  std::array<bool, 2> missing_{};
  std::array<uint32_t, 2> acquireCalls_{};
  bool hasFocus_ = true;
  uint32_t time_ = 0;
  uint32_t nextSequence_ = 1;
};

}  // namespace kbh
