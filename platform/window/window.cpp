#include "platform/window/window.hpp"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/window/window_icon.hpp"

namespace kbh {

namespace {

constexpr const char* kTitle = "3DKolbenhof";

// The window takes every event except the ones platform/input reads: key
// presses and releases, and mouse motion, buttons and wheel. Those stay
// queued for it; everything else (quit, window, display, text and keymap
// notices...) is the window's, so nothing piles up unread.
struct EventRange {
  Uint32 first;
  Uint32 last;
};
constexpr EventRange kWindowRanges[] = {
    {SDL_FIRSTEVENT + 1, SDL_KEYDOWN - 1},
    {SDL_KEYUP + 1, SDL_MOUSEMOTION - 1},
    {SDL_MOUSEWHEEL + 1, SDL_LASTEVENT},
};

WindowMessage Translate(const SDL_Event& event) {
  if (event.type == SDL_QUIT) return WindowMessage::kClose;
  if (event.type == SDL_WINDOWEVENT) {
    switch (event.window.event) {
      case SDL_WINDOWEVENT_CLOSE:
        return WindowMessage::kClose;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        return WindowMessage::kActivated;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        return WindowMessage::kDeactivated;
      default:
        break;
    }
  }
  return WindowMessage::kOther;
}

}  // namespace

class MainWindow {
 public:
  explicit MainWindow(SDL_Window* window) : window_(window) {}
  ~MainWindow() {
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  SDL_Window* Handle() const { return window_; }

 private:
  SDL_Window* window_;
};

void MainWindowDeleter::operator()(MainWindow* window) const {
  delete window;
}

MainWindowPtr CreateMainWindow() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
    return nullptr;
  }
  // Without a desktop session SDL falls back to drivers that show nothing: a
  // window nobody can see or type into is no window. A driver that
  // SDL_VIDEODRIVER names explicitly is taken as asked for (tests do that).
  const char* driver = SDL_GetCurrentVideoDriver();
  if (std::getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    std::fprintf(stderr, "SDL video: no desktop session (only the %s driver is available)\n",
                 driver);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    std::fprintf(stderr, "SDL desktop mode: %s\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  // The device renders into framebuffers of its own, so the window's surface
  // needs neither depth nor multisampling; it only receives the scaled blit.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
  SDL_Window* handle =
      SDL_CreateWindow(kTitle, 0, 0, desktop.w, desktop.h,
                       SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  if (handle == nullptr) {
    std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  MainWindowPtr window(new MainWindow(handle));

  std::vector<uint32_t> icon = DrawWindowIcon();
  SDL_Surface* iconSurface =
      SDL_CreateRGBSurfaceWithFormatFrom(icon.data(), kWindowIconSize, kWindowIconSize, 32,
                                         kWindowIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (iconSurface != nullptr) {
    SDL_SetWindowIcon(handle, iconSurface);
    SDL_FreeSurface(iconSurface);
  }
  SDL_ShowCursor(SDL_DISABLE);
  // The program reads keys as scan codes; text input would only fill the
  // queue with events nobody takes.
  SDL_StopTextInput();
  SDL_RaiseWindow(handle);
  return window;
}

SDL_Window* SdlWindowOf(MainWindow& window) {
  return window.Handle();
}

void GetWindowSize(const MainWindow& window, int* width, int* height) {
  SDL_GetWindowSize(window.Handle(), width, height);
}

bool PeekWindowMessage(MainWindow& window, WindowMessage* message) {
  (void)window;
  SDL_PumpEvents();
  SDL_Event event;
  for (const EventRange& range : kWindowRanges) {
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, range.first, range.last) == 1) {
      *message = Translate(event);
      return true;
    }
  }
  return false;
}

WindowMessage WaitWindowMessage(MainWindow& window) {
  for (;;) {
    WindowMessage message;
    if (PeekWindowMessage(window, &message)) return message;
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
      return WindowMessage::kOther;
    }
    // Waits without taking anything from the queue.
    SDL_WaitEventTimeout(nullptr, 100);
  }
}

namespace {

class WindowGlContext final : public GlContext {
 public:
  WindowGlContext(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}
  ~WindowGlContext() override { SDL_GL_DeleteContext(context_); }
  WindowGlContext(const WindowGlContext&) = delete;
  WindowGlContext& operator=(const WindowGlContext&) = delete;

  bool MakeCurrent() override { return SDL_GL_MakeCurrent(window_, context_) == 0; }
  GlProc GetProcAddress(const char* name) override {
    return reinterpret_cast<GlProc>(SDL_GL_GetProcAddress(name));
  }
  bool HasWindow() const override { return true; }
  void DrawableSize(int* width, int* height) override {
    SDL_GL_GetDrawableSize(window_, width, height);
  }
  void SwapBuffers() override { SDL_GL_SwapWindow(window_); }
  bool SetSwapInterval(int interval) override { return SDL_GL_SetSwapInterval(interval) == 0; }

 private:
  SDL_Window* window_;
  SDL_GLContext context_;
};

}  // namespace

std::unique_ptr<GlContext> CreateWindowGlContext(MainWindow& window) {
  SDL_GLContext context = SDL_GL_CreateContext(window.Handle());
  if (context == nullptr) {
    std::fprintf(stderr, "SDL GL context: %s\n", SDL_GetError());
    return nullptr;
  }
  return std::make_unique<WindowGlContext>(window.Handle(), context);
}

}  // namespace kbh
