#include "tests/e2e/support/process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "tests/support/temp_dir.hpp"

namespace kbh::testing {

namespace {

void RedirectOrExit(const std::string& path, int target) {
  if (path.empty()) return;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || dup2(fd, target) < 0) _exit(127);
  close(fd);
}

int DecodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

std::unique_ptr<Process> Process::Start(const std::vector<std::string>& arguments,
                                        const ProcessOptions& options) {
  if (arguments.empty()) return nullptr;
  std::vector<char*> argv;
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return nullptr;
  if (pid == 0) {
    // Own process group, so Stop() reaches anything the child starts.
    setpgid(0, 0);
    for (const std::string& name : options.unsetEnvironment)
      unsetenv(name.c_str());
    for (const auto& [name, value] : options.environment)
      setenv(name.c_str(), value.c_str(), 1);
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0)
      _exit(127);
    RedirectOrExit(options.stdoutPath, STDOUT_FILENO);
    RedirectOrExit(options.stderrPath, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return std::unique_ptr<Process>(new Process(pid));
}

Process::~Process() {
  Stop();
}

bool Process::WaitForExit(std::chrono::milliseconds timeout, int* exitStatus) {
  const bool ended = WaitUntil(
      [this] {
        if (ended_) return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
          ended_ = true;
          status_ = DecodeStatus(status);
        }
        return ended_;
      },
      timeout);
  if (ended && exitStatus != nullptr) *exitStatus = status_;
  return ended;
}

void Process::Stop() {
  if (ended_) return;
  kill(-pid_, SIGTERM);
  kill(pid_, SIGTERM);
  int ignored;
  if (!WaitForExit(std::chrono::seconds(1), &ignored)) {
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    WaitForExit(std::chrono::seconds(5), &ignored);
  }
}

int RunCommand(const std::vector<std::string>& arguments, std::string* output,
               const std::map<std::string, std::string>& environment,
               std::chrono::milliseconds timeout) {
  char pattern[] = "/tmp/kbh-command-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd < 0) return -1;
  close(fd);
  std::unique_ptr<Process> process =
      Process::Start(arguments, {.environment = environment, .stdoutPath = pattern});
  int status = -1;
  if (process == nullptr || !process->WaitForExit(timeout, &status)) status = -1;
  process.reset();
  if (output != nullptr) *output = ReadFileBytes(pattern);
  unlink(pattern);
  return status;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool HaveProgram(const std::string& name) {
  return RunCommand({"sh", "-c", "command -v " + name}) == 0;
}

std::unique_ptr<XvfbSession> XvfbSession::Start(int width, int height) {
  if (!HaveProgram("Xvfb")) return nullptr;
  // Xvfb picks a free display itself and writes its number to the pipe.
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return nullptr;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::unique_ptr<XvfbSession> session(new XvfbSession());
  session->server_ = Process::Start({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen",
                                     "0", screen, "-nolisten", "tcp", "-noreset"},
                                    {.stderrPath = "/dev/null"});
  close(pipeFds[1]);
  if (session->server_ == nullptr) {
    close(pipeFds[0]);
    return nullptr;
  }
  std::string number;
  char c;
  fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
  const bool ready = WaitUntil(
      [&] {
        ssize_t got;
        while ((got = read(pipeFds[0], &c, 1)) == 1) {
          if (c == '\n') return !number.empty();
          number += c;
        }
        return false;
      },
      std::chrono::seconds(10));
  close(pipeFds[0]);
  if (!ready) return nullptr;
  session->display_ = ":" + number;
  return session;
}

}  // namespace kbh::testing
