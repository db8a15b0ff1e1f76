// GlDevice: the Direct3D-9-shaped device on an OpenGL compatibility context.
//
// How Direct3D's conventions are kept:
// - The back buffer is a framebuffer object of its own (X8R8G8B8 as GL_RGB8,
//   with a D24S8 depth buffer), multisampled when asked; presenting resolves
//   it 1:1 and then blits it scaled, letterboxed and upright into the window.
// - Clip control is (GL_UPPER_LEFT, GL_ZERO_TO_ONE): Direct3D's projection
//   matrices work unchanged, and row 0 of every framebuffer and texture is the
//   top row, just as in Direct3D. Pictures upload top row first, render
//   textures come out top row first, and reading back needs no flip. The
//   origin also negates GL's facing test, so glFrontFace(GL_CW) still means
//   clockwise as seen on screen: Direct3D's front faces.
// - Matrices load as they are (see platform/math); the light's position is
//   given with the view matrix on the modelview stack.
// - Lighting is GL's fixed-function lighting, which is Direct3D's formula
//   except that GL lights have no range and GL's specular exponent stops at
//   128: a mesh that lies wholly outside the range is drawn with the light
//   off, and one that straddles it, or whose material asks for a narrower
//   highlight than GL can draw, is lit on the CPU (d3d_lighting.hpp), vertex
//   by vertex, with the range and the exponent honoured.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/gpu/d3d_lighting.hpp"
#include "platform/gpu/device.hpp"
#include "platform/gpu/device_defaults.hpp"
#include "platform/gpu/gl_api.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_pipeline.hpp"

namespace kbh {

class GlDevice final : public Device {
 public:
  // Creates the back buffer of width x height with samples (0 = none; the
  // driver may round up). Null with *result set to a Direct3D error code
  // when the context is lost, the size is invalid, memory runs out or the
  // framebuffer cannot be made.
  static std::unique_ptr<GlDevice> Create(std::shared_ptr<GlContext> context, const GlApi& api,
                                          int width, int height, int samples, int32_t* result);
  ~GlDevice() override;
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;

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
  void BeginScene() override {}
  void EndScene() override {}
  bool Present() override;
  int BackBufferSamples() const override { return samples_; }

  void DrawSubset(MeshHandle mesh, uint32_t subset) override;
  void DrawSprite(const SpriteDraw& sprite) override;
  void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                  const PixelRect* clip) override;
  void DrawLine(Vec2 from, Vec2 to, float width, uint32_t color) override;
  Image ReadRenderTarget() override;

 private:
  struct Texture {
    GLuint name = 0;
    GLenum target = GL_TEXTURE_2D;
    int width = 0;
    int height = 0;
    bool renderable = false;
  };
  struct Surface {
    GLuint renderbuffer = 0;
    int width = 0;
    int height = 0;
  };
  struct Sphere {
    Vec3 centre;
    float radius = 0.0f;
  };
  // The vertices a subset's triangles use, each once, in ascending order:
  // what lighting on the CPU must light for that subset.
  struct SubsetVertices {
    std::vector<uint32_t> indices;
    uint32_t lowest = 0;
    uint32_t highest = 0;
  };
  struct Mesh {
    GLuint vertexBuffer = 0;
    GLuint indexBuffer = 0;
    std::vector<MeshVertex> vertices;  // kept for lighting on the CPU
    std::vector<uint32_t> indices;
    std::vector<MeshSubset> subsets;
    std::vector<Sphere> bounds;  // one per subset, model space
    std::vector<SubsetVertices> subsetVertices;
  };
  enum class LightPath { kGlLight, kLightOff, kCpu };

  GlDevice(std::shared_ptr<GlContext> context, const GlApi& api);
  int32_t CreateBackBuffer(int width, int height, int samples);
  void InitialiseGlState();

  uint32_t NewHandle() { return nextHandle_++; }
  TextureHandle AddTexture(GLuint name, GLenum target, int width, int height, bool renderable);
  const Texture* FindTexture(TextureHandle handle) const;
  GLuint CurrentFramebuffer() const;
  void BindCurrentFramebuffer();
  void ResolveBackBuffer();

  // 3D drawing.
  GlPipeline Pipeline3D() const;
  LightingSetup CurrentLightingSetup() const;
  static std::vector<SubsetVertices> ListSubsetVertices(const MeshData& data);
  bool HighlightBeyondGl() const;
  LightPath ChooseLightPath(const Mesh& mesh, uint32_t subset, const Matrix& worldView) const;
  void ApplyTransforms3D();
  void ApplyLightAndMaterial(bool lightOn);
  void DrawLitOnCpu(const Mesh& mesh, uint32_t subsetIndex, const Matrix& worldView);

  // 2D drawing.
  GlPipeline Pipeline2D(bool blend) const;
  void LoadPixelTransforms(const Matrix& modelView);

  std::shared_ptr<GlContext> context_;
  GlApi gl_;
  GlPipelineApplier applier_;

  // Back buffer: rendered into renderFramebuffer (the multisampled one when
  // samples_ > 0), resolved into resolveFramebuffer.
  int width_ = 0;
  int height_ = 0;
  int samples_ = 0;
  GLuint msFramebuffer_ = 0;
  GLuint msColor_ = 0;
  GLuint msDepth_ = 0;
  GLuint resolveFramebuffer_ = 0;
  GLuint resolveColor_ = 0;
  GLuint resolveDepth_ = 0;
  // Render textures are drawn into through this one, re-attached per target.
  GLuint targetFramebuffer_ = 0;
  GLuint sampler3D_ = 0;
  GLuint sampler2D_ = 0;

  TextureHandle renderTarget_ = TextureHandle::kNone;
  SurfaceHandle depthSurface_ = SurfaceHandle::kNone;
  int targetWidth_ = 0;
  int targetHeight_ = 0;
  bool targetComplete_ = true;

  RenderStateTable renderStates_;
  std::array<TextureStageTable, kTextureStageCount> stageStates_;
  std::array<TextureHandle, kTextureStageCount> boundTextures_{};
  Matrix world_ = MatrixIdentity();
  Matrix view_ = MatrixIdentity();
  Matrix projection_ = MatrixIdentity();
  Light light_;
  bool lightEnabled_ = false;
  Material material_;

  // What GL holds of the above, so unchanged values are not sent again.
  bool transformsApplied_ = false;
  bool lightApplied_ = false;
  bool materialApplied_ = false;
  bool glLightOn_ = false;
  bool appliedSpecularEnable_ = false;
  uint32_t appliedAmbient_ = 0;
  uint32_t appliedLocalViewer_ = 1;
  uint32_t appliedNormalize_ = 0;
  bool lightModelApplied_ = false;

  std::unordered_map<uint32_t, Texture> textures_;
  std::unordered_map<uint32_t, Surface> surfaces_;
  std::unordered_map<uint32_t, Mesh> meshes_;
  uint32_t nextHandle_ = 1;
  // Scratch for lighting on the CPU, reused between draws.
  std::vector<GLfloat> cpuDiffuse_;
  std::vector<GLfloat> cpuSpecular_;
};

}  // namespace kbh
