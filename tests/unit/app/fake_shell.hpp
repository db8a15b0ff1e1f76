// A shell for running the whole program in a test: window messages from a
// script, the recording graphics system, scripted keyboard and mouse, message
// boxes written down instead of shown, and a clock the test sets. Passes of
// the main loop are counted by their message look-up, which each pass makes
// exactly once; onPass runs there, so a test can act at any pass.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/shell.hpp"
#include "platform/gpu/recording_device.hpp"
#include "platform/input/scripted_input_devices.hpp"

namespace kbh::testing {

struct ShownMessageBox {
  std::string caption;
  std::string text;
  MessageBoxIcon icon;
};

class FakeShell final : public Shell {
 public:
  bool windowAvailable = true;
  bool graphicsAvailable = true;
  bool inputAvailable = true;
  // Called at the start of every pass's message look-up, with the pass number
  // counted from 1.
  std::function<void(int pass)> onPass;
  // Messages handed out one per look-up, oldest first.
  std::deque<WindowMessage> messages;
  uint32_t now = 100000;
  // A pass that ends in nothing else closes the window, so that a test that
  // goes wrong still ends.
  int passLimit = 200;

  // What the test reads.
  RecordingSystem* system = nullptr;
  ScriptedInputDevices* input = nullptr;
  std::vector<ShownMessageBox> messageBoxes;
  int passes = 0;
  int waits = 0;
  uint32_t sleptMs = 0;
  bool windowCreated = false;

  RecordingDevice& Device() { return *system->lastDevice; }

  bool CreateMainWindow() override {
    windowCreated = windowAvailable;
    return windowAvailable;
  }
  bool PeekWindowMessage(WindowMessage* message) override {
    ++passes;
    if (onPass) onPass(passes);
    if (passes >= passLimit) messages.push_back(WindowMessage::kClose);
    if (messages.empty()) return false;
    *message = messages.front();
    messages.pop_front();
    return true;
  }
  WindowMessage WaitWindowMessage() override {
    ++waits;
    if (messages.empty()) return WindowMessage::kClose;
    const WindowMessage message = messages.front();
    messages.pop_front();
    return message;
  }
  std::unique_ptr<GraphicsSystem> CreateGraphicsSystem() override {
    if (!graphicsAvailable) return nullptr;
    auto made = std::make_unique<RecordingSystem>();
    system = made.get();
    return made;
  }
  std::unique_ptr<InputDevices> CreateInputDevices() override {
    if (!inputAvailable) return nullptr;
    auto made = std::make_unique<ScriptedInputDevices>();
    input = made.get();
    return made;
  }
  void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) override {
    messageBoxes.push_back({caption, text, icon});
  }
  uint32_t GetTimeMs() override { return now; }
  void SleepMs(uint32_t milliseconds) override { sleptMs += milliseconds; }
};

}  // namespace kbh::testing
