// GlDevice: creation, state, resources, render targets, frames, read-back.
// Drawing lives in gl_device_draw.cpp (meshes) and gl_device_2d.cpp.
#include "platform/gpu/gl_device.hpp"

#include <algorithm>
#include <cmath>

#include "platform/gpu/graphics_system.hpp"

namespace kbh {

namespace {

// Errors from earlier calls must not be taken for the result of the next one.
void DrainGlErrors() {
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
}

int32_t ResultForGlError(GLenum error) {
  return error == GL_OUT_OF_MEMORY ? kD3dErrOutOfVideoMemory : kD3dErrNotAvailable;
}

}  // namespace

GlDevice::GlDevice(std::shared_ptr<GlContext> context, const GlApi& api)
    : context_(std::move(context)), gl_(api), applier_(gl_), renderStates_(DefaultRenderStates()) {
  for (uint32_t stage = 0; stage < kTextureStageCount; ++stage) {
    stageStates_[stage] = DefaultTextureStageStates(stage);
  }
}

std::unique_ptr<GlDevice> GlDevice::Create(std::shared_ptr<GlContext> context, const GlApi& api,
                                           int width, int height, int samples, int32_t* result) {
  if (context == nullptr || !context->MakeCurrent()) {
    *result = kD3dErrDeviceLost;
    return nullptr;
  }
  if (width <= 0 || height <= 0 || width > api.maxRenderbufferSize ||
      height > api.maxRenderbufferSize || samples < 0 || samples > api.maxSamples) {
    *result = kD3dErrInvalidCall;
    return nullptr;
  }
  std::unique_ptr<GlDevice> device(new GlDevice(std::move(context), api));
  *result = device->CreateBackBuffer(width, height, samples);
  if (*result != kD3dOk) return nullptr;
  device->InitialiseGlState();
  return device;
}

int32_t GlDevice::CreateBackBuffer(int width, int height, int samples) {
  DrainGlErrors();
  width_ = width;
  height_ = height;
  targetWidth_ = width;
  targetHeight_ = height;

  gl_.GenFramebuffers(1, &resolveFramebuffer_);
  gl_.GenRenderbuffers(1, &resolveColor_);
  gl_.BindRenderbuffer(GL_RENDERBUFFER, resolveColor_);
  // X8R8G8B8: no alpha channel, so destination alpha reads as 1 as on Direct3D.
  gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
  gl_.BindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
  gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColor_);
  if (samples == 0) {
    gl_.GenRenderbuffers(1, &resolveDepth_);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, resolveDepth_);
    gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                resolveDepth_);
  }
  if (GLenum error = glGetError(); error != GL_NO_ERROR) return ResultForGlError(error);
  if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    return kD3dErrNotAvailable;
  }

  if (samples > 0) {
    gl_.GenFramebuffers(1, &msFramebuffer_);
    gl_.GenRenderbuffers(1, &msColor_);
    gl_.GenRenderbuffers(1, &msDepth_);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, msColor_);
    gl_.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, width, height);
    GLint granted = 0;
    gl_.GetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &granted);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, msDepth_);
    gl_.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width,
                                       height);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, msFramebuffer_);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, msColor_);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                msDepth_);
    if (GLenum error = glGetError(); error != GL_NO_ERROR) return ResultForGlError(error);
    if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      return kD3dErrNotAvailable;
    }
    samples_ = granted;
  }
  gl_.GenFramebuffers(1, &targetFramebuffer_);
  BindCurrentFramebuffer();
  return kD3dOk;
}

