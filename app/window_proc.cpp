#include "app/window_proc.hpp"

namespace kbh {

void WindowProc(RunState& state, ErrorLog& log, WindowMessage message) {
  switch (message) {
    case WindowMessage::kClose:
      state.running = false;
      break;
    case WindowMessage::kDeactivated:
      if (!state.minimized) {
        log.WriteLog("Message: Window Minimized \n");
        state.minimized = true;
      }
      break;
    case WindowMessage::kActivated:
      if (state.minimized) {
        log.WriteLog("Message: Window Restored \n");
        state.minimized = false;
      }
      break;
    case WindowMessage::kOther:
      break;
  }
}

}  // namespace kbh
