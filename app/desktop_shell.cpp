#include "app/desktop_shell.hpp"

#include "platform/gpu/gl_system.hpp"
#include "platform/input/sdl_input_devices.hpp"
#include "platform/os/clock.hpp"

namespace kbh {

DesktopShell::~DesktopShell() = default;

bool DesktopShell::CreateMainWindow() {
  window_ = ::kbh::CreateMainWindow();
  return window_ != nullptr;
}

bool DesktopShell::PeekWindowMessage(WindowMessage* message) {
  return window_ != nullptr && ::kbh::PeekWindowMessage(*window_, message);
}

WindowMessage DesktopShell::WaitWindowMessage() {
  if (window_ == nullptr) return WindowMessage::kClose;
  return ::kbh::WaitWindowMessage(*window_);
}

std::unique_ptr<GraphicsSystem> DesktopShell::CreateGraphicsSystem() {
  if (window_ == nullptr) return nullptr;
  return CreateGlSystem(CreateWindowGlContext(*window_));
}

std::unique_ptr<InputDevices> DesktopShell::CreateInputDevices() {
  if (window_ == nullptr) return nullptr;
  return CreateSdlInputDevices(SdlWindowOf(*window_));
}

void DesktopShell::ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) {
  ::kbh::ShowMessageBox(caption, text, icon);
}

uint32_t DesktopShell::GetTimeMs() {
  return TickCount();
}

void DesktopShell::SleepMs(uint32_t milliseconds) {
  ::kbh::SleepMs(milliseconds);
}

}  // namespace kbh
