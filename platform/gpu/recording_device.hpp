// The fake beside GlDevice: a device that draws nothing but records every call
// it receives and keeps its state as a real device would, so that GetRenderState
// answers, handles name resources with sizes, and tests can ask "was state X
// sent with value Y, and how often". RecordingSystem is the matching fake
// graphics system whose answers a test sets to stand for any machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/gpu/device.hpp"
#include "platform/gpu/device_defaults.hpp"
#include "platform/gpu/graphics_system.hpp"

namespace kbh {

enum class DeviceCallKind {
  kSetRenderState,
  kSetTextureStageState,
  kSetTransform,
  kSetLight,
  kLightEnable,
  kSetMaterial,
  kSetTexture,
  kCreateTexture,
  kCreateMipmappedTexture,
  kCreateCubeTexture,
  kCreateRenderTexture,
  kReleaseTexture,
  kCreateDepthSurface,
  kReleaseSurface,
  kCreateMesh,
  kReleaseMesh,
  kSetRenderTarget,
  kClear,
  kBeginScene,
  kEndScene,
  kPresent,
  kDrawSubset,
  kDrawSprite,
  kDrawGlyphs,
  kDrawLine,
  kReadRenderTarget,
  kCount,
};

// One call with its integer arguments: for SetRenderState (state, value), for
// SetTextureStageState (stage, type, value), SetTexture (stage, handle),
// SetTransform (type), LightEnable (index, enable), Create* (handle, width,
// height), Release* (handle), SetRenderTarget (target, depth), Clear (flags,
// colour, stencil), DrawSubset (mesh, subset), DrawGlyphs (atlas, quad count,
// colour). The full records of sprites, lines and materials are kept apart.
struct DeviceCall {
  DeviceCallKind kind;
  uint32_t a = 0;
  uint32_t b = 0;
  uint32_t c = 0;
};

struct RecordedLine {
  Vec2 from;
  Vec2 to;
  float width = 0.0f;
  uint32_t color = 0;
};

class RecordingDevice : public Device {
 public:
  explicit RecordingDevice(int backBufferWidth = 1024, int backBufferHeight = 768);

  // --- What a test asks -------------------------------------------------------
  const std::vector<DeviceCall>& Calls() const { return calls_; }
  size_t Count(DeviceCallKind kind) const;
  // Every value sent for state, in order.
  std::vector<uint32_t> RenderStateValuesSent(RenderState state) const;
  // Forgets the calls so far (not the state).
  void ClearCalls();

  uint32_t GetTextureStageState(uint32_t stage, TextureStageState type) const;
  TextureHandle BoundTexture(uint32_t stage) const;
  const Matrix& Transform(TransformType type) const;
  const Material& CurrentMaterial() const { return material_; }
  const Light& CurrentLight() const { return light_; }
  bool IsLightEnabled() const { return lightEnabled_; }
  const std::vector<SpriteDraw>& Sprites() const { return sprites_; }
  const std::vector<RecordedLine>& Lines() const { return lines_; }
  const std::vector<Material>& MaterialsSent() const { return materials_; }
  // Resources still alive.
  size_t LiveTextures() const { return textures_.size(); }
  size_t LiveSurfaces() const { return surfaces_.size(); }
  size_t LiveMeshes() const { return meshes_.size(); }
  // The size a texture was made with; false for an unknown handle.
  bool TextureSize(TextureHandle texture, int* width, int* height) const;

  // --- What a test makes happen ----------------------------------------------
  // The next Create* call fails (returns None), as when memory runs out.
  void FailNextCreate() { failNextCreate_ = true; }
  void SetBackBufferSamples(int samples) { samples_ = samples; }

