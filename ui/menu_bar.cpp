#include "ui/menu_bar.hpp"

#include "gfx/draw2d.hpp"

namespace kbh {

namespace {

struct TabFiles {
  const char* normal;
  const char* active;
  // Null: the tab's screen has no label picture.
  const char* label;
};

constexpr std::array<TabFiles, layout::kTabCount> kTabFiles{{
    {"gui_menu_bTuneUp.dds", "gui_menu_bTuneUp_active.dds", "gui_menu_xTuneup.dds"},
    {"gui_menu_bSpray.dds", "gui_menu_bSpray_active.dds", "gui_menu_xSpray.dds"},
    {"gui_menu_bSeller.dds", "gui_menu_bSeller_active.dds", "gui_menu_xSeller.dds"},
    {"gui_menu_bOptions.dds", "gui_menu_bOptions_active.dds", "gui_menu_xOptions.dds"},
    {"gui_menu_bHelp.dds", "gui_menu_bHelp_active.dds", "gui_menu_xHelp.dds"},
    {"gui_menu_bAccount.dds", "gui_menu_bAccount_active.dds", nullptr},
    {"gui_menu_bInfo.dds", "gui_menu_bInfo_active.dds", "gui_menu_xAbout.dds"},
}};

struct WorkshopButtonFiles {
  const char* normal;
  const char* selected;
  const char* highlight;
};

constexpr WorkshopButtonFiles kBuildInFiles{
    "gui_TuneUp_bBuildIn.dds", "gui_TuneUp_bBuildIn_active.dds", "gui_TuneUp_bBuildIn_hover.dds"};
constexpr WorkshopButtonFiles kRemoveFiles{
    "gui_TuneUp_bDelete.dds", "gui_TuneUp_bDelete_active.dds", "gui_TuneUp_bDelete_hover.dds"};
constexpr WorkshopButtonFiles kSprayFiles{"gui_Spray_bSpray.dds", "gui_Spray_bSpray_active.dds",
                                          "gui_Spray_bSpray_hover.dds"};

// Formats every skin path from the one pattern.
class GuiPaths {
 public:
  explicit GuiPaths(const ProgramDir& programDir) : dir_(programDir.path.c_str()) {}
  const char* operator()(const char* file) { return buffer_.Format("%s/gfx/gui/%s", dir_, file); }

