// One place to run missing-file cases: an X server and a fresh copy of the
// demo workshop of its own. Each case moves its file or folder aside, runs
// the program until its first frame (or its end), quits it as a user does
// and puts everything back, so the copy serves the next case unchanged.
//
// A run advances in small steps (Poll), so that one caller can keep two
// benches busy at once without threads.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/e2e/missing_files/missing_file_cases.hpp"
#include "tests/e2e/support/driven_program.hpp"
#include "tests/e2e/support/process.hpp"
#include "tests/support/temp_dir.hpp"

namespace kbh::testing {

class MissingFileBench {
 public:
  // Null, with the reason in *error, when the X server does not start.
  static std::unique_ptr<MissingFileBench> Create(const std::filesystem::path& demoWorkshop,
                                                  const std::string& binary, std::string* error);

  void Begin(const MissingFileCase& missing);
  // True once the current run has ended and its record is complete.
  bool Poll();
  const MissingFileCase& Case() const { return missing_; }
  const RunRecord& Record() const { return record_; }

 private:
  enum class Stage { kIdle, kStarting, kAwaitingFrame, kEnding };
  using Clock = std::chrono::steady_clock;

  MissingFileBench() = default;
  void PollStarting();
  void PollAwaitingFrame();
  void PollEnding();
  void Finish(int exitStatus);
  void Abandon(const std::string& why);
  bool FindScreenshot();
  void Tidy();

  std::string binary_;
  TempDir temp_;
  std::filesystem::path workshop_;
  std::unique_ptr<XvfbSession> x_;
  std::unique_ptr<DrivenProgram> program_;
  MissingFileCase missing_;
  RunRecord record_;
  Stage stage_ = Stage::kIdle;
  Clock::time_point stageBegan_;
  Clock::time_point lastShotAsked_;
  int shotsAsked_ = 0;
};

}  // namespace kbh::testing
