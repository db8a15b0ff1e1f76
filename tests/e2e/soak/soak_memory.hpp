// The soak's memory check: the program's resident size sampled through the
// run, and whether it kept growing once the first minute (the caches of
// fonts, textures and the sanitizers' own bookkeeping filling up) was over.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kbh::testing {

struct MemorySample {
  double seconds = 0;  // since the soak began feeding input
  long kb = 0;
};

// VmRSS from the text of /proc/<pid>/status, in kB; -1 when it has none.
long ParseResidentKb(const std::string& statusText);
// The same for a running process; -1 when it has ended.
long ReadResidentKb(pid_t pid);

struct MemoryVerdict {
  MemorySample start;
  MemorySample baseline;
  MemorySample end;
  double growthPercent = 0;
  bool withinLimit = false;
  // How the baseline was chosen, for the report.
  std::string baselineRule;
};

// Compares the last sample with the baseline: the first sample at or after
// one minute or, for runs shorter than two minutes, at or after a fifth of
// the run. Growth must stay below limitPercent.
MemoryVerdict JudgeMemory(const std::vector<MemorySample>& samples, double runSeconds,
                          double limitPercent);

// Start, baseline and end with the growth, then every sample in MB.
std::string FormatMemoryCurve(const std::vector<MemorySample>& samples,
                              const MemoryVerdict& verdict, int intervalSeconds);

}  // namespace kbh::testing
