#include "platform/gpu/recording_device.hpp"

#include <algorithm>
#include <bit>
#include <utility>

namespace kbh {

RecordingDevice::RecordingDevice(int backBufferWidth, int backBufferHeight)
    : renderStates_(DefaultRenderStates()), backBuffer_{backBufferWidth, backBufferHeight} {
  for (uint32_t stage = 0; stage < kTextureStageCount; ++stage) {
    stageStates_[stage] = DefaultTextureStageStates(stage);
  }
}

void RecordingDevice::Record(DeviceCallKind kind, uint32_t a, uint32_t b, uint32_t c) {
  calls_.push_back(DeviceCall{kind, a, b, c});
}

size_t RecordingDevice::Count(DeviceCallKind kind) const {
  return static_cast<size_t>(std::count_if(calls_.begin(), calls_.end(),
                                           [kind](const DeviceCall& c) { return c.kind == kind; }));
}

std::vector<uint32_t> RecordingDevice::RenderStateValuesSent(RenderState state) const {
  std::vector<uint32_t> values;
  for (const DeviceCall& call : calls_) {
    if (call.kind == DeviceCallKind::kSetRenderState && call.a == state) values.push_back(call.b);
  }
  return values;
}

void RecordingDevice::ClearCalls() {
  calls_.clear();
  sprites_.clear();
  lines_.clear();
  materials_.clear();
}

uint32_t RecordingDevice::GetTextureStageState(uint32_t stage, TextureStageState type) const {
  if (stage >= kTextureStageCount || type >= kTextureStageStateCount) return 0;
  return stageStates_[stage][type];
}

TextureHandle RecordingDevice::BoundTexture(uint32_t stage) const {
  return stage < kTextureStageCount ? boundTextures_[stage] : TextureHandle::kNone;
}

const Matrix& RecordingDevice::Transform(TransformType type) const {
  switch (type) {
    case TS_VIEW:
      return view_;
    case TS_PROJECTION:
      return projection_;
    case TS_WORLD:
      break;
  }
  return world_;
}

bool RecordingDevice::TextureSize(TextureHandle texture, int* width, int* height) const {
  const auto found = textures_.find(static_cast<uint32_t>(texture));
  if (found == textures_.end()) return false;
  *width = found->second.width;
  *height = found->second.height;
  return true;
}

void RecordingDevice::SetRenderState(RenderState state, uint32_t value) {
  Record(DeviceCallKind::kSetRenderState, state, value);
  if (state < kRenderStateCount) renderStates_[state] = value;
}

uint32_t RecordingDevice::GetRenderState(RenderState state) const {
  return state < kRenderStateCount ? renderStates_[state] : 0;
}

void RecordingDevice::SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) {
  Record(DeviceCallKind::kSetTextureStageState, stage, type, value);
  if (stage < kTextureStageCount && type < kTextureStageStateCount) {
    stageStates_[stage][type] = value;
  }
}

void RecordingDevice::SetTransform(TransformType type, const Matrix& matrix) {
  Record(DeviceCallKind::kSetTransform, type);
  switch (type) {
    case TS_VIEW:
      view_ = matrix;
      break;
    case TS_PROJECTION:
      projection_ = matrix;
      break;
    case TS_WORLD:
      world_ = matrix;
      break;
  }
}

void RecordingDevice::SetLight(uint32_t index, const Light& light) {
  Record(DeviceCallKind::kSetLight, index);
  if (index == 0) light_ = light;
}

void RecordingDevice::LightEnable(uint32_t index, bool enable) {
  Record(DeviceCallKind::kLightEnable, index, enable ? 1 : 0);
  if (index == 0) lightEnabled_ = enable;
}

void RecordingDevice::SetMaterial(const Material& material) {
  Record(DeviceCallKind::kSetMaterial);
  material_ = material;
  materials_.push_back(material);
}

void RecordingDevice::SetTexture(uint32_t stage, TextureHandle texture) {
  Record(DeviceCallKind::kSetTexture, stage, static_cast<uint32_t>(texture));
  if (stage < kTextureStageCount) boundTextures_[stage] = texture;
}

TextureHandle RecordingDevice::AddTexture(DeviceCallKind kind, int width, int height) {
  TextureHandle handle = TextureHandle::kNone;
  if (!std::exchange(failNextCreate_, false) && width > 0 && height > 0) {
    handle = static_cast<TextureHandle>(nextHandle_++);
    textures_[static_cast<uint32_t>(handle)] = Size{width, height};
  }
  Record(kind, static_cast<uint32_t>(handle), static_cast<uint32_t>(width),
         static_cast<uint32_t>(height));
  return handle;
}

TextureHandle RecordingDevice::CreateTexture(const Image& image) {
  return AddTexture(DeviceCallKind::kCreateTexture, image.width, image.height);
}

TextureHandle RecordingDevice::CreateMipmappedTexture(const Image& image) {
  return AddTexture(DeviceCallKind::kCreateMipmappedTexture, image.width, image.height);
}

TextureHandle RecordingDevice::CreateCubeTexture(const CubeImage& image) {
  return AddTexture(DeviceCallKind::kCreateCubeTexture, image.size, image.size);
}

TextureHandle RecordingDevice::CreateRenderTexture(int width, int height) {
  return AddTexture(DeviceCallKind::kCreateRenderTexture, width, height);
}

void RecordingDevice::ReleaseTexture(TextureHandle texture) {
  Record(DeviceCallKind::kReleaseTexture, static_cast<uint32_t>(texture));
  textures_.erase(static_cast<uint32_t>(texture));
  for (TextureHandle& bound : boundTextures_) {
    if (bound == texture) bound = TextureHandle::kNone;
  }
  if (renderTarget_ == texture) renderTarget_ = TextureHandle::kNone;
}

