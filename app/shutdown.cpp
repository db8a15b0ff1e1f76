#include "app/shutdown.hpp"

namespace kbh {

void ShutDown(App& app, ShutdownStep from) {
  // Each step falls through to the next: entering late skips only what was
  // never made.
  switch (from) {
    case ShutdownStep::kT2AfterMainLoop:
      app.preview.ReleasePreview();
      [[fallthrough]];
    case ShutdownStep::kT3SceneBackground:
      ReleaseTexture(app.sceneBackground);
      app.messageLine.ReleaseFont(app.graphics);
      [[fallthrough]];
    case ShutdownStep::kT5EnvironmentMap:
      app.cubeTextures.ReleaseCubeTexture(0);
      [[fallthrough]];
    case ShutdownStep::kT6Logos:
      app.helpBox.Release();
      app.aboutBox.Release();
      ReleaseLogos(app.logos);
      [[fallthrough]];
    case ShutdownStep::kT7InfoScreen:
      ReleaseInfoScreen(app.infoScreen, app.graphics);
      [[fallthrough]];
    case ShutdownStep::kT8ColourSelector:
      app.colourSelector.Release();
      [[fallthrough]];
    case ShutdownStep::kT9ModelFrame:
      ReleaseTexture(app.modelFrame);
      // The first call releases the shared skin; each clears its own list.
      for (ScrollBox* list :
           {&app.categoryList, &app.subcategoryList, &app.partList, &app.subsetList}) {
        list->ReleaseSkin(app.widgets.scrollSkin);
      }
      [[fallthrough]];
    case ShutdownStep::kT11Cursor:
      app.cursor.ReleaseImages();
      [[fallthrough]];
    case ShutdownStep::kT12MenuBar:
      app.menuBar.Release();
      // The parts' meshes and textures, before the device goes.
      app.installedParts.RemoveAllParts();
      [[fallthrough]];
    case ShutdownStep::kT14DataStore:
      // The catalogue stays until the process ends.
      [[fallthrough]];
    case ShutdownStep::kT15Fonts:
      if (Device* device = app.graphics.GetDevice()) {
        ReleaseTextFont(*device, app.mainFont);
        ReleaseTextFont(*device, app.textBoxFont);
      }
      StatusScreenRelease(app.loadingScreen);
      [[fallthrough]];
    case ShutdownStep::kT17Input:
      ReleaseInput(app.input);
      app.graphics.ReleaseGraphicsDevice();
      app.log.WritePerformanceBlock(app.frameStats.minFrameRate, app.frameStats.maxFrameRate);
      [[fallthrough]];
    case ShutdownStep::kT20Window:
      // The window belongs to the shell, which outlives the program object.
      [[fallthrough]];
    case ShutdownStep::kT21Return:
      break;
  }
}

}  // namespace kbh