void GlDevice::InitialiseGlState() {
  gl_.ClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
  glFrontFace(GL_CW);
  // Flat shading takes the first vertex's colour on Direct3D.
  gl_.ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
  glDisable(GL_DITHER);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  gl_.ActiveTexture(GL_TEXTURE0);
  // Specular is added after texturing, and with lighting off it comes from
  // the secondary colour (only lighting on the CPU supplies one).
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  glEnable(GL_COLOR_SUM);
  gl_.SecondaryColor3f(0.0f, 0.0f, 0.0f);
  // Camera-space positions as texture coordinates: eye planes given while
  // the modelview is the identity.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const GLfloat planeS[4] = {1, 0, 0, 0};
  const GLfloat planeT[4] = {0, 1, 0, 0};
  const GLfloat planeR[4] = {0, 0, 1, 0};
  glTexGenfv(GL_S, GL_EYE_PLANE, planeS);
  glTexGenfv(GL_T, GL_EYE_PLANE, planeT);
  glTexGenfv(GL_R, GL_EYE_PLANE, planeR);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);

  // Direct3D's default sampling for 3D draws; D3DX's sprite samples
  // bilinearly and clamps.
  gl_.GenSamplers(1, &sampler3D_);
  gl_.SamplerParameteri(sampler3D_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl_.SamplerParameteri(sampler3D_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl_.SamplerParameteri(sampler3D_, GL_TEXTURE_WRAP_S, GL_REPEAT);
  gl_.SamplerParameteri(sampler3D_, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gl_.SamplerParameteri(sampler3D_, GL_TEXTURE_WRAP_R, GL_REPEAT);
  gl_.GenSamplers(1, &sampler2D_);
  gl_.SamplerParameteri(sampler2D_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl_.SamplerParameteri(sampler2D_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gl_.SamplerParameteri(sampler2D_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl_.SamplerParameteri(sampler2D_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  gl_.SamplerParameteri(sampler2D_, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);

  glViewport(0, 0, width_, height_);
  glClearColor(0, 0, 0, 1);
  glClearDepth(1.0);
  glClearStencil(0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  applier_.Invalidate();
}

GlDevice::~GlDevice() {
  context_->MakeCurrent();
  for (auto& [handle, texture] : textures_)
    glDeleteTextures(1, &texture.name);
  for (auto& [handle, surface] : surfaces_)
    gl_.DeleteRenderbuffers(1, &surface.renderbuffer);
  for (auto& [handle, mesh] : meshes_) {
    gl_.DeleteBuffers(1, &mesh.vertexBuffer);
    gl_.DeleteBuffers(1, &mesh.indexBuffer);
  }
  const GLuint samplers[2] = {sampler3D_, sampler2D_};
  gl_.DeleteSamplers(2, samplers);
  const GLuint framebuffers[3] = {msFramebuffer_, resolveFramebuffer_, targetFramebuffer_};
  gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
  gl_.DeleteFramebuffers(3, framebuffers);
  const GLuint renderbuffers[4] = {msColor_, msDepth_, resolveColor_, resolveDepth_};
  gl_.DeleteRenderbuffers(4, renderbuffers);
}

// --- State -------------------------------------------------------------------

void GlDevice::SetRenderState(RenderState state, uint32_t value) {
  if (state < kRenderStateCount) renderStates_[state] = value;
}

uint32_t GlDevice::GetRenderState(RenderState state) const {
  return state < kRenderStateCount ? renderStates_[state] : 0;
}

void GlDevice::SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) {
  if (stage < kTextureStageCount && type < kTextureStageStateCount) {
    stageStates_[stage][type] = value;
  }
}

void GlDevice::SetTransform(TransformType type, const Matrix& matrix) {
  switch (type) {
    case TS_VIEW:
      view_ = matrix;
      lightApplied_ = false;  // its position is given in camera space
      break;
    case TS_PROJECTION:
      projection_ = matrix;
      break;
    case TS_WORLD:
      world_ = matrix;
      break;
  }
  transformsApplied_ = false;
}

void GlDevice::SetLight(uint32_t index, const Light& light) {
  // The program has one light; GL's lights past 0 are never used.
  if (index != 0) return;
  light_ = light;
  lightApplied_ = false;
}

void GlDevice::LightEnable(uint32_t index, bool enable) {
  if (index == 0) lightEnabled_ = enable;
}

void GlDevice::SetMaterial(const Material& material) {
  material_ = material;
  materialApplied_ = false;
}

void GlDevice::SetTexture(uint32_t stage, TextureHandle texture) {
  if (stage >= kTextureStageCount) return;
  if (texture != TextureHandle::kNone && FindTexture(texture) == nullptr) return;
  boundTextures_[stage] = texture;
}

// --- Resources ---------------------------------------------------------------

TextureHandle GlDevice::AddTexture(GLuint name, GLenum target, int width, int height,
                                   bool renderable) {
  const uint32_t handle = NewHandle();
  textures_[handle] = Texture{name, target, width, height, renderable};
  return static_cast<TextureHandle>(handle);
}

const GlDevice::Texture* GlDevice::FindTexture(TextureHandle handle) const {
  const auto found = textures_.find(static_cast<uint32_t>(handle));
  return found == textures_.end() ? nullptr : &found->second;
}

TextureHandle GlDevice::CreateTexture(const Image& image) {
  if (image.width <= 0 || image.height <= 0 || image.width > gl_.maxTextureSize ||
      image.height > gl_.maxTextureSize ||
      image.texels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
    return TextureHandle::kNone;
  }
  DrainGlErrors();
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  // 0xAARRGGBB words are B, G, R, A bytes in memory: GL_BGRA with the
  // reversed packed type reads them exactly on any byte order.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_BGRA,
               GL_UNSIGNED_INT_8_8_8_8_REV, image.texels.data());
  applier_.Invalidate();
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &name);
    return TextureHandle::kNone;
  }
  return AddTexture(name, GL_TEXTURE_2D, image.width, image.height, false);
}

TextureHandle GlDevice::CreateMipmappedTexture(const Image& image) {
  const TextureHandle handle = CreateTexture(image);
  const Texture* texture = FindTexture(handle);
  if (texture == nullptr) return handle;
  glBindTexture(GL_TEXTURE_2D, texture->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1000);
  gl_.GenerateMipmap(GL_TEXTURE_2D);
  applier_.Invalidate();
  if (glGetError() != GL_NO_ERROR) {
    ReleaseTexture(handle);
    return TextureHandle::kNone;
  }
  return handle;
}

TextureHandle GlDevice::CreateCubeTexture(const CubeImage& image) {
  const size_t faceTexels = static_cast<size_t>(image.size) * static_cast<size_t>(image.size);
  if (image.size <= 0 || image.size > gl_.maxTextureSize) return TextureHandle::kNone;
  for (const auto& face : image.faces) {
    if (face.size() != faceTexels) return TextureHandle::kNone;
  }
  DrainGlErrors();
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_CUBE_MAP, name);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, 0);
  // DDS order is GL's order (+X, -X, +Y, -Y, +Z, -Z), and each face's rows
  // go in top first: GL's cube face orientation is Direct3D's.
  for (int face = 0; face < 6; ++face) {
    glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, GL_RGBA8,
                 image.size, image.size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 image.faces[face].data());
  }
  applier_.Invalidate();
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &name);
    return TextureHandle::kNone;
  }
  return AddTexture(name, GL_TEXTURE_CUBE_MAP, image.size, image.size, false);
}

