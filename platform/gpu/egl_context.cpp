// The headless context: EGL on Mesa's surfaceless platform, so no display
// server is needed. The context is made current with no surface at all; the
// device renders into framebuffer objects of its own.
// Plain EGL types only: nothing here talks to X11.
#define EGL_NO_X11 1
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>

#include "platform/gpu/gl_context.hpp"

namespace kbh {

namespace {

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == list || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

class HeadlessGlContext final : public GlContext {
 public:
  HeadlessGlContext(EGLDisplay display, EGLContext context)
      : display_(display), context_(context) {}
  // The display is left initialised: EGL displays are process-wide, and
  // terminating one would pull the ground from under any other context of
  // the process. Mesa tears it down at exit.
  ~HeadlessGlContext() override {
    if (eglGetCurrentContext() == context_) {
      eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(display_, context_);
  }
  HeadlessGlContext(const HeadlessGlContext&) = delete;
  HeadlessGlContext& operator=(const HeadlessGlContext&) = delete;

  bool MakeCurrent() override {
    return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
  }
  GlProc GetProcAddress(const char* name) override { return eglGetProcAddress(name); }
  bool HasWindow() const override { return false; }
  void DrawableSize(int* width, int* height) override {
    *width = 0;
    *height = 0;
  }
  void SwapBuffers() override {}
  bool SetSwapInterval(int) override { return false; }

 private:
  EGLDisplay display_;
  EGLContext context_;
};

}  // namespace

std::unique_ptr<GlContext> CreateHeadlessGlContext() {
  if (!HasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS),
                    "EGL_MESA_platform_surfaceless")) {
    return nullptr;
  }
  EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, nullptr, nullptr);
  if (display == EGL_NO_DISPLAY) return nullptr;
  EGLint major = 0;
  EGLint minor = 0;
  if (eglInitialize(display, &major, &minor) != EGL_TRUE) return nullptr;
  const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
  if (!HasExtension(extensions, "EGL_KHR_surfaceless_context")) return nullptr;
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return nullptr;

  EGLConfig config = EGL_NO_CONFIG_KHR;
  if (!HasExtension(extensions, "EGL_KHR_no_config_context")) {
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, 0,
                                       EGL_NONE};
    EGLint count = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &count) != EGL_TRUE || count < 1) {
      return nullptr;
    }
  }
  // No version asked for: Mesa then gives the highest compatibility version.
  const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) return nullptr;
  auto headless = std::make_unique<HeadlessGlContext>(display, context);
  if (!headless->MakeCurrent()) return nullptr;
  return headless;
}

}  // namespace kbh
