// The real program under an X server of the test's own, driven with real key
// events and close requests, in a copy of the demo workshop (or, in a build
// without it, the small test workshop), and checked through its log, its
// screenshots and its exit status. In the asan preset the leak checker runs
// at every exit, so each run that ends with status 0 has also leaked nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/image/image_codec.hpp"
#include "tests/e2e/support/process.hpp"
#include "tests/e2e/support/small_workshop.hpp"
#include "tests/e2e/support/x_close.hpp"
#include "tests/support/temp_dir.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// Start-up is slow under the sanitizers with a software renderer.
constexpr seconds kStartTimeout{90};
constexpr seconds kExitTimeout{60};

// What start-up logs after the device's own lines, on success. The last line
// tells that the main loop is about to run.
constexpr const char* kStartUpSteps =
    "\n input.device"
    "\n.loading status-screen"
    "\n.loading fonts"
    "\n.creating data-store"
    "\n.loading std-mxafiles"
    "\n.loading gui"
    "\n.initialising world"
    "\n .lights"
    "\n .environment-map"
    "\n .scene-bg";
constexpr const char* kLastStartUpLine = "\n .scene-bg";
constexpr const char* kUnrunPerformanceBlock =
    "\n\n\t[Performance Info]\n\nmin-framerate: 500\nmax-framerate: 0";

// Skips a run of decimal digits at text[*at]; false when there is none.
bool SkipNumber(const std::string& text, size_t* at) {
  const size_t start = *at;
  while (*at < text.size() && text[*at] >= '0' && text[*at] <= '9')
    ++*at;
  return *at > start;
}

// The log after the device's lines of a run that started and ended
// normally: every start-up step, then the performance block with the run's
// rates, and nothing else.
bool IsWholeRun(const std::string& rest) {
  const std::string head =
      std::string(kStartUpSteps) + "\n\n\t[Performance Info]\n\nmin-framerate: ";
  const std::string middle = "\nmax-framerate: ";
  if (rest.rfind(head, 0) != 0) return false;
  size_t at = head.size();
  if (!SkipNumber(rest, &at) || rest.compare(at, middle.size(), middle) != 0) return false;
  at += middle.size();
  return SkipNumber(rest, &at) && at == rest.size();
}

bool HasDemoWorkshop() {
  return fs::exists(fs::path(KBH_WORKSHOP_DIR) / "data/firstData.khb");
}

std::string ReadText(const fs::path& path) {
  const std::string bytes = testing::ReadFileBytes(path);
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

bool DecodeFile(const fs::path& path, Image* image) {
  const std::string bytes = testing::ReadFileBytes(path);
  return DecodeImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, image);
}

int Distance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift : {16, 8, 0}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    largest = std::max(largest, std::abs(d));
  }
  return largest;
}

