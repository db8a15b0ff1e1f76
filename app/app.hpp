// The program's one object. It owns every subsystem: start-up creates them in
// a fixed order, the main loop uses them, shutdown releases them in reverse.
// Nothing of it is global; the parts of the program that need a subsystem get
// it passed down.
#pragma once

#include <cstdint>
#include <memory>

#include "app/frame_stats.hpp"
#include "app/shell.hpp"
#include "app/window_proc.hpp"
#include "catalogue/data_store.hpp"
#include "core/error_log.hpp"
#include "core/screen.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "gfx/texture.hpp"
#include "input/input.hpp"
#include "platform/gpu/d3d_types.hpp"
#include "scene/preview_animation.hpp"
#include "screens/screen.hpp"
#include "ui/colour_selector.hpp"
#include "ui/cursor.hpp"
#include "ui/loading_screen.hpp"
#include "ui/logo_list.hpp"
#include "ui/menu_bar.hpp"
#include "ui/seller_panel.hpp"
#include "ui/widgets/message_line.hpp"
#include "ui/widgets/scroll_box.hpp"
#include "ui/widgets/text_box.hpp"
#include "ui/widgets/widget_context.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {

struct App {
  App(Shell& appShell, const ProgramDir& dir)
      : shell(appShell),
        programDir(dir),
        logFile(LogFilePath(dir)),
        log(logFile),
        graphics(log),
        installedParts(graphics, dir),
        cubeTextures(graphics),
        preview(graphics, cubeTextures) {
    screens.graphics = &graphics;
    screens.programDir = &programDir;
    screens.catalogue = &dataStore;
    screens.input = &input;
    screens.installedParts = &installedParts;
    screens.cubeTextures = &cubeTextures;
    screens.clock = [&appShell] { return appShell.GetTimeMs(); };
    screens.widgets = &widgets;
    screens.menuBar = &menuBar;
    screens.cursor = &cursor;
    screens.categoryList = &categoryList;
    screens.subcategoryList = &subcategoryList;
    screens.partList = &partList;
    screens.subsetList = &subsetList;
    screens.messageLine = &messageLine;
    screens.preview = &preview;
    screens.colourSelector = &colourSelector;
    screens.infoScreen = &infoScreen;
    screens.logos = &logos;
    screens.helpBox = &helpBox;
    screens.aboutBox = &aboutBox;
    screens.modelFrame = &modelFrame;
    widgets.clock = screens.clock;
  }
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Shell& shell;
  ProgramDir programDir;
  FileLogSink logFile;
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
  // --- The interface -----------------------------------------------------------
  // The pointer, clock, list skin and repeat stamps every widget shares.
  WidgetContext widgets;
  MenuBar menuBar;
  Cursor cursor;
  // Shared by TuneUp, Spray and Seller, each rebuilding it when it becomes
  // active; then TuneUp's subcategories and parts, Spray's subsets.
  ScrollBox categoryList;
  ScrollBox subcategoryList;
  ScrollBox partList;
  ScrollBox subsetList;
  // TuneUp's status line.
  MessageLine messageLine;
  // The Spray screen's paint controls and ball.
  ColorSelector colourSelector;
  // The Seller screen's panel with its description box, and the logos.
  InfoScreen infoScreen;
  LogoList logos;
  // The Help and Info screens' text panels.
  TextBox helpBox;
  TextBox aboutBox;
  // The frame around the Spray screen's small model view.
  std::unique_ptr<TextureRecord> modelFrame;
  // Slot 0: the environment map the models reflect.
  CubeTextureSlots cubeTextures;
  std::unique_ptr<TextureRecord> sceneBackground;
  // The Spray screen's flight to the chosen part and its preview picture.
  PreviewAnimation preview;

  // --- Main-loop state -------------------------------------------------------
  FrameStats frameStats;
  // What the screens act on, pointing into the members above.
  ScreenContext screens;
  // The number in the next screenshot's name; every run starts again at 0.
  int32_t screenShotCounter = 0;
};

}  // namespace kbh
