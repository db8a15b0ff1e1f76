#include "tools/workshop/skin.hpp"

#include "tools/workshop/interface_pictures.hpp"
#include "tools/workshop/skin_labels.hpp"

namespace kbh::skin {

namespace {

// The names in the files of the tabs and of the labels, by screen.
constexpr const char* kTabNames[layout::kTabCount] = {"TuneUp", "Spray",   "Seller", "Options",
                                                      "Help",   "Account", "Info"};
constexpr const char* kLabelNames[layout::kTabCount] = {"Tuneup", "Spray", "Seller", "Options",
                                                        "Help",   nullptr, "About"};
constexpr const char* kWorkshopButtonNames[kWorkshopButtonCount] = {
    "gui_TuneUp_bBuildIn", "gui_TuneUp_bDelete", "gui_Spray_bSpray"};

}  // namespace

bool MakeSkin(const Lettering& lettering, Skin* skin, std::string* error) {
  skin->frame = MakeFramePictures(lettering);
  if (!MakeLabelPictures(lettering, MakePalette(), &skin->labels, error)) return false;
  skin->list = MakeListSkin();
  skin->textBox = MakeTextBoxSkin();
  for (const WorkshopButton button :
       {WorkshopButton::kBuildIn, WorkshopButton::kRemove, WorkshopButton::kSpray}) {
    skin->workshopButtons[static_cast<int>(button)] = MakeWorkshopButton(button);
  }
  skin->colour = MakeColourControls();
  skin->pointers = MakePointers();
  return true;
}

std::vector<SkinFile> SkinFiles(const Skin& skin) {
  const FramePictures& frame = skin.frame;
  std::vector<SkinFile> files = {
      {"gui_menu_borderleft.dds", &frame.borderLeft},
      {"gui_menu_bordertop.dds", &frame.borderTop},
      {"gui_menu_borderright.dds", &frame.borderRight},
      {"gui_menu_borderbottom.dds", &frame.borderBottom},
      {"gui_menu_base.dds", &frame.base},
      {"gui_menu_bTurnOff.dds", &frame.turnOff},
      {"gui_menu_bTurnOff_active.dds", &frame.turnOffLit},
  };
  for (int i = 0; i < layout::kTabCount; ++i) {
    const std::string tab = std::string("gui_menu_b") + kTabNames[i];
    files.push_back({tab + ".dds", &frame.tabMasks[i]});
    files.push_back({tab + "_active.dds", &frame.tabsLit[i]});
    if (kLabelNames[i]) {
      files.push_back({std::string("gui_menu_x") + kLabelNames[i] + ".dds", &skin.labels[i]});
    }
  }
  for (int i = 0; i < kWorkshopButtonCount; ++i) {
    const std::string name = kWorkshopButtonNames[i];
    files.push_back({name + ".dds", &skin.workshopButtons[i].normal});
    files.push_back({name + "_hover.dds", &skin.workshopButtons[i].hover});
    files.push_back({name + "_active.dds", &skin.workshopButtons[i].active});
  }
  const ListSkin& list = skin.list;
  files.insert(files.end(), {
                                {"gui_scrollbox_arrowup.dds", &list.arrowUp},
                                {"gui_scrollbox_arrowdown.dds", &list.arrowDown},
                                {"gui_scrollbox_mid.dds", &list.track},
                                {"gui_scrollbox_itembg.dds", &list.itemBackground},
                                {"gui_scrollbox_slider.dds", &list.slider},
                                {"gui_scrollbox_arrowup_hover.dds", &list.arrowUpHover},
                                {"gui_scrollbox_arrowdown_hover.dds", &list.arrowDownHover},
                                {"gui_textbox_arrowup.dds", &skin.textBox.arrowUp},
                                {"gui_textbox_arrowup_hover.dds", &skin.textBox.arrowUpHover},
                                {"gui_textbox_arrowdown.dds", &skin.textBox.arrowDown},
                                {"gui_textbox_arrowdown_hover.dds", &skin.textBox.arrowDownHover},
                                {"gui_textbox_mid.dds", &skin.textBox.track},
                                {"gui_Cursor_Normal.dds", &skin.pointers.normal},
                                {"cursor_colorpick.dds", &skin.pointers.colourPick},
                                {"gui_colsel_arrow_up.dds", &skin.colour.arrowUp},
                                {"gui_colsel_arrow_down.dds", &skin.colour.arrowDown},
                                {"gui_Spray_Slider.dds", &skin.colour.sliderKnob},
                            });
  return files;
}

}  // namespace kbh::skin
