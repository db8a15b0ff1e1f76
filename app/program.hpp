// The whole program: start-up, the main loop, shutdown.
#pragma once

#include "app/shell.hpp"
#include "core/error_log.hpp"

namespace kbh {

// Runs the program in programDir on shell and returns its exit status, which
// is 0 however it ended: every failure has been reported in the log or a
// message box by then.
int RunProgram(Shell& shell, const ProgramDir& programDir);

}  // namespace kbh
