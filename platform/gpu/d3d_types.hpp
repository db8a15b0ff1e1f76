// The Direct3D 9 numbers the program speaks in. Render states, texture-stage
// states, formats and enumerated values keep Direct3D's own numbering, because
// the state caches are indexed by them and the log and tests refer to them.
#pragma once

#include <cstdint>

namespace kbh {

// D3DRENDERSTATETYPE (the subset the program and its device honour).
enum RenderState : uint32_t {
  RS_ZENABLE = 7,
  RS_FILLMODE = 8,
  RS_SHADEMODE = 9,
  RS_ZWRITEENABLE = 14,
  RS_ALPHATESTENABLE = 15,
  RS_LASTPIXEL = 16,
  RS_SRCBLEND = 19,
  RS_DESTBLEND = 20,
  RS_CULLMODE = 22,
  RS_ZFUNC = 23,
  RS_ALPHAREF = 24,
  RS_ALPHAFUNC = 25,
  RS_DITHERENABLE = 26,
  RS_ALPHABLENDENABLE = 27,
  RS_FOGENABLE = 28,
  RS_SPECULARENABLE = 29,
  RS_STENCILENABLE = 52,
  RS_STENCILFAIL = 53,
  RS_STENCILZFAIL = 54,
  RS_STENCILPASS = 55,
  RS_STENCILFUNC = 56,
  RS_STENCILREF = 57,
  RS_STENCILMASK = 58,
  RS_STENCILWRITEMASK = 59,
  RS_TEXTUREFACTOR = 60,
  RS_CLIPPING = 136,
  RS_LIGHTING = 137,
  RS_AMBIENT = 139,
  RS_COLORVERTEX = 141,
  RS_LOCALVIEWER = 142,
  RS_NORMALIZENORMALS = 143,
  RS_DIFFUSEMATERIALSOURCE = 145,
  RS_SPECULARMATERIALSOURCE = 146,
  RS_AMBIENTMATERIALSOURCE = 147,
  RS_EMISSIVEMATERIALSOURCE = 148,
  RS_MULTISAMPLEANTIALIAS = 161,
  RS_MULTISAMPLEMASK = 162,
  RS_COLORWRITEENABLE = 168,
  RS_BLENDOP = 171,
  RS_SCISSORTESTENABLE = 174,
  RS_BLENDFACTOR = 193,
  RS_SEPARATEALPHABLENDENABLE = 206,
  RS_SRCBLENDALPHA = 207,
  RS_DESTBLENDALPHA = 208,
  RS_BLENDOPALPHA = 209,
};
constexpr uint32_t kRenderStateCount = 256;

// D3DTEXTURESTAGESTATETYPE.
enum TextureStageState : uint32_t {
  TSS_COLOROP = 1,
  TSS_COLORARG1 = 2,
  TSS_COLORARG2 = 3,
  TSS_ALPHAOP = 4,
  TSS_ALPHAARG1 = 5,
  TSS_ALPHAARG2 = 6,
  TSS_TEXCOORDINDEX = 11,
  TSS_TEXTURETRANSFORMFLAGS = 24,
  TSS_COLORARG0 = 26,
  TSS_ALPHAARG0 = 27,
  TSS_RESULTARG = 28,
};
constexpr uint32_t kTextureStageStateCount = 33;
// Fixed-function texture stages of a Direct3D 9 device.
constexpr uint32_t kTextureStageCount = 8;

// D3DTEXTUREOP.
enum TextureOp : uint32_t {
  TOP_DISABLE = 1,
  TOP_SELECTARG1 = 2,
  TOP_SELECTARG2 = 3,
  TOP_MODULATE = 4,
  TOP_BLENDFACTORALPHA = 14,
};

// D3DTA_* texture arguments; the low bits select, the two flags modify.
enum TextureArg : uint32_t {
  TA_DIFFUSE = 0,
  TA_CURRENT = 1,
  TA_TEXTURE = 2,
  TA_TFACTOR = 3,
  TA_SPECULAR = 4,
  TA_SELECTMASK = 0x0F,
  TA_COMPLEMENT = 0x10,
  TA_ALPHAREPLICATE = 0x20,
};

constexpr uint32_t kTciPassThru = 0;
constexpr uint32_t kTciCameraSpaceNormal = 0x10000;
constexpr uint32_t kTciCameraSpacePosition = 0x20000;
constexpr uint32_t kTciCameraSpaceReflectionVector = 0x30000;
constexpr uint32_t kTtffDisable = 0;
constexpr uint32_t kTtffCount3 = 3;

// D3DBLEND.
enum Blend : uint32_t {
  BLEND_ZERO = 1,
  BLEND_ONE = 2,
  BLEND_SRCCOLOR = 3,
  BLEND_INVSRCCOLOR = 4,
  BLEND_SRCALPHA = 5,
  BLEND_INVSRCALPHA = 6,
  BLEND_DESTALPHA = 7,
  BLEND_INVDESTALPHA = 8,
  BLEND_DESTCOLOR = 9,
  BLEND_INVDESTCOLOR = 10,
  BLEND_SRCALPHASAT = 11,
  BLEND_BOTHSRCALPHA = 12,
  BLEND_BOTHINVSRCALPHA = 13,
  BLEND_BLENDFACTOR = 14,
  BLEND_INVBLENDFACTOR = 15,
};

enum BlendOp : uint32_t {
  BLENDOP_ADD = 1,
  BLENDOP_SUBTRACT = 2,
  BLENDOP_REVSUBTRACT = 3,
  BLENDOP_MIN = 4,
  BLENDOP_MAX = 5,
};
// D3DCMPFUNC, for ZFUNC, ALPHAFUNC and STENCILFUNC.
enum Cmp : uint32_t {
  CMP_NEVER = 1,
  CMP_LESS = 2,
  CMP_EQUAL = 3,
  CMP_LESSEQUAL = 4,
  CMP_GREATER = 5,
  CMP_NOTEQUAL = 6,
  CMP_GREATEREQUAL = 7,
  CMP_ALWAYS = 8,
};
// D3DSTENCILOP.
enum StencilOp : uint32_t {
  STENCILOP_KEEP = 1,
  STENCILOP_ZERO = 2,
  STENCILOP_REPLACE = 3,
  STENCILOP_INCRSAT = 4,
  STENCILOP_DECRSAT = 5,
  STENCILOP_INVERT = 6,
  STENCILOP_INCR = 7,
  STENCILOP_DECR = 8,
};
enum Cull : uint32_t { CULL_NONE = 1, CULL_CW = 2, CULL_CCW = 3 };
enum Fill : uint32_t { FILL_POINT = 1, FILL_WIREFRAME = 2, FILL_SOLID = 3 };
enum Shade : uint32_t { SHADE_FLAT = 1, SHADE_GOURAUD = 2 };
enum ZBuffer : uint32_t { ZB_FALSE = 0, ZB_TRUE = 1 };
enum MaterialColorSource : uint32_t { MCS_MATERIAL = 0, MCS_COLOR1 = 1, MCS_COLOR2 = 2 };

// D3DTRANSFORMSTATETYPE.
enum TransformType : uint32_t { TS_VIEW = 2, TS_PROJECTION = 3, TS_WORLD = 256 };

// D3DFORMAT codes that images and surfaces report.
enum Format : uint32_t {
  FMT_UNKNOWN = 0,
  FMT_R8G8B8 = 20,
  FMT_A8R8G8B8 = 21,
  FMT_X8R8G8B8 = 22,
  FMT_R5G6B5 = 23,
  FMT_X1R5G5B5 = 24,
  FMT_A1R5G5B5 = 25,
  FMT_A4R4G4B4 = 26,
  FMT_A8 = 28,
  FMT_A8B8G8R8 = 32,
  FMT_X8B8G8R8 = 33,
  FMT_P8 = 41,
  FMT_L8 = 50,
  FMT_D24S8 = 75,
  FMT_DXT1 = 0x31545844,  // 'DXT1'
  FMT_DXT2 = 0x32545844,
  FMT_DXT3 = 0x33545844,
  FMT_DXT4 = 0x34545844,
  FMT_DXT5 = 0x35545844,
};

// D3DCLEAR flags.
constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kClearZBuffer = 2;
constexpr uint32_t kClearStencil = 4;

// D3DCOLORVALUE.
struct ColorValue {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 0.0f;
};

// D3DMATERIAL9.
struct Material {
  ColorValue diffuse;
  ColorValue ambient;
  ColorValue specular;
  ColorValue emissive;
  float power = 0.0f;
};

enum LightType : uint32_t { LIGHT_POINT = 1, LIGHT_SPOT = 2, LIGHT_DIRECTIONAL = 3 };

// D3DLIGHT9.
struct Light {
  LightType type = LIGHT_POINT;
  ColorValue diffuse;
  ColorValue specular;
  ColorValue ambient;
  float position[3] = {0, 0, 0};
  float direction[3] = {0, 0, 0};
  float range = 0.0f;
  float falloff = 0.0f;
  float attenuation0 = 0.0f;
  float attenuation1 = 0.0f;
  float attenuation2 = 0.0f;
  float theta = 0.0f;
  float phi = 0.0f;
};

}  // namespace kbh