TextureHandle GlDevice::CreateRenderTexture(int width, int height) {
  if (width <= 0 || height <= 0 || width > gl_.maxTextureSize || height > gl_.maxTextureSize) {
    return TextureHandle::kNone;
  }
  DrainGlErrors();
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               nullptr);
  applier_.Invalidate();
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &name);
    return TextureHandle::kNone;
  }
  return AddTexture(name, GL_TEXTURE_2D, width, height, true);
}

void GlDevice::ReleaseTexture(TextureHandle texture) {
  const auto found = textures_.find(static_cast<uint32_t>(texture));
  if (found == textures_.end()) return;
  if (renderTarget_ == texture) SetRenderTarget(TextureHandle::kNone, SurfaceHandle::kNone);
  for (TextureHandle& bound : boundTextures_) {
    if (bound == texture) bound = TextureHandle::kNone;
  }
  glDeleteTextures(1, &found->second.name);
  textures_.erase(found);
  applier_.Invalidate();
}

SurfaceHandle GlDevice::CreateDepthSurface(int width, int height) {
  if (width <= 0 || height <= 0 || width > gl_.maxRenderbufferSize ||
      height > gl_.maxRenderbufferSize) {
    return SurfaceHandle::kNone;
  }
  DrainGlErrors();
  GLuint renderbuffer = 0;
  gl_.GenRenderbuffers(1, &renderbuffer);
  gl_.BindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  if (glGetError() != GL_NO_ERROR) {
    gl_.DeleteRenderbuffers(1, &renderbuffer);
    return SurfaceHandle::kNone;
  }
  const uint32_t handle = NewHandle();
  surfaces_[handle] = Surface{renderbuffer, width, height};
  return static_cast<SurfaceHandle>(handle);
}

void GlDevice::ReleaseSurface(SurfaceHandle surface) {
  const auto found = surfaces_.find(static_cast<uint32_t>(surface));
  if (found == surfaces_.end()) return;
  if (depthSurface_ == surface) SetRenderTarget(renderTarget_, SurfaceHandle::kNone);
  gl_.DeleteRenderbuffers(1, &found->second.renderbuffer);
  surfaces_.erase(found);
}

