// GlDevice: drawing meshes with Direct3D's fixed-function meaning.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/gpu/gl_device.hpp"

namespace kbh {

namespace {

// Largest factor by which m's upper 3x3 can stretch a length.
float MaxScale(const Matrix& m) {
  float largest = 0.0f;
  for (int row = 0; row < 3; ++row) {
    largest = std::max(largest, Length(Vec3{m.m[row][0], m.m[row][1], m.m[row][2]}));
  }
  return largest;
}

// Normals go through the inverse transpose, as on Direct3D; a singular
// matrix falls back to its own 3x3.
Matrix NormalMatrix(const Matrix& worldView) {
  Matrix inverse;
  if (!MatrixInverse(worldView, &inverse)) return worldView;
  Matrix transposed;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column)
      transposed.m[row][column] = inverse.m[column][row];
  }
  return transposed;
}

void SetMaterialColor(GLenum parameter, const ColorValue& c) {
  const GLfloat values[4] = {c.r, c.g, c.b, c.a};
  glMaterialfv(GL_FRONT_AND_BACK, parameter, values);
}

void SetLightColor(GLenum parameter, const ColorValue& c) {
  const GLfloat values[4] = {c.r, c.g, c.b, c.a};
  glLightfv(GL_LIGHT0, parameter, values);
}

}  // namespace

GlPipeline GlDevice::Pipeline3D() const {
  const Texture* texture = FindTexture(boundTextures_[0]);
  GlPipeline p = PipelineFor(renderStates_, stageStates_[0], texture ? texture->target : 0);
  if (p.textureTarget != 0) p.texture = texture->name;
  p.sampler = sampler3D_;
  return p;
}

LightingSetup GlDevice::CurrentLightingSetup() const {
  LightingSetup s;
  s.lightEnabled = lightEnabled_;
  s.lightType = light_.type;
  s.lightPosition =
      TransformCoord(Vec3{light_.position[0], light_.position[1], light_.position[2]}, view_);
  s.lightDirection = Normalize(
      TransformNormal(Vec3{light_.direction[0], light_.direction[1], light_.direction[2]}, view_));
  s.lightDiffuse = light_.diffuse;
  s.lightSpecular = light_.specular;
  s.lightAmbient = light_.ambient;
  s.range = light_.range;
  s.attenuation0 = light_.attenuation0;
  s.attenuation1 = light_.attenuation1;
  s.attenuation2 = light_.attenuation2;
  s.material = material_;
  GLfloat ambient[4];
  ColorToFloats(renderStates_[RS_AMBIENT], ambient);
  s.globalAmbient = ColorValue{ambient[0], ambient[1], ambient[2], ambient[3]};
  s.specularEnabled = renderStates_[RS_SPECULARENABLE] != 0;
  s.localViewer = renderStates_[RS_LOCALVIEWER] != 0;
  return s;
}

bool GlDevice::HighlightBeyondGl() const {
  if (renderStates_[RS_SPECULARENABLE] == 0 || material_.power <= kGlMaxShininess) return false;
  const ColorValue& m = material_.specular;
  const ColorValue& l = light_.specular;
  // Without a specular colour the exponent changes nothing that is drawn.
  return (m.r > 0.0f || m.g > 0.0f || m.b > 0.0f) && (l.r > 0.0f || l.g > 0.0f || l.b > 0.0f);
}

GlDevice::LightPath GlDevice::ChooseLightPath(const Mesh& mesh, uint32_t subset,
                                              const Matrix& worldView) const {
  if (!lightEnabled_) return LightPath::kLightOff;
  // GL would draw a broader highlight than the material asks for.
  const LightPath inRange = HighlightBeyondGl() ? LightPath::kCpu : LightPath::kGlLight;
  if (light_.type == LIGHT_DIRECTIONAL) return inRange;  // no range
  const Sphere& bounds = mesh.bounds[subset];
  const Vec3 centre = TransformCoord(bounds.centre, worldView);
  const float radius = bounds.radius * MaxScale(worldView);
  const Vec3 light =
      TransformCoord(Vec3{light_.position[0], light_.position[1], light_.position[2]}, view_);
  switch (ClassifySphereAgainstRange(centre, radius, light, light_.range)) {
    case RangeCoverage::kInside:
      return inRange;
    case RangeCoverage::kOutside:
      return LightPath::kLightOff;
    case RangeCoverage::kStraddles:
      break;
  }
  return LightPath::kCpu;
}

