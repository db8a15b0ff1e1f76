// The real shell: an SDL window on the desktop, OpenGL for the device, SDL's
// keyboard and mouse, SDL message boxes and the monotonic clock.
#pragma once

#include <memory>

#include "app/shell.hpp"

namespace kbh {

class DesktopShell final : public Shell {
 public:
  DesktopShell() = default;
  ~DesktopShell() override;
  DesktopShell(const DesktopShell&) = delete;
  DesktopShell& operator=(const DesktopShell&) = delete;

  bool CreateMainWindow() override;
  bool PeekWindowMessage(WindowMessage* message) override;
  WindowMessage WaitWindowMessage() override;
  std::unique_ptr<GraphicsSystem> CreateGraphicsSystem() override;
  std::unique_ptr<InputDevices> CreateInputDevices() override;
  void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) override;
  uint32_t GetTimeMs() override;
  void SleepMs(uint32_t milliseconds) override;

 private:
  // Outlives everything made for it: the program releases its devices before
  // the shell goes.
  MainWindowPtr window_;
};

}  // namespace kbh