 private:
  const char* dir_;
  PathBuffer buffer_;
};

void LoadWorkshopButton(Button& button, GraphicsDevice& graphics, GuiPaths& path,
                        const WorkshopButtonFiles& files, layout::Point at) {
  button.LoadImage(graphics, path(files.normal));
  button.LoadSelectedImage(graphics, path(files.selected));
  button.LoadHighlightImage(graphics, path(files.highlight));
  button.Place(at.x, at.y);
  // The screen logic enables it once there is something to act on.
  button.Disable();
}

void DrawIfHoveredOrSelected(const Button& button, GraphicsDevice& graphics) {
  if (button.IsHovered() || button.IsSelected()) button.Draw(graphics);
}

}  // namespace

bool MenuBar::Load(GraphicsDevice& graphics, const ProgramDir& programDir) {
  GuiPaths path(programDir);
  menuChanged = 1;
  borderLeft = LoadBmp(graphics, path("gui_menu_borderleft.dds"));
  borderTop = LoadBmp(graphics, path("gui_menu_bordertop.dds"));
  borderRight = LoadBmp(graphics, path("gui_menu_borderright.dds"));
  borderBottom = LoadBmp(graphics, path("gui_menu_borderbottom.dds"));
  base = LoadBmp(graphics, path("gui_menu_base.dds"));

  turnOff.LoadImage(graphics, path("gui_menu_bTurnOff.dds"));
  turnOff.LoadHighlightImage(graphics, path("gui_menu_bTurnOff_active.dds"));
  turnOff.Place(layout::kTurnOffButton.x, layout::kTurnOffButton.y);

  for (int i = 0; i < layout::kTabCount; ++i) {
    if (kTabFiles[i].label == nullptr) continue;
    labelImages[i] = LoadBmp(graphics, path(kTabFiles[i].label));
    labelPositions[i] = layout::kLabels[i];
  }
  for (int i = 0; i < layout::kTabCount; ++i) {
    tabs[i].LoadImage(graphics, path(kTabFiles[i].normal));
    tabs[i].LoadHighlightImage(graphics, path(kTabFiles[i].active));
    tabs[i].Place(layout::kTabs[i].x, layout::kTabs[i].y);
  }
  tabs[kAccount].Disable();

  LoadWorkshopButton(buildIn, graphics, path, kBuildInFiles, layout::kBuildInButton);
  LoadWorkshopButton(remove, graphics, path, kRemoveFiles, layout::kRemoveButton);
  LoadWorkshopButton(spray, graphics, path, kSprayFiles, layout::kSprayButton);
  return true;
}

void MenuBar::Update(const WidgetContext& context) {
  turnOff.Update(context);
  for (int32_t i = 0; i < layout::kTabCount; ++i) {
    tabs[i].Update(context);
    // The tab that was active keeps its selected bit; that shows nowhere,
    // because only the active tab is drawn without the pointer on it.
    if (tabs[i].IsClicked() && i != screenIndex) {
      menuChanged = 1;
      screenIndex = i;
      tabs[i].Select();
    }
  }
  if (screenIndex == kTuneUp) {
    buildIn.Update(context);
    remove.Update(context);
  } else if (screenIndex == kSpray) {
    spray.Update(context);
  }
}

void MenuBar::Draw(GraphicsDevice& graphics) const {
  DrawTexture(graphics, borderLeft.get(), layout::kBorderLeft.x, layout::kBorderLeft.y);
  DrawTexture(graphics, borderTop.get(), layout::kBorderTop.x, layout::kBorderTop.y);
  DrawTexture(graphics, borderRight.get(), layout::kBorderRight.x, layout::kBorderRight.y);
  DrawTexture(graphics, borderBottom.get(), layout::kBorderBottom.x, layout::kBorderBottom.y);
  DrawTexture(graphics, base.get(), layout::kMenuBase.x, layout::kMenuBase.y);

  const bool tabActive = screenIndex >= 0 && screenIndex < layout::kTabCount;
  if (tabActive) {
    const layout::Point at = labelPositions[screenIndex];
    DrawTexture(graphics, labelImages[screenIndex].get(), at.x, at.y);
  }
  if (turnOff.IsHovered()) turnOff.Draw(graphics);
  for (int32_t i = 0; i < layout::kTabCount; ++i) {
    if (tabs[i].IsHovered() || i == screenIndex) tabs[i].Draw(graphics);
  }
  if (screenIndex == kTuneUp) {
    DrawIfHoveredOrSelected(buildIn, graphics);
    DrawIfHoveredOrSelected(remove, graphics);
  } else if (screenIndex == kSpray) {
    DrawIfHoveredOrSelected(spray, graphics);
  }
}

void MenuBar::SetActiveTab(int32_t index) {
  if (index < 0 || index >= layout::kTabCount || index == screenIndex) return;
  screenIndex = index;
  menuChanged = 1;
  tabs[index].Select();
}

void MenuBar::SetLabelBlend(uint8_t level) {
  for (auto& label : labelImages) {
    if (label != nullptr) SetTextureBlend(label.get(), level);
  }
}

void MenuBar::Release() {
  ReleaseTexture(borderLeft);
  ReleaseTexture(borderTop);
  ReleaseTexture(borderRight);
  ReleaseTexture(borderBottom);
  ReleaseTexture(base);
  for (auto& label : labelImages)
    ReleaseTexture(label);
  for (Button& tab : tabs)
    tab.Release();
  turnOff.Release();
  buildIn.Release();
  remove.Release();
  spray.Release();
}

}  // namespace kbh