void GlDevice::ApplyTransforms3D() {
  if (transformsApplied_ && lightApplied_) return;
  // Direct3D 9 samples pixel i at i, GL at i + 0.5: moving the geometry half
  // a pixel right and down makes GL cover the pixels Direct3D covers.
  Matrix halfPixel = MatrixIdentity();
  halfPixel.m[3][0] = 1.0f / static_cast<float>(targetWidth_);
  halfPixel.m[3][1] = -1.0f / static_cast<float>(targetHeight_);
  const Matrix projection = MatrixMultiply(projection_, halfPixel);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(&projection.m[0][0]);
  glMatrixMode(GL_MODELVIEW);
  if (!lightApplied_) {
    // GL keeps the light's position in the camera space of this moment.
    glLoadMatrixf(&view_.m[0][0]);
    if (light_.type == LIGHT_DIRECTIONAL) {
      const GLfloat towardsLight[4] = {-light_.direction[0], -light_.direction[1],
                                       -light_.direction[2], 0.0f};
      glLightfv(GL_LIGHT0, GL_POSITION, towardsLight);
    } else {
      const GLfloat position[4] = {light_.position[0], light_.position[1], light_.position[2],
                                   1.0f};
      glLightfv(GL_LIGHT0, GL_POSITION, position);
      const GLfloat direction[3] = {light_.direction[0], light_.direction[1], light_.direction[2]};
      glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
    }
    SetLightColor(GL_AMBIENT, light_.ambient);
    SetLightColor(GL_DIFFUSE, light_.diffuse);
    SetLightColor(GL_SPECULAR, light_.specular);
    const bool attenuated = light_.type != LIGHT_DIRECTIONAL;
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, attenuated ? light_.attenuation0 : 1.0f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, attenuated ? light_.attenuation1 : 0.0f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, attenuated ? light_.attenuation2 : 0.0f);
    // A spot's cone is approximated by GL's single cutoff at the outer angle.
    const float cutoff =
        light_.type == LIGHT_SPOT ? std::clamp(light_.phi * 0.5f * 57.29578f, 0.0f, 90.0f) : 180.0f;
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, cutoff);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT,
             light_.type == LIGHT_SPOT ? std::clamp(light_.falloff, 0.0f, 128.0f) : 0.0f);
    lightApplied_ = true;
  }
  const Matrix worldView = MatrixMultiply(world_, view_);
  glLoadMatrixf(&worldView.m[0][0]);
  transformsApplied_ = true;
}

void GlDevice::ApplyLightAndMaterial(bool lightOn) {
  if (lightOn != glLightOn_) {
    if (lightOn) {
      glEnable(GL_LIGHT0);
    } else {
      glDisable(GL_LIGHT0);
    }
    glLightOn_ = lightOn;
  }
  const uint32_t ambient = renderStates_[RS_AMBIENT];
  const uint32_t localViewer = renderStates_[RS_LOCALVIEWER];
  const uint32_t normalize = renderStates_[RS_NORMALIZENORMALS];
  if (!lightModelApplied_ || ambient != appliedAmbient_ || localViewer != appliedLocalViewer_ ||
      normalize != appliedNormalize_) {
    // GL's default global ambient is 0.2 grey; Direct3D's is RS_AMBIENT.
    GLfloat color[4];
    ColorToFloats(ambient, color);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, color);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, localViewer != 0 ? GL_TRUE : GL_FALSE);
    if (normalize != 0) {
      glEnable(GL_NORMALIZE);
    } else {
      glDisable(GL_NORMALIZE);
    }
    appliedAmbient_ = ambient;
    appliedLocalViewer_ = localViewer;
    appliedNormalize_ = normalize;
    lightModelApplied_ = true;
  }
  const bool specular = renderStates_[RS_SPECULARENABLE] != 0;
  if (!materialApplied_ || specular != appliedSpecularEnable_) {
    SetMaterialColor(GL_AMBIENT, material_.ambient);
    SetMaterialColor(GL_DIFFUSE, material_.diffuse);
    SetMaterialColor(GL_SPECULAR, specular ? material_.specular : ColorValue{});
    SetMaterialColor(GL_EMISSION, material_.emissive);
    // Only exponents GL takes get here (see HighlightBeyondGl); the clamp
    // keeps a larger one that draws no highlight from being refused.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS,
                std::clamp(material_.power, 0.0f, kGlMaxShininess));
    appliedSpecularEnable_ = specular;
    materialApplied_ = true;
  }
}

