// The whole program on a fake shell, in a small workshop of its own: the
// order of start-up with its log and loading screen, where each failure ends,
// and the main loop's reactions to keys, window messages and the clock.
#include "app/program.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_loop.hpp"
#include "platform/input/key_codes.hpp"
#include "screens/tuneup_screen.hpp"
#include "tests/e2e/support/small_workshop.hpp"
#include "tests/support/program_log.hpp"
#include "tests/unit/app/fake_shell.hpp"

namespace kbh {
namespace {

using testing::kStartUpSteps;
using testing::kUnrunPerformanceBlock;

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(testing::WriteSmallWorkshop(dir.Path(), &error)) << error;
  }

  int Run() { return RunProgram(shell, ProgramDir{dir.Path().string()}); }
  std::string Log() const { return testing::ReadLog(dir.Path()); }
  std::string LogAfterDevice() const { return testing::AfterDevice(Log()); }

  testing::TempDir dir;
  testing::FakeShell shell;
};

TEST_F(ProgramTest, StartsWithEveryStepLoggedAndTheLoadingBarInOrder) {
  // An installation may be read-only apart from the log.
  ASSERT_EQ(chmod((dir.Path() / "data/firstData.khb").c_str(), 0444), 0);
  std::vector<float> barEnds;
  int presentsBeforeLoop = 0;
  shell.onPass = [&](int pass) {
    if (pass != 1) return;
    RecordingDevice& device = shell.Device();
    presentsBeforeLoop = static_cast<int>(device.Count(DeviceCallKind::kPresent));
    // Each frame: the picture, a white frame line, then the bar inside it.
    EXPECT_EQ(device.Sprites()[0].position.x, 382.0f);
    EXPECT_EQ(device.Sprites()[0].position.y, 300.0f);
    for (size_t i = 0; i + 1 < device.Lines().size(); i += 2) {
      const RecordedLine& frame = device.Lines()[i];
      const RecordedLine& bar = device.Lines()[i + 1];
      EXPECT_TRUE(frame.from.x == 361 && frame.to.x == 597 && frame.width == 12 &&
                  frame.color == 0xBEFFFFFF);
      EXPECT_TRUE(bar.from.x == 362 && bar.width == 10 && bar.color == 0xFF1B5184);
      EXPECT_TRUE(frame.from.y == 390 && frame.to.y == 390 && bar.from.y == 390);
      barEnds.push_back(bar.to.x);
    }
    shell.input->PressKey(kKeyEscape);
  };
  EXPECT_EQ(Run(), 0);

  const std::string log = Log();
  EXPECT_EQ(log.rfind("\n3D-Kolbenhof", 0), 0u) << log;
  EXPECT_NE(log.find("Error-Logfile\n\n.OS-Info: Linux "), std::string::npos) << log;
  EXPECT_NE(log.find("\n\n.creating application window\n.initialising DirectX 9.0\n gfx.device"
                     "   D3DCreate - success"),
            std::string::npos)
      << log;
  EXPECT_EQ(LogAfterDevice(), std::string(kStartUpSteps) + kUnrunPerformanceBlock);

  // One frame per progress value, each with its bar; 0 and 100 pause.
  std::vector<float> expected;
  for (int percent : {0, 20, 30, 40, 50, 60, 70, 80, 100})
    expected.push_back(362.0f + static_cast<float>(percent) * 2.34f);
  EXPECT_EQ(barEnds, expected);
  EXPECT_EQ(presentsBeforeLoop, static_cast<int>(expected.size()));
  EXPECT_EQ(shell.sleptMs, 1000u);
  EXPECT_TRUE(shell.messageBoxes.empty());
}

