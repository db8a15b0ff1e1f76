// A program session in the demo workshop with the moves a user makes: tabs,
// list rows, list arrows, buttons, each followed by polling screenshots until
// its visible result shows.
#pragma once

#include <string>

#include "tests/e2e/support/program_session.hpp"
#include "tests/e2e/support/screen_reading.hpp"
#include "tests/support/skip.hpp"

namespace kbh::testing {

// Whether any pixel of the rectangle is close to colour.
inline bool ShowsColour(const Image& shot, int left, int top, int right, int bottom,
                        uint32_t colour) {
  return CountPixels(shot, {left, top, right, bottom},
                     [&](uint32_t seen) { return Distance(seen, colour) <= 40; }) > 0;
}

// Whether two screenshots differ anywhere in the rectangle.
inline bool Differs(const Image& a, const Image& b, int left, int top, int right, int bottom) {
  return CountDifferent(a, b, {left, top, right, bottom}) > 0;
}

// The status line's red, and the place where its text starts.
constexpr uint32_t kStatusRed = 0xFFDD5252;
constexpr Region kStatusBox{730, 598, 1000, 628};

// Somewhere the pointer hides nothing a journey looks at: the wall above
// the moped on TuneUp, beside the preview on Spray.
constexpr int kRestX = 200;
constexpr int kRestY = 300;

class JourneySession : public ProgramSession {
 protected:
  void SetUp() override {
    ProgramSession::SetUp();
    if (IsSkipped()) return;
    if (!std::filesystem::exists(workshop / "gfx/gui/gui_menu_base.dds")) {
      KBH_SKIP_OR_FAIL() << "the journeys need the demo workshop";
    }
  }

  // A held click that the program has taken in where the pointer is now.
  // The widgets see one pointer position a frame, the last one: when a frame
  // takes longer than the hold (a loaded machine, the sanitizers), press,
  // release and a move that follows arrive in one poll and the click lands
  // where the move ended. A screenshot asked for after the release comes from
  // a frame that has polled the release too, because keys and mouse events
  // leave one queue together; after it the pointer may move on.
  void ClickAndWaitForTheFrame() {
    HoldClick();
    ScreenshotShowing([](const Image&) { return std::string(); });
  }

  // Clicks the tab whose picture's top-left corner is (x, y) and waits until
  // it shows lit as the active one (`picture`: its "_active" picture) with
  // the pointer away from it: under the pointer any tab shows lit.
  void ClickTab(int x, int y, const std::string& picture) {
    const Image lit = Picture(picture);
    PointAt(x + lit.width / 2, y + lit.height / 2);
    ClickAndWaitForTheFrame();
    PointAt(kRestX, kRestY);
    ScreenshotShowing([&](const Image& shot) { return Missing(shot, picture, x, y); });
  }

  // Clicks row `row` of a list whose top-left corner is (x, y), and waits
  // until its selection bar shows: rows are 13 pixels high (the main font's
  // line height), the bar starts 2 pixels below the list's top.
  void ClickRow(int x, int y, int row) {
    const int top = y + 2 + 13 * row;
    PointAt(x + 30, top + 6);
    HoldClick();
    const Image bar = Picture("gui_scrollbox_itembg.dds");
    const uint32_t barColour = bar.texels[size_t(bar.height / 2) * bar.width + bar.width / 2];
    ScreenshotShowing([&](const Image& shot) {
      return ShowsColour(shot, x + 1, top + 5, x + 4, top + 8, barColour)
                 ? ""
                 : "the selection bar in row " + std::to_string(row) + "; ";
    });
  }

  // Holds the pointer on a list's arrow until the rows stop moving: two
  // screenshots in a row show the same rows, which differ from the rows
  // before. Each frame of the hold scrolls one row, so the list ends at its
  // first or last row.
  void ScrollListFully(int arrowX, int arrowY, Region rows) {
    PointAt(arrowX, arrowY);
    const Image before = ScreenshotShowing([](const Image&) { return std::string(); });
    Xdotool({"mousedown", "1"});
    Image previous = before;
    ScreenshotShowing([&](const Image& shot) {
      const bool moved = CountDifferent(shot, before, rows) > 0;
      const bool still = CountDifferent(shot, previous, rows) == 0;
      previous = shot;
      return moved && still ? "" : "the list at its end; ";
    });
    Xdotool({"mouseup", "1"});
  }

  // A screenshot from which the vertex count can be read; the count.
  long ReadableVertexCount(Image* shot = nullptr) {
    long count = -1;
    const Image seen = ScreenshotShowing([&](const Image& image) {
      count = ReadVertexCount(image);
      return count > 0 ? "" : "a vertex count; ";
    });
    if (shot != nullptr) *shot = seen;
    return count;
  }

  void Quit() {
    Key("Escape");
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(IsWholeRun(AfterDevice(Log()))) << Log();
  }
};

}  // namespace kbh::testing