  // --- Device -----------------------------------------------------------------
  void SetRenderState(RenderState state, uint32_t value) override;
  uint32_t GetRenderState(RenderState state) const override;
  void SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) override;
  void SetTransform(TransformType type, const Matrix& matrix) override;
  void SetLight(uint32_t index, const Light& light) override;
  void LightEnable(uint32_t index, bool enable) override;
  void SetMaterial(const Material& material) override;
  void SetTexture(uint32_t stage, TextureHandle texture) override;
  TextureHandle CreateTexture(const Image& image) override;
  TextureHandle CreateMipmappedTexture(const Image& image) override;
  TextureHandle CreateCubeTexture(const CubeImage& image) override;
  TextureHandle CreateRenderTexture(int width, int height) override;
  void ReleaseTexture(TextureHandle texture) override;
  SurfaceHandle CreateDepthSurface(int width, int height) override;
  void ReleaseSurface(SurfaceHandle surface) override;
  MeshHandle CreateMesh(const MeshData& mesh) override;
  void ReleaseMesh(MeshHandle mesh) override;
  void SetRenderTarget(TextureHandle target, SurfaceHandle depth) override;
  TextureHandle GetRenderTarget() const override { return renderTarget_; }
  SurfaceHandle GetDepthSurface() const override { return depthSurface_; }
  void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;
  void BeginScene() override;
  void EndScene() override;
  bool Present() override;
  int BackBufferSamples() const override { return samples_; }
  void DrawSubset(MeshHandle mesh, uint32_t subset) override;
  void DrawSprite(const SpriteDraw& sprite) override;
  void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                  const PixelRect* clip) override;
  void DrawLine(Vec2 from, Vec2 to, float width, uint32_t color) override;
  // A blank (transparent black) image of the current target's size.
  Image ReadRenderTarget() override;

 private:
  struct Size {
    int width = 0;
    int height = 0;
  };
  void Record(DeviceCallKind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);
  TextureHandle AddTexture(DeviceCallKind kind, int width, int height);

  std::vector<DeviceCall> calls_;
  RenderStateTable renderStates_;
  std::array<TextureStageTable, kTextureStageCount> stageStates_;
  std::array<TextureHandle, kTextureStageCount> boundTextures_{};
  Matrix world_ = MatrixIdentity();
  Matrix view_ = MatrixIdentity();
  Matrix projection_ = MatrixIdentity();
  Light light_;
  bool lightEnabled_ = false;
  Material material_;
  std::vector<SpriteDraw> sprites_;
  std::vector<RecordedLine> lines_;
  std::vector<Material> materials_;
  std::map<uint32_t, Size> textures_;
  std::map<uint32_t, Size> surfaces_;
  std::map<uint32_t, size_t> meshes_;  // handle -> subset count
  uint32_t nextHandle_ = 1;
  Size backBuffer_;
  TextureHandle renderTarget_ = TextureHandle::kNone;
  SurfaceHandle depthSurface_ = SurfaceHandle::kNone;
  bool failNextCreate_ = false;
  int samples_ = 0;
};

// A graphics system whose answers are plain fields; by default it is a machine
// on which everything succeeds. CreateDevice makes a RecordingDevice and keeps
// a pointer to it (owned by the caller) and the parameters it was given.
class RecordingSystem : public GraphicsSystem {
 public:
  uint32_t adapterCount = 1;
  bool identifierAvailable = true;
  AdapterIdentifier identifier{"Recording adapter", "recording driver 1.0"};
  int32_t capsResult = kD3dOk;
  uint32_t presentationIntervals = kPresentIntervalImmediate | kPresentIntervalOne;
  std::vector<DisplayMode> modes{{1024, 768, 60, FMT_X8R8G8B8}};
  bool deviceTypeSupported = true;
  bool depthStencilSupported = true;
  bool multisampleSupported = true;
  int32_t createResult = kD3dOk;

  RecordingDevice* lastDevice = nullptr;
  PresentParameters lastParameters;
  int createCount = 0;

  uint32_t GetAdapterCount() override { return adapterCount; }
  bool GetAdapterIdentifier(AdapterIdentifier* out) override;
  int32_t GetDeviceCaps(DeviceCaps* out) override;
  uint32_t GetAdapterModeCount(Format format) override;
  bool EnumAdapterMode(Format format, uint32_t index, DisplayMode* out) override;
  bool CheckDeviceType(Format, Format, bool) override { return deviceTypeSupported; }
  bool CheckDepthStencilMatch(Format, Format, Format) override { return depthStencilSupported; }
  bool CheckDeviceMultiSampleType(Format, bool, int) override { return multisampleSupported; }
  int32_t CreateDevice(const PresentParameters& parameters, std::unique_ptr<Device>* out) override;
};

}  // namespace kbh
