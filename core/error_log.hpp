// The program directory, path formatting and the error log "error.log".
//
// The log is the program's only diagnostic channel besides a few message
// boxes. Every write opens the file, appends and closes it again, so that
// everything logged before a crash is on disk, and other programs can read the
// log while the program runs. Texts are written byte for byte, except that each
// line feed reaches the sink as carriage return + line feed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace kbh {

// The folder the program was started in: the current directory at start-up,
// never changed afterwards. The seller-logo folder test moves the process's
// current directory, so no path may be relative; every one is built from this.
struct ProgramDir {
  std::string path;
};
ProgramDir ReadProgramDir();

// Scratch space in which a file path is formatted from one of the program's
// patterns ("%s\data\firstData.khb", "%s/gfx/gui/kbh_load.dds") just before
// use. Backslashes are kept: the file layer accepts them.
class PathBuffer {
 public:
  const char* Format(const char* pattern, ...) __attribute__((format(printf, 2, 3)));
  const char* Text() const { return text_.c_str(); }

 private:
  std::string text_;
};

// Where the log's bytes go. The program writes a file; tests and tools that
// only need a device's start-up report give it memory instead.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // Creates or empties the log; false when it cannot be written.
  virtual bool Create() = 0;
  // Appends bytes as they are; false when they could not be written.
  virtual bool Append(std::string_view bytes) = 0;
};

// The log file: every write opens the file, appends and closes it again.
class FileLogSink final : public LogSink {
 public:
  explicit FileLogSink(std::string path) : path_(std::move(path)) {}
  bool Create() override;
  bool Append(std::string_view bytes) override;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The log in memory, for tests and tools.
class MemoryLogSink final : public LogSink {
 public:
  bool Create() override;
  bool Append(std::string_view bytes) override;
  // The bytes as a file would hold them, and as text with CR LF read as LF.
  const std::string& Bytes() const { return bytes_; }
  std::string Text() const;

 private:
  std::string bytes_;
};

// "error.log" in the program directory.
std::string LogFilePath(const ProgramDir& dir);

class ErrorLog {
 public:
  explicit ErrorLog(LogSink& sink) : sink_(sink) {}

  // Creates or empties the log; false when it cannot be written.
  bool CreateLogFile();
  // Each returns false when the text could not be written; it is then lost,
  // and the next write tries again.
  bool WriteLog(std::string_view text);
  bool WriteLogNumber(int32_t number);

  // The block that opens every log: product name, notice, "Error-Logfile".
  void WriteBanner();
  // The block that closes every log after start-up got past the device.
  void WritePerformanceBlock(int32_t minFrameRate, int32_t maxFrameRate);

 private:
  LogSink& sink_;
};

// Makes folder the process's current directory: the program's test whether a
// folder exists before it is searched. The directory is not restored.
bool EnterFolder(const std::string& folder);

// The name of a Windows version as the program's version table gives it
// (only the minor number decides, except for minor 0), or "" for versions the
// table does not list.
const char* WindowsVersionName(uint32_t major, uint32_t minor);

// Copies the description of the running system ("Linux 6.1.0-18-amd64") into
// destination, at most maxLength - 1 characters and always terminated.
// Returns destination; null and no effect for a null destination.
char* GetOSDescription(char* destination, uint16_t maxLength);

}  // namespace kbh
