#include "app/window_proc.hpp"

namespace kbh {

void WindowProc(RunState& state, ErrorLog& log, WindowMessage message) {
  switch (message) {
    case WindowMessage::Close:
      state.running = false;
      break;
    case WindowMessage::Deactivated:
      if (!state.minimized) {
        log.WriteLog("Message: Window Minimized \n");
        state.minimized = true;
      }
      break;
    case WindowMessage::Activated:
      if (state.minimized) {
        log.WriteLog("Message: Window Restored \n");
        state.minimized = false;
      }
      break;
    case WindowMessage::Other:
      break;
  }
}

}  // namespace kbh
