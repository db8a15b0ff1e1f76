#include "core/error_log.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/os/os.hpp"

namespace kbh {

ProgramDir ReadProgramDir() {
  return ProgramDir{CurrentDirectory()};
}

const char* PathBuffer::Format(const char* pattern, ...) {
  va_list arguments;
  va_start(arguments, pattern);
  va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, pattern, measuring);
  va_end(measuring);
  if (length < 0) {
    text_.clear();
  } else {
    // Paths are never cut short: a long program directory must not turn
    // into the name of some other file.
    text_.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(text_.data(), text_.size(), pattern, arguments);
    text_.resize(static_cast<size_t>(length));
  }
  va_end(arguments);
  return text_.c_str();
}

bool FileLogSink::Create() {
  FILE* file = OpenFile(path_, "wb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool FileLogSink::Append(std::string_view bytes) {
  FILE* file = OpenFile(path_, "ab");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool MemoryLogSink::Create() {
  bytes_.clear();
  return true;
}

bool MemoryLogSink::Append(std::string_view bytes) {
  bytes_.append(bytes);
  return true;
}

std::string MemoryLogSink::Text() const {
  std::string text;
  text.reserve(bytes_.size());
  for (size_t i = 0; i < bytes_.size(); ++i) {
    if (bytes_[i] == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') continue;
    text += bytes_[i];
  }
  return text;
}

std::string LogFilePath(const ProgramDir& dir) {
  PathBuffer buffer;
  return buffer.Format("%s\\error.log", dir.path.c_str());
}

bool ErrorLog::CreateLogFile() {
  return sink_.Create();
}

bool ErrorLog::WriteLog(std::string_view text) {
  // Text mode as the log's readers expect it: CR LF for every LF.
  std::string onDisk;
  onDisk.reserve(text.size() + 16);
  for (char c : text) {
    if (c == '\n') onDisk += '\r';
    onDisk += c;
  }
  return sink_.Append(onDisk);
}

bool ErrorLog::WriteLogNumber(int32_t number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", static_cast<int>(number));
  return WriteLog(digits);
}

void ErrorLog::WriteBanner() {
  WriteLog(
      "\n3D-Kolbenhof - the moped workshop. Copyright (c) 2026 the 3D-Kolbenhof developers; "
      "all rights reserved.\n\nError-Logfile");
}

void ErrorLog::WritePerformanceBlock(int32_t minFrameRate, int32_t maxFrameRate) {
  WriteLog("\n\n\t[Performance Info]\n");
  WriteLog("\nmin-framerate: ");
  WriteLogNumber(minFrameRate);
  WriteLog("\nmax-framerate: ");
  WriteLogNumber(maxFrameRate);
}

bool EnterFolder(const std::string& folder) {
  return ChangeDirectory(folder);
}

const char* WindowsVersionName(uint32_t major, uint32_t minor) {
  switch (minor) {
    case 0:
      if (major == 3) return "Windows NT 3.51";
      if (major == 4) return "Windows 95 / NT 4.0";
      return "";
    case 1:
      return "Windows XP";
    case 2:
      return "Windows Server 2003";
    case 10:
      return "Windows 98";
    case 90:
      return "Windows ME";
    default:
      return "";
  }
}

char* GetOSDescription(char* destination, uint16_t maxLength) {
  if (destination == nullptr) return nullptr;
  if (maxLength == 0) return destination;
  const std::string description = KernelDescription();
  const size_t length = std::min<size_t>(description.size(), maxLength - 1u);
  std::memcpy(destination, description.data(), length);
  destination[length] = '\0';
  return destination;
}

}  // namespace kbh
