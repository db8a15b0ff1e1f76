// Two frames of the program against bare OpenGL programs drawing the same
// content with the same states and nothing else: no state caches, no device
// abstraction.
//
// The TuneUp frame against a bare program that draws the same meshes; the
// same with the background picture drawn first; and with the background, the
// meshes and the interface (the menu bar's pictures of the TuneUp screen, the
// statistics text as as many glyph quads, the pointer), which is everything
// the program draws. The steps between them tell the cost of the frame's 2D
// work apart from the abstraction's.
//
// The Spray frame with the frame part chosen and one of its subsets solid
// inside the ghost of the rest: the preview rendered into its texture and
// drawn, the model frame, the selected part, the colour ball, the lists, the
// colour selector, the menu bar, the statistics and the pointer. The bare
// program draws the program's own 2D draws of that frame, caught on their way
// to the device (frame_capture.hpp), and its own meshes where the program drew
// its; the two pictures are compared to show that both draw the same thing.
//
// Drawing the same content means drawing the same pixels: where a material's
// specular exponent is past GL's 128, the program lights that subset on the
// CPU, and so does the bare program (StageSubsetDrawer, with the same
// formula), because a bare program that clamped the exponent would draw a
// different, cheaper picture. What is compared is then what the device adds
// around the same work. The demo's installed parts all carry a paint of power
// 25 or 100; "unpainted" gives them the part model's own power 250 to measure
// that path.
//
// All render headless into a 1024 x 768 multisampled framebuffer with as many
// samples as the program's device got, resolve it, and wait for the GL to
// finish. Each has a GL context of its own; they take turns in short blocks,
// so that other work on the machine weighs on both alike. Each frame is timed
// on its own and the medians are printed.
//   frame_bench [WORKSHOP [BLOCKS [unpainted]]]   (default: the demo
//   workshop of this build, 20 blocks; "unpainted" gives every installed
//   part the part model's own material, power 250, as if no paint applied)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "app/main_loop.hpp"
#include "app/shutdown.hpp"
#include "app/startup.hpp"
#include "bench/frame/frame_capture.hpp"
#include "bench/support/bare_gl.hpp"
#include "platform/gpu/d3d_lighting.hpp"
#include "platform/gpu/gl_api.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/gpu/heap_tuning.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/input/scripted_input_devices.hpp"
#include "platform/os/clock.hpp"
#include "platform/os/os.hpp"
#include "scene/preview_animation.hpp"
#include "scene/scene_pass.hpp"
#include "scene/stage.hpp"
#include "screens/screen.hpp"
#include "screens/tuneup_screen.hpp"
#include "workshop/part_mesh.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWarmUpFrames = 30;
constexpr int kBlockFrames = 20;
constexpr int kBlocks = 20;

// The program on a headless device, with no window, no input and no pauses.
// It keeps the device's context, to make it current again after the bare
// program's turn.
class HeadlessShell final : public Shell {
 public:
  std::shared_ptr<GlContext> context;
  FrameCapture capture;

  bool CreateMainWindow() override { return true; }
  bool PeekWindowMessage(WindowMessage*) override { return false; }
  WindowMessage WaitWindowMessage() override { return WindowMessage::kClose; }
  std::unique_ptr<GraphicsSystem> CreateGraphicsSystem() override {
    context = CreateHeadlessGlContext();
    return CaptureGraphicsSystem(CreateGlSystem(context), capture);
  }
  std::unique_ptr<InputDevices> CreateInputDevices() override {
    return std::make_unique<ScriptedInputDevices>();
  }
  void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }
  uint32_t GetTimeMs() override { return TickCount(); }
  void SleepMs(uint32_t) override {}
};

// What the bare program needs of one installed part: its mesh, where it
// stands before the turntable turns it, and how each subset is drawn.
struct BarePart {
  MeshData mesh;
  Matrix placement;
  std::vector<Material> materials;
  std::vector<FactorPair> factors;
};

// The program started on its headless shell, with what the bare program must
// draw: the installed parts as the first frame leaves them (every part
// opaque), unturned.
struct StartedProgram {
  HeadlessShell shell;
  std::unique_ptr<App> app;
  std::vector<BarePart> parts;
  int samples = 0;
};

bool StartProgram(const ProgramDir& dir, bool unpainted, StartedProgram* program) {
  program->app = std::make_unique<App>(program->shell, dir);
  App& app = *program->app;
  if (std::optional<ShutdownStep> failed = StartUp(app)) {
    ShutDown(app, *failed);
    std::fprintf(stderr, "frame_bench: the program did not start; see %s/error.log\n",
                 dir.path.c_str());
    return false;
  }
  program->samples = app.graphics.GetDevice()->BackBufferSamples();
  RunFrame(app);
  app.installedParts.SetAllPartsRotation(0.0f, 0.0f, 0.0f);
  for (PartModel* part = app.installedParts.ScanFirst(); part != nullptr;
       part = app.installedParts.ScanNext()) {
    if (part->mesh == nullptr) continue;
    if (unpainted) {
      std::fill(part->mesh->materials.begin(), part->mesh->materials.end(), PartModelMaterial());
    }
    program->parts.push_back(BarePart{part->mesh->data, SceneWorldMatrix(*part),
                                      part->mesh->materials, part->mesh->factors});
  }
  return true;
}

