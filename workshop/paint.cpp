#include "workshop/paint.hpp"

namespace kbh {

namespace {

// 1/255 as the float every packed colour of the program is converted with.
constexpr float kByteScale = 0.003921569f;

ColorValue ColorFromArgb(uint32_t argb) {
  return {static_cast<float>((argb >> 16) & 0xFF) * kByteScale,
          static_cast<float>((argb >> 8) & 0xFF) * kByteScale,
          static_cast<float>(argb & 0xFF) * kByteScale,
          static_cast<float>((argb >> 24) & 0xFF) * kByteScale};
}

void SetRgb(ColorValue* color, float value) {
  color->r = value;
  color->g = value;
  color->b = value;
}

}  // namespace

const char* PaintFinishName(uint8_t finish) {
  switch (finish) {
    case kFinishMatt:
      return "Standardlack, matt";
    case kFinishGloss:
      return "Standardlack, glanz";
    case kFinishChrome:
      return "Chrom";
    case kFinishTintedChrome:
      return "Chrom, eingef\xE4rbt";
    default:
      return "";
  }
}

void ApplyPaint(uint32_t colour, uint8_t finish, Material* material, FactorPair* factors) {
  if (material != nullptr) {
    const float red = static_cast<float>((colour >> 16) & 0xFF);
    const float green = static_cast<float>((colour >> 8) & 0xFF);
    const float blue = static_cast<float>(colour & 0xFF);
    // Mean brightness 0..1; single precision, in this order, so that stored
    // materials compare equal across builds.
    const float brightness = (red + green + blue) * kByteScale * 0.33333334f;
    float ambient = 0.1255f * brightness;
    float specular = 0.46f - 0.54f * brightness;
    float power = 25.0f;

    switch (finish) {
      case 0:
      case 5:
      case 6:
        material->diffuse = ColorFromArgb(colour);
        break;
      case 1:
        material->diffuse = ColorFromArgb(colour);
        specular = 1.5f - 0.2f * brightness;
        power = 100.0f;
        break;
      case 2:
        material->diffuse = ColorFromArgb(0xFF666666);
        ambient = 0.12f;
        specular = 1.3f;
        break;
      case 3:
        material->diffuse = ColorFromArgb(colour);
        specular = 1.3f;
        break;
      default:  // 4 and anything above 6 keep the diffuse colour
        break;
    }
    SetRgb(&material->ambient, ambient);
    SetRgb(&material->specular, specular);
    SetRgb(&material->emissive, 0.0f);
    material->power = power;
  }

  if (factors != nullptr) {
    switch (finish) {
      case 0:
        factors->reflection = 2;
        break;
      case 1:
        factors->reflection = 15;
        break;
      case 2:
        factors->reflection = 96;
        break;
      case 3:
        factors->reflection = 206;
        break;
      case 5:
        factors->reflection = 206;
        factors->opacity = 34;
        break;
      case 6:
        factors->reflection = 48;
        factors->opacity = 208;
        break;
      default:
        break;
    }
  }
}

}  // namespace kbh