uint32_t PixelOrBlack(const Image& image, int x, int y) {
  if (x >= image.width || y >= image.height) return 0xFF000000u;
  return image
      .texels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

// Compares a screenshot with the background picture it was drawn on (black
// where the picture does not reach) inside a rectangle.
struct Changes {
  int changed = 0;    // pixels that differ clearly from the background
  int nearWhite = 0;  // of those, the ones near white, as the statistics text is
  int holes = 0;      // of those, the ones where `other` shows the background
};
Changes CountChanges(const Image& shot, const Image& background, int left, int top, int right,
                     int bottom, const Image* other = nullptr) {
  Changes changes;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const uint32_t under = PixelOrBlack(background, x, y);
      const uint32_t pixel = PixelOrBlack(shot, x, y);
      if (Distance(pixel, under) < 48) continue;
      ++changes.changed;
      if (Distance(pixel, 0xFFFFFFFF) < 40) ++changes.nearWhite;
      if (other != nullptr && Distance(PixelOrBlack(*other, x, y), under) < 24) ++changes.holes;
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
    workshop = temp.Path() / "workshop";
    if (HasDemoWorkshop()) {
      fs::copy(KBH_WORKSHOP_DIR, workshop, fs::copy_options::recursive);
    } else {
      std::string error;
      ASSERT_TRUE(testing::WriteSmallWorkshop(workshop, &error)) << error;
    }
  }
  void TearDown() override {
    if (program != nullptr && HasFailure()) {
      std::cerr << "program's standard error:\n" << testing::ReadFileBytes(StderrPath()) << "\n";
    }
  }

  fs::path StderrPath() const { return temp.Path() / "stderr.txt"; }
  std::string Log() const { return ReadText(workshop / "error.log"); }
  // What follows the device's own start-up lines.
  std::string LogAfterDevice() const {
    const std::string text = Log();
    const std::string end = "CreateDevice success\n";
    const size_t at = text.find(end);
    return at == std::string::npos ? text : text.substr(at + end.size());
  }

  void Start(const std::map<std::string, std::string>& environment = {}) {
    testing::ProcessOptions options;
    options.workingDirectory = workshop.string();
    options.environment = xvfb->Environment();
    options.environment.insert(environment.begin(), environment.end());
    options.stderrPath = StderrPath().string();
    program = testing::Process::Start({KBH_KOLBENHOF_BINARY}, options);
    ASSERT_NE(program, nullptr);
  }

  // The program's window, once it exists; empty until then.
  std::string FindWindow() {
    std::string ids;
    if (testing::RunCommand({"xdotool", "search", "--name", "^3DKolbenhof$"}, &ids,
                            xvfb->Environment()) != 0) {
      return "";
    }
    return ids.substr(0, ids.find('\n'));
  }

  // Running: the window is there and start-up has logged its last step.
  void WaitUntilRunning() {
    ASSERT_TRUE(testing::WaitUntil(
        [this] {
          return !FindWindow().empty() && Log().find(kLastStartUpLine) != std::string::npos;
        },
        kStartTimeout))
        << Log();
  }

  void Key(const std::string& name) {
    ASSERT_EQ(testing::RunCommand({"xdotool", "key", name}, nullptr, xvfb->Environment()), 0);
  }

  // Waits for a screenshot and decodes it.
  Image Screenshot(const std::string& name) {
    Image image;
    EXPECT_TRUE(
        testing::WaitUntil([&] { return DecodeFile(workshop / name, &image); }, seconds(30)))
        << name;
    return image;
  }

  int WaitForExit() {
    int status = -1;
    EXPECT_TRUE(program->WaitForExit(kExitTimeout, &status)) << "the program did not end";
    return status;
  }

  testing::TempDir temp;
  std::unique_ptr<testing::XvfbSession> xvfb;
  fs::path workshop;
  std::unique_ptr<testing::Process> program;
};

TEST_F(ProgramE2eTest, ShowsTheMopedSavesScreenshotsSwitchesToWireframeAndQuitsOnEscape) {
  Start();
  WaitUntilRunning();
  Key("Control_L");
  const Image solid = Screenshot("ScreenShot_0.bmp");
  Key("w");
  Key("Control_L");
  const Image wireframe = Screenshot("ScreenShot_1.bmp");
  Key("Escape");
  EXPECT_EQ(WaitForExit(), 0);

  ASSERT_EQ(solid.width, 1024);
  ASSERT_EQ(solid.height, 768);
  ASSERT_EQ(wireframe.width, 1024);
  ASSERT_EQ(wireframe.height, 768);
  Image background;
  ASSERT_TRUE(DecodeFile(workshop / "gfx/env/mainBG.dds", &background));
  // "Frames: ..." and "Vertices: ..." in near white at the top left.
  EXPECT_GT(CountChanges(solid, background, 15, 15, 300, 32).nearWhite, 40);
  // The moped stands out of the background. (A dense mesh drawn as lines at
  // this distance covers nearly as much as drawn solid: the small workshop's
  // boxes below show the wireframe.)
  EXPECT_GT(CountChanges(solid, background, 0, 40, 1024, 768).changed, 5000);
  EXPECT_GT(CountChanges(wireframe, background, 0, 40, 1024, 768).changed, 5000);

  const std::string log = Log();
  EXPECT_NE(log.find("Error-Logfile\n\n.OS-Info: Linux "), std::string::npos) << log;
  EXPECT_NE(log.find("\n\n.creating application window\n.initialising DirectX 9.0\n gfx.device"
                     "   D3DCreate - success\n   adapter: "),
            std::string::npos)
      << log;
  EXPECT_TRUE(IsWholeRun(LogAfterDevice())) << LogAfterDevice();
}

