// The real program under an X server of the test's own, in a copy of the
// demo workshop (or, in a build without it, the small test workshop), driven
// with real key and pointer events and checked through its log, its
// screenshots and its exit status. In the asan preset the leak checker runs
// at every exit, so each run that ends with status 0 has also leaked nothing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/image/image_codec.hpp"
#include "tests/e2e/support/process.hpp"
#include "tests/e2e/support/small_workshop.hpp"
#include "tests/e2e/support/x_close.hpp"
#include "tests/support/program_log.hpp"
#include "tests/support/skip.hpp"

namespace kbh::testing {

namespace fs = std::filesystem;
using std::chrono::seconds;

// Start-up is slow under the sanitizers with a software renderer.
constexpr seconds kStartTimeout{90};
constexpr seconds kExitTimeout{60};

// The log after the device's lines of a run that started and ended normally:
// every start-up step, then the performance block with the run's rates.
inline bool IsWholeRun(std::string rest) {
  for (size_t at = 0; at < rest.size(); ++at) {
    if (std::isdigit(static_cast<unsigned char>(rest[at]))) {
      const size_t end = rest.find_first_not_of("0123456789", at);
      rest.replace(at, (end == std::string::npos ? rest.size() : end) - at, "#");
    }
  }
  return rest == std::string(kStartUpSteps) +
                     "\n\n\t[Performance Info]\n\nmin-framerate: #\nmax-framerate: #";
}

inline Image DecodeFile(const fs::path& path) {
  const std::string bytes = ReadFileBytes(path);
  Image image;
  DecodeImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, &image);
  return image;
}

inline int Distance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift : {16, 8, 0})
    largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return largest;
}

// Whether shot shows picture with its top-left corner at (x, y): at least 90 %
// of its opaque texels appear unchanged (within 12 levels a channel). Where a
// picture has transparent parts, only its opaque ones are compared. Empty
// when it does; otherwise what was seen, for the failure message.
inline std::string PictureMismatch(const Image& shot, const Image& picture, int x, int y) {
  int opaque = 0;
  int same = 0;
  for (int py = 0; py < picture.height; ++py) {
    for (int px = 0; px < picture.width; ++px) {
      const uint32_t texel = picture.texels[size_t(py) * picture.width + px];
      const int sx = x + px;
      const int sy = y + py;
      if ((texel >> 24) != 0xFF || sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height)
        continue;
      ++opaque;
      if (Distance(shot.texels[size_t(sy) * shot.width + sx], texel) <= 12) ++same;
    }
  }
  if (opaque >= 20 && same * 10 >= opaque * 9) return "";
  return "the picture at (" + std::to_string(x) + ", " + std::to_string(y) +
         "): " + std::to_string(same) + " of " + std::to_string(opaque) + " opaque texels seen; ";
}

// Compares a screenshot with the background picture it was drawn on (black
// where the picture does not reach) inside a rectangle.
struct Changes {
  int changed = 0;    // pixels that differ clearly from the background
  int nearWhite = 0;  // of those, the ones near white, as the statistics text is
  int holes = 0;      // of those, the ones where `other` shows the background
};
inline Changes CountChanges(const Image& shot, const Image& background, int top, int bottom,
                            int right = 1024, const Image* other = nullptr) {
  auto at = [](const Image& image, int x, int y) {
    return x < image.width && y < image.height ? image.texels[size_t(y) * image.width + x]
                                               : 0xFF000000u;
  };
  Changes changes;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < right; ++x) {
      const uint32_t under = at(background, x, y);
      if (Distance(at(shot, x, y), under) < 48) continue;
      ++changes.changed;
      if (Distance(at(shot, x, y), 0xFFFFFFFF) < 40) ++changes.nearWhite;
      if (other != nullptr && Distance(at(*other, x, y), under) < 24) ++changes.holes;
    }
  }
  return changes;
}

