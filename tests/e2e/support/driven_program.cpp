#include "tests/e2e/support/driven_program.hpp"

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "tests/support/program_log.hpp"
#include "tests/support/required.hpp"

namespace kbh::testing {

namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::string FindSanitizerReport(const std::string& stderrText) {
  std::istringstream lines(stderrText);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.find("Sanitizer") != std::string::npos ||
        line.find("runtime error:") != std::string::npos) {
      return Trim(line);
    }
  }
  return "";
}

int CheckDrivenRunCanStart(const std::filesystem::path& workshop) {
  if (!std::filesystem::exists(workshop / "data/firstData.khb")) {
    std::cerr << "no demo workshop in " << workshop << "\n";
    return 2;
  }
  for (const char* tool : {"Xvfb", "xdotool"}) {
    if (!HaveProgram(tool)) {
      std::cerr << tool << " is not installed\n";
      return EverythingRequired() ? 1 : 77;
    }
  }
  return 0;
}

std::string LogTail(const std::string& log, int lines) {
  std::string steps = log.substr(0, log.find("\n\n\t[Performance Info]"));
  std::vector<std::string> found;
  while (!steps.empty() && static_cast<int>(found.size()) < lines) {
    const size_t cut = steps.rfind('\n');
    const std::string line = Trim(steps.substr(cut == std::string::npos ? 0 : cut + 1));
    if (!line.empty()) found.insert(found.begin(), line);
    steps.resize(cut == std::string::npos ? 0 : cut);
  }
  std::string joined;
  for (const std::string& line : found)
    joined += (joined.empty() ? "" : " / ") + line;
  return joined;
}

std::map<std::string, std::string> SanitizerEnvironment() {
  std::map<std::string, std::string> environment;
  if (std::getenv("ASAN_OPTIONS") == nullptr) {
    environment["ASAN_OPTIONS"] = "detect_leaks=1:abort_on_error=1";
  }
  if (std::getenv("UBSAN_OPTIONS") == nullptr) {
    environment["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1";
  }
  return environment;
}

std::unique_ptr<DrivenProgram> DrivenProgram::Start(const std::string& binary,
                                                    const std::filesystem::path& folder,
                                                    const XvfbSession& x,
                                                    const std::filesystem::path& stderrPath) {
  std::unique_ptr<DrivenProgram> program(new DrivenProgram());
  program->folder_ = folder;
  program->display_ = x.Environment();
  ProcessOptions options;
  options.workingDirectory = folder.string();
  options.environment = SanitizerEnvironment();
  options.environment.merge(x.Environment());
  options.stderrPath = stderrPath.string();
  program->process_ = Process::Start({binary}, options);
  if (program->process_ == nullptr) return nullptr;
  return program;
}

bool DrivenProgram::HasWindow() {
  std::string ids;
  RunCommand({"xdotool", "search", "--name", "^3DKolbenhof$"}, &ids, display_);
  return !ids.empty();
}

std::string DrivenProgram::Log() const {
  return ReadLog(folder_);
}

bool DrivenProgram::Xdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "xdotool");
  return RunCommand(arguments, nullptr, display_) == 0;
}

std::vector<std::string> DrivenProgram::MovePointerTo(int x, int y) {
  return {"mousemove_relative", "--", "-5000",           "-5000",
          "mousemove_relative", "--", std::to_string(x), std::to_string(y)};
}

}  // namespace kbh::testing
