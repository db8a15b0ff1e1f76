#include "platform/os/os.hpp"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace kbh {

std::string CurrentDirectory() {
  std::vector<char> buffer(1024);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

bool ChangeDirectory(const std::string& path) {
  return chdir(ResolvePath(path).c_str()) == 0;
}

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name ignoring ASCII case, or name
// itself when there is none.
std::string MatchIgnoringCase(const std::string& folder, const std::string& name) {
  DIR* directory = opendir(folder.empty() ? "/" : folder.c_str());
  if (directory == nullptr) return name;
  std::string match = name;
  while (const dirent* entry = readdir(directory)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      match = entry->d_name;
      break;
    }
  }
  closedir(directory);
  return match;
}

}  // namespace

std::string ResolvePath(const std::string& path) {
  std::string normalized = path;
  for (char& c : normalized) {
    if (c == '\\') c = '/';
  }
  if (normalized.empty() || Exists(normalized)) return normalized;

  // Walk the components, repairing the case of each one that is missing.
  const bool absolute = normalized[0] == '/';
  std::string resolved;
  size_t start = absolute ? 1 : 0;
  while (start <= normalized.size()) {
    size_t end = normalized.find('/', start);
    if (end == std::string::npos) end = normalized.size();
    const std::string component = normalized.substr(start, end - start);
    const std::string folder = resolved.empty() ? (absolute ? "/" : ".") : resolved;
    const std::string prefix = resolved.empty() ? (absolute ? "/" : "") : resolved + "/";
    std::string candidate = prefix + component;
    if (!component.empty() && component != "." && component != ".." && !Exists(candidate)) {
      candidate = prefix + MatchIgnoringCase(folder, component);
    }
    resolved = candidate;
    start = end + 1;
  }
  return resolved;
}

FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(ResolvePath(path).c_str(), mode);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, size_t maxBytes) {
  bytes->clear();
  FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && static_cast<unsigned long>(size) <= maxBytes &&
       std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(size));
    ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
  }
  std::fclose(file);
  if (!ok) bytes->clear();
  return ok;
}

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  const std::string target = ResolvePath(path);
  std::string temporary = target + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) return false;
  FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    unlink(temporary.c_str());
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = (std::fclose(file) == 0) && ok;
  // mkstemp creates the file readable by its owner only; give it the usual rights.
  ok = ok && chmod(temporary.c_str(), 0644) == 0;
  ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}

std::string KernelDescription() {
  utsname name;
  if (uname(&name) != 0) return {};
  return std::string(name.sysname) + " " + name.release;
}

}  // namespace kbh
