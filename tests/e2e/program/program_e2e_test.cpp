// The real program under an X server of the test's own, driven with real key
// events and close requests, in a copy of the demo workshop (or, in a build
// without it, the small test workshop), and checked through its log, its
// screenshots and its exit status. In the asan preset the leak checker runs
// at every exit, so each run that ends with status 0 has also leaked nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/image/image_codec.hpp"
#include "tests/e2e/support/process.hpp"
#include "tests/e2e/support/small_workshop.hpp"
#include "tests/e2e/support/x_close.hpp"
#include "tests/support/program_log.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// Start-up is slow under the sanitizers with a software renderer.
constexpr seconds kStartTimeout{90};
constexpr seconds kExitTimeout{60};

// The log after the device's lines of a run that started and ended normally:
// every start-up step, then the performance block with the run's rates.
bool IsWholeRun(std::string rest) {
  for (size_t at = 0; at < rest.size(); ++at) {
    if (std::isdigit(static_cast<unsigned char>(rest[at]))) {
      const size_t end = rest.find_first_not_of("0123456789", at);
      rest.replace(at, (end == std::string::npos ? rest.size() : end) - at, "#");
    }
  }
  return rest == std::string(testing::kStartUpSteps) +
                     "\n\n\t[Performance Info]\n\nmin-framerate: #\nmax-framerate: #";
}

Image DecodeFile(const fs::path& path) {
  const std::string bytes = testing::ReadFileBytes(path);
  Image image;
  DecodeImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, &image);
  return image;
}

int Distance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift : {16, 8, 0})
    largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return largest;
}

// Compares a screenshot with the background picture it was drawn on (black
// where the picture does not reach) inside a rectangle.
struct Changes {
  int changed = 0;    // pixels that differ clearly from the background
  int nearWhite = 0;  // of those, the ones near white, as the statistics text is
  int holes = 0;      // of those, the ones where `other` shows the background
};
Changes CountChanges(const Image& shot, const Image& background, int top, int bottom,
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

class ProgramE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveProgram("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    xvfb = testing::XvfbSession::Start();
    if (xvfb == nullptr) GTEST_SKIP() << "no Xvfb";
    if (fs::exists(fs::path(KBH_WORKSHOP_DIR) / "data/firstData.khb")) {
      fs::copy(KBH_WORKSHOP_DIR, workshop, fs::copy_options::recursive);
    } else {
      UseSmallWorkshop();
    }
  }
  void TearDown() override {
    if (program != nullptr && HasFailure()) {
      std::cerr << "program's standard error:\n" << testing::ReadFileBytes(StderrPath()) << "\n";
    }
  }

  void UseSmallWorkshop() {
    workshop = temp.Path() / "small";
    std::string error;
    ASSERT_TRUE(testing::WriteSmallWorkshop(workshop, &error)) << error;
  }
  fs::path StderrPath() const { return temp.Path() / "stderr.txt"; }
  std::string Log() const { return testing::ReadLog(workshop); }

  void Start(testing::ProcessOptions options = {}) {
    if (options.workingDirectory.empty()) options.workingDirectory = workshop.string();
    // A run meant to have no display says so by unsetting it.
    if (options.unsetEnvironment.empty()) options.environment.merge(xvfb->Environment());
    options.stderrPath = StderrPath().string();
    program = testing::Process::Start({KBH_KOLBENHOF_BINARY}, options);
    ASSERT_NE(program, nullptr);
  }

  // The program's window, once it exists; empty until then.
  std::string FindWindow() {
    std::string ids;
    testing::RunCommand({"xdotool", "search", "--name", "^3DKolbenhof$"}, &ids,
                        xvfb->Environment());
    return ids.substr(0, ids.find('\n'));
  }

  // Running: the window is there and start-up has logged its last step.
  void StartAndWaitUntilRunning() {
    Start();
    ASSERT_TRUE(testing::WaitUntil(
        [this] { return !FindWindow().empty() && Log().find("\n .scene-bg") != std::string::npos; },
        kStartTimeout))
        << Log();
  }

  void Key(const std::string& name) {
    ASSERT_EQ(testing::RunCommand({"xdotool", "key", name}, nullptr, xvfb->Environment()), 0);
  }

  // Presses left Control and waits for the screenshot it saves.
  Image Screenshot(const std::string& name) {
    Key("Control_L");
    Image image;
    EXPECT_TRUE(testing::WaitUntil([&] { return (image = DecodeFile(workshop / name)).width != 0; },
                                   seconds(30)))
        << name;
    return image;
  }

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

  testing::TempDir temp;
  fs::path workshop = temp.Path() / "workshop";
  std::unique_ptr<testing::XvfbSession> xvfb;
  std::unique_ptr<testing::Process> program;
};

