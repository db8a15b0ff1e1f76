#include "platform/input/scripted_input_devices.hpp"

namespace kbh {

namespace {

size_t IndexOf(InputDeviceKind device) {
  return static_cast<size_t>(device);
}

}  // namespace

void ScriptedInputDevices::PressKey(uint8_t code) {
  Push(InputDeviceKind::kKeyboard, code, kPressedData);
}

void ScriptedInputDevices::ReleaseKey(uint8_t code) {
  Push(InputDeviceKind::kKeyboard, code, 0);
}

void ScriptedInputDevices::MoveMouse(int32_t dx, int32_t dy) {
  if (dx != 0) Push(InputDeviceKind::kMouse, kMouseOffsetX, static_cast<uint32_t>(dx));
  if (dy != 0) Push(InputDeviceKind::kMouse, kMouseOffsetY, static_cast<uint32_t>(dy));
}

void ScriptedInputDevices::PressButton(uint32_t button) {
  Push(InputDeviceKind::kMouse, kMouseOffsetButton0 + button, kPressedData);
}

void ScriptedInputDevices::ReleaseButton(uint32_t button) {
  Push(InputDeviceKind::kMouse, kMouseOffsetButton0 + button, 0);
}

void ScriptedInputDevices::TurnWheel(int32_t notches) {
  Push(InputDeviceKind::kMouse, kMouseOffsetWheel, static_cast<uint32_t>(notches * kWheelStep));
}

void ScriptedInputDevices::SetFocus(bool hasFocus) {
  hasFocus_ = hasFocus;
  if (!hasFocus) {
    for (DeviceChannel& channel : channels_)
      channel.Unacquire();
  }
}

void ScriptedInputDevices::SetDeviceMissing(InputDeviceKind device, bool missing) {
  missing_[IndexOf(device)] = missing;
}

const DeviceChannel& ScriptedInputDevices::Channel(InputDeviceKind device) const {
  return channels_[IndexOf(device)];
}

uint32_t ScriptedInputDevices::AcquireCalls(InputDeviceKind device) const {
  return acquireCalls_[IndexOf(device)];
}

bool ScriptedInputDevices::Open(InputDeviceKind device) {
  if (missing_[IndexOf(device)]) return false;
  channels_[IndexOf(device)].Open();
  return true;
}

void ScriptedInputDevices::Close(InputDeviceKind device) {
  channels_[IndexOf(device)].Close();
}

bool ScriptedInputDevices::Acquire(InputDeviceKind device) {
  ++acquireCalls_[IndexOf(device)];
  return channels_[IndexOf(device)].Acquire(hasFocus_);
}

bool ScriptedInputDevices::Read(InputDeviceKind device, std::span<DeviceEvent> events,
                                size_t* count) {
  return channels_[IndexOf(device)].Read(events, count);
}

void ScriptedInputDevices::Push(InputDeviceKind device, uint32_t offset, uint32_t data) {
  channels_[IndexOf(device)].Deliver(
      DeviceEvent{.offset = offset, .data = data, .timestamp = time_, .sequence = nextSequence_++});
}

}  // namespace kbh
