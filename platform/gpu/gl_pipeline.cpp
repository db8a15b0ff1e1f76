#include "platform/gpu/gl_pipeline.hpp"

namespace kbh {

namespace {

GLenum CompareFunction(uint32_t cmp) {
  switch (cmp) {
    case CMP_NEVER:
      return GL_NEVER;
    case CMP_LESS:
      return GL_LESS;
    case CMP_EQUAL:
      return GL_EQUAL;
    case CMP_LESSEQUAL:
      return GL_LEQUAL;
    case CMP_GREATER:
      return GL_GREATER;
    case CMP_NOTEQUAL:
      return GL_NOTEQUAL;
    case CMP_GREATEREQUAL:
      return GL_GEQUAL;
    default:
      return GL_ALWAYS;
  }
}

GLenum BlendFactor(uint32_t blend) {
  switch (blend) {
    case BLEND_ZERO:
      return GL_ZERO;
    case BLEND_SRCCOLOR:
      return GL_SRC_COLOR;
    case BLEND_INVSRCCOLOR:
      return GL_ONE_MINUS_SRC_COLOR;
    case BLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case BLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    case BLEND_DESTALPHA:
      return GL_DST_ALPHA;
    case BLEND_INVDESTALPHA:
      return GL_ONE_MINUS_DST_ALPHA;
    case BLEND_DESTCOLOR:
      return GL_DST_COLOR;
    case BLEND_INVDESTCOLOR:
      return GL_ONE_MINUS_DST_COLOR;
    case BLEND_SRCALPHASAT:
      return GL_SRC_ALPHA_SATURATE;
    case BLEND_BLENDFACTOR:
      return GL_CONSTANT_COLOR;
    case BLEND_INVBLENDFACTOR:
      return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
      return GL_ONE;
  }
}

// Direct3D's BOTH* source factors also decide the destination factor.
void BlendPair(uint32_t source, uint32_t dest, GLenum* glSource, GLenum* glDest) {
  if (source == BLEND_BOTHSRCALPHA) {
    *glSource = GL_SRC_ALPHA;
    *glDest = GL_ONE_MINUS_SRC_ALPHA;
  } else if (source == BLEND_BOTHINVSRCALPHA) {
    *glSource = GL_ONE_MINUS_SRC_ALPHA;
    *glDest = GL_SRC_ALPHA;
  } else {
    *glSource = BlendFactor(source);
    *glDest = BlendFactor(dest);
  }
}

GLenum BlendEquation(uint32_t op) {
  switch (op) {
    case BLENDOP_SUBTRACT:
      return GL_FUNC_SUBTRACT;
    case BLENDOP_REVSUBTRACT:
      return GL_FUNC_REVERSE_SUBTRACT;
    case BLENDOP_MIN:
      return GL_MIN;
    case BLENDOP_MAX:
      return GL_MAX;
    default:
      return GL_FUNC_ADD;
  }
}

// At stage 0 "current" is the diffuse colour. GL's combiner cannot read the
// specular colour, which is added after texturing anyway; diffuse stands in.
GLenum CombineSource(uint32_t argument) {
  switch (argument & TA_SELECTMASK) {
    case TA_TEXTURE:
      return GL_TEXTURE;
    case TA_TFACTOR:
      return GL_CONSTANT;
    default:
      return GL_PRIMARY_COLOR;
  }
}

GLenum CombineOperand(uint32_t argument, bool forAlpha) {
  const bool complement = (argument & TA_COMPLEMENT) != 0;
  if (forAlpha || (argument & TA_ALPHAREPLICATE) != 0) {
    return complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
  }
  return complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
}

// D3DTOP_* values beyond those named in d3d_types.hpp.
constexpr uint32_t kOpModulate2x = 5;
constexpr uint32_t kOpModulate4x = 6;
constexpr uint32_t kOpAdd = 7;
constexpr uint32_t kOpAddSigned = 8;
constexpr uint32_t kOpSubtract = 10;
constexpr uint32_t kOpBlendDiffuseAlpha = 12;
constexpr uint32_t kOpBlendTextureAlpha = 13;

GlCombine CombineFor(uint32_t op, uint32_t arg1, uint32_t arg2, bool forAlpha) {
  GlCombine c;
  auto set = [&](int slot, uint32_t argument) {
    c.source[slot] = CombineSource(argument);
    c.operand[slot] = CombineOperand(argument, forAlpha);
  };
  set(0, arg1);
  set(1, arg2);
  c.source[2] = GL_CONSTANT;
  c.operand[2] = GL_SRC_ALPHA;
  switch (op) {
    case TOP_SELECTARG1:
      c.mode = GL_REPLACE;
      break;
    case TOP_SELECTARG2:
      c.mode = GL_REPLACE;
      set(0, arg2);
      break;
    case kOpModulate2x:
      c.mode = GL_MODULATE;
      c.scale = 2.0f;
      break;
    case kOpModulate4x:
      c.mode = GL_MODULATE;
      c.scale = 4.0f;
      break;
    case kOpAdd:
      c.mode = GL_ADD;
      break;
    case kOpAddSigned:
      c.mode = GL_ADD_SIGNED;
      break;
    case kOpSubtract:
      c.mode = GL_SUBTRACT;
      break;
    // arg1 x a + arg2 x (1 - a): GL_INTERPOLATE weighs source 0 by source 2.
    case kOpBlendDiffuseAlpha:
      c.mode = GL_INTERPOLATE;
      c.source[2] = GL_PRIMARY_COLOR;
      break;
    case kOpBlendTextureAlpha:
      c.mode = GL_INTERPOLATE;
      c.source[2] = GL_TEXTURE;
      break;
    case TOP_BLENDFACTORALPHA:
      c.mode = GL_INTERPOLATE;
      c.source[2] = GL_CONSTANT;
      break;
    case TOP_DISABLE:
      // Only reachable for alpha while colour is enabled: keep the diffuse.
      c.mode = GL_REPLACE;
      c.source[0] = GL_PRIMARY_COLOR;
      c.operand[0] = forAlpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
      break;
    default:
      c.mode = GL_MODULATE;
      break;
  }
  return c;
}

GLenum TexGenFor(uint32_t texCoordIndex) {
  switch (texCoordIndex & 0xFFFF0000u) {
    case kTciCameraSpaceNormal:
      return GL_NORMAL_MAP;
    case kTciCameraSpacePosition:
      return GL_EYE_LINEAR;
    case kTciCameraSpaceReflectionVector:
      return GL_REFLECTION_MAP;
    case 0x40000:  // D3DTSS_TCI_SPHEREMAP
      return GL_SPHERE_MAP;
    default:
      return 0;
  }
}

void SetEnabled(GLenum capability, bool enabled) {
  if (enabled) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

void ApplyCombine(const GlCombine& c, bool forAlpha) {
  static constexpr GLenum kRgbSources[3] = {GL_SRC0_RGB, GL_SRC1_RGB, GL_SRC2_RGB};
  static constexpr GLenum kRgbOperands[3] = {GL_OPERAND0_RGB, GL_OPERAND1_RGB, GL_OPERAND2_RGB};
  static constexpr GLenum kAlphaSources[3] = {GL_SRC0_ALPHA, GL_SRC1_ALPHA, GL_SRC2_ALPHA};
  static constexpr GLenum kAlphaOperands[3] = {GL_OPERAND0_ALPHA, GL_OPERAND1_ALPHA,
                                               GL_OPERAND2_ALPHA};
  glTexEnvi(GL_TEXTURE_ENV, forAlpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB,
            static_cast<GLint>(c.mode));
  for (int i = 0; i < 3; ++i) {
    glTexEnvi(GL_TEXTURE_ENV, forAlpha ? kAlphaSources[i] : kRgbSources[i],
              static_cast<GLint>(c.source[i]));
    glTexEnvi(GL_TEXTURE_ENV, forAlpha ? kAlphaOperands[i] : kRgbOperands[i],
              static_cast<GLint>(c.operand[i]));
  }
  glTexEnvf(GL_TEXTURE_ENV, forAlpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, c.scale);
}

}  // namespace

void ColorToFloats(uint32_t argb, GLfloat out[4]) {
  out[0] = static_cast<GLfloat>((argb >> 16) & 0xFF) / 255.0f;
  out[1] = static_cast<GLfloat>((argb >> 8) & 0xFF) / 255.0f;
  out[2] = static_cast<GLfloat>(argb & 0xFF) / 255.0f;
  out[3] = static_cast<GLfloat>(argb >> 24) / 255.0f;
}

GlPipeline PipelineFor(const RenderStateTable& rs, const TextureStageTable& stage0,
                       GLenum textureTarget) {
  GlPipeline p;
  p.depthTest = rs[RS_ZENABLE] != ZB_FALSE;
  p.depthWrite = rs[RS_ZWRITEENABLE] != 0;
  p.depthFunc = CompareFunction(rs[RS_ZFUNC]);
  // Direct3D's front faces are clockwise on screen; GL is told so once
  // (glFrontFace(GL_CW)), so CULL_CCW culls GL's back faces.
  p.cull = rs[RS_CULLMODE] == CULL_CW || rs[RS_CULLMODE] == CULL_CCW;
  p.cullFace = rs[RS_CULLMODE] == CULL_CW ? GL_FRONT : GL_BACK;
  switch (rs[RS_FILLMODE]) {
    case FILL_POINT:
      p.polygonMode = GL_POINT;
      break;
    case FILL_WIREFRAME:
      p.polygonMode = GL_LINE;
      break;
    default:
      p.polygonMode = GL_FILL;
      break;
  }
  p.shadeModel = rs[RS_SHADEMODE] == SHADE_FLAT ? GL_FLAT : GL_SMOOTH;
  p.alphaTest = rs[RS_ALPHATESTENABLE] != 0;
  p.alphaFunc = CompareFunction(rs[RS_ALPHAFUNC]);
  p.alphaRef = static_cast<GLfloat>(rs[RS_ALPHAREF] & 0xFF) / 255.0f;
  p.multisample = rs[RS_MULTISAMPLEANTIALIAS] != 0;
  const uint32_t mask = rs[RS_COLORWRITEENABLE];
  for (int i = 0; i < 4; ++i)
    p.colorMask[i] = (mask & (1u << i)) != 0;

  p.blend = rs[RS_ALPHABLENDENABLE] != 0;
  BlendPair(rs[RS_SRCBLEND], rs[RS_DESTBLEND], &p.blendSource, &p.blendDest);
  p.blendOp = BlendEquation(rs[RS_BLENDOP]);
  if (rs[RS_SEPARATEALPHABLENDENABLE] != 0) {
    BlendPair(rs[RS_SRCBLENDALPHA], rs[RS_DESTBLENDALPHA], &p.blendSourceAlpha, &p.blendDestAlpha);
    p.blendOpAlpha = BlendEquation(rs[RS_BLENDOPALPHA]);
  } else {
    p.blendSourceAlpha = p.blendSource;
    p.blendDestAlpha = p.blendDest;
    p.blendOpAlpha = p.blendOp;
  }
  p.blendFactor = rs[RS_BLENDFACTOR];
  p.lighting = rs[RS_LIGHTING] != 0;

  p.textureFactor = rs[RS_TEXTUREFACTOR];
  if (textureTarget != 0 && stage0[TSS_COLOROP] != TOP_DISABLE) {
    p.textureTarget = textureTarget;
    p.texGen = TexGenFor(stage0[TSS_TEXCOORDINDEX]);
    p.rgb = CombineFor(stage0[TSS_COLOROP], stage0[TSS_COLORARG1], stage0[TSS_COLORARG2], false);
    p.alpha = CombineFor(stage0[TSS_ALPHAOP], stage0[TSS_ALPHAARG1], stage0[TSS_ALPHAARG2], true);
  }
  return p;
}

void GlPipelineApplier::Apply(const GlPipeline& w) {
  GlPipeline& a = applied_;
  const bool all = !known_;
  if (all || w.depthTest != a.depthTest) SetEnabled(GL_DEPTH_TEST, w.depthTest);
  if (all || w.depthWrite != a.depthWrite) glDepthMask(w.depthWrite ? GL_TRUE : GL_FALSE);
  if (all || w.depthFunc != a.depthFunc) glDepthFunc(w.depthFunc);
  if (all || w.cull != a.cull) SetEnabled(GL_CULL_FACE, w.cull);
  if (all || w.cullFace != a.cullFace) glCullFace(w.cullFace);
  if (all || w.polygonMode != a.polygonMode) glPolygonMode(GL_FRONT_AND_BACK, w.polygonMode);
  if (all || w.shadeModel != a.shadeModel) glShadeModel(w.shadeModel);
  if (all || w.alphaTest != a.alphaTest) SetEnabled(GL_ALPHA_TEST, w.alphaTest);
  if (all || w.alphaFunc != a.alphaFunc || w.alphaRef != a.alphaRef) {
    glAlphaFunc(w.alphaFunc, w.alphaRef);
  }
  if (all || w.multisample != a.multisample) SetEnabled(GL_MULTISAMPLE, w.multisample);
  if (all || w.colorMask[0] != a.colorMask[0] || w.colorMask[1] != a.colorMask[1] ||
      w.colorMask[2] != a.colorMask[2] || w.colorMask[3] != a.colorMask[3]) {
    glColorMask(w.colorMask[0], w.colorMask[1], w.colorMask[2], w.colorMask[3]);
  }
  if (all || w.blend != a.blend) SetEnabled(GL_BLEND, w.blend);
  if (all || w.blendSource != a.blendSource || w.blendDest != a.blendDest ||
      w.blendSourceAlpha != a.blendSourceAlpha || w.blendDestAlpha != a.blendDestAlpha) {
    gl_.BlendFuncSeparate(w.blendSource, w.blendDest, w.blendSourceAlpha, w.blendDestAlpha);
  }
  if (all || w.blendOp != a.blendOp || w.blendOpAlpha != a.blendOpAlpha) {
    gl_.BlendEquationSeparate(w.blendOp, w.blendOpAlpha);
  }
  if (all || w.blendFactor != a.blendFactor) {
    GLfloat c[4];
    ColorToFloats(w.blendFactor, c);
    gl_.BlendColor(c[0], c[1], c[2], c[3]);
  }
  if (all || w.scissor != a.scissor) SetEnabled(GL_SCISSOR_TEST, w.scissor);
  if (w.scissor && (all || !a.scissor || w.scissorBox[0] != a.scissorBox[0] ||
                    w.scissorBox[1] != a.scissorBox[1] || w.scissorBox[2] != a.scissorBox[2] ||
                    w.scissorBox[3] != a.scissorBox[3])) {
    glScissor(w.scissorBox[0], w.scissorBox[1], w.scissorBox[2], w.scissorBox[3]);
  }
  if (all || w.lighting != a.lighting) SetEnabled(GL_LIGHTING, w.lighting);

  if (all || w.textureTarget != a.textureTarget) {
    SetEnabled(GL_TEXTURE_2D, w.textureTarget == GL_TEXTURE_2D);
    SetEnabled(GL_TEXTURE_CUBE_MAP, w.textureTarget == GL_TEXTURE_CUBE_MAP);
  }
  if (w.textureTarget != 0 &&
      (all || w.textureTarget != a.textureTarget || w.texture != a.texture)) {
    glBindTexture(w.textureTarget, w.texture);
  }
  if (all || w.sampler != a.sampler) gl_.BindSampler(0, w.sampler);
  if (all || w.texGen != a.texGen) {
    const bool on = w.texGen != 0;
    SetEnabled(GL_TEXTURE_GEN_S, on);
    SetEnabled(GL_TEXTURE_GEN_T, on);
    SetEnabled(GL_TEXTURE_GEN_R, on && w.texGen != GL_SPHERE_MAP);
    if (on) {
      glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, static_cast<GLint>(w.texGen));
      glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, static_cast<GLint>(w.texGen));
      if (w.texGen != GL_SPHERE_MAP) {
        glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, static_cast<GLint>(w.texGen));
      }
    }
  }
  if (all) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  if (all || !(w.rgb == a.rgb)) ApplyCombine(w.rgb, false);
  if (all || !(w.alpha == a.alpha)) ApplyCombine(w.alpha, true);
  if (all || w.textureFactor != a.textureFactor) {
    GLfloat c[4];
    ColorToFloats(w.textureFactor, c);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, c);
  }
  applied_ = w;
  known_ = true;
}

}  // namespace kbh
