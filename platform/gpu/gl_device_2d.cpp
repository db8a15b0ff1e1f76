// GlDevice: the 2D helpers that stand in for D3DX's sprite, font and line.
// Each sets the states it needs on top of the current Direct3D ones (the
// depth test and multisampling stay as the render states say) and leaves
// the Direct3D states untouched, so the next 3D draw sees what it set.
#include <algorithm>
#include <cmath>

#include "platform/gpu/gl_device.hpp"

namespace kbh {

namespace {

void SetColor(uint32_t argb) {
  GLfloat c[4];
  ColorToFloats(argb, c);
  glColor4f(c[0], c[1], c[2], c[3]);
}

}  // namespace

GlPipeline GlDevice::Pipeline2D(bool blend) const {
  GlPipeline p = PipelineFor(renderStates_, stageStates_[0], 0);
  p.cull = false;
  p.polygonMode = GL_FILL;
  p.shadeModel = GL_SMOOTH;
  p.lighting = false;
  for (bool& channel : p.colorMask)
    channel = true;
  p.blend = blend;
  p.blendSource = p.blendSourceAlpha = GL_SRC_ALPHA;
  p.blendDest = p.blendDestAlpha = GL_ONE_MINUS_SRC_ALPHA;
  p.blendOp = p.blendOpAlpha = GL_FUNC_ADD;
  // Blended, D3DX's sprite also skips fully transparent texels entirely, so
  // they leave no depth behind.
  p.alphaTest = blend;
  p.alphaFunc = GL_GREATER;
  p.alphaRef = 0.0f;
  p.sampler = sampler2D_;
  return p;
}

void GlDevice::LoadPixelTransforms(const Matrix& modelView) {
  // Pixels of the current target, y down, depth = z (0..1).
  Matrix projection = MatrixIdentity();
  projection.m[0][0] = 2.0f / static_cast<float>(targetWidth_);
  projection.m[1][1] = -2.0f / static_cast<float>(targetHeight_);
  projection.m[3][0] = -1.0f;
  projection.m[3][1] = 1.0f;
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(&projection.m[0][0]);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(&modelView.m[0][0]);
  transformsApplied_ = false;
}

void GlDevice::DrawSprite(const SpriteDraw& sprite) {
  const Texture* texture = FindTexture(sprite.texture);
  if (texture == nullptr || texture->target != GL_TEXTURE_2D || !targetComplete_) return;
  GlPipeline p = Pipeline2D(sprite.alphaBlend);
  p.textureTarget = GL_TEXTURE_2D;
  p.texture = texture->name;
  p.texGen = 0;
  p.rgb = GlCombine{};  // texture x diffuse
  p.alpha = GlCombine{};
  p.alpha.operand[0] = p.alpha.operand[1] = GL_SRC_ALPHA;
  applier_.Apply(p);
  LoadPixelTransforms(sprite.transform);
  SetColor(sprite.color);

  const float x0 = sprite.position.x;
  const float y0 = sprite.position.y;
  const float x1 = x0 + static_cast<float>(texture->width);
  const float y1 = y0 + static_cast<float>(texture->height);
  const float z = sprite.position.z;
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(x0, y0, z);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(x1, y0, z);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(x0, y1, z);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(x1, y1, z);
  glEnd();
}

void GlDevice::DrawGlyphs(TextureHandle atlas, std::span<const GlyphQuad> quads, uint32_t color,
                          const PixelRect* clip) {
  const Texture* texture = FindTexture(atlas);
  if (texture == nullptr || texture->target != GL_TEXTURE_2D || quads.empty() || !targetComplete_) {
    return;
  }
  GlPipeline p = Pipeline2D(true);
  p.textureTarget = GL_TEXTURE_2D;
  p.texture = texture->name;
  p.texGen = 0;
  // The atlas carries coverage in its alpha; the colour is the text's own.
  p.rgb = GlCombine{};
  p.rgb.mode = GL_REPLACE;
  p.rgb.source[0] = GL_PRIMARY_COLOR;
  p.alpha = GlCombine{};
  p.alpha.operand[0] = p.alpha.operand[1] = GL_SRC_ALPHA;
  if (clip != nullptr) {
    // Window row 0 is the top row here, so the box needs no flip.
    const int left = std::clamp(clip->left, 0, targetWidth_);
    const int top = std::clamp(clip->top, 0, targetHeight_);
    const int right = std::clamp(clip->right, left, targetWidth_);
    const int bottom = std::clamp(clip->bottom, top, targetHeight_);
    p.scissor = true;
    p.scissorBox[0] = left;
    p.scissorBox[1] = top;
    p.scissorBox[2] = right - left;
    p.scissorBox[3] = bottom - top;
  }
  applier_.Apply(p);
  LoadPixelTransforms(MatrixIdentity());
  SetColor(color);

  const float du = 1.0f / static_cast<float>(texture->width);
  const float dv = 1.0f / static_cast<float>(texture->height);
  glBegin(GL_TRIANGLES);
  for (const GlyphQuad& q : quads) {
    const float u0 = q.u0 * du;
    const float u1 = q.u1 * du;
    const float v0 = q.v0 * dv;
    const float v1 = q.v1 * dv;
    glTexCoord2f(u0, v0);
    glVertex2f(q.x0, q.y0);
    glTexCoord2f(u1, v0);
    glVertex2f(q.x1, q.y0);
    glTexCoord2f(u0, v1);
    glVertex2f(q.x0, q.y1);
    glTexCoord2f(u1, v0);
    glVertex2f(q.x1, q.y0);
    glTexCoord2f(u1, v1);
    glVertex2f(q.x1, q.y1);
    glTexCoord2f(u0, v1);
    glVertex2f(q.x0, q.y1);
  }
  glEnd();
}

void GlDevice::DrawLine(Vec2 from, Vec2 to, float width, uint32_t color) {
  const float dx = to.x - from.x;
  const float dy = to.y - from.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0.0f || width <= 0.0f || !targetComplete_) return;
  applier_.Apply(Pipeline2D(true));
  LoadPixelTransforms(MatrixIdentity());

  // Antialiasing by a one-pixel ramp of alpha centred on every edge: the
  // line covers [0, length] x [-width/2, width/2] exactly, and a pixel half
  // covered gets half the alpha. A line thinner than a pixel keeps its
  // coverage as a fainter core.
  const float ux = dx / length;
  const float uy = dy / length;
  const float nx = -uy;
  const float ny = ux;
  const float half = width * 0.5f;
  const float alongRamp = std::min(0.5f, length * 0.5f);
  const float acrossRamp = std::min(0.5f, half);
  const float along[4] = {-0.5f, alongRamp, length - alongRamp, length + 0.5f};
  const float across[4] = {-half - 0.5f, -half + acrossRamp, half - acrossRamp, half + 0.5f};
  const float coreAlpha = std::min(1.0f, width) * std::min(1.0f, length);
  GLfloat c[4];
  ColorToFloats(color, c);
  auto vertex = [&](int i, int j) {
    const bool inside = (i == 1 || i == 2) && (j == 1 || j == 2);
    glColor4f(c[0], c[1], c[2], inside ? c[3] * coreAlpha : 0.0f);
    glVertex2f(from.x + ux * along[i] + nx * across[j], from.y + uy * along[i] + ny * across[j]);
  };
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      vertex(i, j);
      vertex(i + 1, j);
      vertex(i, j + 1);
      vertex(i + 1, j);
      vertex(i + 1, j + 1);
      vertex(i, j + 1);
    }
  }
  glEnd();
}

}  // namespace kbh
