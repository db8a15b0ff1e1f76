// The device: a Direct3D-9-shaped state machine that the graphics module
// drives. Render states and texture-stage states are addressed by their
// Direct3D numbers and keep their Direct3D meaning; transforms are Direct3D
// matrices (row vectors, left-handed, depth 0..1). Two backends implement it:
// GlDevice on OpenGL (windowed or headless) and RecordingDevice, which only
// records the calls, for tests that need no GPU.
//
// Resources are named by handles; handle value 0 means "none". The device
// owns what the handles name and frees it on Release* or when it is destroyed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gpu/d3d_types.hpp"
#include "platform/image/image.hpp"
#include "platform/math/math.hpp"
#include "platform/mesh/mesh_data.hpp"

namespace kbh {

enum class TextureHandle : uint32_t { kNone = 0 };
enum class SurfaceHandle : uint32_t { kNone = 0 };
enum class MeshHandle : uint32_t { kNone = 0 };

// A screen-space rectangle in back-buffer pixels, right and bottom exclusive.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// One textured quad of 2D text: where it goes on screen and which part of the
// glyph atlas it shows (texel coordinates).
struct GlyphQuad {
  float x0, y0, x1, y1;
  float u0, v0, u1, v1;
};

// A picture drawn the way an ID3DXSprite draws it: the texture at its own size,
// moved by position and then by transform (2D, in pixels), tinted by colour.
struct SpriteDraw {
  TextureHandle texture = TextureHandle::kNone;
  Matrix transform = MatrixIdentity();
  Vec3 position;
  bool alphaBlend = false;
  uint32_t color = 0xFFFFFFFF;
};

class Device {
 public:
  virtual ~Device() = default;

  // --- State -----------------------------------------------------------------
  // A new device holds Direct3D 9's defaults for every state.
  // States past the table (kRenderStateCount) are ignored and read as 0.
  virtual void SetRenderState(RenderState state, uint32_t value) = 0;
  virtual uint32_t GetRenderState(RenderState state) const = 0;
  virtual void SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) = 0;
  virtual void SetTransform(TransformType type, const Matrix& matrix) = 0;
  // One light, index 0, as the program uses; other indices are ignored.
  virtual void SetLight(uint32_t index, const Light& light) = 0;
  virtual void LightEnable(uint32_t index, bool enable) = 0;
  virtual void SetMaterial(const Material& material) = 0;
  // Binds a 2D or cube texture, or unbinds with TextureHandle::kNone.
  virtual void SetTexture(uint32_t stage, TextureHandle texture) = 0;

  // --- Resources -------------------------------------------------------------
  // Each Create* returns the None handle when the resource cannot be made (a
  // size of 0 or past the driver's limit, no memory left).
  // Level 0 only, at the image's exact size.
  virtual TextureHandle CreateTexture(const Image& image) = 0;
  // A full mip chain, as the models' own textures get.
  virtual TextureHandle CreateMipmappedTexture(const Image& image) = 0;
  virtual TextureHandle CreateCubeTexture(const CubeImage& image) = 0;
  // An A8R8G8B8 texture that can be rendered into. It is not multisampled.
  virtual TextureHandle CreateRenderTexture(int width, int height) = 0;
  virtual void ReleaseTexture(TextureHandle texture) = 0;
  virtual SurfaceHandle CreateDepthSurface(int width, int height) = 0;
  virtual void ReleaseSurface(SurfaceHandle surface) = 0;
  virtual MeshHandle CreateMesh(const MeshData& mesh) = 0;
  virtual void ReleaseMesh(MeshHandle mesh) = 0;

  // --- Targets and frames ----------------------------------------------------
  // TextureHandle::kNone is the back buffer, SurfaceHandle::kNone its own depth
  // buffer; a render texture with SurfaceHandle::kNone renders without depth.
  // Setting a target also resets the viewport to the whole target.
  virtual void SetRenderTarget(TextureHandle target, SurfaceHandle depth) = 0;
  virtual TextureHandle GetRenderTarget() const = 0;
  virtual SurfaceHandle GetDepthSurface() const = 0;
  virtual void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;
  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  // Shows the back buffer (scaled into the window, or nowhere when headless).
  virtual bool Present() = 0;
  // Samples per pixel of the back buffer: 0 when it is not multisampled. A
  // driver may give more samples than were asked for.
  virtual int BackBufferSamples() const { return 0; }

  // --- Drawing ---------------------------------------------------------------
  // Draws one subset of a mesh with the current states, transforms, light,
  // material and texture stage 0. Stage 0 samples as a Direct3D device does
  // by default: nearest texel, no mip levels, wrapping coordinates.
  virtual void DrawSubset(MeshHandle mesh, uint32_t subset) = 0;
  // 2D helpers standing in for D3DX's sprite, font and line objects. Like
  // those, they set the states they need themselves (solid fill, no culling,
  // no lighting, bilinear sampling clamped at the edges) and leave the
  // device's states as they found them; the depth test and multisampling
  // follow the current render states. Coordinates are pixels of the current
  // target, y down; a texel lands exactly on a pixel at integer positions.
  virtual void DrawSprite(const SpriteDraw& sprite) = 0;
  // Quads of a glyph atlas whose alpha is the coverage (its colour channels are
  // not used): colour's RGB with colour's alpha times coverage, alpha-blended,
  // clipped to clip when it is given.
  virtual void DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                          const PixelRect* clip) = 0;
  // An antialiased, alpha-blended line of the given width between two points in
  // pixels, with square-cut ends.
  virtual void DrawLine(Vec2 from, Vec2 to, float width, uint32_t color) = 0;

  // --- Read-back -------------------------------------------------------------
  // The current render target 0 as 0xAARRGGBB texels, rows top first. The back
  // buffer has no alpha channel (X8R8G8B8) and reads as opaque.
  virtual Image ReadRenderTarget() = 0;
};

}  // namespace kbh
