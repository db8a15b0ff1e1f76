#include "app/program.hpp"

#include <memory>

#include "app/main_loop.hpp"
#include "app/startup.hpp"

namespace kbh {

int RunProgram(Shell& shell, const ProgramDir& programDir) {
  auto app = std::make_unique<App>(shell, programDir);
  std::optional<ShutdownStep> failed = StartUp(*app);
  if (!failed) RunMainLoop(*app);
  ShutDown(*app, failed.value_or(ShutdownStep::kT2AfterMainLoop));
  return 0;
}

}  // namespace kbh
