#include "gfx/graphics_device.hpp"

#include <cstdio>
#include <string>

namespace kbh {

namespace {

// The states whose device defaults the cache starts from, in the order they
// are read.
constexpr RenderState kStatesReadAtStart[] = {
    RS_ZENABLE,
    RS_FILLMODE,
    RS_SHADEMODE,
    RS_ZWRITEENABLE,
    RS_ALPHATESTENABLE,
    RS_SRCBLEND,
    RS_DESTBLEND,
    RS_CULLMODE,
    RS_ALPHABLENDENABLE,
    RS_FOGENABLE,
    RS_SPECULARENABLE,
    RS_STENCILENABLE,
    RS_TEXTUREFACTOR,
    RS_CLIPPING,
    RS_LIGHTING,
    RS_AMBIENT,
    RS_DIFFUSEMATERIALSOURCE,
    RS_SPECULARMATERIALSOURCE,
    RS_AMBIENTMATERIALSOURCE,
    RS_EMISSIVEMATERIALSOURCE,
    RS_MULTISAMPLEANTIALIAS,
    RS_COLORWRITEENABLE,
    RS_BLENDOP,
    RS_BLENDFACTOR,
    RS_SRCBLENDALPHA,
    RS_DESTBLENDALPHA,
    RS_BLENDOPALPHA,
};

// The adapter line had a buffer of 200 characters. Two long names share the
// room: a name that needs less than half leaves the rest to the other.
std::string AdapterLines(const std::string& description, const std::string& driver) {
  constexpr size_t kBuffer = 200;
  const std::string head = "\n   adapter: ";
  const std::string middle = "\n   driver: ";
  const size_t room = kBuffer - 1 - head.size() - middle.size();
  size_t descriptionLength = description.size();
  size_t driverLength = driver.size();
  if (descriptionLength + driverLength > room) {
    const size_t half = room / 2;
    if (descriptionLength <= half) {
      driverLength = room - descriptionLength;
    } else if (driverLength <= room - half) {
      descriptionLength = room - driverLength;
    } else {
      descriptionLength = half;
      driverLength = room - half;
    }
  }
  return head + description.substr(0, descriptionLength) + middle + driver.substr(0, driverLength);
}

const char* CreateDeviceFailureText(int32_t result) {
  switch (result) {
    case kD3dErrDeviceLost:
      return " error: device lost";
    case kD3dErrInvalidCall:
      return " error: invalid method param";
    case kD3dErrNotAvailable:
      return " error: technique not available";
    case kD3dErrOutOfVideoMemory:
      return " error: not enough display memory";
    default:
      return nullptr;
  }
}

}  // namespace

GraphicsDevice::GraphicsDevice(ErrorLog& log) : log_(log) {}

GraphicsDevice::~GraphicsDevice() {
  ReleaseGraphicsDevice();
}

bool GraphicsDevice::InitGraphicsDevice(const GraphicsSystemFactory& createSystem, int width,
                                        int height, uint32_t flags) {
  windowed_ = (flags & kGraphicsFlagWindowed) != 0;
  log_.WriteLog("   D3DCreate -");
  system_ = createSystem ? createSystem() : nullptr;
  if (system_ == nullptr) {
    log_.WriteLog(" failed");
    return false;
  }
  log_.WriteLog(" success");

  if (system_->GetAdapterCount() == 0) {
    log_.WriteLog(" error: zero adapter count");
    return false;
  }
  AdapterIdentifier identifier;
  if (system_->GetAdapterIdentifier(&identifier)) {
    log_.WriteLog(AdapterLines(identifier.description, identifier.driver));
  } else {
    log_.WriteLog(" info: couldn't retrieve default-adapter info");
  }

  DeviceCaps caps;
  if (system_->GetDeviceCaps(&caps) == kD3dErrInvalidDevice) {
    log_.WriteLog(" error: no HAL-Device available");
    return false;
  }

  const uint32_t modeCount = system_->GetAdapterModeCount(FMT_X8R8G8B8);
  if (modeCount == 0) {
    log_.WriteLog(" error: adapter doesn't support 32Bit videomode");
    return false;
  }
  // The mode asked for is fixed, whatever size the caller wants.
  bool modeFound = false;
  for (uint32_t i = 0; i < modeCount && !modeFound; ++i) {
    DisplayMode mode;
    modeFound = system_->EnumAdapterMode(FMT_X8R8G8B8, i, &mode) && mode.format == FMT_X8R8G8B8 &&
                mode.width == 1024 && mode.height == 768 && mode.refreshRate == 60;
  }
  if (!modeFound) {
    log_.WriteLog(" error: adapter doesn't support 1024x768:60Hz videomode");
    return false;
  }

  if (!system_->CheckDeviceType(FMT_X8R8G8B8, FMT_X8R8G8B8, windowed_)) {
    log_.WriteLog(" error: X8R8G8B8-mode and X8R8G8B8-backbufer not supported on HAL-device");
    return false;
  }
  if (!system_->CheckDepthStencilMatch(FMT_X8R8G8B8, FMT_X8R8G8B8, FMT_D24S8)) {
    log_.WriteLog(" error: D24S8-depthstencil not supported on HAL-device");
    return false;
  }
  if (system_->CheckDeviceMultiSampleType(FMT_X8R8G8B8, windowed_, 2)) {
    multiSampleType_ = 2;
  } else {
    log_.WriteLog(" info: 2-sample antialiasing not supported on HAL-device");
    multiSampleType_ = 0;
  }

  uint32_t interval = 0;
  if ((caps.presentationIntervals & kPresentIntervalImmediate) != 0) {
    interval = kPresentIntervalImmediate;
  } else if ((caps.presentationIntervals & kPresentIntervalOne) != 0) {
    interval = kPresentIntervalOne;
    log_.WriteLog(" info: only D3DPRESENT_INTERVAL_ONE is supported");
  } else {
    log_.WriteLog(" error: requested presentation interval not available");
    return false;
  }

  PresentParameters parameters;
  parameters.backBufferWidth = width;
  parameters.backBufferHeight = height;
  parameters.backBufferFormat = FMT_X8R8G8B8;
  parameters.backBufferCount = 1;
  parameters.multiSampleType = multiSampleType_;
  parameters.multiSampleQuality = 0;
  parameters.swapEffect = kSwapEffectDiscard;
  parameters.windowed = windowed_;
  parameters.enableAutoDepthStencil = true;
  parameters.autoDepthStencilFormat = FMT_D24S8;
  parameters.flags = kPresentFlagDiscardDepthStencil;
  parameters.fullScreenRefreshRateInHz = windowed_ ? 0 : 60;
  parameters.presentationInterval = interval;

  backBufferWidth_ = width;
  backBufferHeight_ = height;
  log_.WriteLog("\n   CreateDevice");
  const int32_t result = system_->CreateDevice(parameters, &device_);
  if (result != kD3dOk || device_ == nullptr) {
    device_.reset();
    if (const char* text = CreateDeviceFailureText(result)) {
      log_.WriteLog(text);
    } else {
      char line[64];
      std::snprintf(line, sizeof line, " error: HRESULT:%i", static_cast<int>(result));
      log_.WriteLog(line);
    }
    return false;
  }
  log_.WriteLog(" success\n");

  renderStateCache_.fill(0);
  for (RenderState state : kStatesReadAtStart) {
    renderStateCache_[state] = device_->GetRenderState(state);
  }
  textureStageCache_.fill(TextureHandle::kNone);
  viewMatrix_ = MatrixIdentity();
  // Lighting takes its colours from the material, never from vertex colours.
  SetRenderStateCached(RS_SPECULARMATERIALSOURCE, MCS_MATERIAL);
  SetRenderStateCached(RS_DIFFUSEMATERIALSOURCE, MCS_MATERIAL);
  SetRenderStateCached(RS_AMBIENTMATERIALSOURCE, MCS_MATERIAL);
  SetRenderStateCached(RS_EMISSIVEMATERIALSOURCE, MCS_MATERIAL);
  return true;
}

int GraphicsDevice::ReleaseGraphicsDevice() {
  device_.reset();
  system_.reset();
  textureStageCache_.fill(TextureHandle::kNone);
  return 1;
}

int GraphicsDevice::BeginFrame() {
  if (device_ == nullptr) return 1;
  device_->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0);
  device_->BeginScene();
  return 1;
}

