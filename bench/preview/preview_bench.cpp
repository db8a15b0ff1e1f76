// The Spray screen's two 3D passes as the program draws them, against a bare
// OpenGL program that draws the same meshes with the same states and nothing
// else: no state caches, no device abstraction.
//   - the preview: every part of the standard moped into the 450 x 260
//     render texture with its own depth buffer;
//   - the selected part (the frame) on the 1024 x 768 back buffer,
//     multisampled with as many samples as the program's device got, spinning:
//     whole, and with one subset solid inside the 20 % ghost of the rest.
// Each side has a GL context of its own; they take turns in short blocks, so
// that other work on the machine weighs on both alike. Each pass is timed on
// its own up to glFinish, and the medians are printed.
//   preview_bench [WORKSHOP]   (default: the demo workshop of this build)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bare_gl.hpp"
#include "catalogue/data_store_loader.hpp"
#include "core/error_log.hpp"
#include "platform/gpu/gl_api.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/gpu/heap_tuning.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/preview_animation.hpp"
#include "scene/scene_pass.hpp"
#include "scene/stage.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kWarmUpFrames = 20;
constexpr int kBlockFrames = 20;
constexpr int kBlocks = 15;
// The part shown large: the frame, whose subsets are spread over the whole
// part, so the ghost covers much of the picture.
constexpr ItemId kSelectedPart = 0x00010101;
constexpr uint16_t kWholeRow = 1;
constexpr uint16_t kGhostRow = 3;  // subset 1 solid
constexpr uint32_t kArrival = 1500;
constexpr uint32_t kFrameStep = 16;

// What the bare program needs of one part: its mesh, where the pass puts it
// and how each subset is drawn.
struct BarePart {
  MeshData mesh;
  Matrix world;
  std::vector<Material> materials;
  std::vector<FactorPair> factors;
};

// --- The program's side --------------------------------------------------------

// The standard moped on a headless device with the program's light and
// environment map, the blend states the cursor leaves in every frame, and
// the camera arrived at the selected part.
class ProgramSide {
 public:
  ~ProgramSide() {
    preview_.reset();
    parts_.reset();
    cubes_.reset();
    graphics_.reset();
    log_.reset();
  }

  bool Start(const fs::path& workshop) {
    log_ = std::make_unique<ErrorLog>(logText_);
    graphics_ = std::make_unique<GraphicsDevice>(*log_);
    const bool started = graphics_->InitGraphicsDevice(
        [this] {
          context_ = CreateHeadlessGlContext();
          return CreateGlSystem(context_);
        },
        kScreenWidth, kScreenHeight, 32);
    if (!started) {
      std::fprintf(stderr, "preview_bench: no headless graphics device\n");
      return false;
    }
    const ProgramDir dir{workshop.string()};
    PathBuffer path;
    if (!LoadDataStore(path.Format("%s\\data\\firstData.khb", dir.path.c_str()), catalogue_)) {
      std::fprintf(stderr, "preview_bench: cannot read the catalogue\n");
      return false;
    }
    SetupLights(*graphics_);
    cubes_ = std::make_unique<CubeTextureSlots>(*graphics_);
    cubes_->LoadCubeTexture(kEnvironmentMapSlot,
                            path.Format(kEnvironmentMapPattern, dir.path.c_str()));
    parts_ = std::make_unique<InstalledPartList>(*graphics_, dir);
    parts_->LoadStandardParts(catalogue_);
    parts_->SetAllPartsRotation(0.0f, 0.0f, 0.0f);
    parts_->SetAllPartsAlpha(1.0f);
    graphics_->SetRenderStateCached(RS_SRCBLEND, BLEND_SRCALPHA);
    graphics_->SetRenderStateCached(RS_DESTBLEND, BLEND_INVSRCALPHA);
    graphics_->GetDevice()->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);

