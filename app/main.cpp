// The entry point. The program directory is where it was started, not where
// the binary lies: the data tree is found relative to the current directory.
#include "app/desktop_shell.hpp"
#include "app/program.hpp"
#include "platform/gpu/heap_tuning.hpp"

int main() {
  // Before anything allocates the large buffers rendering needs.
  kbh::TuneHeapForRendering();
  const kbh::ProgramDir programDir = kbh::ReadProgramDir();
  kbh::DesktopShell shell;
  return kbh::RunProgram(shell, programDir);
}
