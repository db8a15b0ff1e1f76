// The frame-rate statistic: the text at the top left of the screen, and the
// lowest and highest rate of the run that shutdown writes to the log.
#pragma once

#include <cstdint>
#include <string>

namespace kbh {

// What the log shows for a run whose main loop never completed a second.
constexpr int32_t kInitialMinFrameRate = 500;
constexpr int32_t kInitialMaxFrameRate = 0;

struct FrameStats {
  uint32_t frameCount = 0;
  // Clock reading at which the current measuring period began.
  uint32_t frameTimerStart = 0;
  std::string framesText = "Frames: Calculating...";
  // Signed, as the log prints them.
  int32_t minFrameRate = kInitialMinFrameRate;
  int32_t maxFrameRate = kInitialMaxFrameRate;
};

// Counts one pass of the main loop at clock reading now. A period ends on
// the first pass at least 1000 ms after it began, counting that pass, so a
// long wait while inactive makes one long period with a low count.
void CountFrame(FrameStats& stats, uint32_t now);

}  // namespace kbh
