// The interface skin of the demo workshop: every picture the menu bar, the
// widgets, the colour selector and the pointer load from gfx/gui, made from
// code in one look (skin_kit.hpp) for the places of ui/screen_positions.hpp.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/image/image.hpp"
#include "tools/workshop/lettering.hpp"
#include "tools/workshop/skin_controls.hpp"
#include "tools/workshop/skin_frame.hpp"
#include "ui/screen_positions.hpp"

namespace kbh::skin {

inline constexpr int kWorkshopButtonCount = 3;

struct Skin {
  FramePictures frame;
  std::array<Image, layout::kTabCount> labels;  // the Account screen's stays empty
  ListSkin list;
  TextBoxSkin textBox;
  std::array<WorkshopButtonPictures, kWorkshopButtonCount> workshopButtons;  // by WorkshopButton
  ColourControls colour;
  Pointers pointers;
};

// False, with the reason in *error, when a picture cannot be made as the
// screens need it.
bool MakeSkin(const Lettering& lettering, Skin* skin, std::string* error);

// Every picture with the name the program loads it under, below gfx/gui.
struct SkinFile {
  std::string name;
  const Image* picture;
};
std::vector<SkinFile> SkinFiles(const Skin& skin);

}  // namespace kbh::skin
