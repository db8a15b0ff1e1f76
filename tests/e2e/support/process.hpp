// Child processes for end-to-end tests: the program under test, an X server,
// xdotool. Everything is started with an explicit argument list (no shell)
// and killed when its owner goes out of scope, so a failing test leaves
// nothing running.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kbh::testing {

struct ProcessOptions {
  std::string workingDirectory = {};                    // empty: the test's own
  std::map<std::string, std::string> environment = {};  // added to the test's own
  std::vector<std::string> unsetEnvironment = {};       // taken from the test's own
  std::string stdoutPath = {};                          // empty: inherited
  std::string stderrPath = {};                          // empty: inherited
};

class Process {
 public:
  // Null if the program could not be started.
  static std::unique_ptr<Process> Start(const std::vector<std::string>& arguments,
                                        const ProcessOptions& options = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // True when the process ended within the timeout; *exitStatus is its exit
  // code, or 128 + signal number when a signal ended it.
  bool WaitForExit(std::chrono::milliseconds timeout, int* exitStatus);
  // SIGTERM, then SIGKILL if it does not end within a second.
  void Stop();
  pid_t Id() const { return pid_; }

 private:
  explicit Process(pid_t pid) : pid_(pid) {}
  pid_t pid_;
  bool ended_ = false;
  int status_ = 0;
};

// Runs a command to completion and returns its exit code (-1 if it could not
// be run or took longer than the timeout); its standard output goes to
// *output when given.
int RunCommand(const std::vector<std::string>& arguments, std::string* output = nullptr,
               const std::map<std::string, std::string>& environment = {},
               std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Polls condition every 20 ms until it holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// True if an executable of that name is on PATH.
bool HaveProgram(const std::string& name);

// An X server of its own on a free display, for the duration of a test.
class XvfbSession {
 public:
  // Null (the test should skip) when Xvfb is not installed or did not start.
  static std::unique_ptr<XvfbSession> Start(int width = 1280, int height = 1024);

  // ":<n>", for the DISPLAY variable.
  const std::string& Display() const { return display_; }
  std::map<std::string, std::string> Environment() const { return {{"DISPLAY", display_}}; }

 private:
  XvfbSession() = default;
  std::unique_ptr<Process> server_;
  std::string display_;
};

}  // namespace kbh::testing
