#include "platform/input/device_channel.hpp"

#include <algorithm>

namespace kbh {

void DeviceChannel::Open() {
  Close();
  open_ = true;
}

void DeviceChannel::Close() {
  Unacquire();
  open_ = false;
  dropped_ = 0;
}

bool DeviceChannel::Acquire(bool windowHasFocus) {
  if (!open_ || !windowHasFocus) return false;
  acquired_ = true;
  return true;
}

void DeviceChannel::Unacquire() {
  acquired_ = false;
  first_ = 0;
  size_ = 0;
}

void DeviceChannel::Deliver(const DeviceEvent& event) {
  if (!acquired_) return;
  if (size_ == ring_.size()) {
    ++dropped_;
    return;
  }
  ring_[(first_ + size_) % ring_.size()] = event;
  ++size_;
}

bool DeviceChannel::Read(std::span<DeviceEvent> events, size_t* count) {
  *count = 0;
  if (!acquired_) return false;
  const size_t taken = std::min(events.size(), size_);
  for (size_t i = 0; i < taken; ++i)
    events[i] = ring_[(first_ + i) % ring_.size()];
  first_ = (first_ + taken) % ring_.size();
  size_ -= taken;
  *count = taken;
  return true;
}

}  // namespace kbh
