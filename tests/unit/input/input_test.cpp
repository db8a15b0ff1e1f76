#include "input/input.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/input/key_codes.hpp"
#include "platform/input/scripted_input_devices.hpp"

namespace kbh {
namespace {

// An input object set up as start-up does, on scripted devices the test
// drives through `script`.
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto devices = std::make_unique<ScriptedInputDevices>();
    script = devices.get();
    ASSERT_TRUE(InitInput(input, std::move(devices), 1024, 768));
    ASSERT_TRUE(InitKeyboard(input));
    ASSERT_TRUE(InitMouse(input));
  }
  void TearDown() override { ReleaseInput(input); }

  // One frame's polling, in the main loop's order.
  void Frame() {
    PollKeyboard(input);
    PollMouse(input);
  }

  Input input;
  ScriptedInputDevices* script = nullptr;
};

TEST_F(InputTest, AHeldButtonWentDownOnceAndIsHeldUntilItsRelease) {
  script->PressButton();
  Frame();
  EXPECT_EQ(input.mouse.buttons, 3u);
  Frame();
  EXPECT_EQ(input.mouse.buttons, 1u);
  Frame();
  EXPECT_EQ(input.mouse.buttons, 1u);
  script->ReleaseButton();
  Frame();
  EXPECT_EQ(input.mouse.buttons, 0u);
}

// A click shorter than a frame must not be lost, nor look like a held button
// that would start a drag.
TEST_F(InputTest, PressesAndReleasesWithinOnePollReadAsOneClickWithoutHold) {
  enum Step { kPress, kRelease };
  struct Case {
    const char* name;
    bool heldBefore;
    std::vector<Step> steps;
    uint32_t buttons;
  };
  const Case cases[] = {
      {"press, release", false, {kPress, kRelease}, 2u},
      {"press, release, press", false, {kPress, kRelease, kPress}, 3u},
      {"press, release twice", false, {kPress, kRelease, kPress, kRelease}, 2u},
      {"held, release", true, {kRelease}, 0u},
      {"held, release, press", true, {kRelease, kPress}, 3u},
      {"held, release, press, release", true, {kRelease, kPress, kRelease}, 2u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.heldBefore) {
      script->PressButton();
      Frame();
      ASSERT_EQ(input.mouse.buttons, 3u);
    }
    for (Step step : c.steps) {
      if (step == kPress) script->PressButton();
      if (step == kRelease) script->ReleaseButton();
    }
    Frame();
    EXPECT_EQ(input.mouse.buttons, c.buttons);
    // The click lasts this one frame; a press still down stays held.
    Frame();
    EXPECT_EQ(input.mouse.buttons, c.buttons & 1u);
    script->ReleaseButton();
    Frame();
    ASSERT_EQ(input.mouse.buttons, 0u);
  }
}

TEST_F(InputTest, OtherButtonsAndTheWheelAreIgnored) {
  script->PressButton(1);
  script->TurnWheel(2);
  script->PressButton(2);
  Frame();
  EXPECT_EQ(input.mouse.buttons, 0u);
  EXPECT_EQ(input.mouse.x, 0);
  EXPECT_EQ(input.mouse.y, 0);
}

TEST_F(InputTest, PointerStartsTopLeftAndClampsToTheInclusiveScreenSizeAfterEveryEvent) {
  const struct {
    std::vector<std::pair<int32_t, int32_t>> moves;
    int x, y;
  } frames[] = {
      {{{-50, -50}}, 0, 0},
      {{{5000, 5000}}, 1024, 768},
      {{{-24, -68}}, 1000, 700},
      // Past the edge and back: the frame ends at 30, not at the net sum.
      {{{-2000, 0}, {30, 0}}, 30, 700},
      {{{500, 500}, {INT32_MAX, INT32_MIN}}, 1024, 0},  // no overflow
  };
  for (const auto& frame : frames) {
    for (const auto& [dx, dy] : frame.moves)
      script->MoveMouse(dx, dy);
    Frame();
    EXPECT_EQ(input.mouse.x, frame.x);
    EXPECT_EQ(input.mouse.y, frame.y);
  }
}

TEST_F(InputTest, HeldKeyIsMarkedOnlyInTheFrameOfItsDownEventAndExtendedKeysNever) {
  script->PressKey(kKeyW);
  script->PressKey(kKeyRightControl);
  script->PressKey(kKeyUp);
  Frame();
  EXPECT_EQ(KeyPressed(input, kKeyW), 1);
  EXPECT_EQ(KeyPressed(input, kKeyEscape), 0);
  EXPECT_EQ(KeyPressed(input, kKeyRightControl), 0);
  EXPECT_EQ(KeyPressed(input, kKeyUp), 0);
  Frame();
  EXPECT_EQ(KeyPressed(input, kKeyW), 0);
}