bool GraphicsDevice::EndFrame() {
  if (device_ == nullptr) return false;
  device_->EndScene();
  return device_->Present();
}

void GraphicsDevice::SetRenderStateCached(uint32_t state, uint32_t value) {
  if (device_ == nullptr) return;
  if (state >= kRenderStateCacheSize) {
    device_->SetRenderState(static_cast<RenderState>(state), value);
    return;
  }
  if (renderStateCache_[state] == value) return;
  device_->SetRenderState(static_cast<RenderState>(state), value);
  renderStateCache_[state] = value;
}

void GraphicsDevice::SetTextureCached(uint32_t stage, TextureHandle texture) {
  if (device_ == nullptr) return;
  if (stage >= textureStageCache_.size()) {
    device_->SetTexture(stage, texture);
    return;
  }
  if (textureStageCache_[stage] == texture) return;
  device_->SetTexture(stage, texture);
  textureStageCache_[stage] = texture;
}

uint32_t GraphicsDevice::CachedRenderState(uint32_t state) const {
  return state < kRenderStateCacheSize ? renderStateCache_[state] : 0;
}

TextureHandle GraphicsDevice::CachedTexture(uint32_t stage) const {
  return stage < textureStageCache_.size() ? textureStageCache_[stage] : TextureHandle::kNone;
}

void GraphicsDevice::SetViewLookAt(Vec3 eye, Vec3 at) {
  SetViewMatrix(MatrixLookAtLH(eye, at, Vec3{0.0f, 1.0f, 0.0f}));
}

void GraphicsDevice::SetViewMatrix(const Matrix& matrix) {
  viewMatrix_ = matrix;
  if (device_ != nullptr) device_->SetTransform(TS_VIEW, viewMatrix_);
}

ColorValue MakeColorValue(uint32_t argb) {
  constexpr float kScale = 0.003921569f;
  return ColorValue{static_cast<float>((argb >> 16) & 0xFF) * kScale,
                    static_cast<float>((argb >> 8) & 0xFF) * kScale,
                    static_cast<float>(argb & 0xFF) * kScale,
                    static_cast<float>((argb >> 24) & 0xFF) * kScale};
}

Material MakeMaterial(uint32_t diffuse, uint32_t ambient, uint32_t specular, uint32_t emissive,
                      float power) {
  Material material;
  material.diffuse = MakeColorValue(diffuse);
  material.ambient = MakeColorValue(ambient);
  material.specular = MakeColorValue(specular);
  material.emissive = MakeColorValue(emissive);
  material.power = power;
  return material;
}

}  // namespace kbh
