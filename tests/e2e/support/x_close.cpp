#include "tests/e2e/support/x_close.hpp"

#include <X11/Xlib.h>

#include <cstdlib>

namespace kbh::testing {

bool SendCloseRequest(const std::string& display, const std::string& window) {
  Display* connection = XOpenDisplay(display.c_str());
  if (connection == nullptr) return false;
  const auto target = static_cast<Window>(std::strtoul(window.c_str(), nullptr, 10));
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = target;
  event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(connection, target, False, NoEventMask, &event) != 0;
  XFlush(connection);
  XCloseDisplay(connection);
  return sent;
}

}  // namespace kbh::testing