void GlDevice::DrawLitOnCpu(const Mesh& mesh, uint32_t subsetIndex, const Matrix& worldView) {
  const LightingSetup setup = CurrentLightingSetup();
  const Matrix normalMatrix = NormalMatrix(worldView);
  // Only the subset's own vertices are lit; the others' colours are never
  // read, so the scratch keeps whatever an earlier draw left there.
  if (cpuDiffuse_.size() < mesh.vertices.size() * 4) {
    cpuDiffuse_.resize(mesh.vertices.size() * 4);
    cpuSpecular_.resize(mesh.vertices.size() * 3);
  }
  const SubsetVertices& used = mesh.subsetVertices[subsetIndex];
  for (const uint32_t index : used.indices) {
    const MeshVertex& v = mesh.vertices[index];
    const VertexColors lit = LightVertex(setup, TransformCoord(v.position, worldView),
                                         TransformNormal(v.normal, normalMatrix));
    GLfloat* d = &cpuDiffuse_[size_t{index} * 4];
    d[0] = lit.diffuse.r;
    d[1] = lit.diffuse.g;
    d[2] = lit.diffuse.b;
    d[3] = lit.diffuse.a;
    GLfloat* s = &cpuSpecular_[size_t{index} * 3];
    s[0] = lit.specular.r;
    s[1] = lit.specular.g;
    s[2] = lit.specular.b;
  }
  // Client arrays: the vertex buffer must not be bound when they are given.
  // The index range tells the driver which part of them to read.
  const MeshSubset& subset = mesh.subsets[subsetIndex];
  gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_SECONDARY_COLOR_ARRAY);
  glColorPointer(4, GL_FLOAT, 0, cpuDiffuse_.data());
  gl_.SecondaryColorPointer(3, GL_FLOAT, 0, cpuSpecular_.data());
  gl_.DrawRangeElements(
      GL_TRIANGLES, used.lowest, used.highest, static_cast<GLsizei>(subset.triangleCount * 3),
      GL_UNSIGNED_INT,
      reinterpret_cast<const void*>(size_t{subset.firstTriangle} * 3 * sizeof(uint32_t)));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_SECONDARY_COLOR_ARRAY);
  gl_.SecondaryColor3f(0.0f, 0.0f, 0.0f);
}

void GlDevice::DrawSubset(MeshHandle handle, uint32_t subsetIndex) {
  const auto found = meshes_.find(static_cast<uint32_t>(handle));
  if (found == meshes_.end() || !targetComplete_) return;
  const Mesh& mesh = found->second;
  if (subsetIndex >= mesh.subsets.size()) return;
  const MeshSubset& subset = mesh.subsets[subsetIndex];
  if (subset.triangleCount == 0) return;

  const Matrix worldView = MatrixMultiply(world_, view_);
  GlPipeline pipeline = Pipeline3D();
  LightPath path = LightPath::kGlLight;
  if (pipeline.lighting) {
    path = ChooseLightPath(mesh, subsetIndex, worldView);
    if (path == LightPath::kCpu) pipeline.lighting = false;
  }
  applier_.Apply(pipeline);
  ApplyTransforms3D();
  if (pipeline.lighting) {
    ApplyLightAndMaterial(path == LightPath::kGlLight);
  } else if (path != LightPath::kCpu) {
    // Unlit and without vertex colours, Direct3D draws white.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  }

  gl_.BindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
  gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
  glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex),
                  reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
  glNormalPointer(GL_FLOAT, sizeof(MeshVertex),
                  reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
  glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex),
                    reinterpret_cast<const void*>(offsetof(MeshVertex, u)));
  if (path == LightPath::kCpu) {
    DrawLitOnCpu(mesh, subsetIndex, worldView);
  } else {
    glDrawElements(
        GL_TRIANGLES, static_cast<GLsizei>(subset.triangleCount * 3), GL_UNSIGNED_INT,
        reinterpret_cast<const void*>(size_t{subset.firstTriangle} * 3 * sizeof(uint32_t)));
  }
  gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
  gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

}  // namespace kbh
