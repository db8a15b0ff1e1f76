#include "app/main_loop.hpp"

#include <cstdio>

#include "app/screenshot.hpp"
#include "gfx/draw2d.hpp"
#include "platform/input/key_codes.hpp"
#include "screens/tuneup_rules.hpp"

namespace kbh {

namespace {

// At most one message per pass; while the program is inactive it first waits
// for one, so an inactive program draws a frame only when something arrives.
void HandleWindowMessages(App& app) {
  if (app.runState.minimized) WindowProc(app.runState, app.log, app.shell.WaitWindowMessage());
  WindowMessage message;
  if (app.shell.PeekWindowMessage(&message)) WindowProc(app.runState, app.log, message);
}

void DrawStatistics(App& app) {
  Device& device = *app.graphics.GetDevice();
  DrawTextAt(device, app.mainFont.get(), 15, 15, app.frameStats.framesText, kStatisticsColor);
  char verticesText[100];
  std::snprintf(verticesText, sizeof verticesText, "Vertices: %u",
                app.installedParts.CountVertices());
  DrawTextAt(device, app.mainFont.get(), 150, 15, verticesText, kStatisticsColor);
}

}  // namespace

bool RunFrame(App& app) {
  HandleWindowMessages(app);
  PollKeyboard(app.input);
  PollMouse(app.input);
  // The quit button's click was seen by the menu bar's update of the
  // previous pass: it ends this one as Escape does.
  if (KeyPressed(app.input, kKeyEscape) || app.menuBar.turnOff.IsClicked()) {
    app.runState.running = false;
    return false;
  }
  app.cursor.SetPosition(app.input.mouse.x, app.input.mouse.y);
  app.cursor.SetKind(Cursor::kNormal);
  app.cursor.hotX = layout::kCursorHotSpot.x;
  app.cursor.hotY = layout::kCursorHotSpot.y;
  app.menuBar.Update(app.widgets);
  if (app.menuBar.menuChanged != 0) {
    app.menuBar.menuChanged = 0;
    ScreenAt(app.menuBar.screenIndex).prepare(app.screens);
  }
  const Screen& screen = ScreenAt(app.menuBar.screenIndex);
  screen.update(app.screens);
  AdvanceFaders(app.screens.tuneUp, app.shell.GetTimeMs());
  app.preview.UpdatePreview(app.shell.GetTimeMs());
  CountFrame(app.frameStats, app.shell.GetTimeMs());

  app.graphics.BeginFrame();
  DrawTexture(app.graphics, app.sceneBackground.get(), 0, 0);
  screen.draw3d(app.screens);
  app.menuBar.Draw(app.graphics);
  screen.draw2d(app.screens);
  DrawStatistics(app);
  // Last, over everything else.
  app.cursor.Draw(app.graphics);
  // The picture holds the complete frame, statistics included.
  if (KeyPressed(app.input, kKeyLeftControl)) {
    SaveScreenShot(app.graphics,
                   app.pathBuffer.Format("%s\\ScreenShot_%i.bmp", app.programDir.path.c_str(),
                                         static_cast<int>(app.screenShotCounter)));
    ++app.screenShotCounter;
  }
  app.graphics.EndFrame();
  return true;
}

void RunMainLoop(App& app) {
  while (app.runState.running) {
    if (!RunFrame(app)) break;
  }
}

}  // namespace kbh
