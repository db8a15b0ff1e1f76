// What the benchmarks' bare OpenGL programs share: timing frames, and the
// fixed-function set-up that says directly what the program's scene passes
// ask of the device (the stage's light, the reflection stage, materials).
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/gpu/d3d_types.hpp"
#include "platform/gpu/gl_api.hpp"
#include "platform/math/math.hpp"
#include "platform/mesh/mesh_data.hpp"

namespace kbh {

double Median(std::vector<double> values);

// Runs frame count times, finishing each, and appends each one's time in
// milliseconds (when times is given).
void TimeFrames(int count, const std::function<void()>& frame, std::vector<double>* times);

// The 1024 x 768 back buffer as the program's device makes it: a
// multisampled colour and depth framebuffer with samples samples, and a
// single-sampled one it resolves into.
void MakeBackBufferFramebuffers(GlApi& gl, int samples, GLuint* multisampled, GLuint* resolved);

// One colour of the current material, front and back.
void SetMaterialColor(GLenum parameter, const ColorValue& color);

// A mesh's vertices and indices in two GL buffers, left unbound.
struct BareMeshBuffers {
  GLuint vertices = 0;
  GLuint indices = 0;
};
BareMeshBuffers UploadMeshBuffers(GlApi& gl, const MeshData& data);

// Uploads the workshop's environment cube map and enables it; 0 when the
// file is missing or not a cube map.
GLuint LoadEnvironmentMap(const std::filesystem::path& path);

// The stage's light in light 0, lit per vertex with a local viewer and the
// specular term added after texturing; stage 0 blends the environment over
// the lit colour by the texture factor's alpha, looked up by the
// camera-space reflection vector. Output alpha is the texture's alone, or
// texture x diffuse alpha when alphaFromDiffuse (the passes that fade parts).
void SetLightAndReflectionStage(bool alphaFromDiffuse);

// One subset drawn with the stage's light and material, lit by GL, or on the
// CPU with Direct3D's formula when the material's specular exponent is past
// what GL takes: the program draws those that way, and the bare program must
// draw the same pixels. The mesh's vertex and normal pointers must be set
// from its buffers, with its index buffer bound; view places the light.
class StageSubsetDrawer {
 public:
  void Draw(GlApi& gl, const MeshData& mesh, size_t subset, const Material& material,
            const Matrix& modelView, const Matrix& view);
  // How many subsets were lit on the CPU since the last call.
  size_t TakeCpuLitCount();

 private:
  std::vector<GLfloat> diffuse_;
  std::vector<GLfloat> specular_;
  size_t cpuLit_ = 0;
};

}  // namespace kbh