TEST_F(ProgramE2eTest, WDrawsTheModelsAsWireframes) {
  workshop = temp.Path() / "small";
  std::string error;
  ASSERT_TRUE(testing::WriteSmallWorkshop(workshop, &error)) << error;
  Start();
  WaitUntilRunning();
  Key("Control_L");
  const Image solid = Screenshot("ScreenShot_0.bmp");
  Key("w");
  Key("Control_L");
  const Image wireframe = Screenshot("ScreenShot_1.bmp");
  Key("Escape");
  EXPECT_EQ(WaitForExit(), 0);

  Image background;
  ASSERT_TRUE(DecodeFile(workshop / "gfx/env/mainBG.dds", &background));
  // Where the boxes' faces were, the background shows between the edges.
  const Changes model = CountChanges(solid, background, 0, 40, 1024, 768, &wireframe);
  EXPECT_GT(model.changed, 5000);
  EXPECT_GT(model.holes, model.changed / 2) << model.holes << " of " << model.changed;
}

TEST_F(ProgramE2eTest, ASecondRunEmptiesTheLogAndOverwritesTheFirstScreenshot) {
  for (int run = 0; run < 2; ++run) {
    if (run == 1) testing::WriteFileBytes(workshop / "ScreenShot_0.bmp", "stale");
    Start();
    WaitUntilRunning();
    Key("Control_L");
    const Image shot = Screenshot("ScreenShot_0.bmp");
    EXPECT_EQ(shot.width, 1024) << "run " << run;
    Key("Escape");
    EXPECT_EQ(WaitForExit(), 0);
  }
  const std::string log = Log();
  EXPECT_EQ(log.find("Error-Logfile"), log.rfind("Error-Logfile")) << log;
}

TEST_F(ProgramE2eTest, ACloseRequestFromTheWindowSystemShutsDownCompletely) {
  Start();
  WaitUntilRunning();
  ASSERT_TRUE(testing::SendCloseRequest(xvfb->Display(), FindWindow()));
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_TRUE(IsWholeRun(LogAfterDevice())) << LogAfterDevice();
}

TEST_F(ProgramE2eTest, AProgramDirectoryWithoutWriteAccessGetsTheErrorMessage) {
  // Not even root may create a file in /proc. Without a display the message
  // box cannot appear, so the text on standard error is all there is.
  testing::ProcessOptions options;
  options.workingDirectory = "/proc";
  options.unsetEnvironment = {"DISPLAY", "WAYLAND_DISPLAY"};
  options.stderrPath = StderrPath().string();
  program = testing::Process::Start({KBH_KOLBENHOF_BINARY}, options);
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_EQ(testing::ReadFileBytes(StderrPath()),
            "Error: Couldn't create logfile. Please check for write-protection!\n");
}

TEST_F(ProgramE2eTest, WithoutAnyFontTheStartUpStopsAtTheFonts) {
  // A font configuration that knows no font at all.
  const fs::path config = temp.Path() / "no-fonts.conf";
  testing::WriteFileBytes(config, "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  Start({{"FONTCONFIG_FILE", config.string()}});
  EXPECT_EQ(WaitForExit(), 0);
  const std::string log = Log();
  EXPECT_TRUE(log.ends_with(std::string("\n.loading status-screen\n.loading fonts failed") +
                            kUnrunPerformanceBlock))
      << log;
}

struct MissingFile {
  const char* name;
  const char* path;
  const char* logEnd;  // before the performance block
};

class MissingFileE2eTest : public ProgramE2eTest,
                           public ::testing::WithParamInterface<MissingFile> {};

TEST_P(MissingFileE2eTest, EndsTheStartUpAtItsStepWithTheLogSayingWhere) {
  ASSERT_TRUE(fs::remove(workshop / GetParam().path));
  Start();
  EXPECT_EQ(WaitForExit(), 0);
  const std::string log = Log();
  EXPECT_TRUE(log.ends_with(std::string(GetParam().logEnd) + kUnrunPerformanceBlock)) << log;
}

INSTANTIATE_TEST_SUITE_P(
    , MissingFileE2eTest,
    ::testing::Values(MissingFile{"LoadingPicture", "gfx/gui/kbh_load.dds",
                                  "\n input.device\n.loading status-screen failed"},
                      MissingFile{"Catalogue", "data/firstData.khb",
                                  "\n.loading fonts\n.creating data-store failed"},
                      MissingFile{"Background", "gfx/env/mainBG.dds",
                                  "\n .environment-map\n .scene-bg  failed"},
                      MissingFile{"ModelFrame", "gfx/gui/gui_Spray_modelframe.dds",
                                  "\n.loading gui\n error loading modelscreen"}),
    [](const ::testing::TestParamInfo<MissingFile>& param) { return param.param.name; });

}  // namespace
}  // namespace kbh