TEST_F(ProgramE2eTest, ShowsTheMopedSavesScreenshotsSwitchesToWireframeAndQuitsOnEscape) {
  Image solid;
  Image wireframe;
  RunSolidThenWireframe(&solid, &wireframe);
  ASSERT_EQ(solid.width, 1024);
  ASSERT_EQ(solid.height, 768);
  ASSERT_EQ(wireframe.width, 1024);
  ASSERT_EQ(wireframe.height, 768);
  const Image background = DecodeFile(workshop / "gfx/env/mainBG.dds");
  // "Frames: ..." and "Vertices: ..." in near white at the top left.
  EXPECT_GT(CountChanges(solid, background, 15, 32, 300).nearWhite, 40);
  // The moped stands out of the background. (A dense mesh drawn as lines at
  // this distance covers nearly as much as drawn solid: the small workshop's
  // boxes in the next test show the wireframe.)
  EXPECT_GT(CountChanges(solid, background, 40, 768).changed, 5000);
  EXPECT_GT(CountChanges(wireframe, background, 40, 768).changed, 5000);

  const std::string log = Log();
  EXPECT_NE(log.find("Error-Logfile\n\n.OS-Info: Linux "), std::string::npos) << log;
  EXPECT_NE(log.find("\n\n.creating application window\n.initialising DirectX 9.0\n gfx.device"
                     "   D3DCreate - success\n   adapter: "),
            std::string::npos)
      << log;
  EXPECT_TRUE(IsWholeRun(testing::AfterDevice(log))) << log;
}

TEST_F(ProgramE2eTest, WDrawsTheModelsAsWireframes) {
  UseSmallWorkshop();
  Image solid;
  Image wireframe;
  RunSolidThenWireframe(&solid, &wireframe);
  // Where the boxes' faces were, the background shows between the edges.
  const Image background = DecodeFile(workshop / "gfx/env/mainBG.dds");
  const Changes model = CountChanges(solid, background, 40, 768, 1024, &wireframe);
  EXPECT_GT(model.changed, 5000);
  EXPECT_GT(model.holes, model.changed / 2) << model.holes << " of " << model.changed;
}

TEST_F(ProgramE2eTest, ASecondRunEmptiesTheLogAndOverwritesTheFirstScreenshot) {
  for (int run = 0; run < 2; ++run) {
    if (run == 1) testing::WriteFileBytes(workshop / "ScreenShot_0.bmp", "stale");
    StartAndWaitUntilRunning();
    EXPECT_EQ(Screenshot("ScreenShot_0.bmp").width, 1024) << "run " << run;
    Key("Escape");
    EXPECT_EQ(WaitForExit(), 0);
  }
  const std::string log = Log();
  EXPECT_EQ(log.find("Error-Logfile"), log.rfind("Error-Logfile")) << log;
}

TEST_F(ProgramE2eTest, ACloseRequestFromTheWindowSystemShutsDownCompletely) {
  StartAndWaitUntilRunning();
  ASSERT_TRUE(testing::SendCloseRequest(xvfb->Display(), FindWindow()));
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_TRUE(IsWholeRun(testing::AfterDevice(Log()))) << Log();
}

TEST_F(ProgramE2eTest, AProgramDirectoryWithoutWriteAccessGetsTheErrorMessage) {
  // Not even root may create a file in /proc. Without a display the message
  // box cannot appear, so the text on standard error is all there is.
  Start({.workingDirectory = "/proc", .unsetEnvironment = {"DISPLAY", "WAYLAND_DISPLAY"}});
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_EQ(testing::ReadFileBytes(StderrPath()),
            "Error: Couldn't create logfile. Please check for write-protection!\n");
}

TEST_F(ProgramE2eTest, EachMissingFileOrFontEndsTheStartUpAtItsStep) {
  // An empty path stands for a font configuration that knows no font at all.
  const std::pair<const char*, const char*> cases[] = {
      {"gfx/gui/kbh_load.dds", "\n input.device\n.loading status-screen failed"},
      {"", "\n.loading status-screen\n.loading fonts failed"},
      {"data/firstData.khb", "\n.loading fonts\n.creating data-store failed"},
      {"gfx/env/mainBG.dds", "\n .environment-map\n .scene-bg  failed"},
      {"gfx/gui/gui_Spray_modelframe.dds", "\n.loading gui\n error loading modelscreen"},
  };
  for (const auto& [path, logEnd] : cases) {
    SCOPED_TRACE(logEnd);
    testing::ProcessOptions options;
    const std::string kept = *path ? testing::ReadFileBytes(workshop / path) : "";
    if (*path) {
      ASSERT_TRUE(fs::remove(workshop / path));
    } else {
      testing::WriteFileBytes(temp.Path() / "no-fonts.conf",
                              "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
      options.environment["FONTCONFIG_FILE"] = (temp.Path() / "no-fonts.conf").string();
    }
    Start(options);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(Log().ends_with(std::string(logEnd) + testing::kUnrunPerformanceBlock)) << Log();
    if (*path) testing::WriteFileBytes(workshop / path, kept);
  }
}

}  // namespace
}  // namespace kbh