// --- The bare program --------------------------------------------------------

// A resolved 1024 x 768 frame, rows top first like the program's pictures.
Image ReadResolved(GlApi& gl, GLuint resolved) {
  Image image;
  image.width = kScreenWidth;
  image.height = kScreenHeight;
  image.texels.resize(size_t{kScreenWidth} * kScreenHeight);
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, resolved);
  glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               image.texels.data());
  for (int y = 0; y < kScreenHeight / 2; ++y) {
    std::swap_ranges(image.texels.begin() + ptrdiff_t{y} * kScreenWidth,
                     image.texels.begin() + ptrdiff_t{y + 1} * kScreenWidth,
                     image.texels.begin() + ptrdiff_t{kScreenHeight - 1 - y} * kScreenWidth);
  }
  return image;
}

class BareRenderer {
 public:
  void MakeCurrent() { context_->MakeCurrent(); }
  bool Start(const std::vector<BarePart>& parts, int samples, const fs::path& workshop) {
    context_ = CreateHeadlessGlContext();
    std::string missing;
    if (context_ == nullptr || !context_->MakeCurrent() || !LoadGlApi(*context_, &gl_, &missing)) {
      std::fprintf(stderr, "frame_bench: no headless GL %s\n", missing.c_str());
      return false;
    }
    MakeFramebuffers(samples);
    for (const BarePart& part : parts)
      meshes_.push_back(UploadMeshBuffers(gl_, part.mesh));
    LoadBackground(workshop / "gfx/env/mainBG.dds");
    LoadInterface(workshop / "gfx/gui");
    LoadEnvironmentMap(workshop / "gfx/env/envmap.dds");
    SetFixedStates();
    return true;
  }

  Image Read() { return ReadResolved(gl_, resolved_); }

  void Frame(const std::vector<BarePart>& parts, float angle, bool withBackground,
             bool withInterface = false) {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, multisampled_);
    glViewport(0, 0, kScreenWidth, kScreenHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (withBackground) DrawBackground();

    const Matrix view = MatrixLookAtLH(kTuneUpCamera.eye, kTuneUpCamera.at, Vec3{0.0f, 1.0f, 0.0f});
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&view.m[0][0]);
    const Light light = SceneLight();
    const GLfloat position[4] = {light.position[0], light.position[1], light.position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);