SurfaceHandle RecordingDevice::CreateDepthSurface(int width, int height) {
  SurfaceHandle handle = SurfaceHandle::kNone;
  if (!std::exchange(failNextCreate_, false) && width > 0 && height > 0) {
    handle = static_cast<SurfaceHandle>(nextHandle_++);
    surfaces_[static_cast<uint32_t>(handle)] = Size{width, height};
  }
  Record(DeviceCallKind::kCreateDepthSurface, static_cast<uint32_t>(handle),
         static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  return handle;
}

void RecordingDevice::ReleaseSurface(SurfaceHandle surface) {
  Record(DeviceCallKind::kReleaseSurface, static_cast<uint32_t>(surface));
  surfaces_.erase(static_cast<uint32_t>(surface));
  if (depthSurface_ == surface) depthSurface_ = SurfaceHandle::kNone;
}

MeshHandle RecordingDevice::CreateMesh(const MeshData& mesh) {
  MeshHandle handle = MeshHandle::kNone;
  if (!std::exchange(failNextCreate_, false) && !mesh.vertices.empty()) {
    handle = static_cast<MeshHandle>(nextHandle_++);
    meshes_[static_cast<uint32_t>(handle)] = mesh.subsets.size();
  }
  Record(DeviceCallKind::kCreateMesh, static_cast<uint32_t>(handle));
  return handle;
}

void RecordingDevice::ReleaseMesh(MeshHandle mesh) {
  Record(DeviceCallKind::kReleaseMesh, static_cast<uint32_t>(mesh));
  meshes_.erase(static_cast<uint32_t>(mesh));
}

void RecordingDevice::SetRenderTarget(TextureHandle target, SurfaceHandle depth) {
  Record(DeviceCallKind::kSetRenderTarget, static_cast<uint32_t>(target),
         static_cast<uint32_t>(depth));
  renderTarget_ = target;
  depthSurface_ = depth;
}

void RecordingDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
  (void)z;
  Record(DeviceCallKind::kClear, flags, color, stencil);
}

void RecordingDevice::BeginScene() {
  Record(DeviceCallKind::kBeginScene);
}

void RecordingDevice::EndScene() {
  Record(DeviceCallKind::kEndScene);
}

bool RecordingDevice::Present() {
  Record(DeviceCallKind::kPresent);
  return true;
}

void RecordingDevice::DrawSubset(MeshHandle mesh, uint32_t subset) {
  Record(DeviceCallKind::kDrawSubset, static_cast<uint32_t>(mesh), subset);
}

void RecordingDevice::DrawSprite(const SpriteDraw& sprite) {
  Record(DeviceCallKind::kDrawSprite, static_cast<uint32_t>(sprite.texture));
  sprites_.push_back(sprite);
}

void RecordingDevice::DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads,
                                 uint32_t color, const PixelRect* clip) {
  (void)clip;
  Record(DeviceCallKind::kDrawGlyphs, static_cast<uint32_t>(atlas),
         static_cast<uint32_t>(quads.size()), color);
}

void RecordingDevice::DrawLine(Vec2 from, Vec2 to, float width, uint32_t color) {
  Record(DeviceCallKind::kDrawLine, std::bit_cast<uint32_t>(width), color);
  lines_.push_back(RecordedLine{from, to, width, color});
}

Image RecordingDevice::ReadRenderTarget() {
  Record(DeviceCallKind::kReadRenderTarget, static_cast<uint32_t>(renderTarget_));
  Size size = backBuffer_;
  if (renderTarget_ != TextureHandle::kNone) {
    const auto found = textures_.find(static_cast<uint32_t>(renderTarget_));
    size = found != textures_.end() ? found->second : Size{};
  }
  Image image;
  image.width = size.width;
  image.height = size.height;
  image.sourceFormat = renderTarget_ == TextureHandle::kNone ? FMT_X8R8G8B8 : FMT_A8R8G8B8;
  image.texels.assign(static_cast<size_t>(size.width) * static_cast<size_t>(size.height), 0u);
  return image;
}

bool RecordingSystem::GetAdapterIdentifier(AdapterIdentifier* out) {
  if (!identifierAvailable) return false;
  *out = identifier;
  return true;
}

int32_t RecordingSystem::GetDeviceCaps(DeviceCaps* out) {
  out->presentationIntervals = presentationIntervals;
  return capsResult;
}

uint32_t RecordingSystem::GetAdapterModeCount(Format format) {
  return static_cast<uint32_t>(std::count_if(
      modes.begin(), modes.end(), [format](const DisplayMode& m) { return m.format == format; }));
}

bool RecordingSystem::EnumAdapterMode(Format format, uint32_t index, DisplayMode* out) {
  for (const DisplayMode& mode : modes) {
    if (mode.format != format) continue;
    if (index == 0) {
      *out = mode;
      return true;
    }
    --index;
  }
  return false;
}

int32_t RecordingSystem::CreateDevice(const PresentParameters& parameters,
                                      std::unique_ptr<Device>* out) {
  ++createCount;
  lastParameters = parameters;
  if (createResult != kD3dOk) return createResult;
  auto device =
      std::make_unique<RecordingDevice>(parameters.backBufferWidth, parameters.backBufferHeight);
  device->SetBackBufferSamples(parameters.multiSampleType);
  lastDevice = device.get();
  *out = std::move(device);
  return kD3dOk;
}

}  // namespace kbh
