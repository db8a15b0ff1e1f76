#include "ui/loading_screen.hpp"

#include <algorithm>

namespace kbh {

bool StatusScreenLoad(LoadingScreen& screen, GraphicsDevice& graphics, const char* path) {
  screen.image = LoadBmp(graphics, path);
  if (screen.image == nullptr) return false;
  screen.line = CreateLine(graphics);
  if (screen.line == nullptr) {
    ReleaseTexture(screen.image);
    return false;
  }
  screen.line->SetWidth(kProgressBarWidth);
  screen.ends[0].y = layout::kProgressBarY;
  screen.ends[1].y = layout::kProgressBarY;
  return true;
}

void StatusScreenProgress(LoadingScreen& screen, GraphicsDevice& graphics, uint16_t percent) {
  // A larger value would run the bar out of its frame.
  percent = std::min<uint16_t>(percent, 100);
  graphics.BeginFrame();
  DrawTexture(graphics, screen.image.get(), layout::kLoadingPicture.x, layout::kLoadingPicture.y);
  if (screen.line != nullptr) {
    screen.line->SetWidth(kProgressFrameWidth);
    screen.ends[0].x = layout::kProgressFrameLeft;
    screen.ends[1].x = layout::kProgressFrameRight;
    screen.line->Draw(screen.ends.data(), 2, kProgressFrameColor);

    screen.line->SetWidth(kProgressBarWidth);
    screen.ends[0].x = layout::kProgressBarLeft;
    screen.ends[1].x = layout::kProgressBarLeft +
                       static_cast<float>(percent) * layout::kProgressBarPixelsPerPercent;
    screen.line->Draw(screen.ends.data(), 2, kProgressBarColor);
  }
  graphics.EndFrame();
  if ((percent == 0 || percent == 100) && screen.pause) screen.pause(kProgressPauseMs);
}

void StatusScreenRelease(LoadingScreen& screen) {
  ReleaseTexture(screen.image);
  ReleaseLine(screen.line);
}

}  // namespace kbh
