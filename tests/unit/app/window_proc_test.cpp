#include "app/window_proc.hpp"

#include <gtest/gtest.h>

#include "tests/unit/gfx/log_capture.hpp"

namespace kbh {
namespace {

TEST(WindowProc, ActivationChangesAreLoggedOncePerChange) {
  testing::LogCapture log;
  RunState state;
  for (WindowMessage message :
       {WindowMessage::Activated, WindowMessage::Deactivated, WindowMessage::Deactivated,
        WindowMessage::Other, WindowMessage::Activated, WindowMessage::Activated}) {
    WindowProc(state, log.Log(), message);
  }
  EXPECT_EQ(log.Text(), "Message: Window Minimized \nMessage: Window Restored \n");
  EXPECT_FALSE(state.minimized);
  EXPECT_TRUE(state.running);
}

TEST(WindowProc, ACloseRequestEndsTheLoopWhateverTheActivation) {
  testing::LogCapture log;
  RunState state;
  WindowProc(state, log.Log(), WindowMessage::Deactivated);
  WindowProc(state, log.Log(), WindowMessage::Close);
  EXPECT_FALSE(state.running);
  EXPECT_TRUE(state.minimized);
}

}  // namespace
}  // namespace kbh
