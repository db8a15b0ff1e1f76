// An error log in memory, read back as text with CR LF turned into LF.
#pragma once

#include <string>

#include "core/error_log.hpp"

namespace kbh::testing {

class LogCapture {
 public:
  LogCapture() { log_.CreateLogFile(); }

  ErrorLog& Log() { return log_; }
  std::string Text() const { return sink_.Text(); }

 private:
  MemoryLogSink sink_;
  ErrorLog log_{sink_};
};

}  // namespace kbh::testing
