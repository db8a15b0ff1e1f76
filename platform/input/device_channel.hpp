// One device's side of the buffered-input contract, shared by the real and
// the scripted devices so that both behave alike:
//
// - A device buffers events only while it is acquired. Acquiring needs the
//   program's window to have the input focus; losing the focus unacquires the
//   device and discards what it held, so nothing typed into another program
//   reaches this one.
// - The buffer holds kDeviceBufferSize events. When it is full, new events
//   are dropped and the older ones kept: the reader sees a consistent prefix
//   of what happened, never a history with a hole in the middle.
// - A read takes the oldest events, as many as fit, and leaves the rest for
//   the next read. Reading an unacquired device fails.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "platform/input/device_event.hpp"

namespace kbh {

class DeviceChannel {
 public:
  bool IsOpen() const { return open_; }
  bool IsAcquired() const { return acquired_; }
  size_t PendingCount() const { return size_; }
  // Events lost to a full buffer since the device was opened.
  size_t DroppedCount() const { return dropped_; }

  // Opening makes the device usable but not yet acquired.
  void Open();
  void Close();

  // False when the device is closed or the window lacks the focus. Acquiring
  // an acquired device succeeds and keeps its events.
  bool Acquire(bool windowHasFocus);
  void Unacquire();

  // Buffers event if the device is acquired and has room.
  void Deliver(const DeviceEvent& event);

  // Moves the oldest pending events into events, at most its size, and sets
  // *count to how many. False, with *count 0, when the device is not acquired.
  bool Read(std::span<DeviceEvent> events, size_t* count);

 private:
  bool open_ = false;
  bool acquired_ = false;
  std::array<DeviceEvent, kDeviceBufferSize> ring_{};
  size_t first_ = 0;
  size_t size_ = 0;
  size_t dropped_ = 0;
};

}  // namespace kbh
