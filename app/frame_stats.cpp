#include "app/frame_stats.hpp"

#include <cstdio>

namespace kbh {

void CountFrame(FrameStats& stats, uint32_t now) {
  ++stats.frameCount;
  // Unsigned: the clock may wrap between the two readings.
  if (now - stats.frameTimerStart < 1000) return;
  char text[32];
  std::snprintf(text, sizeof text, "Frames: %u", stats.frameCount);
  stats.framesText = text;
  const auto count = static_cast<int32_t>(stats.frameCount);
  if (count > stats.maxFrameRate) stats.maxFrameRate = count;
  if (count < stats.minFrameRate) stats.minFrameRate = count;
  stats.frameCount = 0;
  stats.frameTimerStart = now;
}

}  // namespace kbh
