// Painting on the Spray screen with the mouse, checked in the small picture
// of the whole moped at the top right, which stands still while the chosen
// part spins below it: one subset of the frame chromed, then the whole frame
// painted from the palette.
#include "tests/e2e/support/journey_session.hpp"

namespace kbh {
namespace {

using testing::Region;

// Inside the preview's frame, clear of the spinning part below it.
constexpr Region kPreview{560, 50, 970, 260};

bool IsRed(uint32_t colour) {
  return testing::Dominated(colour, 16);
}
bool IsBlue(uint32_t colour) {
  return testing::Dominated(colour, 0);
}

struct PaintChange {
  int changed = 0;       // pixels of the preview that changed
  int wereRed = 0;       // of those, the ones that were red before
  int becameBlue = 0;    // of those, the ones that are blue now
  int redUnchanged = 0;  // red pixels that stayed as they were
};

PaintChange ComparePreview(const Image& before, const Image& after) {
  PaintChange change;
  for (int y = kPreview.top; y < kPreview.bottom; ++y) {
    for (int x = kPreview.left; x < kPreview.right; ++x) {
      const uint32_t was = testing::TexelAt(before, x, y);
      const uint32_t is = testing::TexelAt(after, x, y);
      if (testing::Distance(was, is) <= 40) {
        change.redUnchanged += IsRed(was) ? 1 : 0;
        continue;
      }
      ++change.changed;
      change.wereRed += IsRed(was) ? 1 : 0;
      change.becameBlue += IsBlue(is) ? 1 : 0;
    }
  }
  return change;
}

class SprayE2eTest : public testing::JourneySession {
 protected:
  // The finish arrows step through "Standardlack, matt", "Standardlack,
  // glanz", "Chrom" and "Chrom, eingef\xE4rbt".
  void StepFinish(int arrowY, const std::string& name) {
    PointAt(618, arrowY);
    HoldClick();
    ScreenshotShowing([&](const Image& shot) {
      return testing::ShowsText(shot, testing::kMainFont, name, 480, 717)
                 ? ""
                 : "the finish " + name + "; ";
    });
  }
  void FinishDown(const std::string& name) { StepFinish(729, name); }
  void FinishUp(const std::string& name) { StepFinish(720, name); }

  // Picks the palette at (x, y) and waits for the sliders' percentages.
  void PickColour(int x, int y, long red, long green, long blue) {
    PointAt(x, y);
    HoldClick();
    ScreenshotShowing([&](const Image& shot) {
      const bool shown = testing::ReadNumberAfter(shot, "", 517, 662) == red &&
                         testing::ReadNumberAfter(shot, "", 517, 677) == green &&
                         testing::ReadNumberAfter(shot, "", 517, 692) == blue;
      return shown ? "" : "the picked colour's percentages; ";
    });
  }

  // Presses the spray can and waits until the preview shows paint.
  Image Spray(const Image& before) {
    PointAt(572, 622);
    HoldClick();
    return ScreenshotShowing([&](const Image& shot) {
      return ComparePreview(before, shot).changed >= 300 ? "" : "paint in the preview; ";
    });
  }
};

TEST_F(SprayE2eTest, OneSubsetChromedThenTheWholeFrameFromThePalette) {
  StartAndWaitUntilRunning();
  ClickTab(270, 520, "gui_menu_bSpray_active.dds");
  // Rahmen has six subsets: "<komplettes Bauteil>" and "Subset 1" to
  // "Subset 6", the first row chosen once the part is.
  ClickRow(73, 594, 0);
  ScreenshotShowing([&](const Image& shot) {
    return testing::ShowsTextWithin(shot, testing::kMainFont, "Subset 1", {360, 587, 368, 594})
               ? ""
               : "the subset rows; ";
  });
  ClickRow(362, 575, 1);
  FinishDown("Standardlack, glanz");
  FinishDown("Chrom");
  // Green, which chrome ignores: 38, 246, 113 of 255.
  PickColour(580, 680, 14, 96, 44);
  PointAt(572, 622);
  const Image red = ScreenshotShowing([](const Image&) { return std::string(); });
  const Image chromed = Spray(red);
  // Subset 1 is the red main tubes: what changes was red, but for the tubes'
  // blended edges (a fifth of the changed pixels at this size), and the red
  // of the swing arm and the tank stays.
  const PaintChange chrome = ComparePreview(red, chromed);
  EXPECT_GE(chrome.wereRed * 10, chrome.changed * 7)
      << chrome.wereRed << " of " << chrome.changed << " changed pixels were red";
  EXPECT_GE(chrome.redUnchanged, 300);

  // The whole part, matt blue: 77, 10, 244 of 255.
  ClickRow(362, 575, 0);
  FinishUp("Standardlack, glanz");
  FinishUp("Standardlack, matt");
  PickColour(607, 684, 30, 3, 95);
  PointAt(572, 622);
  const Image unpainted = ScreenshotShowing([](const Image&) { return std::string(); });
  const Image blue = Spray(unpainted);
  const PaintChange whole = ComparePreview(unpainted, blue);
  EXPECT_GE(whole.becameBlue * 10, whole.changed * 8)
      << whole.becameBlue << " of " << whole.changed << " changed pixels are blue";
  EXPECT_GT(whole.changed, chrome.changed);
  Quit();
}

}  // namespace
}  // namespace kbh