    preview_ = std::make_unique<PreviewAnimation>(*graphics_, *cubes_);
    selected_ = parts_->FindInstalled(kSelectedPart);
    if (!preview_->InitPreview() || selected_ == nullptr || selected_->mesh == nullptr) {
      std::fprintf(stderr, "preview_bench: no preview texture or no part %08X\n", kSelectedPart);
      return false;
    }
    preview_->StartCameraMove(selected_, kArrival - kFlightMilliseconds);
    preview_->UpdatePreview(kArrival);
    preview_->UpdatePreview(kArrival);
    return true;
  }

  void MakeCurrent() { context_->MakeCurrent(); }
  int Samples() const { return graphics_->GetDevice()->BackBufferSamples(); }

  void RenderPreview() { preview_->RenderPreview(*parts_); }
  Image ReadPreview() {
    Device& device = *graphics_->GetDevice();
    device.SetRenderTarget(preview_->PreviewTexture()->texture.get(), SurfaceHandle::kNone);
    Image picture = device.ReadRenderTarget();
    device.SetRenderTarget(TextureHandle::kNone, SurfaceHandle::kNone);
    return picture;
  }
  Image ReadBackBuffer() { return graphics_->GetDevice()->ReadRenderTarget(); }
  // One frame of the large view, clock now: the back buffer cleared as the
  // frame begins, the part opaque as the Spray update leaves it.
  void RenderSelectedPart(uint16_t row, uint32_t now) {
    SetPartAlpha(selected_, 1.0f);
    graphics_->BeginFrame();
    preview_->RenderSelectedPart(row, now);
    graphics_->GetDevice()->EndScene();
  }

  std::vector<BarePart> PreviewParts() {
    std::vector<BarePart> bare;
    for (PartModel* part = parts_->ScanFirst(); part != nullptr; part = parts_->ScanNext()) {
      if (part->mesh == nullptr) continue;
      bare.push_back(BarePart{part->mesh->data, PreviewWorldMatrix(*part), part->mesh->materials,
                              part->mesh->factors});
    }
    return bare;
  }
  BarePart SelectedPart() const {
    return BarePart{selected_->mesh->data, MatrixIdentity(), selected_->mesh->materials,
                    selected_->mesh->factors};
  }
  // What the bare program must repeat of the part's placement: its
  // position, the centring base matrix and the mesh's translation.
  const PartModel& Selected() const { return *selected_; }
  const CameraPath& Path() const { return preview_->Path(); }

 private:
  MemoryLogSink logText_;
  std::unique_ptr<ErrorLog> log_;
  std::shared_ptr<GlContext> context_;
  std::unique_ptr<GraphicsDevice> graphics_;
  DataStore catalogue_;
  std::unique_ptr<CubeTextureSlots> cubes_;
  std::unique_ptr<InstalledPartList> parts_;
  std::unique_ptr<PreviewAnimation> preview_;
  PartModel* selected_ = nullptr;
};

// --- The bare program ------------------------------------------------------------

class BareRenderer {
 public:
  void MakeCurrent() { context_->MakeCurrent(); }

  bool Start(std::vector<BarePart> preview, BarePart selected, int samples,
             const fs::path& workshop) {
    context_ = CreateHeadlessGlContext();
    std::string missing;
    if (context_ == nullptr || !context_->MakeCurrent() || !LoadGlApi(*context_, &gl_, &missing)) {
      std::fprintf(stderr, "preview_bench: no headless GL %s\n", missing.c_str());
      return false;
    }
    previewParts_ = std::move(preview);
    selected_ = std::move(selected);
    for (const BarePart& part : previewParts_)
      previewMeshes_.push_back(UploadMeshBuffers(gl_, part.mesh));
    selectedMesh_ = UploadMeshBuffers(gl_, selected_.mesh);
    MakeFramebuffers(samples);
    LoadEnvironmentMap(workshop / "gfx/env/envmap.dds");
    SetFixedStates();
    return true;
  }