class ProgramSession : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveProgram("xdotool")) KBH_SKIP_OR_FAIL() << "xdotool is not installed";
    xvfb = XvfbSession::Start();
    if (xvfb == nullptr) KBH_SKIP_OR_FAIL() << "no Xvfb";
    if (fs::exists(fs::path(KBH_WORKSHOP_DIR) / "data/firstData.khb")) {
      fs::copy(KBH_WORKSHOP_DIR, workshop, fs::copy_options::recursive);
    } else {
      UseSmallWorkshop();
    }
  }
  void TearDown() override {
    if (program != nullptr && HasFailure()) {
      std::cerr << "program's standard error:\n" << ReadFileBytes(StderrPath()) << "\n";
    }
  }

  void UseSmallWorkshop() {
    workshop = temp.Path() / "small";
    std::string error;
    ASSERT_TRUE(WriteSmallWorkshop(workshop, &error)) << error;
  }
  fs::path StderrPath() const { return temp.Path() / "stderr.txt"; }
  std::string Log() const { return ReadLog(workshop); }

  void Start(ProcessOptions options = {}) {
    if (options.workingDirectory.empty()) options.workingDirectory = workshop.string();
    // A run meant to have no display says so by unsetting it.
    if (options.unsetEnvironment.empty()) options.environment.merge(xvfb->Environment());
    options.stderrPath = StderrPath().string();
    program = Process::Start({KBH_KOLBENHOF_BINARY}, options);
    ASSERT_NE(program, nullptr);
  }

  // The program's window, once it exists; empty until then.
  std::string FindWindow() {
    std::string ids;
    RunCommand({"xdotool", "search", "--name", "^3DKolbenhof$"}, &ids, xvfb->Environment());
    return ids.substr(0, ids.find('\n'));
  }

  // Running: the window is there and start-up has logged its last step.
  void StartAndWaitUntilRunning() {
    Start();
    ASSERT_TRUE(WaitUntil(
        [this] { return !FindWindow().empty() && Log().find("\n .scene-bg") != std::string::npos; },
        kStartTimeout))
        << Log();
  }

  void Key(const std::string& name) {
    ASSERT_EQ(RunCommand({"xdotool", "key", name}, nullptr, xvfb->Environment()), 0);
  }

  // Presses left Control and waits for the screenshot it saves.
  Image Screenshot(const std::string& name) {
    Key("Control_L");
    Image image;
    EXPECT_TRUE(
        WaitUntil([&] { return (image = DecodeFile(workshop / name)).width != 0; }, seconds(30)))
        << name;
    return image;
  }

  // --- The pointer ------------------------------------------------------------
  // The program moves its own pointer by the mouse's relative motion, one
  // back-buffer pixel per unit, and keeps it on the screen: a long move up and
  // to the left puts it at (0, 0) from wherever it was.
  void PointAt(int x, int y) {
    Xdotool({"mousemove_relative", "--", "-5000", "-5000"});
    Xdotool({"mousemove_relative", "--", std::to_string(x), std::to_string(y)});
  }
  // Held across several frames, as a person clicks.
  void HoldClick() {
    Xdotool({"mousedown", "1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    Xdotool({"mouseup", "1"});
  }
  // Press and release at once: at a low frame rate both arrive within one
  // frame, as a touchpad tap does.
  void QuickClick() { Xdotool({"click", "1"}); }
  void Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    ASSERT_EQ(RunCommand(arguments, nullptr, xvfb->Environment()), 0);
  }

  // Screenshots, numbered on from the last one this session took, until one
  // has nothing missing (mismatch() returns ""); the last one taken when none
  // did, and a failure saying what was missing.
  Image ScreenshotShowing(const std::function<std::string(const Image&)>& mismatch,
                          seconds timeout = seconds(60)) {
    Image shot;
    std::string missing;
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
      const std::string name = "ScreenShot_" + std::to_string(shotsTaken++) + ".bmp";
      shot = Screenshot(name);
      if (shot.width == 0) return shot;
      missing = mismatch(shot);
      if (missing.empty()) return shot;
      missing += "in " + name;
    } while (std::chrono::steady_clock::now() < end);
    ADD_FAILURE() << "within " << timeout.count() << " s no screenshot showed " << missing;
    return shot;
  }
  // Empty when the screenshot shows the interface picture at (x, y).
  std::string Missing(const Image& shot, const std::string& name, int x, int y) {
    const std::string mismatch = PictureMismatch(shot, Picture(name), x, y);
    return mismatch.empty() ? "" : name + " " + mismatch;
  }
  // A picture of the workshop's interface, as the program loads it.
  Image Picture(const std::string& name) { return DecodeFile(workshop / "gfx/gui" / name); }

  int WaitForExit() {
    int status = -1;
    EXPECT_TRUE(program->WaitForExit(kExitTimeout, &status)) << "the program did not end";
    return status;
  }

  // A screenshot, W, a second screenshot, Escape.
  void RunSolidThenWireframe(Image* solid, Image* wireframe) {
    StartAndWaitUntilRunning();
    *solid = Screenshot("ScreenShot_0.bmp");
    Key("w");
    *wireframe = Screenshot("ScreenShot_1.bmp");
    Key("Escape");
    EXPECT_EQ(WaitForExit(), 0);
  }

  int shotsTaken = 0;
  TempDir temp;
  fs::path workshop = temp.Path() / "workshop";
  std::unique_ptr<XvfbSession> xvfb;
  std::unique_ptr<Process> program;
};

}  // namespace kbh::testing
