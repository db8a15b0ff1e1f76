// An error log in a fresh folder, read back as text with CR LF turned into LF.
#pragma once

#include <string>

#include "app/error_log.hpp"
#include "tests/support/temp_dir.hpp"

namespace kbh::testing {

class LogCapture {
 public:
  LogCapture() : log_(ProgramDir{dir_.Path().string()}) { log_.CreateLogFile(); }

  ErrorLog& Log() { return log_; }
  const TempDir& Dir() const { return dir_; }

  std::string Text() const {
    std::string text = ReadFileBytes(dir_.Path() / "error.log");
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      plain += text[i];
    }
    return plain;
  }

 private:
  TempDir dir_;
  ErrorLog log_;
};

}  // namespace kbh::testing
