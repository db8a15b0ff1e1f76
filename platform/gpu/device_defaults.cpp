#include "platform/gpu/device_defaults.hpp"

#include <bit>

namespace kbh {

namespace {

uint32_t FloatBits(float value) {
  return std::bit_cast<uint32_t>(value);
}

}  // namespace

RenderStateTable DefaultRenderStates() {
  RenderStateTable states{};
  states[RS_ZENABLE] = ZB_TRUE;
  states[RS_FILLMODE] = FILL_SOLID;
  states[RS_SHADEMODE] = SHADE_GOURAUD;
  states[RS_ZWRITEENABLE] = 1;
  states[RS_ALPHATESTENABLE] = 0;
  states[RS_LASTPIXEL] = 1;
  states[RS_SRCBLEND] = BLEND_ONE;
  states[RS_DESTBLEND] = BLEND_ZERO;
  states[RS_CULLMODE] = CULL_CCW;
  states[RS_ZFUNC] = CMP_LESSEQUAL;
  states[RS_ALPHAREF] = 0;
  states[RS_ALPHAFUNC] = CMP_ALWAYS;
  states[RS_DITHERENABLE] = 0;
  states[RS_ALPHABLENDENABLE] = 0;
  states[RS_FOGENABLE] = 0;
  states[RS_SPECULARENABLE] = 0;
  states[36] = FloatBits(0.0f);  // FOGSTART
  states[37] = FloatBits(1.0f);  // FOGEND
  states[38] = FloatBits(1.0f);  // FOGDENSITY
  states[RS_STENCILENABLE] = 0;
  states[RS_STENCILFAIL] = STENCILOP_KEEP;
  states[RS_STENCILZFAIL] = STENCILOP_KEEP;
  states[RS_STENCILPASS] = STENCILOP_KEEP;
  states[RS_STENCILFUNC] = CMP_ALWAYS;
  states[RS_STENCILREF] = 0;
  states[RS_STENCILMASK] = 0xFFFFFFFF;
  states[RS_STENCILWRITEMASK] = 0xFFFFFFFF;
  states[RS_TEXTUREFACTOR] = 0xFFFFFFFF;
  states[RS_CLIPPING] = 1;
  states[RS_LIGHTING] = 1;
  states[RS_AMBIENT] = 0;
  states[RS_COLORVERTEX] = 1;
  states[RS_LOCALVIEWER] = 1;
  states[RS_NORMALIZENORMALS] = 0;
  states[RS_DIFFUSEMATERIALSOURCE] = MCS_COLOR1;
  states[RS_SPECULARMATERIALSOURCE] = MCS_COLOR2;
  states[RS_AMBIENTMATERIALSOURCE] = MCS_MATERIAL;
  states[RS_EMISSIVEMATERIALSOURCE] = MCS_MATERIAL;
  states[154] = FloatBits(1.0f);   // POINTSIZE
  states[155] = FloatBits(1.0f);   // POINTSIZE_MIN
  states[158] = FloatBits(1.0f);   // POINTSCALE_A
  states[166] = FloatBits(64.0f);  // POINTSIZE_MAX
  states[RS_MULTISAMPLEANTIALIAS] = 1;
  states[RS_MULTISAMPLEMASK] = 0xFFFFFFFF;
  states[RS_COLORWRITEENABLE] = 0xF;
  states[RS_BLENDOP] = BLENDOP_ADD;
  states[RS_SCISSORTESTENABLE] = 0;
  states[178] = FloatBits(1.0f);  // MINTESSELLATIONLEVEL
  states[179] = FloatBits(1.0f);  // MAXTESSELLATIONLEVEL
  states[186] = STENCILOP_KEEP;   // CCW_STENCILFAIL
  states[187] = STENCILOP_KEEP;   // CCW_STENCILZFAIL
  states[188] = STENCILOP_KEEP;   // CCW_STENCILPASS
  states[189] = CMP_ALWAYS;       // CCW_STENCILFUNC
  states[190] = 0xF;              // COLORWRITEENABLE1
  states[191] = 0xF;              // COLORWRITEENABLE2
  states[192] = 0xF;              // COLORWRITEENABLE3
  states[RS_BLENDFACTOR] = 0xFFFFFFFF;
  states[RS_SEPARATEALPHABLENDENABLE] = 0;
  states[RS_SRCBLENDALPHA] = BLEND_ONE;
  states[RS_DESTBLENDALPHA] = BLEND_ZERO;
  states[RS_BLENDOPALPHA] = BLENDOP_ADD;
  return states;
}

TextureStageTable DefaultTextureStageStates(uint32_t stage) {
  TextureStageTable states{};
  const bool first = stage == 0;
  states[TSS_COLOROP] = first ? TOP_MODULATE : TOP_DISABLE;
  states[TSS_COLORARG1] = TA_TEXTURE;
  states[TSS_COLORARG2] = TA_CURRENT;
  states[TSS_ALPHAOP] = first ? TOP_SELECTARG1 : TOP_DISABLE;
  states[TSS_ALPHAARG1] = TA_TEXTURE;
  states[TSS_ALPHAARG2] = TA_CURRENT;
  states[TSS_TEXCOORDINDEX] = stage;
  states[TSS_TEXTURETRANSFORMFLAGS] = kTtffDisable;
  states[TSS_COLORARG0] = TA_CURRENT;
  states[TSS_ALPHAARG0] = TA_CURRENT;
  states[TSS_RESULTARG] = TA_CURRENT;
  return states;
}

}  // namespace kbh
