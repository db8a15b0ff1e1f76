#include "platform/gpu/gl_system.hpp"

#include <string>

#include "platform/gpu/gl_api.hpp"
#include "platform/gpu/gl_device.hpp"

namespace kbh {

namespace {

constexpr DisplayMode kScaledMode{1024, 768, 60, FMT_X8R8G8B8};

bool IsBackBufferFormat(Format format) {
  return format == FMT_X8R8G8B8 || format == FMT_A8R8G8B8;
}

class GlSystem final : public GraphicsSystem {
 public:
  explicit GlSystem(std::shared_ptr<GlContext> context) : context_(std::move(context)) {
    complete_ = LoadGlApi(*context_, &api_, &missing_);
  }

  uint32_t GetAdapterCount() override { return 1; }

  bool GetAdapterIdentifier(AdapterIdentifier* out) override {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (renderer == nullptr || version == nullptr) return false;
    out->description = renderer;
    out->driver = version;
    return true;
  }

  int32_t GetDeviceCaps(DeviceCaps* out) override {
    if (!complete_) return kD3dErrInvalidDevice;
    out->presentationIntervals = kPresentIntervalImmediate | kPresentIntervalOne;
    return kD3dOk;
  }

  uint32_t GetAdapterModeCount(Format format) override {
    return format == kScaledMode.format ? 1 : 0;
  }

  bool EnumAdapterMode(Format format, uint32_t index, DisplayMode* out) override {
    if (format != kScaledMode.format || index != 0) return false;
    *out = kScaledMode;
    return true;
  }

  bool CheckDeviceType(Format adapterFormat, Format backBufferFormat, bool) override {
    return complete_ && adapterFormat == FMT_X8R8G8B8 && IsBackBufferFormat(backBufferFormat);
  }

  bool CheckDepthStencilMatch(Format, Format renderTargetFormat,
                              Format depthStencilFormat) override {
    return complete_ && IsBackBufferFormat(renderTargetFormat) && depthStencilFormat == FMT_D24S8;
  }

  bool CheckDeviceMultiSampleType(Format surfaceFormat, bool, int samples) override {
    if (!complete_ || !IsBackBufferFormat(surfaceFormat) || samples < 2 ||
        samples > api_.maxSamples) {
      return false;
    }
    // Ask the driver for real: a small multisampled framebuffer, made and
    // dropped without disturbing whatever is bound.
    GLint boundFramebuffer = 0;
    GLint boundRenderbuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &boundFramebuffer);
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &boundRenderbuffer);
    GLuint framebuffer = 0;
    GLuint renderbuffers[2] = {0, 0};
    api_.GenFramebuffers(1, &framebuffer);
    api_.GenRenderbuffers(2, renderbuffers);
    api_.BindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    api_.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, 16, 16);
    api_.BindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    api_.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, 16, 16);
    api_.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    api_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                 renderbuffers[0]);
    api_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                 renderbuffers[1]);
    const bool complete = api_.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                          glGetError() == GL_NO_ERROR;
    api_.BindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(boundFramebuffer));
    api_.BindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(boundRenderbuffer));
    api_.DeleteFramebuffers(1, &framebuffer);
    api_.DeleteRenderbuffers(2, renderbuffers);
    return complete;
  }

  int32_t CreateDevice(const PresentParameters& parameters, std::unique_ptr<Device>* out) override {
    if (!complete_) return kD3dErrNotAvailable;
    if (!IsBackBufferFormat(parameters.backBufferFormat) ||
        (parameters.enableAutoDepthStencil && parameters.autoDepthStencilFormat != FMT_D24S8)) {
      return kD3dErrInvalidCall;
    }
    int32_t result = kD3dOk;
    std::unique_ptr<GlDevice> device =
        GlDevice::Create(context_, api_, parameters.backBufferWidth, parameters.backBufferHeight,
                         parameters.multiSampleType, &result);
    if (device == nullptr) return result;
    if (context_->HasWindow()) {
      // A refusal is fine: presentation is then unthrottled anyway.
      const bool immediate = (parameters.presentationInterval & kPresentIntervalImmediate) != 0;
      context_->SetSwapInterval(immediate ? 0 : 1);
    }
    *out = std::move(device);
    return kD3dOk;
  }

 private:
  std::shared_ptr<GlContext> context_;
  GlApi api_;
  bool complete_ = false;
  std::string missing_;
};

}  // namespace

std::unique_ptr<GraphicsSystem> CreateGlSystem(std::shared_ptr<GlContext> context) {
  if (context == nullptr || !context->MakeCurrent()) return nullptr;
  return std::make_unique<GlSystem>(std::move(context));
}

std::unique_ptr<GraphicsSystem> CreateHeadlessGlSystem() {
  return CreateGlSystem(CreateHeadlessGlContext());
}

}  // namespace kbh
