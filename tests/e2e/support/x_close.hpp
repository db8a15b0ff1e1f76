// What a window manager sends when the user closes a window: the
// WM_DELETE_WINDOW client message of the WM_PROTOCOLS property. The test
// server has no window manager, so tests send it themselves.
#pragma once

#include <string>

namespace kbh::testing {

// Sends the close request to window (an X window id, decimal) on display.
// False when the display cannot be opened or the request not sent.
bool SendCloseRequest(const std::string& display, const std::string& window);

}  // namespace kbh::testing
