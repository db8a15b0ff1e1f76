#include "app/startup.hpp"

#include "catalogue/data_store_loader.hpp"
#include "scene/scene_pass.hpp"
#include "ui/texts.hpp"

namespace kbh {

namespace {

// The flags value of the device: full screen (the window shows the back
// buffer scaled to the desktop).
constexpr uint32_t kGraphicsFlagsFullScreen = 32;

// Message-box texts are Windows-1252, as all of the program's texts.
constexpr const char* kErrorCaption = "Error";
constexpr const char* kLogFileText = "Couldn't create logfile. Please check for write-protection!";
constexpr const char* kFailureCaption = "Fehler";
constexpr const char* kWindowText = "Anwendungsfenster konnte nicht erstellt werden!";
constexpr const char* kGraphicsText = "Direct3D 9.0c konnte nicht initialisiert werden!";
constexpr const char* kInputText = "DirectInput8 konnte nicht initialisiert werden!";

// The log, the window and the two devices: failures here are announced in
// message boxes, since no loading screen exists yet.
std::optional<ShutdownStep> StartSystem(App& app) {
  if (!app.log.CreateLogFile()) {
    app.shell.ShowMessageBox(kErrorCaption, kLogFileText, MessageBoxIcon::kError);
    return ShutdownStep::kT21Return;
  }
  app.log.WriteBanner();
  char osDescription[100] = {};
  app.log.WriteLog("\n\n.OS-Info: ");
  app.log.WriteLog(GetOSDescription(osDescription, sizeof osDescription));

  app.log.WriteLog("\n\n.creating application window");
  if (!app.shell.CreateMainWindow()) {
    app.shell.ShowMessageBox(kFailureCaption, kWindowText, MessageBoxIcon::kExclamation);
    return ShutdownStep::kT21Return;
  }

  app.log.WriteLog("\n.initialising DirectX 9.0\n gfx.device");
  if (!app.graphics.InitGraphicsDevice([&app] { return app.shell.CreateGraphicsSystem(); },
                                       kScreenWidth, kScreenHeight, kGraphicsFlagsFullScreen)) {
    app.shell.ShowMessageBox(kFailureCaption, kGraphicsText, MessageBoxIcon::kExclamation);
    return ShutdownStep::kT20Window;
  }

  app.log.WriteLog("\n input.device");
  if (!InitInput(app.input, app.shell.CreateInputDevices(), kScreenWidth, kScreenHeight) ||
      !InitKeyboard(app.input) || !InitMouse(app.input)) {
    app.shell.ShowMessageBox(kFailureCaption, kInputText, MessageBoxIcon::kExclamation);
    return ShutdownStep::kT17Input;
  }
  return std::nullopt;
}

// Any non-zero blend byte draws a picture blended by its alpha.
constexpr uint8_t kLabelBlend = 50;

// The interface, "\n.loading gui": the menu bar, the pointer, the lists with
// their skin, the Spray screen's model frame and the status line. A missing
// picture of the menu bar, the pointer or the lists leaves an empty slot;
// only the model frame is required.
std::optional<ShutdownStep> LoadInterface(App& app) {
  const char* dir = app.programDir.path.c_str();
  PathBuffer& path = app.pathBuffer;

  SetMouse(app.widgets, &app.input.mouse);
  if (!app.menuBar.Load(app.graphics, app.programDir)) {
    app.log.WriteLog("\n error loading menu-gfx");
    return ShutdownStep::kT12MenuBar;
  }
  if (!app.cursor.LoadImages(app.graphics, app.programDir)) {
    app.log.WriteLog("\n error loading cursor");
    return ShutdownStep::kT11Cursor;
  }
  ScrollBoxSkin& skin = app.widgets.scrollSkin;
  LoadSkinImage(skin, app.graphics, kScrollDownArrow,
                path.Format("%s/gfx/gui/gui_scrollbox_arrowdown.dds", dir));
  LoadSkinImage(skin, app.graphics, kScrollUpArrow,
                path.Format("%s/gfx/gui/gui_scrollbox_arrowup.dds", dir));
  LoadSkinImage(skin, app.graphics, kScrollDownArrowHover,
                path.Format("%s/gfx/gui/gui_scrollbox_arrowdown_hover.dds", dir));
  LoadSkinImage(skin, app.graphics, kScrollUpArrowHover,
                path.Format("%s/gfx/gui/gui_scrollbox_arrowup_hover.dds", dir));
  LoadSkinImage(skin, app.graphics, kScrollTrack,
                path.Format("%s/gfx/gui/gui_scrollbox_mid.dds", dir));
  LoadSkinImage(skin, app.graphics, kScrollSelectionBar,
                path.Format("%s/gfx/gui/gui_scrollbox_itembg.dds", dir));
  LoadSkinImage(skin, app.graphics, kScrollThumb,
                path.Format("%s/gfx/gui/gui_scrollbox_slider.dds", dir));
  for (ScrollBox* list :
       {&app.categoryList, &app.subcategoryList, &app.partList, &app.subsetList}) {
    list->font = app.mainFont.get();
    list->height = app.mainFont->lineHeight * list->rows + 4;
    list->disabled = ScrollBox::kEnable;
  }

  app.modelFrame = LoadBmp(app.graphics, path.Format("%s/gfx/gui/gui_Spray_modelframe.dds", dir));
  if (app.modelFrame == nullptr) {
    app.log.WriteLog("\n error loading modelscreen");
    return ShutdownStep::kT9ModelFrame;
  }

  if (!app.colourSelector.Load(app.graphics, app.programDir)) {
    app.log.WriteLog("\n error initializing color-selector");
    return ShutdownStep::kT8ColourSelector;
  }
  app.colourSelector.font = app.mainFont.get();
  if (!InitInfoScreen(app.infoScreen, app.graphics, app.programDir)) {
    app.log.WriteLog("\n error: InitInfoScreen() failed\n");
    return ShutdownStep::kT7InfoScreen;
  }
  SetUpTextBox(app.helpBox, app.graphics, app.programDir, app.textBoxFont.get(), layout::kTextPanel,
               kHelpText);
  SetUpTextBox(app.aboutBox, app.graphics, app.programDir, app.textBoxFont.get(),
               layout::kTextPanel, kAboutText);

  app.messageLine.CreateFont(app.graphics);
  app.messageLine.SetText("");
  return std::nullopt;
}

void Progress(App& app, uint16_t percent) {
  StatusScreenProgress(app.loadingScreen, app.graphics, percent);
}

// Everything the program shows, loaded behind the loading screen. Failures
// are logged and end the start-up silently.
std::optional<ShutdownStep> LoadResources(App& app) {
  const char* dir = app.programDir.path.c_str();
  PathBuffer& path = app.pathBuffer;

  app.log.WriteLog("\n.loading status-screen");
  app.loadingScreen.pause = [&shell = app.shell](uint32_t ms) { shell.SleepMs(ms); };
  if (!StatusScreenLoad(app.loadingScreen, app.graphics,
                        path.Format("%s/gfx/gui/kbh_load.dds", dir))) {
    app.log.WriteLog(" failed");
    return ShutdownStep::kT17Input;
  }
  Progress(app, 0);

  app.log.WriteLog("\n.loading fonts");
  Device& device = *app.graphics.GetDevice();
  app.mainFont = CreateTextFont(device, 14, 520, nullptr, "Verdana");
  app.textBoxFont = CreateTextFont(device, 15, 600, nullptr, "Verdana");
  if (app.mainFont == nullptr || app.textBoxFont == nullptr) {
    // Everything after this step draws with both fonts: stop here rather
    // than run with one missing.
    app.log.WriteLog(" failed");
    return ShutdownStep::kT15Fonts;
  }

  app.log.WriteLog("\n.creating data-store");
  if (!LoadDataStore(path.Format("%s\\data\\firstData.khb", dir), app.dataStore)) {
    app.log.WriteLog(" failed");
    return ShutdownStep::kT15Fonts;
  }
  Progress(app, 20);

  app.log.WriteLog("\n.loading std-mxafiles");
  if (app.installedParts.LoadStandardParts(app.dataStore) == 0) {
    app.log.WriteLog(" failed");
    return ShutdownStep::kT14DataStore;
  }
  Progress(app, 30);

  app.log.WriteLog("\n.loading gui");
  if (std::optional<ShutdownStep> failed = LoadInterface(app)) return failed;
  Progress(app, 40);

  // The folder becomes the current directory: every path after this is
  // formatted from the program directory.
  if (!LoadLogos(app.logos, app.graphics, path.Format("%s/data/logos", dir))) {
    app.log.WriteLog("\n error loading seller-logos");
    return ShutdownStep::kT6Logos;
  }

  app.log.WriteLog("\n.initialising world");
  app.log.WriteLog("\n .lights");
  SetupLights(app.graphics);
  for (PartModel* part = app.installedParts.FirstInstalled(); part != nullptr;
       part = app.installedParts.NextInstalled()) {
    SetPartTranslation(part, 0.0f, 0.0f, 0.0f);
  }
  app.log.WriteLog("\n .environment-map");
  if (app.cubeTextures.LoadCubeTexture(kEnvironmentMapSlot,
                                       path.Format(kEnvironmentMapPattern, dir)) == 0) {
    app.log.WriteLog(" failed");
    return ShutdownStep::kT6Logos;
  }
  Progress(app, 50);

  app.log.WriteLog("\n .scene-bg");
  app.sceneBackground = LoadBmp(app.graphics, path.Format(kSceneBackgroundPattern, dir));
  if (app.sceneBackground == nullptr) {
    app.log.WriteLog("  failed");
    return ShutdownStep::kT5EnvironmentMap;
  }
  Progress(app, 60);
  Progress(app, 70);

  app.log.WriteLog("\n .animations");
  // Without its picture the Spray screen shows no preview; nothing else
  // depends on it.
  app.preview.InitPreview();
  Progress(app, 80);
  // The label pictures sit over the scene: let it show through their
  // transparent parts.
  app.menuBar.SetLabelBlend(kLabelBlend);
  Progress(app, 100);

  StatusScreenRelease(app.loadingScreen);
  // Sets menuChanged, so the first frame prepares the TuneUp screen.
  app.menuBar.SetActiveTab(static_cast<int32_t>(ScreenId::kTuneUp));
  return std::nullopt;
}

}  // namespace

std::optional<ShutdownStep> StartUp(App& app) {
  if (std::optional<ShutdownStep> failed = StartSystem(app)) return failed;
  if (std::optional<ShutdownStep> failed = LoadResources(app)) return failed;
  app.frameStats.frameTimerStart = app.shell.GetTimeMs();
  return std::nullopt;
}

}  // namespace kbh