    const Matrix turn = MatrixRotationY(angle);
    for (size_t p = 0; p < parts.size(); ++p) {
      const BarePart& part = parts[p];
      const Matrix modelView = MatrixMultiply(MatrixMultiply(part.placement, turn), view);
      glLoadMatrixf(&modelView.m[0][0]);
      gl_.BindBuffer(GL_ARRAY_BUFFER, meshes_[p].vertices);
      gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, meshes_[p].indices);
      glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex),
                      reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
      glNormalPointer(GL_FLOAT, sizeof(MeshVertex),
                      reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
      glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex),
                        reinterpret_cast<const void*>(offsetof(MeshVertex, u)));
      for (size_t s = 0; s < part.mesh.subsets.size() && s < part.materials.size(); ++s) {
        Material drawn = part.materials[s];
        drawn.diffuse.a *= static_cast<float>(part.factors[s].opacity) * 0.003921569f;
        SetMaterialColor(GL_AMBIENT, drawn.ambient);
        SetMaterialColor(GL_DIFFUSE, drawn.diffuse);
        SetMaterialColor(GL_SPECULAR, drawn.specular);
        SetMaterialColor(GL_EMISSION, drawn.emissive);
        const GLfloat factor[4] = {0, 0, 0, static_cast<float>(part.factors[s].reflection) / 255};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
        drawer_.Draw(gl_, part.mesh, s, drawn, modelView, view);
      }
    }
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    if (withInterface) DrawInterface();

    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, multisampled_);
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
    gl_.BlitFramebuffer(0, 0, kScreenWidth, kScreenHeight, 0, 0, kScreenWidth, kScreenHeight,
                        GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }

 private:
  using Mesh = BareMeshBuffers;

  void MakeFramebuffers(int samples) {
    MakeBackBufferFramebuffers(gl_, samples, &multisampled_, &resolved_);
  }

  void LoadBackground(const fs::path& path) {
    std::vector<uint8_t> bytes;
    Image picture;
    if (!ReadWholeFile(path.string(), &bytes) || !DecodeImage(bytes, &picture)) {
      std::fprintf(stderr, "frame_bench: cannot read %s\n", path.c_str());
      return;
    }
    glGenTextures(1, &background_);
    glBindTexture(GL_TEXTURE_2D, background_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.width, picture.height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, picture.texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    backgroundWidth_ = picture.width;
    backgroundHeight_ = picture.height;
  }

  // A 2D picture as the interface draws it: texel for pixel, blended when it
  // has alpha.
  struct Picture {
    GLuint texture = 0;
    float x = 0, y = 0, width = 0, height = 0;
    bool blended = false;
  };

  static GLuint Upload(const Image& picture) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.width, picture.height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, picture.texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
  }

  // What the TuneUp screen shows of the interface with the pointer at the
  // top-left corner, in the program's order: the frame, the panel, the
  // screen's label, its lit tab, the two statistics lines, the pointer.
  void LoadInterface(const fs::path& folder) {
    struct Placed {
      const char* file;
      float x, y;
    };
    const Placed placed[] = {
        {"gui_menu_borderleft.dds", 0, 0},
        {"gui_menu_bordertop.dds", 13, 0},
        {"gui_menu_borderright.dds", 1009, 0},
        {"gui_menu_borderbottom.dds", 757, 754},
        {"gui_menu_base.dds", 0, 515},
        {"gui_menu_xTuneup.dds", 25, 575},
        {"gui_menu_bTuneUp_active.dds", 150, 520},
        {"gui_Cursor_Normal.dds", -6, -2},
    };
    for (const Placed& place : placed) {
      std::vector<uint8_t> bytes;
      Image picture;
      if (!ReadWholeFile((folder / place.file).string(), &bytes) || !DecodeImage(bytes, &picture)) {
        std::fprintf(stderr, "frame_bench: cannot read %s\n", (folder / place.file).c_str());
        continue;
      }
      const bool label = std::string(place.file).find("_x") != std::string::npos;
      pictures_.push_back({Upload(picture), place.x, place.y, static_cast<float>(picture.width),
                           static_cast<float>(picture.height),
                           label || picture.sourceFormat == FMT_A8R8G8B8});
    }
    // "Frames: 60" and "Vertices: 36378" as glyph quads of a small atlas.
    Image atlas{256, 256, FMT_A8R8G8B8, std::vector<uint32_t>(256 * 256, 0x80FFFFFFu)};
    const GLuint atlasTexture = Upload(atlas);
    const char* lines[] = {"Frames: 60", "Vertices: 36378"};
    const float starts[] = {15, 150};
    for (int line = 0; line < 2; ++line) {
      float x = starts[line];
      for (const char* c = lines[line]; *c != '\0'; ++c, x += 8) {
        if (*c != ' ') glyphs_.push_back({atlasTexture, x, 15, 8, 14, true});
      }
    }
  }

  static void DrawQuad(const Picture& picture) {
    glBindTexture(GL_TEXTURE_2D, picture.texture);
    if (picture.blended) {
      glEnable(GL_BLEND);
    } else {
      glDisable(GL_BLEND);
    }
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0);
    glVertex2f(picture.x, picture.y);
    glTexCoord2f(1, 0);
    glVertex2f(picture.x + picture.width, picture.y);
    glTexCoord2f(0, 1);
    glVertex2f(picture.x, picture.y + picture.height);
    glTexCoord2f(1, 1);
    glVertex2f(picture.x + picture.width, picture.y + picture.height);
    glEnd();
  }

  // From the 3D states to drawing pictures texel for pixel, and back.
  void Begin2d() {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, kScreenWidth, kScreenHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  void End2d() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glEnable(GL_MULTISAMPLE);
    glEnable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
  }

  // The interface's pictures and text over the scene.
  void DrawInterface() {
    Begin2d();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The pointer comes last, after the text.
    for (size_t i = 0; i + 1 < pictures_.size(); ++i)
      DrawQuad(pictures_[i]);
    for (const Picture& glyph : glyphs_)
      DrawQuad(glyph);
    if (!pictures_.empty()) DrawQuad(pictures_.back());
    End2d();
  }

  // The background picture, opaque.
  void DrawBackground() {
    Begin2d();
    DrawQuad({background_, 0, 0, static_cast<float>(backgroundWidth_),
              static_cast<float>(backgroundHeight_), false});
    End2d();
  }

  // What the program's TuneUp pass asks of the device, said directly.
  void SetFixedStates() {
    gl_.ClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glMatrixMode(GL_PROJECTION);
    const Matrix projection = StageProjection(kTuneUpCamera);
    glLoadMatrixf(&projection.m[0][0]);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_MULTISAMPLE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glShadeModel(GL_SMOOTH);

    SetLightAndReflectionStage(/*alphaFromDiffuse=*/false);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }

  std::unique_ptr<GlContext> context_;
  GlApi gl_;
  GLuint background_ = 0;
  int backgroundWidth_ = 0;
  int backgroundHeight_ = 0;
  GLuint multisampled_ = 0;
  GLuint resolved_ = 0;
  std::vector<Mesh> meshes_;
  std::vector<Picture> pictures_;
  std::vector<Picture> glyphs_;
  StageSubsetDrawer drawer_;
};

