// Direct3D 9's fixed-function vertex lighting for one light, computed on the
// CPU. OpenGL's lighting is the same formula except that GL lights have no
// range; the device uses these functions to decide, per draw, whether a mesh
// lies inside the light's range (GL may light it), wholly outside (the light
// must be off), or straddles it (then it is lit here, vertex by vertex).
#pragma once

#include "platform/gpu/d3d_types.hpp"
#include "platform/math/math.hpp"

namespace kbh {

// The largest specular exponent GL's fixed-function lighting accepts;
// Direct3D takes any, and materials ask for up to 250.
inline constexpr float kGlMaxShininess = 128.0f;

// Everything lighting needs, in camera space.
struct LightingSetup {
  bool lightEnabled = false;
  LightType lightType = LIGHT_POINT;
  Vec3 lightPosition;   // camera space, point lights
  Vec3 lightDirection;  // camera space, unit, pointing from the light
  ColorValue lightDiffuse;
  ColorValue lightSpecular;
  ColorValue lightAmbient;
  float range = 0.0f;
  float attenuation0 = 0.0f;
  float attenuation1 = 0.0f;
  float attenuation2 = 0.0f;
  Material material;
  ColorValue globalAmbient;  // RS_AMBIENT
  bool specularEnabled = false;
  bool localViewer = true;
};

// The two colours the rasteriser interpolates: diffuse (emissive + ambient +
// diffuse terms, alpha = material diffuse alpha) and specular (added after
// texturing), both clamped to 0..1.
struct VertexColors {
  ColorValue diffuse;
  ColorValue specular;
};

// normal is the transformed normal as Direct3D uses it: not renormalised.
VertexColors LightVertex(const LightingSetup& setup, Vec3 position, Vec3 normal);

// The attenuation factor of a point light at distance, 0 beyond its range.
float PointLightAttenuation(const LightingSetup& setup, float distance);

enum class RangeCoverage { kInside, kOutside, kStraddles };

// Where a sphere lies relative to a point light's range.
RangeCoverage ClassifySphereAgainstRange(Vec3 centre, float radius, Vec3 lightPosition,
                                         float range);

}  // namespace kbh
