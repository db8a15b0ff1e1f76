// What the program does with the messages of its window.
#pragma once

#include "core/error_log.hpp"
#include "platform/window/window.hpp"

namespace kbh {

// The two flags the window procedure and the main loop share.
struct RunState {
  // The main loop runs while this is set; closing the window clears it.
  bool running = true;
  // Set while another application is active; the main loop then waits for
  // messages instead of drawing continuously.
  bool minimized = false;
};

// A close request ends the main loop at its next pass (the current pass is
// completed). Losing and regaining the activation each write one log line,
// and only when the state changes: repeated notices write nothing.
void WindowProc(RunState& state, ErrorLog& log, WindowMessage message);

}  // namespace kbh