// --- The Spray frame ----------------------------------------------------------

// The part shown large: the frame, with subset 1 solid inside the ghost of
// the rest (subset list row 2).
constexpr ItemId kSprayPart = 0x00010101;
constexpr int32_t kGhostedSubsetRow = 2;

// What the bare program draws of the Spray screen in 3D, taken from the
// program once its camera has arrived at the part.
struct SprayContent {
  std::vector<BarePart> previewParts;  // placement: the preview's world matrix
  BarePart selected;                   // placement: identity
  // The part's world is spinBefore x (a turn about y) x spinAfter.
  Matrix spinBefore;
  Matrix spinAfter;
  uint32_t arrival = 0;
  Matrix selectedView;
  int chosenSubset = 0;
  BarePart ball;  // placement: its world matrix
};

// Switches the program to the Spray screen, chooses the part and a subset
// of it, waits for the camera to arrive, and catches one frame's 2D draws.
bool EnterSpray(App& app, FrameCapture& capture, SprayContent* content) {
  app.menuBar.screenIndex = static_cast<int32_t>(ScreenId::kSpray);
  app.menuBar.menuChanged = 1;
  RunFrame(app);
  ScrollBox& parts = *app.screens.categoryList;
  int32_t row = -1;
  for (size_t i = 0; i < parts.items.size(); ++i) {
    if (parts.items[i].value == kSprayPart) row = static_cast<int32_t>(i);
  }
  if (row < 0) return false;
  parts.Select(row);
  RunFrame(app);
  app.screens.subsetList->Select(kGhostedSubsetRow);
  while (app.preview.State() != AnimationState::kIdle)
    RunFrame(app);
  RunFrame(app);
  PartModel* model = app.installedParts.FindInstalled(kSprayPart);
  if (model == nullptr || model->mesh == nullptr || app.colourSelector.ball == nullptr) {
    return false;
  }
  for (PartModel* part = app.installedParts.ScanFirst(); part != nullptr;
       part = app.installedParts.ScanNext()) {
    if (part->mesh == nullptr) continue;
    content->previewParts.push_back(BarePart{part->mesh->data, PreviewWorldMatrix(*part),
                                             part->mesh->materials, part->mesh->factors});
  }
  // Each frame's update leaves every part opaque before the large view
  // ghosts the selected one.
  for (BarePart& part : content->previewParts) {
    for (Material& material : part.materials)
      material.diffuse.a = 1.0f;
  }
  content->selected =
      BarePart{model->mesh->data, MatrixIdentity(), model->mesh->materials, model->mesh->factors};
  for (Material& material : content->selected.materials)
    material.diffuse.a = 1.0f;
  const MeshRecord& mesh = *model->mesh;
  Matrix baseInverse = MatrixIdentity();
  if (!MatrixInverse(mesh.baseMatrix, &baseInverse)) return false;
  content->spinBefore = MatrixMultiply(
      MatrixMultiply(MatrixTranslation(model->position.x, model->position.y, model->position.z),
                     mesh.baseMatrix),
      mesh.scaling);
  content->spinAfter = MatrixMultiply(baseInverse, mesh.translation);
  content->arrival = app.preview.EndTime();
  content->selectedView =
      MatrixLookAtLH(app.preview.Path().eyeTo, app.preview.Path().atTo, Vec3{0.0f, 1.0f, 0.0f});
  content->chosenSubset = kGhostedSubsetRow - 1;
  const MeshRecord& ball = *app.colourSelector.ball;
  content->ball = BarePart{
      ball.data,
      MatrixMultiply(MatrixMultiply(MatrixMultiply(ball.baseMatrix, ball.scaling), ball.rotation),
                     ball.translation),
      ball.materials, ball.factors};
  capture.draws.clear();
  capture.capturing = true;
  RunFrame(app);
  capture.capturing = false;
  return true;
}

// The Spray frame the bare way: the preview into its texture, then the
// frame's 2D draws as the program made them, in their order, with the
// selected part and the ball drawn where the program drew its meshes.
class BareSpray {
 public:
  void MakeCurrent() { context_->MakeCurrent(); }

