#include "platform/gpu/d3d_lighting.hpp"

#include <algorithm>
#include <cmath>

namespace kbh {

namespace {

float Saturate(float value) {
  return std::clamp(value, 0.0f, 1.0f);
}

}  // namespace

float PointLightAttenuation(const LightingSetup& setup, float distance) {
  if (distance > setup.range) return 0.0f;
  const float denominator =
      setup.attenuation0 + setup.attenuation1 * distance + setup.attenuation2 * distance * distance;
  // Direct3D refuses all-zero attenuation at SetLight; treat it as no falloff.
  return denominator > 0.0f ? 1.0f / denominator : 1.0f;
}

VertexColors LightVertex(const LightingSetup& setup, Vec3 position, Vec3 normal) {
  const Material& m = setup.material;
  float ambient[3] = {setup.globalAmbient.r, setup.globalAmbient.g, setup.globalAmbient.b};
  float diffuse[3] = {0, 0, 0};
  float specular[3] = {0, 0, 0};

  if (setup.lightEnabled) {
    Vec3 toLight;
    float attenuation = 1.0f;
    if (setup.lightType == LIGHT_DIRECTIONAL) {
      toLight = setup.lightDirection * -1.0f;
    } else {
      const Vec3 offset = setup.lightPosition - position;
      const float distance = Length(offset);
      attenuation = PointLightAttenuation(setup, distance);
      toLight = Normalize(offset);
    }
    if (attenuation > 0.0f) {
      ambient[0] += setup.lightAmbient.r * attenuation;
      ambient[1] += setup.lightAmbient.g * attenuation;
      ambient[2] += setup.lightAmbient.b * attenuation;
      const float nDotL = Dot(normal, toLight);
      if (nDotL > 0.0f) {
        const float d = nDotL * attenuation;
        diffuse[0] = setup.lightDiffuse.r * d;
        diffuse[1] = setup.lightDiffuse.g * d;
        diffuse[2] = setup.lightDiffuse.b * d;
        if (setup.specularEnabled) {
          const Vec3 toEye = setup.localViewer ? Normalize(position * -1.0f) : Vec3{0, 0, -1};
          const Vec3 half = Normalize(toEye + toLight);
          const float nDotH = Dot(normal, half);
          if (nDotH > 0.0f) {
            const float s = std::pow(nDotH, m.power) * attenuation;
            specular[0] = setup.lightSpecular.r * s;
            specular[1] = setup.lightSpecular.g * s;
            specular[2] = setup.lightSpecular.b * s;
          }
        }
      }
    }
  }

  VertexColors out;
  out.diffuse.r = Saturate(m.emissive.r + m.ambient.r * ambient[0] + m.diffuse.r * diffuse[0]);
  out.diffuse.g = Saturate(m.emissive.g + m.ambient.g * ambient[1] + m.diffuse.g * diffuse[1]);
  out.diffuse.b = Saturate(m.emissive.b + m.ambient.b * ambient[2] + m.diffuse.b * diffuse[2]);
  out.diffuse.a = Saturate(m.diffuse.a);
  out.specular.r = Saturate(m.specular.r * specular[0]);
  out.specular.g = Saturate(m.specular.g * specular[1]);
  out.specular.b = Saturate(m.specular.b * specular[2]);
  out.specular.a = 0.0f;
  return out;
}

RangeCoverage ClassifySphereAgainstRange(Vec3 centre, float radius, Vec3 lightPosition,
                                         float range) {
  const float distance = Length(centre - lightPosition);
  if (distance + radius <= range) return RangeCoverage::kInside;
  if (distance - radius > range) return RangeCoverage::kOutside;
  return RangeCoverage::kStraddles;
}

}  // namespace kbh
