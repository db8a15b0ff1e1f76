#include "bench/frame/frame_capture.hpp"

#include <utility>

namespace kbh {

namespace {

class CapturingDevice final : public Device {
 public:
  CapturingDevice(std::unique_ptr<Device> real, FrameCapture& capture)
      : real_(std::move(real)), capture_(capture) {}

  void SetRenderState(RenderState state, uint32_t value) override {
    real_->SetRenderState(state, value);
  }
  uint32_t GetRenderState(RenderState state) const override { return real_->GetRenderState(state); }
  void SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) override {
    real_->SetTextureStageState(stage, type, value);
  }
  void SetTransform(TransformType type, const Matrix& matrix) override {
    real_->SetTransform(type, matrix);
  }
  void SetLight(uint32_t index, const Light& light) override { real_->SetLight(index, light); }
  void LightEnable(uint32_t index, bool enable) override { real_->LightEnable(index, enable); }
  void SetMaterial(const Material& material) override { real_->SetMaterial(material); }
  void SetTexture(uint32_t stage, TextureHandle texture) override {
    real_->SetTexture(stage, texture);
  }

  TextureHandle CreateTexture(const Image& image) override {
    return Keep(real_->CreateTexture(image), image);
  }
  TextureHandle CreateMipmappedTexture(const Image& image) override {
    return Keep(real_->CreateMipmappedTexture(image), image);
  }
  TextureHandle CreateCubeTexture(const CubeImage& image) override {
    return real_->CreateCubeTexture(image);
  }
  TextureHandle CreateRenderTexture(int width, int height) override {
    const TextureHandle made = real_->CreateRenderTexture(width, height);
    capture_.renderTextures.push_back(static_cast<uint32_t>(made));
    return made;
  }
  void ReleaseTexture(TextureHandle texture) override {
    capture_.images.erase(static_cast<uint32_t>(texture));
    real_->ReleaseTexture(texture);
  }
  SurfaceHandle CreateDepthSurface(int width, int height) override {
    return real_->CreateDepthSurface(width, height);
  }
  void ReleaseSurface(SurfaceHandle surface) override { real_->ReleaseSurface(surface); }
  MeshHandle CreateMesh(const MeshData& mesh) override { return real_->CreateMesh(mesh); }
  void ReleaseMesh(MeshHandle mesh) override { real_->ReleaseMesh(mesh); }

  void SetRenderTarget(TextureHandle target, SurfaceHandle depth) override {
    real_->SetRenderTarget(target, depth);
  }
  TextureHandle GetRenderTarget() const override { return real_->GetRenderTarget(); }
  SurfaceHandle GetDepthSurface() const override { return real_->GetDepthSurface(); }
  void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override {
    real_->Clear(flags, color, z, stencil);
  }
  void BeginScene() override { real_->BeginScene(); }
  void EndScene() override { real_->EndScene(); }
  bool Present() override { return real_->Present(); }
  int BackBufferSamples() const override { return real_->BackBufferSamples(); }

  void DrawSubset(MeshHandle mesh, uint32_t subset) override {
    if (capture_.capturing && real_->GetRenderTarget() == TextureHandle::kNone &&
        (capture_.draws.empty() || capture_.draws.back().kind != CapturedDraw::Kind::kMeshes)) {
      capture_.draws.push_back(Draw(CapturedDraw::Kind::kMeshes));
    }
    real_->DrawSubset(mesh, subset);
  }
  void DrawSprite(const SpriteDraw& sprite) override {
    if (capture_.capturing) {
      CapturedDraw draw = Draw(CapturedDraw::Kind::kSprite);
      draw.sprite = sprite;
      capture_.draws.push_back(std::move(draw));
    }
    real_->DrawSprite(sprite);
  }
  void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                  const PixelRect* clip) override {
    if (capture_.capturing) {
      CapturedDraw draw = Draw(CapturedDraw::Kind::kGlyphs);
      draw.atlas = atlas;
      draw.color = color;
      draw.quads.assign(quads.begin(), quads.end());
      if (clip != nullptr) {
        draw.clipped = true;
        draw.clip = *clip;
      }
      capture_.draws.push_back(std::move(draw));
    }
    real_->DrawGlyphs(atlas, quads, color, clip);
  }
  void DrawLine(Vec2 from, Vec2 to, float width, uint32_t color) override {
    if (capture_.capturing) {
      CapturedDraw draw = Draw(CapturedDraw::Kind::kLine);
      draw.color = color;
      draw.from = from;
      draw.to = to;
      draw.width = width;
      capture_.draws.push_back(std::move(draw));
    }
    real_->DrawLine(from, to, width, color);
  }

  Image ReadRenderTarget() override { return real_->ReadRenderTarget(); }

 private:
  static CapturedDraw Draw(CapturedDraw::Kind kind) {
    CapturedDraw draw;
    draw.kind = kind;
    return draw;
  }
  TextureHandle Keep(TextureHandle made, const Image& image) {
    if (made != TextureHandle::kNone) capture_.images[static_cast<uint32_t>(made)] = image;
    return made;
  }

  std::unique_ptr<Device> real_;
  FrameCapture& capture_;
};

class CapturingSystem final : public GraphicsSystem {
 public:
  CapturingSystem(std::unique_ptr<GraphicsSystem> real, FrameCapture& capture)
      : real_(std::move(real)), capture_(capture) {}

  uint32_t GetAdapterCount() override { return real_->GetAdapterCount(); }
  bool GetAdapterIdentifier(AdapterIdentifier* out) override {
    return real_->GetAdapterIdentifier(out);
  }
  int32_t GetDeviceCaps(DeviceCaps* out) override { return real_->GetDeviceCaps(out); }
  uint32_t GetAdapterModeCount(Format format) override {
    return real_->GetAdapterModeCount(format);
  }
  bool EnumAdapterMode(Format format, uint32_t index, DisplayMode* out) override {
    return real_->EnumAdapterMode(format, index, out);
  }
  bool CheckDeviceType(Format adapterFormat, Format backBufferFormat, bool windowed) override {
    return real_->CheckDeviceType(adapterFormat, backBufferFormat, windowed);
  }
  bool CheckDepthStencilMatch(Format adapterFormat, Format renderTargetFormat,
                              Format depthStencilFormat) override {
    return real_->CheckDepthStencilMatch(adapterFormat, renderTargetFormat, depthStencilFormat);
  }
  bool CheckDeviceMultiSampleType(Format surfaceFormat, bool windowed, int samples) override {
    return real_->CheckDeviceMultiSampleType(surfaceFormat, windowed, samples);
  }
  int32_t CreateDevice(const PresentParameters& parameters, std::unique_ptr<Device>* out) override {
    std::unique_ptr<Device> real;
    const int32_t result = real_->CreateDevice(parameters, &real);
    if (real != nullptr) *out = std::make_unique<CapturingDevice>(std::move(real), capture_);
    return result;
  }

 private:
  std::unique_ptr<GraphicsSystem> real_;
  FrameCapture& capture_;
};

}  // namespace

std::unique_ptr<GraphicsSystem> CaptureGraphicsSystem(std::unique_ptr<GraphicsSystem> real,
                                                      FrameCapture& capture) {
  return std::make_unique<CapturingSystem>(std::move(real), capture);
}

}  // namespace kbh
