// The label pictures: one per screen, drawn by the menu bar over the base
// while its tab is active. Each frames the widgets of its screen where the
// program puts them (ui/screen_positions.hpp): the displays behind the lists
// and texts, the captions, the workshop buttons in their unavailable look,
// the slider tracks and, on the paint screen, the colour palette texel for
// texel where the colour selector reads it.
//
// The menu bar draws them blended by their alpha, and draws the tabs and the
// quit button after them only while those are hovered or active: a label is
// transparent over every tab and over the quit button, so their idle look on
// the base stays visible.
#pragma once

#include <array>
#include <string>

#include "platform/image/image.hpp"
#include "tools/workshop/lettering.hpp"
#include "ui/screen_positions.hpp"

namespace kbh::skin {

// Indexed like the screens; the Account screen's entry stays empty. The
// palette is the picture the colour selector reads. False, with the reason
// in *error, when a picture would reach left of or above its place (the
// menu bar could not draw that part).
bool MakeLabelPictures(const Lettering& lettering, const Image& palette,
                       std::array<Image, layout::kTabCount>* labels, std::string* error);

}  // namespace kbh::skin
