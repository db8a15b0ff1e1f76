// The program's error.log as the tests compare it: every CR LF the program
// writes read back as LF, and the lines a successful start-up logs after the
// graphics device's own, which vary with the machine.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.hpp"

namespace kbh::testing {

inline constexpr const char* kStartUpSteps =
    "\n input.device\n.loading status-screen\n.loading fonts\n.creating data-store"
    "\n.loading std-mxafiles\n.loading gui\n.initialising world\n .lights\n .environment-map"
    "\n .scene-bg\n .animations";
// The rates of a main loop that never completed a second.
inline constexpr const char* kUnrunPerformanceBlock =
    "\n\n\t[Performance Info]\n\nmin-framerate: 500\nmax-framerate: 0";

inline std::string ReadLog(const std::filesystem::path& workshop) {
  std::string text = ReadFileBytes(workshop / "error.log");
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
    text.erase(at, 1);
  return text;
}

inline std::string AfterDevice(const std::string& log) {
  const std::string end = "CreateDevice success\n";
  const size_t at = log.find(end);
  return at == std::string::npos ? log : log.substr(at + end.size());
}

}  // namespace kbh::testing
