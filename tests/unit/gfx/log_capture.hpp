// An error log in a fresh folder, read back as text with CR LF turned into LF.
#pragma once

#include <string>

#include "app/error_log.hpp"
#include "tests/support/program_log.hpp"

namespace kbh::testing {

class LogCapture {
 public:
  LogCapture() : log_(ProgramDir{dir_.Path().string()}) { log_.CreateLogFile(); }

  ErrorLog& Log() { return log_; }
  const TempDir& Dir() const { return dir_; }

  std::string Text() const { return ReadLog(dir_.Path()); }

 private:
  TempDir dir_;
  ErrorLog log_;
};

}  // namespace kbh::testing
