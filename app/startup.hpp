// Start-up: the steps that bring the program up, in their fixed order. Each
// step is announced in the log before it runs, so the last line of a log
// names the step that failed. The loading screen shows the progress from the
// moment it exists; failures before it are shown in message boxes, later ones
// only in the log.
#pragma once

#include <optional>

#include "app/app.hpp"
#include "app/shutdown.hpp"

namespace kbh {

// Brings app up to the first frame of the main loop. Nothing when it is
// ready; otherwise the shutdown step at which its failure must be undone.
std::optional<ShutdownStep> StartUp(App& app);

}  // namespace kbh
