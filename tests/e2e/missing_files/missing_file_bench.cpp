#include "tests/e2e/missing_files/missing_file_bench.hpp"

#include "tests/e2e/support/program_session.hpp"

namespace kbh::testing {

namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// Start-up under the sanitizers with a software renderer takes tens of
// seconds, more while other builds share the machine.
constexpr seconds kStartLimit{180};
constexpr seconds kFrameLimit{90};
// A key that arrives while the last loading frame is still on screen can
// go unseen; ask again after this long.
constexpr seconds kShotRepeat{10};
constexpr seconds kEndLimit{90};

// The scene background fills the screen above the menu panel, apart from
// the moped in front of it.
bool ShowsBackground(const Image& shot, const Image& background) {
  constexpr int kTop = 40;
  constexpr int kBottom = 500;
  const int changed = CountChanges(shot, background, kTop, kBottom).changed;
  return background.width != 0 && changed * 10 < 1024 * (kBottom - kTop) * 6;
}

}  // namespace

std::unique_ptr<MissingFileBench> MissingFileBench::Create(const fs::path& demoWorkshop,
                                                           const std::string& binary,
                                                           std::string* error) {
  std::unique_ptr<MissingFileBench> bench(new MissingFileBench());
  bench->binary_ = binary;
  bench->x_ = XvfbSession::Start();
  if (bench->x_ == nullptr) {
    *error = "Xvfb did not start";
    return nullptr;
  }
  bench->workshop_ = bench->temp_.Path() / "workshop";
  std::error_code failed;
  fs::copy(demoWorkshop, bench->workshop_, fs::copy_options::recursive, failed);
  if (failed) {
    *error = "cannot copy " + demoWorkshop.string() + ": " + failed.message();
    return nullptr;
  }
  return bench;
}

void MissingFileBench::Begin(const MissingFileCase& missing) {
  missing_ = missing;
  record_ = {};
  shotsAsked_ = 0;
  std::error_code failed;
  fs::rename(workshop_ / missing.path, temp_.Path() / "aside", failed);
  if (failed) {
    record_.failure = "cannot move " + missing.path + " aside: " + failed.message();
    return;
  }
  program_ = DrivenProgram::Start(binary_, workshop_, *x_, temp_.Path() / "stderr.txt");
  if (program_ == nullptr) {
    record_.failure = "cannot start " + binary_;
    Tidy();
    return;
  }
  stage_ = Stage::kStarting;
  stageBegan_ = Clock::now();
}

bool MissingFileBench::Poll() {
  switch (stage_) {
    case Stage::kIdle:
      break;
    case Stage::kStarting:
      PollStarting();
      break;
    case Stage::kAwaitingFrame:
      PollAwaitingFrame();
      break;
    case Stage::kEnding:
      PollEnding();
      break;
  }
  return stage_ == Stage::kIdle;
}

void MissingFileBench::PollStarting() {
  int status = -1;
  if (program_->HasEnded(&status)) return Finish(status);
  if (Clock::now() - stageBegan_ > kStartLimit) {
    return Abandon("neither a first frame nor an end within " +
                   std::to_string(kStartLimit.count()) + " s");
  }
  // The last step start-up logs; the main loop follows at once.
  if (program_->Log().find("\n .animations") == std::string::npos || !program_->HasWindow()) return;
  program_->Key("Control_L");
  shotsAsked_ = 1;
  lastShotAsked_ = Clock::now();
  stage_ = Stage::kAwaitingFrame;
  stageBegan_ = Clock::now();
}

void MissingFileBench::PollAwaitingFrame() {
  int status = -1;
  if (program_->HasEnded(&status)) return Finish(status);
  if (FindScreenshot()) {
    record_.started = true;
    program_->Key("Escape");
    stage_ = Stage::kEnding;
    stageBegan_ = Clock::now();
  } else if (Clock::now() - stageBegan_ > kFrameLimit) {
    Abandon("no frame within " + std::to_string(kFrameLimit.count()) + " s of start-up's end");
  } else if (Clock::now() - lastShotAsked_ > kShotRepeat) {
    program_->Key("Control_L");
    ++shotsAsked_;
    lastShotAsked_ = Clock::now();
  }
}

void MissingFileBench::PollEnding() {
  int status = -1;
  if (program_->HasEnded(&status)) return Finish(status);
  if (Clock::now() - stageBegan_ > kEndLimit) {
    Abandon("still running " + std::to_string(kEndLimit.count()) + " s after Escape");
  }
}

bool MissingFileBench::FindScreenshot() {
  for (int i = 0; i < shotsAsked_; ++i) {
    const Image shot = DecodeFile(workshop_ / ("ScreenShot_" + std::to_string(i) + ".bmp"));
    if (shot.width != 1024 || shot.height != 768) continue;
    record_.frameShowsBackground =
        ShowsBackground(shot, DecodeFile(workshop_ / "gfx/env/mainBG.dds"));
    return true;
  }
  return false;
}

void MissingFileBench::Abandon(const std::string& why) {
  record_.failure = why;
  program_->Kill();
  Finish(-1);
}

void MissingFileBench::Finish(int exitStatus) {
  record_.exitStatus = exitStatus;
  record_.log = program_->Log();
  record_.sanitizerReport = FindSanitizerReport(ReadFileBytes(temp_.Path() / "stderr.txt"));
  program_.reset();
  Tidy();
}

void MissingFileBench::Tidy() {
  stage_ = Stage::kIdle;
  std::error_code failed;
  fs::rename(temp_.Path() / "aside", workshop_ / missing_.path, failed);
  if (failed) record_.failure += " cannot put " + missing_.path + " back: " + failed.message();
  // What the program writes; the next case must not find it.
  for (const fs::directory_entry& entry : fs::directory_iterator(workshop_)) {
    const std::string name = entry.path().filename().string();
    if (name == "error.log" || name.starts_with("ScreenShot_")) fs::remove(entry.path(), failed);
  }
  fs::remove(temp_.Path() / "stderr.txt", failed);
}

}  // namespace kbh::testing
