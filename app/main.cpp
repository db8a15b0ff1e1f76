// The entry point. The program directory is where it was started, not where
// the binary lies: the data tree is found relative to the current directory.
#include "app/desktop_shell.hpp"
#include "app/program.hpp"
#include "platform/gpu/heap_tuning.hpp"

// Present only in builds with the leak checker.
extern "C" void __lsan_do_leak_check() __attribute__((weak));

// libdbus, which SDL's video opens a session with, keeps a buffer it never
// frees; it is not the program's to release.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

int main() {
  // Before anything allocates the large buffers rendering needs.
  kbh::TuneHeapForRendering();
  const kbh::ProgramDir programDir = kbh::ReadProgramDir();
  kbh::DesktopShell shell;
  const int status = kbh::RunProgram(shell, programDir);
  // Everything of the program's own is released by now. Closing the window
  // closes the display connection, and with it the GL driver unloads, and
  // the records it keeps in its own globals until then would look leaked to
  // a check at exit: check here, while the driver can still vouch for them.
  if (__lsan_do_leak_check != nullptr) __lsan_do_leak_check();
  return status;
}
