// Loads every .x file of the corpus from memory with our reader and with a
// general import library, interleaved in one run, and prints the time of
// each and their ratio. Best-of-N times, so that other work on the machine
// disturbs the ratio as little as possible.
//   mesh_load_bench [FOLDER]   (default: the corpus folder of the build)
#include <assimp/scene.h>
#include <sys/wait.h>
#include <unistd.h>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/mesh/xfile.hpp"
#include "platform/os/os.hpp"

namespace {

using Clock = std::chrono::steady_clock;

// Enough rounds for a stable minimum without making large files slow.
constexpr double kSecondsPerFile = 1.0;
constexpr int kMaxRounds = 200;

// The library crashes on some malformed files; a first load in a child
// process finds out without taking the benchmark down with it.
bool LibrarySurvives(const std::vector<uint8_t>& bytes) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    Assimp::Importer importer;
    importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, "x");
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <class Load>
double TimeOnce(Load&& load, bool* ok) {
  const auto start = Clock::now();
  *ok = load();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path(KBH_CORPUS_DIR) / "x";
  std::vector<fs::path> files;
  std::error_code failure;
  for (const auto& entry : fs::directory_iterator(folder, failure)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && !name.ends_with(".md") && !name.ends_with(".json")) {
      files.push_back(entry.path());
    }
  }
  if (failure || files.empty()) {
    std::fprintf(stderr, "mesh_load_bench: no files in %s\n", folder.c_str());
    return 1;
  }
  std::sort(files.begin(), files.end());

  std::printf("%-32s %9s %10s %12s %8s\n", "file", "KiB", "ours ms", "library ms", "ratio");
  double logRatioSum = 0.0;
  int ratioCount = 0;
  Assimp::Importer importer;
  for (const fs::path& path : files) {
    std::vector<uint8_t> bytes;
    if (!kbh::ReadWholeFile(path.string(), &bytes)) continue;
    const auto ours = [&] {
      kbh::MeshData mesh;
      return kbh::ReadXFile(bytes, &mesh);
    };
    const auto library = [&] {
      return importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, "x") != nullptr;
    };

    const std::string name = path.filename().string();
    if (!LibrarySurvives(bytes)) {
      bool oursOk = false;
      const double time = TimeOnce(ours, &oursOk);
      std::printf("%-32s %9.1f %10.3f %12s %8s  (the library crashes on it; ours %s)\n",
                  name.c_str(), bytes.size() / 1024.0, time, "-", "-",
                  oursOk ? "loads it" : "refuses it");
      continue;
    }

    bool oursOk = false;
    bool libraryOk = false;
    double bestOurs = TimeOnce(ours, &oursOk);
    double bestLibrary = TimeOnce(library, &libraryOk);
    const double perRound = bestOurs + bestLibrary;
    const int rounds = std::clamp(
        static_cast<int>(kSecondsPerFile * 1000.0 / std::max(perRound, 1e-3)), 3, kMaxRounds);
    for (int round = 0; round < rounds; ++round) {
      bestOurs = std::min(bestOurs, TimeOnce(ours, &oursOk));
      bestLibrary = std::min(bestLibrary, TimeOnce(library, &libraryOk));
    }

    if (!oursOk || !libraryOk) {
      std::printf("%-32s %9.1f %10.3f %12.3f %8s  (%s)\n", name.c_str(), bytes.size() / 1024.0,
                  bestOurs, bestLibrary, "-",
                  !oursOk && !libraryOk ? "both refuse it"
                  : !oursOk             ? "ours refuses it"
                                        : "library refuses it");
      continue;
    }
    const double ratio = bestLibrary / bestOurs;
    logRatioSum += std::log(ratio);
    ++ratioCount;
    std::printf("%-32s %9.1f %10.3f %12.3f %7.1fx\n", name.c_str(), bytes.size() / 1024.0, bestOurs,
                bestLibrary, ratio);
  }
  if (ratioCount > 0) {
    std::printf("geometric mean of library / ours over %d files: %.1fx\n", ratioCount,
                std::exp(logRatioSum / ratioCount));
  }
  return 0;
}
