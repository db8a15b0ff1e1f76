// The TuneUp frame as the program draws it, against a bare OpenGL program
// that draws the same meshes with the same states and nothing else: no state
// caches, no device abstraction, no background, no text; the same bare
// program with the background picture drawn first; and with the background,
// the meshes and the interface (the menu bar's pictures of the TuneUp
// screen, the statistics text as as many glyph quads, the pointer), which is
// everything the program draws. The steps between them tell the cost of the
// frame's 2D work apart from the abstraction's. All render headless
// into a 1024 x 768 multisampled framebuffer with as many samples as the
// program's device got, resolve it, and wait for the GL to finish. Each has
// a GL context of its own; they take turns in short blocks, so that other
// work on the machine weighs on both alike. Each frame is timed on its own
// and the medians are printed.
//   frame_bench [WORKSHOP]   (default: the demo workshop of this build)
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
#include "bench/support/bare_gl.hpp"
#include "platform/gpu/gl_api.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/gpu/heap_tuning.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/input/scripted_input_devices.hpp"
#include "platform/os/clock.hpp"
#include "platform/os/os.hpp"
#include "scene/scene_pass.hpp"
#include "screens/tuneup_screen.hpp"

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

  bool CreateMainWindow() override { return true; }
  bool PeekWindowMessage(WindowMessage*) override { return false; }
  WindowMessage WaitWindowMessage() override { return WindowMessage::kClose; }
  std::unique_ptr<GraphicsSystem> CreateGraphicsSystem() override {
    context = CreateHeadlessGlContext();
    return CreateGlSystem(context);
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

bool StartProgram(const ProgramDir& dir, StartedProgram* program) {
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
    program->parts.push_back(BarePart{part->mesh->data, SceneWorldMatrix(*part),
                                      part->mesh->materials, part->mesh->factors});
  }
  return true;
}

// --- The bare program --------------------------------------------------------

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
    for (const BarePart& part : parts) {
      Mesh mesh;
      gl_.GenBuffers(1, &mesh.vertices);
      gl_.BindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
      gl_.BufferData(GL_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(part.mesh.vertices.size() * sizeof(MeshVertex)),
                     part.mesh.vertices.data(), GL_STATIC_DRAW);
      gl_.GenBuffers(1, &mesh.indices);
      gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
      gl_.BufferData(GL_ELEMENT_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(part.mesh.indices.size() * sizeof(uint32_t)),
                     part.mesh.indices.data(), GL_STATIC_DRAW);
      meshes_.push_back(mesh);
    }
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    LoadBackground(workshop / "gfx/env/mainBG.dds");
    LoadInterface(workshop / "gfx/gui");
    LoadEnvironmentMap(workshop / "gfx/env/envmap.dds");
    SetFixedStates();
    return true;
  }

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
        const Material& m = part.materials[s];
        ColorValue diffuse = m.diffuse;
        diffuse.a *= static_cast<float>(part.factors[s].opacity) * 0.003921569f;
        SetMaterialColor(GL_AMBIENT, m.ambient);
        SetMaterialColor(GL_DIFFUSE, diffuse);
        SetMaterialColor(GL_SPECULAR, m.specular);
        SetMaterialColor(GL_EMISSION, m.emissive);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.power, 0.0f, 128.0f));
        const GLfloat factor[4] = {0, 0, 0, static_cast<float>(part.factors[s].reflection) / 255};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
        const MeshSubset& subset = part.mesh.subsets[s];
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(subset.triangleCount * 3),
                       GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(size_t{subset.firstTriangle} * 3 * 4));
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
  struct Mesh {
    GLuint vertices = 0;
    GLuint indices = 0;
  };

  void MakeFramebuffers(int samples) {
    MakeBackBufferFramebuffers(gl_, samples, &multisampled_, &resolved_);
  }

  void LoadBackground(const fs::path& path) {
    std::vector<uint8_t> bytes;
    Image picture;
    if (!ReadWholeFile(path.string(), &bytes) || !DecodeImage(bytes, &picture)) return;
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
      if (!ReadWholeFile((folder / place.file).string(), &bytes) || !DecodeImage(bytes, &picture))
        continue;
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
};

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
  const fs::path workshop = argc > 1 ? fs::path(argv[1]) : fs::path(KBH_WORKSHOP_DIR);
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
  const bool started = kbh::StartProgram(kbh::ProgramDir{programDir.string()}, &program);
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
    for (int block = 0; block < kbh::kBlocks; ++block) {
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
  }
  if (started) {
    program.shell.context->MakeCurrent();
    kbh::ShutDown(*program.app, kbh::ShutdownStep::kT2AfterMainLoop);
  }
  std::error_code ignored;
  fs::remove_all(programDir, ignored);
  return status;
}