  void RenderPreview() {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, previewFramebuffer_);
    glViewport(0, 0, kSprayPreviewCamera.width, kSprayPreviewCamera.height);
    glClearColor(0.0f, 0.0f, 0.0f, 160.0f / 255.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_MULTISAMPLE);
    // The blend state the selected part's ghost left on.
    glEnable(GL_BLEND);
    const Matrix projection =
        MatrixPerspectiveFovLH(kSprayPreviewCamera.fovY, kSprayPreviewCamera.aspect,
                               kSprayPreviewCamera.zNear, kSprayPreviewCamera.zFar);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&projection.m[0][0]);
    const Matrix view = MatrixLookAtLH(kSprayPreviewCamera.eye, kSprayPreviewCamera.at, {0, 1, 0});
    PlaceLight(view);
    for (size_t p = 0; p < previewParts_.size(); ++p) {
      const BarePart& part = previewParts_[p];
      DrawSubsets(part, previewMeshes_[p], MatrixMultiply(part.world, view), -1, 1.0f);
    }
  }

  // chosen < 0: the whole part without blending; otherwise subset chosen
  // solid, then the others at 20 % alpha, blended.
  void RenderSelectedPart(const Matrix& world, const Matrix& view, int chosen) {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, multisampled_);
    glViewport(0, 0, kScreenWidth, kScreenHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_MULTISAMPLE);
    const Matrix projection = MatrixPerspectiveFovLH(
        0.7853982f, static_cast<float>(kScreenWidth) / kScreenHeight, 200.0f, 1700.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&projection.m[0][0]);
    PlaceLight(view);
    const Matrix modelView = MatrixMultiply(world, view);
    if (chosen < 0) {
      glDisable(GL_BLEND);
      DrawSubsets(selected_, selectedMesh_, modelView, -1, 1.0f);
      return;
    }
    DrawSubsets(selected_, selectedMesh_, modelView, chosen, 1.0f);
    glEnable(GL_BLEND);
    DrawSubsets(selected_, selectedMesh_, modelView, -chosen - 2, kGhostAlpha);
  }

  // What the last pass drew, rows top first like the program's pictures.
  Image ReadPreview() {
    return Read(previewFramebuffer_, kSprayPreviewCamera.width, kSprayPreviewCamera.height);
  }
  Image ReadBackBuffer() {
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, multisampled_);
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
    gl_.BlitFramebuffer(0, 0, kScreenWidth, kScreenHeight, 0, 0, kScreenWidth, kScreenHeight,
                        GL_COLOR_BUFFER_BIT, GL_NEAREST);
    return Read(resolved_, kScreenWidth, kScreenHeight);
  }

 private:
  using Mesh = BareMeshBuffers;

  Image Read(GLuint framebuffer, int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.texels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, image.texels.data());
    // GL's rows run bottom up here.
    for (int y = 0; y < height / 2; ++y) {
      std::swap_ranges(image.texels.begin() + static_cast<ptrdiff_t>(y) * width,
                       image.texels.begin() + static_cast<ptrdiff_t>(y + 1) * width,
                       image.texels.begin() + static_cast<ptrdiff_t>(height - 1 - y) * width);
    }
    return image;
  }

  void PlaceLight(const Matrix& view) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&view.m[0][0]);
    const Light light = SceneLight();
    const GLfloat position[4] = {light.position[0], light.position[1], light.position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
  }

  // only >= 0: that subset alone; only <= -2: every subset but -only - 2;
  // -1: all of them. alpha replaces the diffuse alpha.
  void DrawSubsets(const BarePart& part, const Mesh& mesh, const Matrix& modelView, int only,
                   float alpha) {
    glLoadMatrixf(&modelView.m[0][0]);
    gl_.BindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
    glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex),
                    reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
    glNormalPointer(GL_FLOAT, sizeof(MeshVertex),
                    reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
    glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex),
                      reinterpret_cast<const void*>(offsetof(MeshVertex, u)));
    for (size_t s = 0; s < part.mesh.subsets.size() && s < part.materials.size(); ++s) {
      const int subset = static_cast<int>(s);
      if ((only >= 0 && subset != only) || (only <= -2 && subset == -only - 2)) continue;
      const Material& m = part.materials[s];
      ColorValue diffuse = m.diffuse;
      diffuse.a = alpha;
      SetMaterialColor(GL_AMBIENT, m.ambient);
      SetMaterialColor(GL_DIFFUSE, diffuse);
      SetMaterialColor(GL_SPECULAR, m.specular);
      SetMaterialColor(GL_EMISSION, m.emissive);
      glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.power, 0.0f, 128.0f));
      const GLfloat factor[4] = {0, 0, 0, static_cast<float>(part.factors[s].reflection) / 255};
      glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
      const MeshSubset& range = part.mesh.subsets[s];
      glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.triangleCount * 3), GL_UNSIGNED_INT,
                     reinterpret_cast<const void*>(size_t{range.firstTriangle} * 3 * 4));
    }
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }

  void MakeFramebuffers(int samples) {
    MakeBackBufferFramebuffers(gl_, samples, &multisampled_, &resolved_);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSprayPreviewCamera.width, kSprayPreviewCamera.height,
                 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    GLuint previewDepth = 0;
    gl_.GenRenderbuffers(1, &previewDepth);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, previewDepth);
    gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kSprayPreviewCamera.width,
                            kSprayPreviewCamera.height);
    gl_.GenFramebuffers(1, &previewFramebuffer_);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, previewFramebuffer_);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                previewDepth);
  }

  // What both passes ask of the device, said directly.
  void SetFixedStates() {
    gl_.ClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);

    SetLightAndReflectionStage(/*alphaFromDiffuse=*/true);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }

  std::unique_ptr<GlContext> context_;
  GlApi gl_;
  std::vector<BarePart> previewParts_;
  std::vector<Mesh> previewMeshes_;
  BarePart selected_;
  Mesh selectedMesh_;
  GLuint multisampled_ = 0;
  GLuint resolved_ = 0;
  GLuint previewFramebuffer_ = 0;
};

