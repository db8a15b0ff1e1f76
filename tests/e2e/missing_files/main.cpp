// kbh-missing-files: takes each file and each folder of the demo workshop
// away in turn, runs the program without it, and prints a Markdown table of
// what happened. Exit status 0 when every case behaved as expected, 1 when
// one did not, 2 on a usage or set-up error, 77 when Xvfb or xdotool is
// missing (a test runner's "skipped").
//
//   kbh-missing-files [--quick] [--jobs N] [--program BIN] [--workshop DIR]
//
// The program and the workshop default to those of the build it belongs to.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/missing_files/missing_file_bench.hpp"
#include "tests/e2e/missing_files/missing_file_cases.hpp"

namespace {

namespace fs = std::filesystem;
using kbh::testing::MissingFileBench;
using kbh::testing::MissingFileCase;
using kbh::testing::TableRow;

// Set by SIGINT or SIGTERM: the matrix stops, and its benches take their
// programs, X servers and workshop copies with them.
volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

struct Options {
  std::string program = KBH_KOLBENHOF_BINARY;
  fs::path workshop = KBH_WORKSHOP_DIR;
  bool quick = false;
  int jobs = 2;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--quick") {
      options->quick = true;
    } else if (argument == "--program" && hasValue) {
      options->program = argv[++i];
    } else if (argument == "--workshop" && hasValue) {
      options->workshop = argv[++i];
    } else if (argument == "--jobs" && hasValue) {
      options->jobs = std::max(1, std::atoi(argv[++i]));
    } else {
      return false;
    }
  }
  if (options->program.empty() || options->workshop.empty()) return false;
  // The program runs in a folder of its own: a relative name would not
  // reach it from there.
  options->program = fs::absolute(options->program).string();
  options->workshop = fs::absolute(options->workshop);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::cerr << "usage: kbh-missing-files [--quick] [--jobs N] [--program BIN] [--workshop DIR]\n";
    return 2;
  }
  if (const int status = kbh::testing::CheckDrivenRunCanStart(options.workshop); status != 0) {
    return status;
  }

  const std::vector<MissingFileCase> cases =
      kbh::testing::ListMissingFileCases(options.workshop, options.quick);
  std::vector<std::unique_ptr<MissingFileBench>> benches;
  for (int i = 0; i < options.jobs && i < static_cast<int>(cases.size()); ++i) {
    std::string error;
    benches.push_back(MissingFileBench::Create(options.workshop, options.program, &error));
    if (benches.back() == nullptr) {
      std::cerr << error << "\n";
      return 2;
    }
  }

  const auto began = std::chrono::steady_clock::now();
  std::vector<TableRow> rows(cases.size());
  std::vector<int> running(benches.size(), -1);
  size_t next = 0;
  size_t done = 0;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  while (done < cases.size()) {
    if (stopRequested) {
      std::cerr << "interrupted after " << done << " of " << cases.size() << " cases\n";
      return 1;
    }
    for (size_t b = 0; b < benches.size(); ++b) {
      if (running[b] < 0) {
        if (next == cases.size()) continue;
        running[b] = static_cast<int>(next);
        benches[b]->Begin(cases[next++]);
      }
      if (!benches[b]->Poll()) continue;
      TableRow& row = rows[static_cast<size_t>(running[b])];
      row.missing = benches[b]->Case();
      row.run = benches[b]->Record();
      row.verdict = kbh::testing::Judge(row.missing, row.run);
      running[b] = -1;
      ++done;
      std::cerr << "[" << done << "/" << cases.size() << "] " << row.missing.path << ": "
                << row.verdict.outcome << std::endl;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const auto took =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - began);

  int unexpected = 0;
  for (const TableRow& row : rows)
    unexpected += row.verdict.expected ? 0 : 1;
  std::cout << kbh::testing::FormatTable(rows) << "\n"
            << cases.size() << " cases (" << (options.quick ? "quick" : "all") << ", "
            << benches.size() << " at a time) in " << took.count() << " s; " << unexpected
            << " unexpected\n";
  return unexpected == 0 ? 0 : 1;
}
