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

#include "tests/e2e/support/program_session.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;
using testing::ProgramSession;
using ProgramE2eTest = ProgramSession;
using testing::Changes;
using testing::CountChanges;
using testing::DecodeFile;
using testing::IsWholeRun;

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
      {"gfx/gui/gui_colsel_palette.dds", "\n.loading gui\n error initializing color-selector"},
      {"gfx/gui/gui_colsel_ball.mxa", "\n.loading gui\n error initializing color-selector"},
      {"data/logos", "\n.loading gui\n error loading seller-logos"},
  };
  for (const auto& [path, logEnd] : cases) {
    SCOPED_TRACE(logEnd);
    testing::ProcessOptions options;
    // A file or a folder is moved aside, and back afterwards.
    const fs::path aside = temp.Path() / "aside";
    if (*path) {
      fs::rename(workshop / path, aside);
    } else {
      testing::WriteFileBytes(temp.Path() / "no-fonts.conf",
                              "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
      options.environment["FONTCONFIG_FILE"] = (temp.Path() / "no-fonts.conf").string();
    }
    Start(options);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(Log().ends_with(std::string(logEnd) + testing::kUnrunPerformanceBlock)) << Log();
    if (*path) fs::rename(aside, workshop / path);
  }
}

}  // namespace
}  // namespace kbh