  bool Start(const SprayContent& content, const FrameCapture& capture, int samples,
             const fs::path& workshop) {
    context_ = CreateHeadlessGlContext();
    std::string missing;
    if (context_ == nullptr || !context_->MakeCurrent() || !LoadGlApi(*context_, &gl_, &missing)) {
      std::fprintf(stderr, "frame_bench: no headless GL %s\n", missing.c_str());
      return false;
    }
    content_ = &content;
    draws_ = capture.draws;
    for (const BarePart& part : content.previewParts)
      previewMeshes_.push_back(UploadMeshBuffers(gl_, part.mesh));
    selectedMesh_ = UploadMeshBuffers(gl_, content.selected.mesh);
    ballMesh_ = UploadMeshBuffers(gl_, content.ball.mesh);
    for (const CapturedDraw& draw : draws_) {
      const uint32_t handle = static_cast<uint32_t>(
          draw.kind == CapturedDraw::Kind::kSprite ? draw.sprite.texture : draw.atlas);
      if (textures_.count(handle) != 0) continue;
      const auto image = capture.images.find(handle);
      if (image != capture.images.end()) {
        textures_[handle] = {UploadPicture(image->second), image->second.width,
                             image->second.height};
      } else {
        textures_[handle] = {0, 0, 0};  // the preview's render texture
      }
    }
    MakeBackBufferFramebuffers(gl_, samples, &multisampled_, &resolved_);
    MakePreviewTarget();
    LoadEnvironmentMap(workshop / "gfx/env/envmap.dds");
    gl_.ClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    return true;
  }

  // The last frame, rows top first like the program's pictures.
  Image Read() { return ReadResolved(gl_, resolved_); }

  void Frame(uint32_t now) {
    RenderPreview();
    gl_.BindFramebuffer(GL_FRAMEBUFFER, multisampled_);
    glViewport(0, 0, kScreenWidth, kScreenHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (const CapturedDraw& draw : draws_) {
      switch (draw.kind) {
        case CapturedDraw::Kind::kSprite:
          DrawSprite(draw.sprite);
          break;
        case CapturedDraw::Kind::kGlyphs:
          DrawGlyphs(draw);
          break;
        case CapturedDraw::Kind::kLine:
          DrawLine(draw);
          break;
        case CapturedDraw::Kind::kMeshes:
          DrawSelectedPart(now);
          DrawBall();
          break;
      }
    }
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, multisampled_);
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
    gl_.BlitFramebuffer(0, 0, kScreenWidth, kScreenHeight, 0, 0, kScreenWidth, kScreenHeight,
                        GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }

 private:
  using Mesh = BareMeshBuffers;
  struct Texture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
  };

