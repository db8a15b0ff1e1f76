#include "app/main_loop.hpp"

#include <cstdio>

#include "app/screenshot.hpp"
#include "gfx/draw2d.hpp"
#include "gfx/scene.hpp"
#include "platform/input/key_codes.hpp"

namespace kbh {

namespace {

// 1/3000 rounded to single precision.
constexpr float kTurntableRadiansPerMs = 0.000333333f;

// At most one message per pass; while the program is inactive it first waits
// for one, so an inactive program draws a frame only when something arrives.
void HandleWindowMessages(App& app) {
  if (app.runState.minimized) WindowProc(app.runState, app.log, app.shell.WaitWindowMessage());
  WindowMessage message;
  if (app.shell.PeekWindowMessage(&message)) WindowProc(app.runState, app.log, message);
}

// What a screen needs before its first frame after becoming active.
void PrepareScreen(App& app) {
  if (app.activeScreen == Screen::kTuneUp) {
    // Catalogue paints carry their subset selector in the colour's top byte,
    // which lands in the diffuse alpha; TuneUp shows every part opaque.
    app.installedParts.SetAllPartsAlpha(1.0f);
  }
}

// TuneUp's 3D pass: the moped on its turntable.
void DrawTuneUpModels(App& app) {
  app.installedParts.SetAllPartsRotation(0.0f, TurntableAngle(app.shell.GetTimeMs()), 0.0f);
  if (KeyPressed(app.input, kKeyW)) {
    app.fillMode = app.fillMode == FILL_SOLID ? FILL_WIREFRAME : FILL_SOLID;
  }
  RenderScene(app.graphics, app.cubeTextures, app.installedParts, app.fillMode);
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

float TurntableAngle(uint32_t timeMs) {
  return static_cast<float>(timeMs) * kTurntableRadiansPerMs;
}

bool RunFrame(App& app) {
  HandleWindowMessages(app);
  PollKeyboard(app.input);
  PollMouse(app.input);
  if (KeyPressed(app.input, kKeyEscape)) {
    app.runState.running = false;
    return false;
  }
  if (app.screenChanged) {
    app.screenChanged = false;
    PrepareScreen(app);
  }
  CountFrame(app.frameStats, app.shell.GetTimeMs());

  app.graphics.BeginFrame();
  DrawTexture(app.graphics, app.sceneBackground.get(), 0, 0);
  if (app.activeScreen == Screen::kTuneUp) DrawTuneUpModels(app);
  DrawStatistics(app);
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