TEST_F(InputTest, AtMost64KeyEventsPerFrameTheRestWait) {
  // 40 taps of A (80 events), then Escape: Escape is event 81 and must wait
  // for the second frame.
  for (int i = 0; i < 40; ++i) {
    script->PressKey(kKeyA);
    script->ReleaseKey(kKeyA);
  }
  script->PressKey(kKeyEscape);
  Frame();
  EXPECT_EQ(KeyPressed(input, kKeyA), 1);
  EXPECT_EQ(KeyPressed(input, kKeyEscape), 0);
  EXPECT_EQ(script->Channel(InputDeviceKind::kKeyboard).PendingCount(), 81u - 64u);
  Frame();
  EXPECT_EQ(KeyPressed(input, kKeyEscape), 1);
  EXPECT_EQ(script->Channel(InputDeviceKind::kKeyboard).PendingCount(), 0u);
}

TEST_F(InputTest, FocusLossReportsNothingUntilReacquiredOncePerPoll) {
  script->MoveMouse(100, 100);
  script->PressButton();
  Frame();
  ASSERT_EQ(input.mouse.buttons, 3u);
  const uint32_t keyboardCalls = script->AcquireCalls(InputDeviceKind::kKeyboard);
  const uint32_t mouseCalls = script->AcquireCalls(InputDeviceKind::kMouse);

  script->SetFocus(false);
  script->PressKey(kKeyEscape);  // typed elsewhere: lost
  script->MoveMouse(10, 10);
  EXPECT_FALSE(PollKeyboard(input));
  EXPECT_FALSE(PollMouse(input));
  EXPECT_EQ(KeyPressed(input, kKeyEscape), 0);
  EXPECT_EQ(input.mouse.x, 100);
  EXPECT_EQ(input.mouse.buttons, 0u) << "a button held when the focus went is let go";
  EXPECT_EQ(script->AcquireCalls(InputDeviceKind::kKeyboard), keyboardCalls + 1);
  EXPECT_EQ(script->AcquireCalls(InputDeviceKind::kMouse), mouseCalls + 1);

  // Back in focus: the next poll re-acquires but still reports nothing; the
  // one after reads again.
  script->SetFocus(true);
  EXPECT_FALSE(PollKeyboard(input));
  EXPECT_FALSE(PollMouse(input));
  EXPECT_EQ(script->AcquireCalls(InputDeviceKind::kKeyboard), keyboardCalls + 2);
  script->PressKey(kKeyW);
  script->MoveMouse(1, 2);
  EXPECT_TRUE(PollKeyboard(input));
  EXPECT_TRUE(PollMouse(input));
  EXPECT_EQ(KeyPressed(input, kKeyW), 1);
  EXPECT_EQ(input.mouse.x, 101);
  EXPECT_EQ(input.mouse.y, 102);
  EXPECT_EQ(script->AcquireCalls(InputDeviceKind::kKeyboard), keyboardCalls + 2);
}

TEST(InputLifecycle, InitialisationStopsAtTheFirstMissingPiece) {
  Input input;
  EXPECT_FALSE(InitInput(input, nullptr, 1024, 768));
  EXPECT_FALSE(InitKeyboard(input));
  EXPECT_FALSE(PollKeyboard(input));
  EXPECT_FALSE(PollMouse(input));
  EXPECT_TRUE(ReleaseInput(input));

  auto devices = std::make_unique<ScriptedInputDevices>();
  devices->SetDeviceMissing(InputDeviceKind::kMouse, true);
  ASSERT_TRUE(InitInput(input, std::move(devices), 1024, 768));
  EXPECT_TRUE(InitKeyboard(input));
  EXPECT_FALSE(InitMouse(input));
  EXPECT_FALSE(PollMouse(input));
  EXPECT_TRUE(ReleaseInput(input));
  EXPECT_EQ(input.devices, nullptr);
}

TEST(InputLifecycle, AcquireFailsWithoutFocusButTheDevicesStillRelease) {
  auto devices = std::make_unique<ScriptedInputDevices>();
  ScriptedInputDevices* script = devices.get();
  script->SetFocus(false);
  Input input;
  ASSERT_TRUE(InitInput(input, std::move(devices), 1024, 768));
  EXPECT_FALSE(InitKeyboard(input));
  EXPECT_TRUE(script->Channel(InputDeviceKind::kKeyboard).IsOpen());
  EXPECT_TRUE(ReleaseInput(input));
}

}  // namespace
}  // namespace kbh
