// An OpenGL compatibility context and the surface it shows on: a window's
// (made by platform/window) or none at all (headless, on EGL's surfaceless
// platform, for tests, tools and benchmarks). The device draws into its own
// framebuffers either way; only presentation needs the window.
#pragma once

#include <memory>

namespace kbh {

using GlProc = void (*)();

class GlContext {
 public:
  virtual ~GlContext() = default;

  // Makes the context current on the calling thread; false when it is lost.
  virtual bool MakeCurrent() = 0;
  // Entry points past OpenGL 1.1; null for a name the driver lacks.
  virtual GlProc GetProcAddress(const char* name) = 0;
  // False for a headless context: there is nothing to present to.
  virtual bool HasWindow() const = 0;
  // The window's drawable in pixels; 0 x 0 when headless.
  virtual void DrawableSize(int* width, int* height) = 0;
  virtual void SwapBuffers() = 0;
  // 0 = immediate, 1 = wait for the retrace. False when the driver refuses.
  virtual bool SetSwapInterval(int interval) = 0;
};

// A context with no window and no surface on Mesa's surfaceless EGL platform,
// or null when none can be made (no EGL, no compatibility profile).
std::unique_ptr<GlContext> CreateHeadlessGlContext();

}  // namespace kbh
