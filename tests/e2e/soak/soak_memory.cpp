#include "tests/e2e/soak/soak_memory.hpp"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kbh::testing {

namespace {

std::string Megabytes(long kb) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(kb) / 1024.0);
  return text;
}

}  // namespace

long ParseResidentKb(const std::string& statusText) {
  std::istringstream lines(statusText);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.starts_with("VmRSS:")) continue;
    long kb = -1;
    return std::sscanf(line.c_str() + 6, "%ld", &kb) == 1 ? kb : -1;
  }
  return -1;
}

long ReadResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  return ParseResidentKb(
      std::string(std::istreambuf_iterator<char>(status), std::istreambuf_iterator<char>()));
}

MemoryVerdict JudgeMemory(const std::vector<MemorySample>& samples, double runSeconds,
                          double limitPercent) {
  MemoryVerdict verdict;
  if (samples.empty()) return verdict;
  double from = 60;
  verdict.baselineRule = "after the first minute";
  if (runSeconds < 120) {
    from = runSeconds / 5;
    verdict.baselineRule =
        "after a fifth of the run (it is shorter than two minutes, so the first minute is no "
        "baseline)";
  }
  verdict.start = samples.front();
  verdict.end = samples.back();
  verdict.baseline = samples.back();
  for (const MemorySample& sample : samples) {
    if (sample.seconds >= from) {
      verdict.baseline = sample;
      break;
    }
  }
  verdict.growthPercent = verdict.baseline.kb > 0 ? 100.0 * (verdict.end.kb - verdict.baseline.kb) /
                                                        static_cast<double>(verdict.baseline.kb)
                                                  : 0.0;
  verdict.withinLimit = verdict.baseline.kb > 0 && verdict.growthPercent < limitPercent;
  return verdict;
}

std::string FormatMemoryCurve(const std::vector<MemorySample>& samples,
                              const MemoryVerdict& verdict, int intervalSeconds) {
  char growth[32];
  std::snprintf(growth, sizeof growth, "%+.1f %%", verdict.growthPercent);
  std::string text = "resident memory (VmRSS): start " + Megabytes(verdict.start.kb) +
                     " MB, after " + std::to_string(static_cast<int>(verdict.baseline.seconds)) +
                     " s " + Megabytes(verdict.baseline.kb) + " MB, end (" +
                     std::to_string(static_cast<int>(verdict.end.seconds)) + " s) " +
                     Megabytes(verdict.end.kb) + " MB: " + growth + " from the baseline " +
                     verdict.baselineRule + "\nsamples every " + std::to_string(intervalSeconds) +
                     " s, MB:";
  for (size_t i = 0; i < samples.size(); ++i)
    text += (i % 20 == 0 ? "\n " : " ") + Megabytes(samples[i].kb);
  return text + "\n";
}

}  // namespace kbh::testing