  static GLuint UploadPicture(const Image& picture) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.width, picture.height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, picture.texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
  }

  void MakePreviewTarget() {
    glGenTextures(1, &preview_.name);
    glBindTexture(GL_TEXTURE_2D, preview_.name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSprayPreviewCamera.width, kSprayPreviewCamera.height,
                 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    preview_.width = kSprayPreviewCamera.width;
    preview_.height = kSprayPreviewCamera.height;
    GLuint depth = 0;
    gl_.GenRenderbuffers(1, &depth);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, depth);
    gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kSprayPreviewCamera.width,
                            kSprayPreviewCamera.height);
    gl_.GenFramebuffers(1, &previewFramebuffer_);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, previewFramebuffer_);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, preview_.name, 0);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                depth);
  }

  // The fixed-function 3D states every mesh of the frame is drawn with.
  void Begin3d(bool depthTest, bool blend) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_SCISSOR_TEST);
    if (depthTest) {
      glEnable(GL_DEPTH_TEST);
    } else {
      glDisable(GL_DEPTH_TEST);
    }
    if (blend) {
      glEnable(GL_BLEND);
    } else {
      glDisable(GL_BLEND);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    SetLightAndReflectionStage(/*alphaFromDiffuse=*/true);
  }

  void PlaceCamera(const Matrix& projection, const Matrix& view) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&projection.m[0][0]);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&view.m[0][0]);
    const Light light = SceneLight();
    const GLfloat position[4] = {light.position[0], light.position[1], light.position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
  }

  // only >= 0: that subset alone; only <= -2: every subset but -only - 2;
  // -1: all. alpha < 0 keeps the material's diffuse alpha.
  void DrawSubsets(const BarePart& part, const Mesh& mesh, const Matrix& world, const Matrix& view,
                   int only, float alpha) {
    const Matrix modelView = MatrixMultiply(world, view);
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
      Material drawn = part.materials[s];
      if (alpha >= 0.0f) drawn.diffuse.a = alpha;
      SetMaterialColor(GL_AMBIENT, drawn.ambient);
      SetMaterialColor(GL_DIFFUSE, drawn.diffuse);
      SetMaterialColor(GL_SPECULAR, drawn.specular);
      SetMaterialColor(GL_EMISSION, drawn.emissive);
      const GLfloat factor[4] = {0, 0, 0, static_cast<float>(part.factors[s].reflection) / 255};
      glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
      drawer_.Draw(gl_, part.mesh, s, drawn, modelView, view);
    }
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }

  void RenderPreview() {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, previewFramebuffer_);
    glViewport(0, 0, kSprayPreviewCamera.width, kSprayPreviewCamera.height);
    glClearColor(0.0f, 0.0f, 0.0f, 160.0f / 255.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_MULTISAMPLE);
    Begin3d(/*depthTest=*/true, /*blend=*/true);
    const Matrix view = MatrixLookAtLH(kSprayPreviewCamera.eye, kSprayPreviewCamera.at, {0, 1, 0});
    PlaceCamera(SprayPreviewProjection(), view);
    for (size_t p = 0; p < content_->previewParts.size(); ++p) {
      const BarePart& part = content_->previewParts[p];
      DrawSubsets(part, previewMeshes_[p], part.placement, view, -1, -1.0f);
    }
  }

  // The part turned about its centre, one radian a second since the camera
  // arrived; the chosen subset solid, the others a 20 % ghost.
  void DrawSelectedPart(uint32_t now) {
    glEnable(GL_MULTISAMPLE);
    Begin3d(/*depthTest=*/true, /*blend=*/false);
    const SprayContent& c = *content_;
    PlaceCamera(StageProjection(kTuneUpCamera), c.selectedView);
    const Matrix turn =
        MatrixRotationY(static_cast<float>(now - c.arrival) * kSpinRadiansPerMillisecond);
    const Matrix world = MatrixMultiply(MatrixMultiply(c.spinBefore, turn), c.spinAfter);
    DrawSubsets(c.selected, selectedMesh_, world, c.selectedView, c.chosenSubset, -1.0f);
    glEnable(GL_BLEND);
    DrawSubsets(c.selected, selectedMesh_, world, c.selectedView, -c.chosenSubset - 2, kGhostAlpha);
  }

  // The ball in its flat panel: no depth test, opaque, subset 0's paint.
  void DrawBall() {
    Begin3d(/*depthTest=*/false, /*blend=*/false);
    const Matrix view = MatrixLookAtLH(kColourBallCamera.eye, kColourBallCamera.at, {0, 1, 0});
    PlaceCamera(StageProjection(kColourBallCamera), view);
    BarePart ball = content_->ball;
    std::fill(ball.materials.begin(), ball.materials.end(), ball.materials.front());
    std::fill(ball.factors.begin(), ball.factors.end(), ball.factors.front());
    DrawSubsets(ball, ballMesh_, ball.placement, view, -1, -1.0f);
  }

  // From 3D to pixels of the back buffer, y down, texture x colour.
  void Begin2d(bool blend) {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_2D);
    if (blend) {
      glEnable(GL_BLEND);
    } else {
      glDisable(GL_BLEND);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kScreenWidth, kScreenHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
  }

  static void SetColor(uint32_t argb) {
    glColor4ub(static_cast<GLubyte>(argb >> 16), static_cast<GLubyte>(argb >> 8),
               static_cast<GLubyte>(argb), static_cast<GLubyte>(argb >> 24));
  }

  void DrawSprite(const SpriteDraw& sprite) {
    const auto found = textures_.find(static_cast<uint32_t>(sprite.texture));
    if (found == textures_.end()) return;
    const Texture& texture = found->second.name != 0 ? found->second : preview_;
    Begin2d(sprite.alphaBlend);
    glDisable(GL_SCISSOR_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glLoadMatrixf(&sprite.transform.m[0][0]);
    SetColor(sprite.color);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    const float x0 = sprite.position.x;
    const float y0 = sprite.position.y;
    const float x1 = x0 + static_cast<float>(texture.width);
    const float y1 = y0 + static_cast<float>(texture.height);
    // What this program renders comes out bottom row first.
    const float top = &texture == &preview_ ? 1.0f : 0.0f;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, top);
    glVertex2f(x0, y0);
    glTexCoord2f(1, top);
    glVertex2f(x1, y0);
    glTexCoord2f(0, 1 - top);
    glVertex2f(x0, y1);
    glTexCoord2f(1, 1 - top);
    glVertex2f(x1, y1);
    glEnd();
  }

  // Coverage from the atlas's alpha, colour from the text's.
  void DrawGlyphs(const CapturedDraw& draw) {
    const Texture& atlas = textures_[static_cast<uint32_t>(draw.atlas)];
    if (atlas.name == 0) return;
    Begin2d(true);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_ALPHA, GL_PRIMARY_COLOR);
    if (draw.clipped) {
      glEnable(GL_SCISSOR_TEST);
      // This back buffer's rows run bottom up.
      glScissor(draw.clip.left, kScreenHeight - draw.clip.bottom, draw.clip.right - draw.clip.left,
                draw.clip.bottom - draw.clip.top);
    } else {
      glDisable(GL_SCISSOR_TEST);
    }
    glLoadIdentity();
    SetColor(draw.color);
    glBindTexture(GL_TEXTURE_2D, atlas.name);
    const float du = 1.0f / static_cast<float>(atlas.width);
    const float dv = 1.0f / static_cast<float>(atlas.height);
    glBegin(GL_TRIANGLES);
    for (const GlyphQuad& q : draw.quads) {
      glTexCoord2f(q.u0 * du, q.v0 * dv);
      glVertex2f(q.x0, q.y0);
      glTexCoord2f(q.u1 * du, q.v0 * dv);
      glVertex2f(q.x1, q.y0);
      glTexCoord2f(q.u0 * du, q.v1 * dv);
      glVertex2f(q.x0, q.y1);
      glTexCoord2f(q.u1 * du, q.v0 * dv);
      glVertex2f(q.x1, q.y0);
      glTexCoord2f(q.u1 * du, q.v1 * dv);
      glVertex2f(q.x1, q.y1);
      glTexCoord2f(q.u0 * du, q.v1 * dv);
      glVertex2f(q.x0, q.y1);
    }
    glEnd();
  }

  void DrawLine(const CapturedDraw& draw) {
    Begin2d(true);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_SCISSOR_TEST);
    glLoadIdentity();
    SetColor(draw.color);
    glLineWidth(draw.width);
    glBegin(GL_LINES);
    glVertex2f(draw.from.x, draw.from.y);
    glVertex2f(draw.to.x, draw.to.y);
    glEnd();
  }

  std::unique_ptr<GlContext> context_;
  GlApi gl_;
  const SprayContent* content_ = nullptr;
  std::vector<CapturedDraw> draws_;
  std::vector<Mesh> previewMeshes_;
  Mesh selectedMesh_;
  Mesh ballMesh_;
  std::unordered_map<uint32_t, Texture> textures_;
  Texture preview_;
  StageSubsetDrawer drawer_;
  GLuint previewFramebuffer_ = 0;
  GLuint multisampled_ = 0;
  GLuint resolved_ = 0;
};

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

