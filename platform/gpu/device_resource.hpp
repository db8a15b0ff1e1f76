// Owners for device handles: each frees its resource through the device that
// made it when it goes out of scope. An owner must not outlive its device.
#pragma once

#include <utility>

#include "platform/gpu/device.hpp"

namespace kbh {

template <typename Handle, void (Device::*Release)(Handle)>
class UniqueDeviceHandle {
 public:
  UniqueDeviceHandle() = default;
  UniqueDeviceHandle(Device* device, Handle handle) : device_(device), handle_(handle) {}
  ~UniqueDeviceHandle() { reset(); }

  UniqueDeviceHandle(UniqueDeviceHandle&& other) noexcept
      : device_(std::exchange(other.device_, nullptr)),
        handle_(std::exchange(other.handle_, Handle::kNone)) {}
  UniqueDeviceHandle& operator=(UniqueDeviceHandle&& other) noexcept {
    if (this != &other) {
      reset();
      device_ = std::exchange(other.device_, nullptr);
      handle_ = std::exchange(other.handle_, Handle::kNone);
    }
    return *this;
  }
  UniqueDeviceHandle(const UniqueDeviceHandle&) = delete;
  UniqueDeviceHandle& operator=(const UniqueDeviceHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle::kNone; }

  void reset() {
    if (device_ != nullptr && handle_ != Handle::kNone) (device_->*Release)(handle_);
    device_ = nullptr;
    handle_ = Handle::kNone;
  }

 private:
  Device* device_ = nullptr;
  Handle handle_ = Handle::kNone;
};

using UniqueTexture = UniqueDeviceHandle<TextureHandle, &Device::ReleaseTexture>;
using UniqueSurface = UniqueDeviceHandle<SurfaceHandle, &Device::ReleaseSurface>;
using UniqueMesh = UniqueDeviceHandle<MeshHandle, &Device::ReleaseMesh>;

}  // namespace kbh
