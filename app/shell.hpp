// The system around the program, as start-up, the main loop and shutdown use
// it: the main window and the messages it receives, the graphics system and
// the input devices made for that window, message boxes and the clock.
//
// DesktopShell (desktop_shell.hpp) is the real one. Tests start the whole
// program on a fake that scripts the messages, records the device calls,
// plays input and runs its own clock.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gpu/graphics_system.hpp"
#include "platform/input/input_devices.hpp"
#include "platform/os/message_box.hpp"
#include "platform/window/window.hpp"

namespace kbh {

class Shell {
 public:
  virtual ~Shell() = default;

  // --- The window --------------------------------------------------------------
  // Makes the main window, shows it in front and gives it the keyboard focus;
  // false when there is no window system or the window cannot be made.
  virtual bool CreateMainWindow() = 0;
  // The next message for the window, if one is waiting; false when none is.
  virtual bool PeekWindowMessage(WindowMessage* message) = 0;
  // Blocks until something arrives for the window.
  virtual WindowMessage WaitWindowMessage() = 0;

  // --- Devices for the window ------------------------------------------------------
  // What the graphics device is created from; null when there is none.
  virtual std::unique_ptr<GraphicsSystem> CreateGraphicsSystem() = 0;
  // The keyboard and mouse that read the window's input; null when there are none.
  virtual std::unique_ptr<InputDevices> CreateInputDevices() = 0;

  // --- System services -------------------------------------------------------------
  virtual void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) = 0;
  // The program's millisecond clock: 32 bits that wrap, differences unsigned.
  virtual uint32_t GetTimeMs() = 0;
  virtual void SleepMs(uint32_t milliseconds) = 0;
};

}  // namespace kbh