// The large view's world at clock now, worked out the bare way: the part
// turned about its own centre, one radian a second since it arrived.
Matrix BareSelectedWorld(const PartModel& part, uint32_t now) {
  const Vec3 c = part.centreOffset;
  const Matrix turn = MatrixRotationY(static_cast<float>(now - kArrival) * 0.001f);
  Matrix world =
      MatrixTranslation(part.position.x + c.x, part.position.y + c.y, part.position.z + c.z);
  world = MatrixMultiply(world, turn);
  world = MatrixMultiply(world, MatrixTranslation(-c.x, -c.y, -c.z));
  return MatrixMultiply(world, part.mesh->translation);
}

// The share of pixels on which two pictures agree within 24 levels in every
// colour byte: a check that both sides draw the same thing.
double Agreement(const Image& a, const Image& b) {
  if (a.texels.size() != b.texels.size() || a.texels.empty()) return 0.0;
  size_t agreeing = 0;
  for (size_t i = 0; i < a.texels.size(); ++i) {
    int worst = 0;
    for (int shift : {0, 8, 16}) {
      worst = std::max(worst, std::abs(static_cast<int>((a.texels[i] >> shift) & 0xFF) -
                                       static_cast<int>((b.texels[i] >> shift) & 0xFF)));
    }
    agreeing += worst <= 24 ? 1 : 0;
  }
  return static_cast<double>(agreeing) / static_cast<double>(a.texels.size());
}