TEST_F(ProgramTest, EachFrameDrawsBackgroundModelsListsThenTheStatisticsInNearWhite) {
  std::vector<SpriteDraw> sprites;
  std::vector<DeviceCallKind> order;
  std::vector<Material> materials;
  std::vector<uint32_t> glyphColours;
  Matrix world;
  shell.onPass = [&](int pass) {
    RecordingDevice& device = shell.Device();
    if (pass == 2) device.ClearCalls();
    if (pass != 3) return;
    sprites = device.Sprites();
    materials = device.MaterialsSent();
    world = device.Transform(TS_WORLD);
    for (const DeviceCall& call : device.Calls()) {
      if (call.kind == DeviceCallKind::kDrawGlyphs) glyphColours.push_back(call.c);
      if (call.kind == DeviceCallKind::kClear || call.kind == DeviceCallKind::kDrawSprite ||
          call.kind == DeviceCallKind::kDrawSubset || call.kind == DeviceCallKind::kDrawGlyphs ||
          call.kind == DeviceCallKind::kPresent) {
        order.push_back(call.kind);
      }
    }
    shell.input->PressKey(kKeyEscape);
  };
  Run();

  ASSERT_EQ(sprites.size(), 1u);
  EXPECT_EQ(sprites[0].position.x, 0.0f);
  EXPECT_EQ(sprites[0].position.y, 0.0f);
  EXPECT_FALSE(sprites[0].alphaBlend) << "an X8R8G8B8 background draws opaque";
  // Two boxes of three subsets each, the category list's two rows in white,
  // then the frames and vertices texts in near white.
  std::vector<DeviceCallKind> expected = {DeviceCallKind::kClear, DeviceCallKind::kDrawSprite};
  expected.insert(expected.end(), 6, DeviceCallKind::kDrawSubset);
  expected.insert(expected.end(), 4, DeviceCallKind::kDrawGlyphs);
  EXPECT_EQ(glyphColours,
            (std::vector<uint32_t>{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFAFAFAu, 0xFFFAFAFAu}));
  expected.push_back(DeviceCallKind::kPresent);
  EXPECT_EQ(order, expected);

  // The tank's paint left alpha 2/255 in a subset of the frame; TuneUp
  // shows every part opaque.
  ASSERT_EQ(materials.size(), 6u);
  for (const Material& material : materials)
    EXPECT_EQ(material.diffuse.a, 1.0f);
  // Turned about the vertical axis by the clock's angle.
  const float angle = TurntableAngle(shell.now);
  EXPECT_NEAR(world.m[0][0], std::cos(angle), 1e-5f);
  EXPECT_NEAR(std::abs(world.m[0][2]), std::abs(std::sin(angle)), 1e-5f);
  EXPECT_EQ(world.m[1][1], 1.0f);
}

TEST_F(ProgramTest, WSwitchesTheModelsBetweenSolidAndWireframe) {
  std::vector<uint32_t> fillModes;
  shell.onPass = [&](int pass) {
    if (pass >= 2) fillModes.push_back(shell.Device().GetRenderState(RS_FILLMODE));
    if (pass == 2 || pass == 4) shell.input->PressKey(kKeyW);
    shell.input->ReleaseKey(kKeyW);
    if (pass == 6) shell.input->PressKey(kKeyEscape);
  };
  Run();
  EXPECT_EQ(fillModes, (std::vector<uint32_t>{FILL_SOLID, FILL_WIREFRAME, FILL_WIREFRAME,
                                              FILL_SOLID, FILL_SOLID}));
}

TEST_F(ProgramTest, EscapeEndsThePassBeforeAnythingIsDrawnOrSaved) {
  shell.onPass = [this](int pass) {
    if (pass == 2) shell.input->PressKey(kKeyLeftControl);
    if (pass == 2) shell.input->PressKey(kKeyEscape);
  };
  Run();
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "ScreenShot_0.bmp"));
  EXPECT_EQ(shell.passes, 2);
}

TEST_F(ProgramTest, ACloseRequestCompletesItsPassThenShutsDownFully) {
  shell.onPass = [this](int pass) {
    if (pass != 3) return;
    shell.messages.push_back(WindowMessage::kClose);
    shell.input->PressKey(kKeyLeftControl);
  };
  Run();
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "ScreenShot_0.bmp"))
      << "the pass that took the close request is drawn to its end";
  EXPECT_EQ(shell.passes, 3);
  EXPECT_EQ(LogAfterDevice(), std::string(kStartUpSteps) + kUnrunPerformanceBlock);
}

