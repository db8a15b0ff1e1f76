// The GL state one draw wants, worked out from the Direct3D render states and
// texture-stage states, and the applier that brings GL there. 3D draws take
// every value from the Direct3D states; the 2D helpers start from the same
// translation and override what a sprite, glyph run or line sets for itself.
// Because GL's state is always derived anew, a 2D draw cannot leak its states
// into the next 3D draw.
#pragma once

#include "platform/gpu/device_defaults.hpp"
#include "platform/gpu/gl_api.hpp"

namespace kbh {

struct GlCombine {
  GLenum mode = GL_MODULATE;
  GLenum source[3] = {GL_TEXTURE, GL_PRIMARY_COLOR, GL_CONSTANT};
  GLenum operand[3] = {GL_SRC_COLOR, GL_SRC_COLOR, GL_SRC_ALPHA};
  GLfloat scale = 1.0f;
  bool operator==(const GlCombine&) const = default;
};

struct GlPipeline {
  // Rasteriser and output merger.
  bool depthTest = true;
  bool depthWrite = true;
  GLenum depthFunc = GL_LEQUAL;
  bool cull = true;
  GLenum cullFace = GL_BACK;
  GLenum polygonMode = GL_FILL;
  GLenum shadeModel = GL_SMOOTH;
  bool alphaTest = false;
  GLenum alphaFunc = GL_ALWAYS;
  GLfloat alphaRef = 0.0f;
  bool multisample = true;
  bool colorMask[4] = {true, true, true, true};
  bool blend = false;
  GLenum blendSource = GL_ONE;
  GLenum blendDest = GL_ZERO;
  GLenum blendSourceAlpha = GL_ONE;
  GLenum blendDestAlpha = GL_ZERO;
  GLenum blendOp = GL_FUNC_ADD;
  GLenum blendOpAlpha = GL_FUNC_ADD;
  uint32_t blendFactor = 0xFFFFFFFF;
  bool scissor = false;
  GLint scissorBox[4] = {0, 0, 0, 0};
  bool lighting = false;

  // Texture unit 0: which target is enabled (0 = texturing off), what is
  // bound, how it is sampled, how coordinates are generated, how it combines.
  GLenum textureTarget = 0;
  GLuint texture = 0;
  GLuint sampler = 0;
  GLenum texGen = 0;  // 0, GL_REFLECTION_MAP, GL_NORMAL_MAP or GL_EYE_LINEAR
  GlCombine rgb;
  GlCombine alpha;
  uint32_t textureFactor = 0xFFFFFFFF;

  bool operator==(const GlPipeline&) const = default;
};

// Rasteriser, depth, blending, lighting switch and the combiner of stage 0
// from the Direct3D states. The bound texture is filled in by the caller.
// textureTarget is the kind of texture bound to stage 0 (0 when none): with
// none bound, or with COLOROP DISABLE, the stage passes the diffuse colour
// and alpha through, so texturing is switched off.
GlPipeline PipelineFor(const RenderStateTable& states, const TextureStageTable& stage0,
                       GLenum textureTarget);

// Brings GL from what it last applied to wanted, skipping what is unchanged.
class GlPipelineApplier {
 public:
  explicit GlPipelineApplier(const GlApi& gl) : gl_(gl) {}
  void Apply(const GlPipeline& wanted);
  // After code that changed GL state directly: the next Apply sets all.
  void Invalidate() { known_ = false; }

 private:
  const GlApi& gl_;
  GlPipeline applied_;
  bool known_ = false;
};

// 0xAARRGGBB as four floats 0..1 in GL's RGBA order.
void ColorToFloats(uint32_t argb, GLfloat out[4]);

}  // namespace kbh
