// kbh-soak: runs the program in a copy of the demo workshop on an X server of
// its own and feeds it random input for a while, then quits it as a user
// does. It passes when the program ran until the quit, ended with status 0
// with nothing from the sanitizers, and its resident memory did not keep
// growing. Exit status 0 when it passed, 1 when not, 2 on a usage or set-up
// error, 77 when Xvfb or xdotool is missing.
//
//   kbh-soak [--seconds N] [--seed N] [--program BIN] [--workshop DIR]
//
// The program and the workshop default to those of the build it belongs to.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/soak/soak_memory.hpp"
#include "tests/e2e/soak/soak_plan.hpp"
#include "tests/e2e/support/driven_program.hpp"
#include "tests/e2e/support/program_session.hpp"

namespace {

namespace fs = std::filesystem;
using kbh::Image;
using kbh::testing::DecodeFile;
using kbh::testing::DrivenProgram;
using kbh::testing::FindSanitizerReport;
using kbh::testing::HaveProgram;
using kbh::testing::LogTail;
using kbh::testing::MemorySample;
using kbh::testing::MemoryVerdict;
using kbh::testing::ReadFileBytes;
using kbh::testing::ReadResidentKb;
using kbh::testing::SoakAction;
using kbh::testing::SoakPlanner;
using kbh::testing::TempDir;
using kbh::testing::XvfbSession;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr uint32_t kDefaultSeed = 20240613;
constexpr int kSampleEverySeconds = 5;
constexpr int kScreenshotEverySeconds = 15;
constexpr double kGrowthLimitPercent = 5.0;
constexpr seconds kStartLimit{180};
// The leak check at exit walks the whole heap of a long run.
constexpr seconds kEndLimit{180};

// Set by SIGINT or SIGTERM: the soak stops feeding, quits the program and
// cleans up as at its normal end, so no X server or copy stays behind.
volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

struct Options {
  std::string program = KBH_KOLBENHOF_BINARY;
  fs::path workshop = KBH_WORKSHOP_DIR;
  int seconds = 600;
  uint32_t seed = kDefaultSeed;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--program" && hasValue) {
      options->program = argv[++i];
    } else if (argument == "--workshop" && hasValue) {
      options->workshop = argv[++i];
    } else if (argument == "--seconds" && hasValue) {
      options->seconds = std::atoi(argv[++i]);
    } else if (argument == "--seed" && hasValue) {
      options->seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      return false;
    }
  }
  if (options->program.empty() || options->workshop.empty() || options->seconds <= 0) return false;
  // The program runs in a folder of its own: a relative name would not
  // reach it from there.
  options->program = fs::absolute(options->program).string();
  options->workshop = fs::absolute(options->workshop);
  return true;
}

void Pause(int ms) {
  std::this_thread::sleep_for(milliseconds(ms));
}

// xdotool's sleep takes seconds.
std::string Seconds(int ms) {
  char text[16];
  std::snprintf(text, sizeof text, "%.3f", ms / 1000.0);
  return text;
}

// One xdotool run per action.
void Perform(DrivenProgram& program, const SoakAction& action) {
  using Kind = SoakAction::Kind;
  if (action.kind == Kind::kKey) {
    program.Key(action.key);
    return;
  }
  std::vector<std::string> command = DrivenProgram::MovePointerTo(action.at.x, action.at.y);
  auto add = [&command](std::initializer_list<std::string> words) {
    command.insert(command.end(), words);
  };
  switch (action.kind) {
    case Kind::kMove:
    case Kind::kKey:
      break;
    case Kind::kQuickClick:
      add({"click", "1"});
      break;
    case Kind::kHeldClick:
      add({"mousedown", "1", "sleep", Seconds(action.holdMs), "mouseup", "1"});
      break;
    case Kind::kDrag: {
      // In a few steps, so the program sees the pointer travel while held.
      constexpr int kSteps = 4;
      add({"mousedown", "1"});
      int x = action.at.x;
      int y = action.at.y;
      for (int step = 1; step <= kSteps; ++step) {
        const int nextX = action.at.x + (action.to.x - action.at.x) * step / kSteps;
        const int nextY = action.at.y + (action.to.y - action.at.y) * step / kSteps;
        add({"sleep", Seconds(action.holdMs / kSteps), "mousemove_relative", "--",
             std::to_string(nextX - x), std::to_string(nextY - y)});
        x = nextX;
        y = nextY;
      }
      add({"mouseup", "1"});
      break;
    }
  }
  program.Xdotool(command);
}

// The screenshots are only asked for to exercise the save; they would fill
// the disk on a long run.
void RemoveScreenshots(const fs::path& folder) {
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored)) {
    if (entry.path().filename().string().starts_with("ScreenShot_"))
      fs::remove(entry.path(), ignored);
  }
}