std::vector<GlDevice::SubsetVertices> GlDevice::ListSubsetVertices(const MeshData& data) {
  std::vector<SubsetVertices> lists(data.subsets.size());
  // Which subset last listed each vertex, plus one.
  std::vector<uint32_t> listedBy(data.vertices.size(), 0);
  for (size_t s = 0; s < data.subsets.size(); ++s) {
    const MeshSubset& subset = data.subsets[s];
    SubsetVertices& list = lists[s];
    const size_t first = size_t{subset.firstTriangle} * 3;
    const size_t end = first + size_t{subset.triangleCount} * 3;
    for (size_t i = first; i < end; ++i) {
      const uint32_t index = data.indices[i];
      if (listedBy[index] == s + 1) continue;
      listedBy[index] = static_cast<uint32_t>(s + 1);
      list.indices.push_back(index);
    }
    std::sort(list.indices.begin(), list.indices.end());
    if (!list.indices.empty()) {
      list.lowest = list.indices.front();
      list.highest = list.indices.back();
    }
  }
  return lists;
}

MeshHandle GlDevice::CreateMesh(const MeshData& data) {
  const size_t vertexCount = data.vertices.size();
  if (vertexCount == 0 || data.indices.empty() || data.indices.size() % 3 != 0) {
    return MeshHandle::kNone;
  }
  for (uint32_t index : data.indices) {
    if (index >= vertexCount) return MeshHandle::kNone;
  }
  const size_t triangleCount = data.indices.size() / 3;
  Mesh mesh;
  for (const MeshSubset& subset : data.subsets) {
    if (subset.firstTriangle > triangleCount ||
        subset.triangleCount > triangleCount - subset.firstTriangle) {
      return MeshHandle::kNone;
    }
    // A box's centre and the farthest vertex from it: loose but cheap.
    Vec3 low{1e30f, 1e30f, 1e30f};
    Vec3 high{-1e30f, -1e30f, -1e30f};
    const size_t first = size_t{subset.firstTriangle} * 3;
    const size_t end = first + size_t{subset.triangleCount} * 3;
    for (size_t i = first; i < end; ++i) {
      const Vec3& p = data.vertices[data.indices[i]].position;
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    Sphere sphere;
    if (end > first) {
      sphere.centre = (low + high) * 0.5f;
      for (size_t i = first; i < end; ++i) {
        sphere.radius = std::max(sphere.radius,
                                 Length(data.vertices[data.indices[i]].position - sphere.centre));
      }
    }
    mesh.bounds.push_back(sphere);
  }
  mesh.subsetVertices = ListSubsetVertices(data);

  DrainGlErrors();
  gl_.GenBuffers(1, &mesh.vertexBuffer);
  gl_.GenBuffers(1, &mesh.indexBuffer);
  gl_.BindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
  gl_.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount * sizeof(MeshVertex)),
                 data.vertices.data(), GL_STATIC_DRAW);
  gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
  gl_.BufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(data.indices.size() * sizeof(uint32_t)),
                 data.indices.data(), GL_STATIC_DRAW);
  gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
  gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  if (glGetError() != GL_NO_ERROR) {
    gl_.DeleteBuffers(1, &mesh.vertexBuffer);
    gl_.DeleteBuffers(1, &mesh.indexBuffer);
    return MeshHandle::kNone;
  }
  mesh.vertices = data.vertices;
  mesh.indices = data.indices;
  mesh.subsets = data.subsets;
  const uint32_t handle = NewHandle();
  meshes_[handle] = std::move(mesh);
  return static_cast<MeshHandle>(handle);
}

void GlDevice::ReleaseMesh(MeshHandle handle) {
  const auto found = meshes_.find(static_cast<uint32_t>(handle));
  if (found == meshes_.end()) return;
  gl_.DeleteBuffers(1, &found->second.vertexBuffer);
  gl_.DeleteBuffers(1, &found->second.indexBuffer);
  meshes_.erase(found);
}

// --- Targets and frames ------------------------------------------------------

GLuint GlDevice::CurrentFramebuffer() const {
  if (renderTarget_ != TextureHandle::kNone) return targetFramebuffer_;
  return samples_ > 0 ? msFramebuffer_ : resolveFramebuffer_;
}

