// A GraphicsDevice started on the recording fake, for tests of what the
// graphics module sends to the device.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "gfx/graphics_device.hpp"
#include "platform/gpu/recording_device.hpp"
#include "tests/unit/gfx/log_capture.hpp"

namespace kbh::testing {

class RecordingGraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(graphics.InitGraphicsDevice(
        [this] {
          auto system = std::make_unique<RecordingSystem>();
          made_ = system.get();
          return system;
        },
        1024, 768, 32));
    device().ClearCalls();
  }
  RecordingDevice& device() { return *made_->lastDevice; }
  // The log after start-up's own lines.
  std::string LogAfterStart() const {
    const std::string text = log.Text();
    const std::string end = "CreateDevice success\n";
    return text.substr(text.find(end) + end.size());
  }

  LogCapture log;
  GraphicsDevice graphics{log.Log()};

 private:
  RecordingSystem* made_ = nullptr;
};

}  // namespace kbh::testing
