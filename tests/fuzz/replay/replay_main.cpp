// Runs a fuzz target's entry once on every file of the folders named on the
// command line, so that the normal builds replay the seed corpora and the
// regressions as ordinary tests. A broken promise traps, which fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path folder(argv[i]);
    // A regressions folder exists only once a finding has been kept.
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "no input files\n");
    return 1;
  }
  for (const std::filesystem::path& path : files) {
    // Printed first, so that a crash names the file that caused it.
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    const std::vector<uint8_t> bytes = ReadAll(path);
    // An empty vector's data() may be null; the fuzzer never passes null.
    static const uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing : bytes.data(), bytes.size());
  }
  std::printf("%zu files replayed\n", files.size());
  return 0;
}