struct Pass {
  const char* name;
  std::function<void()> ours;
  std::function<void()> bare;
  std::vector<double> oursMs;
  std::vector<double> bareMs;
};

}  // namespace
}  // namespace kbh

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path workshop = argc > 1 ? fs::path(argv[1]) : fs::path(KBH_WORKSHOP_DIR);
  if (!fs::exists(workshop / "data/firstData.khb")) {
    std::fprintf(stderr, "preview_bench: no workshop at %s (build the demo workshop first)\n",
                 workshop.c_str());
    return 1;
  }
  kbh::TuneHeapForRendering();
  kbh::ProgramSide program;
  kbh::BareRenderer bare;
  if (!program.Start(workshop) ||
      !bare.Start(program.PreviewParts(), program.SelectedPart(), program.Samples(), workshop)) {
    return 1;
  }

  const kbh::CameraPath path = program.Path();
  const kbh::Matrix arrivedView = kbh::MatrixLookAtLH(path.eyeTo, path.atTo, {0, 1, 0});
  const kbh::PartModel& selected = program.Selected();
  uint32_t oursNow = kbh::kArrival;
  uint32_t bareNow = kbh::kArrival;
  auto oursSelected = [&](uint16_t row) {
    return [&, row] {
      program.RenderSelectedPart(row, oursNow);
      oursNow += kbh::kFrameStep;
    };
  };
  auto bareSelected = [&](int chosen) {
    return [&, chosen] {
      bare.RenderSelectedPart(kbh::BareSelectedWorld(selected, bareNow), arrivedView, chosen);
      bareNow += kbh::kFrameStep;
    };
  };
  std::vector<kbh::Pass> passes;
  passes.push_back({"RenderPreview, 450 x 260",
                    [&] { program.RenderPreview(); },
                    [&] { bare.RenderPreview(); },
                    {},
                    {}});
  passes.push_back(
      {"RenderSelectedPart, whole", oursSelected(kbh::kWholeRow), bareSelected(-1), {}, {}});
  passes.push_back({"RenderSelectedPart, ghosted",
                    oursSelected(kbh::kGhostRow),
                    bareSelected(kbh::kGhostRow - 2),
                    {},
                    {}});

  // The pictures of each pass, read after its warm-up.
  std::vector<double> agreement;
  for (size_t p = 0; p < passes.size(); ++p) {
    const bool preview = p == 0;
    program.MakeCurrent();
    kbh::TimeFrames(kbh::kWarmUpFrames, passes[p].ours, nullptr);
    const kbh::Image ours = preview ? program.ReadPreview() : program.ReadBackBuffer();
    bare.MakeCurrent();
    kbh::TimeFrames(kbh::kWarmUpFrames, passes[p].bare, nullptr);
    const kbh::Image theirs = preview ? bare.ReadPreview() : bare.ReadBackBuffer();
    agreement.push_back(kbh::Agreement(ours, theirs));
  }
  for (int block = 0; block < kbh::kBlocks; ++block) {
    for (kbh::Pass& pass : passes) {
      program.MakeCurrent();
      kbh::TimeFrames(kbh::kBlockFrames, pass.ours, &pass.oursMs);
      bare.MakeCurrent();
      kbh::TimeFrames(kbh::kBlockFrames, pass.bare, &pass.bareMs);
    }
  }

  std::printf("Spray screen passes, %d samples on the back buffer, median of %d frames each\n",
              program.Samples(), kbh::kBlocks * kbh::kBlockFrames);
  std::printf("  %-30s %10s %10s %14s %16s\n", "pass", "program", "bare GL", "program / bare",
              "same picture");
  for (size_t p = 0; p < passes.size(); ++p) {
    const double ours = kbh::Median(passes[p].oursMs);
    const double bareMedian = kbh::Median(passes[p].bareMs);
    std::printf("  %-30s %7.3f ms %7.3f ms %14.3f %14.1f %%\n", passes[p].name, ours, bareMedian,
                ours / bareMedian, agreement[p] * 100.0);
  }
  program.MakeCurrent();
  return 0;
}