// Start-up done and the main loop drawing: a screenshot asked for arrives.
bool WaitUntilRunning(DrivenProgram& program, const fs::path& folder) {
  const auto deadline = Clock::now() + kStartLimit;
  int status = -1;
  while (program.Log().find("\n .animations") == std::string::npos || !program.HasWindow()) {
    if (program.HasEnded(&status) || Clock::now() > deadline) return false;
    Pause(200);
  }
  for (int asked = 0; Clock::now() < deadline; ++asked) {
    program.Key("Control_L");
    const auto askedAt = Clock::now();
    while (Clock::now() - askedAt < seconds(10)) {
      if (program.HasEnded(&status)) return false;
      for (int i = 0; i <= asked; ++i) {
        if (DecodeFile(folder / ("ScreenShot_" + std::to_string(i) + ".bmp")).width == 1024) {
          RemoveScreenshots(folder);
          return true;
        }
      }
      Pause(200);
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::cerr << "usage: kbh-soak [--seconds N] [--seed N] [--program BIN] [--workshop DIR]\n";
    return 2;
  }
  if (const int status = kbh::testing::CheckDrivenRunCanStart(options.workshop); status != 0) {
    return status;
  }
  std::cout << "soak: " << options.seconds << " s, seed " << options.seed
            << " (another with --seed N)" << std::endl;

  TempDir temp;
  const fs::path folder = temp.Path() / "workshop";
  fs::copy(options.workshop, folder, fs::copy_options::recursive);
  const std::unique_ptr<XvfbSession> x = XvfbSession::Start();
  if (x == nullptr) {
    std::cerr << "Xvfb did not start\n";
    return 2;
  }
  SoakPlanner planner(options.seed, kbh::testing::MakeSoakTargets([&](const std::string& file) {
                        const Image picture = DecodeFile(folder / "gfx/gui" / file);
                        return kbh::layout::Point{picture.width, picture.height};
                      }));
  // The pauses between actions come from a stream of their own, so that the
  // actions stay the same whatever the pauses.
  std::mt19937 pauses(options.seed);

  const fs::path stderrPath = temp.Path() / "stderr.txt";
  std::unique_ptr<DrivenProgram> program =
      DrivenProgram::Start(options.program, folder, *x, stderrPath);
  if (program == nullptr || !WaitUntilRunning(*program, folder)) {
    std::cerr << "the program did not reach its main loop\n"
              << (program != nullptr ? program->Log() : "") << "\n"
              << ReadFileBytes(stderrPath);
    return 1;
  }

  std::vector<std::string> faults;
  std::vector<MemorySample> samples;
  std::map<std::string, int> hits;
  int actions = 0;
  int screenshots = 0;
  const auto began = Clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - began).count(); };
  samples.push_back({0.0, ReadResidentKb(program->Id())});
  double nextSample = kSampleEverySeconds;
  double nextScreenshot = kScreenshotEverySeconds;
  int status = -1;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  while (elapsed() < options.seconds) {
    if (stopRequested) {
      faults.push_back("interrupted after " + std::to_string(static_cast<int>(elapsed())) + " s");
      break;
    }
    if (program->HasEnded(&status)) {
      faults.push_back("ended after " + std::to_string(static_cast<int>(elapsed())) +
                       " s, before the quit, with status " + std::to_string(status));
      break;
    }
    const SoakAction action = planner.Next();
    Perform(*program, action);
    ++actions;
    ++hits[action.target];
    Pause(30 + static_cast<int>(pauses() % 170));
    if (elapsed() >= nextScreenshot) {
      program->Key("Control_L");
      ++screenshots;
      nextScreenshot += kScreenshotEverySeconds;
    }
    if (elapsed() >= nextSample) {
      const long kb = ReadResidentKb(program->Id());
      if (kb > 0) samples.push_back({elapsed(), kb});
      RemoveScreenshots(folder);
      nextSample += kSampleEverySeconds;
    }
  }

  if (faults.empty() || stopRequested) {
    samples.push_back({elapsed(), ReadResidentKb(program->Id())});
    // Nothing may still be held when the quit key comes.
    program->Xdotool({"mouseup", "1"});
    program->Key("Escape");
    if (!program->WaitForEnd(kEndLimit, &status)) {
      faults.push_back("still running " + std::to_string(kEndLimit.count()) + " s after Escape");
      program->Kill();
    } else if (status != 0) {
      faults.push_back("exit status " + std::to_string(status) + " after Escape");
    }
  }
  const std::string report = FindSanitizerReport(ReadFileBytes(stderrPath));
  if (!report.empty()) faults.push_back("sanitizer: " + report);

  const MemoryVerdict memory =
      kbh::testing::JudgeMemory(samples, options.seconds, kGrowthLimitPercent);
  if (faults.empty() && !memory.withinLimit) {
    faults.push_back("resident memory grew by more than 5 % after its baseline");
  }

  std::cout << actions << " actions, " << screenshots << " screenshots, " << hits.size()
            << " different targets:\n";
  for (const auto& [target, count] : hits)
    std::cout << "  " << target << ": " << count << "\n";
  std::cout << kbh::testing::FormatMemoryCurve(samples, memory, kSampleEverySeconds);
  const std::string stderrText = ReadFileBytes(stderrPath);
  if (!report.empty()) std::cout << "standard error:\n" << stderrText << "\n";
  if (faults.empty()) {
    std::cout << "soak passed: ran until the quit, exit status 0, no sanitizer report\n";
    return 0;
  }
  for (const std::string& fault : faults)
    std::cout << "soak FAILED: " << fault << "\n";
  std::cout << "log ends: " << LogTail(program->Log(), 3) << "\n";
  return 1;
}
