// The program's one object. It owns every subsystem: start-up creates them in
// a fixed order, the main loop uses them, shutdown releases them in reverse.
// Nothing of it is global; the parts of the program that need a subsystem get
// it passed down.
#pragma once

#include <cstdint>
#include <memory>

#include "app/error_log.hpp"
#include "app/frame_stats.hpp"
#include "app/shell.hpp"
#include "app/window_proc.hpp"
#include "catalogue/data_store.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "gfx/texture.hpp"
#include "input/input.hpp"
#include "platform/gpu/d3d_types.hpp"
#include "ui/loading_screen.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {

// The fixed size of the back buffer, the screen layout and the mouse area.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// The screens, numbered as the menu bar's tabs.
enum class Screen : int32_t {
  kTuneUp = 0,
};

struct App {
  App(Shell& appShell, const ProgramDir& dir)
      : shell(appShell),
        programDir(dir),
        log(dir),
        graphics(log),
        installedParts(graphics, dir),
        cubeTextures(graphics) {}
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Shell& shell;
  ProgramDir programDir;
  ErrorLog log;
  PathBuffer pathBuffer;
  RunState runState;

  // Declared before everything that holds device resources, so that even an
  // unplanned exit releases those first.
  GraphicsDevice graphics;
  Input input;
  LoadingScreen loadingScreen;
  // "Verdana" 14/520 for the statistics texts; "Verdana" 15/600 for the text
  // boxes.
  std::unique_ptr<FontRecord> mainFont;
  std::unique_ptr<FontRecord> textBoxFont;
  // Filled once, read-only afterwards; lives until the process ends.
  DataStore dataStore;
  // The moped: the parts installed, in drawing order.
  InstalledPartList installedParts;
  // The frame around the Spray screen's small model view.
  std::unique_ptr<TextureRecord> modelFrame;
  // Slot 0: the environment map the models reflect.
  CubeTextureSlots cubeTextures;
  std::unique_ptr<TextureRecord> sceneBackground;

  // --- Main-loop state -------------------------------------------------------
  FrameStats frameStats;
  Screen activeScreen = Screen::kTuneUp;
  // Set when a screen became active; the next frame prepares it.
  bool screenChanged = false;
  // How the models are drawn on TuneUp: FILL_SOLID or FILL_WIREFRAME.
  uint32_t fillMode = FILL_SOLID;
  // The number in the next screenshot's name; every run starts again at 0.
  int32_t screenShotCounter = 0;
};

}  // namespace kbh