TEST_F(ProgramTest, AnInactiveProgramWaitsForMessagesLogsEachChangeOnceAndStillCloses) {
  shell.onPass = [this](int pass) {
    if (pass == 2) {
      shell.messages = {WindowMessage::kDeactivated, WindowMessage::kDeactivated,
                        WindowMessage::kActivated, WindowMessage::kDeactivated};
    }
  };
  Run();
  // Pass 3 waits for the second notice, then takes the activation; pass 5
  // waits and gets the close request.
  EXPECT_EQ(shell.waits, 2);
  EXPECT_EQ(shell.passes, 5);
  EXPECT_EQ(LogAfterDevice(), std::string(kStartUpSteps) +
                                  "Message: Window Minimized \nMessage: Window Restored \n"
                                  "Message: Window Minimized \n" +
                                  kUnrunPerformanceBlock);
}

TEST_F(ProgramTest, TheLogGetsTheLowestAndHighestRateOfCompletedSeconds) {
  shell.passLimit = 400;
  shell.onPass = [this](int pass) {
    // Two seconds at 100 passes each, then one at 50.
    shell.now += pass <= 200 ? 10 : 20;
    if (pass == 251) shell.input->PressKey(kKeyEscape);
  };
  Run();
  EXPECT_TRUE(Log().ends_with("\nmin-framerate: 50\nmax-framerate: 100")) << Log();
}

TEST_F(ProgramTest, AMissingEnvironmentMapIsNoFailure) {
  std::filesystem::remove(dir.Path() / "gfx/env/envmap.dds");
  shell.onPass = [this](int pass) {
    if (pass == 2) shell.input->PressKey(kKeyEscape);
  };
  Run();
  EXPECT_EQ(shell.passes, 2);
  EXPECT_EQ(LogAfterDevice(), std::string(kStartUpSteps) + kUnrunPerformanceBlock);
}

TEST_F(ProgramTest, ALogThatCannotBeCreatedStopsBeforeTheWindow) {
  // Not even root can create a file in /proc.
  EXPECT_EQ(RunProgram(shell, ProgramDir{"/proc"}), 0);
  ASSERT_EQ(shell.messageBoxes.size(), 1u);
  EXPECT_EQ(shell.messageBoxes[0].caption, "Error");
  EXPECT_EQ(shell.messageBoxes[0].text,
            "Couldn't create logfile. Please check for write-protection!");
  EXPECT_EQ(shell.messageBoxes[0].icon, MessageBoxIcon::kError);
  EXPECT_FALSE(shell.windowCreated);
}

TEST_F(ProgramTest, AMissingSystemIsAnnouncedInAMessageBoxAndEndsWithoutDrawing) {
  struct Failure {
    bool window, graphics, input;
    const char* text;
    const char* logEnd;
  };
  const Failure failures[] = {
      {false, true, true, "Anwendungsfenster konnte nicht erstellt werden!",
       "\n\n.creating application window"},
      // No performance block: the device never ran.
      {true, false, true, "Direct3D 9.0c konnte nicht initialisiert werden!",
       "\n.initialising DirectX 9.0\n gfx.device   D3DCreate - failed"},
      {true, true, false, "DirectInput8 konnte nicht initialisiert werden!",
       "   CreateDevice success\n\n input.device\n\n\t[Performance Info]\n\n"
       "min-framerate: 500\nmax-framerate: 0"},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.text);
    testing::FakeShell failing;
    failing.windowAvailable = failure.window;
    failing.graphicsAvailable = failure.graphics;
    failing.inputAvailable = failure.input;
    EXPECT_EQ(RunProgram(failing, ProgramDir{dir.Path().string()}), 0);
    ASSERT_EQ(failing.messageBoxes.size(), 1u);
    EXPECT_EQ(failing.messageBoxes[0].caption, "Fehler");
    EXPECT_EQ(failing.messageBoxes[0].text, failure.text);
    EXPECT_EQ(failing.messageBoxes[0].icon, MessageBoxIcon::kExclamation);
    EXPECT_TRUE(Log().ends_with(failure.logEnd)) << Log();
    EXPECT_EQ(failing.passes, 0);
  }
}

}  // namespace
}  // namespace kbh
