// The real program in a workshop folder on an X server of the caller's, for
// the long runs that are tools rather than tests (the missing-file matrix,
// the soak): started with the test preset's sanitizer settings, fed real key
// and pointer events through xdotool, and watched without blocking.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/support/process.hpp"

namespace kbh::testing {

// The options the test preset gives the sanitizers (every leak reported,
// the first error fatal), for each variable the caller's environment leaves
// unset.
std::map<std::string, std::string> SanitizerEnvironment();

// The first line of a sanitizer's report in a program's standard error, or
// empty when there is none.
std::string FindSanitizerReport(const std::string& stderrText);

// The last start-up lines of a log, the performance block left out, joined
// with " / ", for a table cell.
std::string LogTail(const std::string& log, int lines = 2);

// Whether a long run can start: 0 when the workshop and the X tools are
// there; otherwise the tool's exit status, after saying why on standard
// error: 2 without a workshop, 77 ("skipped" to ctest) without Xvfb or
// xdotool, or 1 where the run requires everything.
int CheckDrivenRunCanStart(const std::filesystem::path& workshop);

class DrivenProgram {
 public:
  // Null when the binary could not be started. Its standard error goes to
  // stderrPath.
  static std::unique_ptr<DrivenProgram> Start(const std::string& binary,
                                              const std::filesystem::path& folder,
                                              const XvfbSession& x,
                                              const std::filesystem::path& stderrPath);

  // True once it has ended; *exitStatus as Process::WaitForExit gives it.
  bool HasEnded(int* exitStatus) { return WaitForEnd(std::chrono::milliseconds(0), exitStatus); }
  bool WaitForEnd(std::chrono::milliseconds timeout, int* exitStatus) {
    return process_->WaitForExit(timeout, exitStatus);
  }
  void Kill() { process_->Stop(); }
  pid_t Id() const { return process_->Id(); }

  // Its window exists: start-up has passed the window and the devices.
  bool HasWindow();
  // error.log as the tests read it.
  std::string Log() const;

  // One xdotool run; it takes several commands in a row, and starting it
  // costs far more than the events it sends.
  bool Xdotool(std::vector<std::string> arguments);
  bool Key(const std::string& name) { return Xdotool({"key", name}); }
  // The xdotool commands that put the pointer at (x, y) of the back buffer.
  // The program moves its own pointer by relative motion and stops it at the
  // back buffer's edges: a long move up and left homes it at (0, 0).
  static std::vector<std::string> MovePointerTo(int x, int y);

 private:
  DrivenProgram() = default;
  std::unique_ptr<Process> process_;
  std::filesystem::path folder_;
  std::map<std::string, std::string> display_;
};

}  // namespace kbh::testing
