// The graphics system a device is created from, shaped like the Direct3D 9
// object: it answers the questions device creation asks about the adapter
// before committing, then creates the device. The graphics module runs its
// start-up checks against this seam, so they can be tested with a fake that
// answers as any machine would (RecordingSystem).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gpu/d3d_types.hpp"
#include "platform/gpu/device.hpp"

namespace kbh {

// Result codes as Direct3D returns them (HRESULTs, signed).
constexpr int32_t kD3dOk = 0;
constexpr int32_t kD3dErrDeviceLost = static_cast<int32_t>(0x88760868);
constexpr int32_t kD3dErrNotAvailable = static_cast<int32_t>(0x8876086A);
constexpr int32_t kD3dErrInvalidDevice = static_cast<int32_t>(0x8876086B);
constexpr int32_t kD3dErrInvalidCall = static_cast<int32_t>(0x8876086C);
constexpr int32_t kD3dErrOutOfVideoMemory = static_cast<int32_t>(0x8876017C);
// The image library's "invalid data": a file that is not a picture it knows.
constexpr int32_t kD3dxErrInvalidData = static_cast<int32_t>(0x88760B59);

// D3DPRESENT_INTERVAL_* bits.
constexpr uint32_t kPresentIntervalOne = 0x00000001;
constexpr uint32_t kPresentIntervalImmediate = 0x80000000;

constexpr uint32_t kSwapEffectDiscard = 1;
constexpr uint32_t kPresentFlagDiscardDepthStencil = 2;

struct AdapterIdentifier {
  std::string description;
  std::string driver;
};

struct DeviceCaps {
  uint32_t presentationIntervals = 0;
};

struct DisplayMode {
  int width = 0;
  int height = 0;
  int refreshRate = 0;
  Format format = FMT_UNKNOWN;
};

// D3DPRESENT_PARAMETERS.
struct PresentParameters {
  int backBufferWidth = 0;
  int backBufferHeight = 0;
  Format backBufferFormat = FMT_UNKNOWN;
  int backBufferCount = 0;
  int multiSampleType = 0;  // samples asked for; 0 = none
  int multiSampleQuality = 0;
  uint32_t swapEffect = 0;
  bool windowed = false;
  bool enableAutoDepthStencil = false;
  Format autoDepthStencilFormat = FMT_UNKNOWN;
  uint32_t flags = 0;
  int fullScreenRefreshRateInHz = 0;
  uint32_t presentationInterval = 0;
};

class GraphicsSystem {
 public:
  virtual ~GraphicsSystem() = default;

  virtual uint32_t GetAdapterCount() = 0;
  // False when the adapter cannot describe itself.
  virtual bool GetAdapterIdentifier(AdapterIdentifier* out) = 0;
  // kD3dErrInvalidDevice when there is no hardware device with the features
  // the program needs.
  virtual int32_t GetDeviceCaps(DeviceCaps* out) = 0;
  virtual uint32_t GetAdapterModeCount(Format format) = 0;
  virtual bool EnumAdapterMode(Format format, uint32_t index, DisplayMode* out) = 0;
  virtual bool CheckDeviceType(Format adapterFormat, Format backBufferFormat, bool windowed) = 0;
  virtual bool CheckDepthStencilMatch(Format adapterFormat, Format renderTargetFormat,
                                      Format depthStencilFormat) = 0;
  virtual bool CheckDeviceMultiSampleType(Format surfaceFormat, bool windowed, int samples) = 0;
  // kD3dOk and *out set, or an error code and *out untouched.
  virtual int32_t CreateDevice(const PresentParameters& parameters,
                               std::unique_ptr<Device>* out) = 0;
};

}  // namespace kbh
