#include "bench/support/bare_gl.hpp"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "core/screen.hpp"
#include "platform/gpu/d3d_lighting.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/stage.hpp"

namespace kbh {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void TimeFrames(int count, const std::function<void()>& frame, std::vector<double>* times) {
  using Clock = std::chrono::steady_clock;
  for (int i = 0; i < count; ++i) {
    const Clock::time_point start = Clock::now();
    frame();
    glFinish();
    if (times != nullptr) {
      times->push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
  }
}

void MakeBackBufferFramebuffers(GlApi& gl, int samples, GLuint* multisampled, GLuint* resolved) {
  GLuint color = 0;
  GLuint depth = 0;
  gl.GenRenderbuffers(1, &color);
  gl.BindRenderbuffer(GL_RENDERBUFFER, color);
  gl.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, kScreenWidth,
                                    kScreenHeight);
  gl.GenRenderbuffers(1, &depth);
  gl.BindRenderbuffer(GL_RENDERBUFFER, depth);
  gl.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, kScreenWidth,
                                    kScreenHeight);
  gl.GenFramebuffers(1, multisampled);
  gl.BindFramebuffer(GL_FRAMEBUFFER, *multisampled);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
  GLuint single = 0;
  gl.GenRenderbuffers(1, &single);
  gl.BindRenderbuffer(GL_RENDERBUFFER, single);
  gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kScreenWidth, kScreenHeight);
  gl.GenFramebuffers(1, resolved);
  gl.BindFramebuffer(GL_FRAMEBUFFER, *resolved);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, single);
}

void SetMaterialColor(GLenum parameter, const ColorValue& color) {
  const GLfloat values[4] = {color.r, color.g, color.b, color.a};
  glMaterialfv(GL_FRONT_AND_BACK, parameter, values);
}

GLuint LoadEnvironmentMap(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  CubeImage cube;
  if (!ReadWholeFile(path.string(), &bytes) || !DecodeCubeImage(bytes, &cube)) return 0;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
  for (int face = 0; face < 6; ++face) {
    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(face), 0, GL_RGBA8, cube.size,
                 cube.size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, cube.faces[face].data());
  }
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glEnable(GL_TEXTURE_CUBE_MAP);
  return texture;
}

BareMeshBuffers UploadMeshBuffers(GlApi& gl, const MeshData& data) {
  BareMeshBuffers mesh;
  gl.GenBuffers(1, &mesh.vertices);
  gl.BindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
  gl.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.vertices.size() * sizeof(MeshVertex)),
                data.vertices.data(), GL_STATIC_DRAW);
  gl.GenBuffers(1, &mesh.indices);
  gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
  gl.BufferData(GL_ELEMENT_ARRAY_BUFFER,
                static_cast<GLsizeiptr>(data.indices.size() * sizeof(uint32_t)),
                data.indices.data(), GL_STATIC_DRAW);
  gl.BindBuffer(GL_ARRAY_BUFFER, 0);
  gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  return mesh;
}

void SetLightAndReflectionStage(bool alphaFromDiffuse) {
  const Light light = SceneLight();
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  const GLfloat black[4] = {0, 0, 0, 0};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  const GLfloat ambient[4] = {light.ambient.r, light.ambient.g, light.ambient.b, light.ambient.a};
  const GLfloat diffuse[4] = {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a};
  const GLfloat specular[4] = {light.specular.r, light.specular.g, light.specular.b,
                               light.specular.a};
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, light.attenuation0);
  glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, light.attenuation1);
  glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, light.attenuation2);

  for (GLenum coordinate : {GL_S, GL_T, GL_R})
    glTexGeni(coordinate, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glEnable(GL_TEXTURE_GEN_R);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_TEXTURE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, GL_PRIMARY_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC2_RGB, GL_CONSTANT);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, alphaFromDiffuse ? GL_MODULATE : GL_REPLACE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_TEXTURE);
  if (alphaFromDiffuse) glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_ALPHA, GL_PRIMARY_COLOR);
}

void StageSubsetDrawer::Draw(GlApi& gl, const MeshData& mesh, size_t subset,
                             const Material& material, const Matrix& modelView,
                             const Matrix& view) {
  const MeshSubset& range = mesh.subsets[subset];
  const auto* firstIndex =
      reinterpret_cast<const void*>(size_t{range.firstTriangle} * 3 * sizeof(uint32_t));
  const GLsizei indexCount = static_cast<GLsizei>(range.triangleCount * 3);
  if (material.power <= kGlMaxShininess) {
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.power);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, firstIndex);
    return;
  }
  ++cpuLit_;
  const Light light = SceneLight();
  LightingSetup setup;
  setup.lightEnabled = true;
  setup.lightType = light.type;
  setup.lightPosition =
      TransformCoord(Vec3{light.position[0], light.position[1], light.position[2]}, view);
  setup.lightDiffuse = light.diffuse;
  setup.lightSpecular = light.specular;
  setup.lightAmbient = light.ambient;
  setup.range = light.range;
  setup.attenuation0 = light.attenuation0;
  setup.attenuation1 = light.attenuation1;
  setup.attenuation2 = light.attenuation2;
  setup.material = material;
  setup.specularEnabled = true;
  Matrix inverse;
  Matrix normalMatrix = modelView;
  if (MatrixInverse(modelView, &inverse)) {
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 4; ++column)
        normalMatrix.m[row][column] = inverse.m[column][row];
    }
  }
  // The vertices between the subset's lowest and highest index.
  const auto begin = mesh.indices.begin() + static_cast<ptrdiff_t>(range.firstTriangle) * 3;
  const auto [lowest, highest] = std::minmax_element(begin, begin + indexCount);
  diffuse_.resize(mesh.vertices.size() * 4);
  specular_.resize(mesh.vertices.size() * 3);
  for (uint32_t i = *lowest; i <= *highest; ++i) {
    const MeshVertex& v = mesh.vertices[i];
    const VertexColors lit = LightVertex(setup, TransformCoord(v.position, modelView),
                                         TransformNormal(v.normal, normalMatrix));
    GLfloat* d = &diffuse_[size_t{i} * 4];
    d[0] = lit.diffuse.r;
    d[1] = lit.diffuse.g;
    d[2] = lit.diffuse.b;
    d[3] = lit.diffuse.a;
    GLfloat* s = &specular_[size_t{i} * 3];
    s[0] = lit.specular.r;
    s[1] = lit.specular.g;
    s[2] = lit.specular.b;
  }
  glDisable(GL_LIGHTING);
  glEnable(GL_COLOR_SUM);
  gl.BindBuffer(GL_ARRAY_BUFFER, 0);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_SECONDARY_COLOR_ARRAY);
  glColorPointer(4, GL_FLOAT, 0, diffuse_.data());
  gl.SecondaryColorPointer(3, GL_FLOAT, 0, specular_.data());
  gl.DrawRangeElements(GL_TRIANGLES, *lowest, *highest, indexCount, GL_UNSIGNED_INT, firstIndex);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_SECONDARY_COLOR_ARRAY);
  gl.SecondaryColor3f(0.0f, 0.0f, 0.0f);
  glDisable(GL_COLOR_SUM);
  glEnable(GL_LIGHTING);
}

size_t StageSubsetDrawer::TakeCpuLitCount() {
  const size_t count = cpuLit_;
  cpuLit_ = 0;
  return count;
}

}  // namespace kbh