// The program writes its log into its folder: give it one of its own that
// sees the workshop's data through links, so the workshop stays as it was.
bool MakeProgramDir(const fs::path& workshop, fs::path* made) {
  std::string pattern = (fs::temp_directory_path() / "kbh-frame-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return false;
  *made = pattern;
  std::error_code error;
  for (const char* folder : {"data", "gfx"})
    fs::create_directory_symlink(fs::absolute(workshop / folder), *made / folder, error);
  return !error;
}

}  // namespace
}  // namespace kbh

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  // Absolute: starting the program changes into its own folder.
  const fs::path workshop = fs::absolute(argc > 1 ? fs::path(argv[1]) : fs::path(KBH_WORKSHOP_DIR));
  const int blocks = argc > 2 ? std::max(1, std::atoi(argv[2])) : kbh::kBlocks;
  const bool unpainted = argc > 3 && std::string(argv[3]) == "unpainted";
  if (!fs::exists(workshop / "data/firstData.khb")) {
    std::fprintf(stderr, "frame_bench: no workshop at %s (build the demo workshop first)\n",
                 workshop.c_str());
    return 1;
  }
  kbh::TuneHeapForRendering();
  fs::path programDir;
  if (!kbh::MakeProgramDir(workshop, &programDir)) {
    std::fprintf(stderr, "frame_bench: cannot make a program folder\n");
    return 1;
  }
  int status = 1;
  kbh::StartedProgram program;
  kbh::BareRenderer bare;
  const bool started = kbh::StartProgram(kbh::ProgramDir{programDir.string()}, unpainted, &program);
  if (started && bare.Start(program.parts, program.samples, workshop)) {
    kbh::App& app = *program.app;
    auto ours = [&app] { kbh::RunFrame(app); };
    auto meshesOnly = [&] {
      bare.Frame(program.parts, kbh::TurntableAngle(kbh::TickCount()), false);
    };
    auto withBackground = [&] {
      bare.Frame(program.parts, kbh::TurntableAngle(kbh::TickCount()), true);
    };
    auto withInterface = [&] {
      bare.Frame(program.parts, kbh::TurntableAngle(kbh::TickCount()), true, true);
    };
    std::vector<double> oursMs;
    std::vector<double> bareMs;
    std::vector<double> bareBackgroundMs;
    std::vector<double> bareInterfaceMs;
    program.shell.context->MakeCurrent();
    kbh::TimeFrames(kbh::kWarmUpFrames, ours, nullptr);
    bare.MakeCurrent();
    kbh::TimeFrames(kbh::kWarmUpFrames, meshesOnly, nullptr);
    kbh::TimeFrames(kbh::kWarmUpFrames, withBackground, nullptr);
    kbh::TimeFrames(kbh::kWarmUpFrames, withInterface, nullptr);
    const kbh::Image bareTuneUp = bare.Read();
    program.shell.context->MakeCurrent();
    kbh::TimeFrames(1, ours, nullptr);
    const kbh::Image oursTuneUp = app.graphics.GetDevice()->ReadRenderTarget();
    std::printf("TuneUp: the two pictures agree on %.1f %% of pixels (within 24 levels)\n",
                100.0 * kbh::Agreement(oursTuneUp, bareTuneUp));
    if (std::getenv("KBH_BENCH_PICTURES") != nullptr) {
      kbh::WriteWholeFile("/tmp/tuneup_program.png", kbh::EncodePng(oursTuneUp));
      kbh::WriteWholeFile("/tmp/tuneup_bare.png", kbh::EncodePng(bareTuneUp));
    }
    for (int block = 0; block < blocks; ++block) {
      program.shell.context->MakeCurrent();
      kbh::TimeFrames(kbh::kBlockFrames, ours, &oursMs);
      bare.MakeCurrent();
      kbh::TimeFrames(kbh::kBlockFrames, meshesOnly, &bareMs);
      kbh::TimeFrames(kbh::kBlockFrames, withBackground, &bareBackgroundMs);
      kbh::TimeFrames(kbh::kBlockFrames, withInterface, &bareInterfaceMs);
    }
    size_t vertices = 0;
    for (const kbh::BarePart& part : program.parts)
      vertices += part.mesh.vertices.size();
    const double oursMedian = kbh::Median(oursMs);
    const double bareMedian = kbh::Median(bareMs);
    const double bareBackgroundMedian = kbh::Median(bareBackgroundMs);
    const double bareInterfaceMedian = kbh::Median(bareInterfaceMs);
    std::printf(
        "TuneUp frame, 1024 x 768, %d samples, %zu parts, %zu vertices, median of %zu frames\n"
        "  program (background, meshes, interface)  %7.2f ms\n"
        "  bare GL, meshes                          %7.2f ms   program / bare  %.3f\n"
        "  bare GL, background + meshes             %7.2f ms   program / bare  %.3f\n"
        "  bare GL, background + meshes + interface %7.2f ms   program / bare  %.3f\n"
        "  the interface adds %.2f ms to the bare frame (%.1f %%)\n",
        program.samples, program.parts.size(), vertices, oursMs.size(), oursMedian, bareMedian,
        oursMedian / bareMedian, bareBackgroundMedian, oursMedian / bareBackgroundMedian,
        bareInterfaceMedian, oursMedian / bareInterfaceMedian,
        bareInterfaceMedian - bareBackgroundMedian,
        100.0 * (bareInterfaceMedian / bareBackgroundMedian - 1.0));
    status = 0;

    kbh::SprayContent spray;
    kbh::BareSpray bareSpray;
    if (!kbh::EnterSpray(app, program.shell.capture, &spray) ||
        !bareSpray.Start(spray, program.shell.capture, program.samples, workshop)) {
      std::fprintf(stderr, "frame_bench: no Spray frame (part %08X)\n", kbh::kSprayPart);
      status = 1;
    } else {
      auto bareSprayFrame = [&] { bareSpray.Frame(kbh::TickCount()); };
      std::vector<double> oursSprayMs;
      std::vector<double> bareSprayMs;
      program.shell.context->MakeCurrent();
      kbh::TimeFrames(kbh::kWarmUpFrames, ours, nullptr);
      const kbh::Image oursPicture = app.graphics.GetDevice()->ReadRenderTarget();
      bareSpray.MakeCurrent();
      kbh::TimeFrames(kbh::kWarmUpFrames, bareSprayFrame, nullptr);
      const double agreement = kbh::Agreement(oursPicture, bareSpray.Read());
      if (std::getenv("KBH_BENCH_PICTURES") != nullptr) {
        kbh::WriteWholeFile("/tmp/spray_program.png", kbh::EncodePng(oursPicture));
        kbh::WriteWholeFile("/tmp/spray_bare.png", kbh::EncodePng(bareSpray.Read()));
      }
      for (int block = 0; block < blocks; ++block) {
        program.shell.context->MakeCurrent();
        kbh::TimeFrames(kbh::kBlockFrames, ours, &oursSprayMs);
        bareSpray.MakeCurrent();
        kbh::TimeFrames(kbh::kBlockFrames, bareSprayFrame, &bareSprayMs);
      }
      size_t sprites = 0;
      size_t glyphs = 0;
      for (const kbh::CapturedDraw& draw : program.shell.capture.draws) {
        sprites += draw.kind == kbh::CapturedDraw::Kind::kSprite ? 1 : 0;
        glyphs += draw.kind == kbh::CapturedDraw::Kind::kGlyphs ? draw.quads.size() : 0;
      }
      const double oursSpray = kbh::Median(oursSprayMs);
      const double bareSprayMedian = kbh::Median(bareSprayMs);
      std::printf(
          "Spray frame (preview, model frame, part %08X ghosted, ball, interface: %zu pictures, "
          "%zu glyphs), median of %zu frames\n"
          "  program                                  %7.2f ms\n"
          "  bare GL, same content                    %7.2f ms   program / bare  %.3f\n"
          "  the two pictures agree on %.1f %% of pixels (within 24 levels)\n",
          kbh::kSprayPart, sprites, glyphs, oursSprayMs.size(), oursSpray, bareSprayMedian,
          oursSpray / bareSprayMedian, agreement * 100.0);
    }
  }
  if (started) {
    program.shell.context->MakeCurrent();
    kbh::ShutDown(*program.app, kbh::ShutdownStep::kT2AfterMainLoop);
  }
  std::error_code ignored;
  fs::remove_all(programDir, ignored);
  return status;
}
