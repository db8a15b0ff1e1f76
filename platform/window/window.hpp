// The program's one window: borderless, the size of the desktop, titled
// "3DKolbenhof", with an icon and without the system pointer (the program
// draws its own). The 1024 x 768 back buffer is scaled into it when shown.
//
// The window shares SDL's event queue with platform/input: it takes, one at a
// time, every event except key presses and releases and mouse motion, buttons
// and wheel, which stay queued for the input module to read.
#pragma once

#include <memory>

#include "platform/gpu/gl_context.hpp"

struct SDL_Window;

namespace kbh {

class MainWindow;

struct MainWindowDeleter {
  void operator()(MainWindow* window) const;
};
using MainWindowPtr = std::unique_ptr<MainWindow, MainWindowDeleter>;

// Null when there is no display or the window cannot be made (SDL's error is
// then on stderr).
MainWindowPtr CreateMainWindow();

// The SDL window behind it, for the input devices, which follow its focus.
SDL_Window* SdlWindowOf(MainWindow& window);

// The window's size in pixels.
void GetWindowSize(const MainWindow& window, int* width, int* height);

// What a window event means to the program.
enum class WindowMessage {
  kClose,        // the user or the system asks the program to end
  kActivated,    // the program became the active application
  kDeactivated,  // another application became active
  kOther,        // anything else: handled by the system, nothing to do
};

// Takes the next window event, if one is waiting; false when none is.
bool PeekWindowMessage(MainWindow& window, WindowMessage* message);
// Blocks until something arrives for the window. Input events count (they
// would wake the program on Windows too) but stay queued for the input
// module; they are reported as Other.
WindowMessage WaitWindowMessage(MainWindow& window);

// An OpenGL compatibility context on the window; null when the driver cannot
// make one. The context must not outlive the window.
std::unique_ptr<GlContext> CreateWindowGlContext(MainWindow& window);

}  // namespace kbh
