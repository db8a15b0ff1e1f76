// The pictures of the widgets: the lists' scroll bar and selection bar, the
// text panels' arrows and track, the three workshop buttons, the colour
// selector's finish arrows and slider knob, and the two mouse pointers.
//
// Their sizes follow from where the widgets draw them: a list's arrows end
// 5 pixels right of the list and reach 4 pixels above and below it, so
// 14-pixel arrows frame a list of six rows with a track between them; a
// text panel's 15 x 23 arrows meet its track exactly.
#pragma once

#include "platform/image/image.hpp"
#include "tools/workshop/skin_kit.hpp"
#include "ui/screen_positions.hpp"

namespace kbh::skin {

// The shared skin of every list, in the order the program loads its slots.
struct ListSkin {
  Image arrowUp;
  Image arrowDown;
  Image track;           // stretched to the height between the arrows
  Image itemBackground;  // the selection bar, stretched to the row
  Image slider;          // loaded but never drawn; kept in the set's look
  Image arrowUpHover;
  Image arrowDownHover;
};
ListSkin MakeListSkin();

struct TextBoxSkin {
  Image arrowUp;
  Image arrowUpHover;
  Image arrowDown;
  Image arrowDownHover;
  Image track;  // stretched to the panel's height less 30
};
TextBoxSkin MakeTextBoxSkin();

// The buttons of the workshop screens. The menu bar draws them only while
// hovered or usable (enabled and selected), so the unavailable look lives
// in the screen's label picture.
enum class WorkshopButton { kBuildIn, kRemove, kSpray };
struct WorkshopButtonPictures {
  Image normal;       // never drawn: the hit mask, opaque exactly over the button
  Image hover;        // "_hover"
  Image active;       // "_active": usable
  Image unavailable;  // what the label shows at the button's place
};
WorkshopButtonPictures MakeWorkshopButton(WorkshopButton button);
layout::Point WorkshopButtonPlace(WorkshopButton button);
// The button's disc on the screen, for the labels' captions round it.
Circle WorkshopButtonDisc(WorkshopButton button);

struct ColourControls {
  Image arrowUp;  // the finish arrows: small keys, clickable all over
  Image arrowDown;
  Image sliderKnob;
};
ColourControls MakeColourControls();

// The pointers: the normal one with its tip at (6, 2), the colour picker
// with its tip at (5, 5), the hot spots the program uses.
struct Pointers {
  Image normal;
  Image colourPick;
};
Pointers MakePointers();

}  // namespace kbh::skin