void GlDevice::BindCurrentFramebuffer() {
  gl_.BindFramebuffer(GL_FRAMEBUFFER, CurrentFramebuffer());
}

void GlDevice::SetRenderTarget(TextureHandle target, SurfaceHandle depth) {
  const Texture* texture = FindTexture(target);
  if (target != TextureHandle::kNone && (texture == nullptr || !texture->renderable)) return;
  const auto surface = surfaces_.find(static_cast<uint32_t>(depth));
  if (depth != SurfaceHandle::kNone && surface == surfaces_.end()) return;

  renderTarget_ = target;
  depthSurface_ = target == TextureHandle::kNone ? SurfaceHandle::kNone : depth;
  if (texture == nullptr) {
    targetWidth_ = width_;
    targetHeight_ = height_;
    targetComplete_ = true;
  } else {
    targetWidth_ = texture->width;
    targetHeight_ = texture->height;
    gl_.BindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer_);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->name, 0);
    const GLuint renderbuffer =
        depthSurface_ == SurfaceHandle::kNone ? 0 : surface->second.renderbuffer;
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                renderbuffer);
    targetComplete_ = gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }
  BindCurrentFramebuffer();
  glViewport(0, 0, targetWidth_, targetHeight_);
  transformsApplied_ = false;  // the half-pixel offset depends on the size
}

void GlDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
  if (!targetComplete_) return;
  // Direct3D's Clear ignores the write masks and the scissor; GL's honours them.
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthMask(GL_TRUE);
  glStencilMask(0xFFFFFFFF);
  applier_.Invalidate();
  GLbitfield mask = 0;
  if ((flags & kClearTarget) != 0) {
    GLfloat c[4];
    ColorToFloats(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if ((flags & kClearZBuffer) != 0) {
    glClearDepth(std::clamp(z, 0.0f, 1.0f));
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if ((flags & kClearStencil) != 0) {
    glClearStencil(static_cast<GLint>(stencil & 0xFF));
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  if (mask != 0) glClear(mask);
}

void GlDevice::ResolveBackBuffer() {
  if (samples_ == 0) return;
  glDisable(GL_SCISSOR_TEST);  // blits honour the scissor
  applier_.Invalidate();
  gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, msFramebuffer_);
  gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
  gl_.BlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
  BindCurrentFramebuffer();
}

bool GlDevice::Present() {
  ResolveBackBuffer();
  if (!context_->HasWindow()) {
    glFlush();
    return true;
  }
  int windowWidth = 0;
  int windowHeight = 0;
  context_->DrawableSize(&windowWidth, &windowHeight);
  if (windowWidth > 0 && windowHeight > 0) {
    // The largest 4:3 rectangle that fits, centred; the rest stays black.
    const double scale = std::min(static_cast<double>(windowWidth) / width_,
                                  static_cast<double>(windowHeight) / height_);
    const int shownWidth = static_cast<int>(std::lround(width_ * scale));
    const int shownHeight = static_cast<int>(std::lround(height_ * scale));
    const int left = (windowWidth - shownWidth) / 2;
    const int bottom = (windowHeight - shownHeight) / 2;
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    applier_.Invalidate();
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, resolveFramebuffer_);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The window's row 0 is its bottom row; ours is the top: flip in the blit.
    gl_.BlitFramebuffer(0, 0, width_, height_, left, bottom + shownHeight, left + shownWidth,
                        bottom, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    context_->SwapBuffers();
    BindCurrentFramebuffer();
  }
  return true;
}

Image GlDevice::ReadRenderTarget() {
  Image image;
  if (!targetComplete_) return image;
  const bool backBuffer = renderTarget_ == TextureHandle::kNone;
  if (backBuffer) ResolveBackBuffer();
  image.width = targetWidth_;
  image.height = targetHeight_;
  image.sourceFormat = backBuffer ? FMT_X8R8G8B8 : FMT_A8R8G8B8;
  image.texels.resize(static_cast<size_t>(targetWidth_) * static_cast<size_t>(targetHeight_));
  gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer ? resolveFramebuffer_ : targetFramebuffer_);
  // Row 0 is the top row (clip origin upper left): no flip.
  glReadPixels(0, 0, targetWidth_, targetHeight_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               image.texels.data());
  BindCurrentFramebuffer();
  return image;
}

}  // namespace kbh
