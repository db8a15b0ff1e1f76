// Where everything of the interface sits on the 1024 x 768 back buffer, in
// pixels from the top-left corner, y down. Nothing scales.
//
// This is the one home of these numbers: the widgets are placed from here,
// and the demo workshop's skin builder draws its pictures around the same
// numbers, so a widget that moves takes its picture along.
#pragma once

#include <array>

namespace kbh::layout {

struct Point {
  int x;
  int y;
};

struct Rect {
  int x;
  int y;
  int width;
  int height;
};

// --- Loading screen ---------------------------------------------------------
inline constexpr Point kLoadingPicture{382, 300};
inline constexpr float kProgressBarY = 390.0f;
// The frame around the bar: a wider, translucent white line behind it.
inline constexpr float kProgressFrameLeft = 361.0f;
inline constexpr float kProgressFrameRight = 597.0f;
// The bar grows from its left end by this many pixels per percent.
inline constexpr float kProgressBarLeft = 362.0f;
inline constexpr float kProgressBarPixelsPerPercent = 2.34f;

// --- Menu bar ---------------------------------------------------------------
inline constexpr Point kBorderLeft{0, 0};
inline constexpr Point kBorderTop{13, 0};
inline constexpr Point kBorderRight{1009, 0};
inline constexpr Point kBorderBottom{757, 754};
// The panel behind the lower part of the screen.
inline constexpr Point kMenuBase{0, 515};

inline constexpr int kTabCount = 7;
// Indexed like the screens: TuneUp, Spray, Seller, Options, Help, Account, Info.
inline constexpr std::array<Point, kTabCount> kTabs{{
    {150, 520},
    {270, 520},
    {415, 520},
    {70, 720},
    {110, 740},
    {135, 720},
    {160, 740},
}};
// Where each screen's label picture goes; the Account screen has none.
inline constexpr std::array<Point, kTabCount> kLabels{{
    {25, 575},
    {25, 560},
    {25, 145},
    {31, 581},
    {154, 562},
    {0, 0},
    {154, 562},
}};

inline constexpr Point kTurnOffButton{15, 735};
inline constexpr Point kBuildInButton{666, 601};
inline constexpr Point kRemoveButton{208, 647};
inline constexpr Point kSprayButton{541, 596};

// --- List boxes -------------------------------------------------------------
// Every list shows this many rows of the main font. A row is the main font's
// row step (its lineHeight, 13 for height 14); a list is that many rows high
// plus 4.
inline constexpr int kListRows = 6;
inline constexpr int kListRowHeight = 13;
inline constexpr int kListHeight = kListRows * kListRowHeight + 4;

// A list's scroll bar (shown only while it has more entries than rows) hangs
// outside its box: the arrows end this many pixels right of the box, the up
// arrow starts this many above it and the down arrow ends as many below. The
// selection bar leaves this much of the box's right side to the bar.
inline constexpr int kScrollBarRightOverhang = 5;
inline constexpr int kScrollBarVerticalOverhang = 4;
inline constexpr int kScrollBarRoom = 8;

struct ListPlace {
  Point at;
  int width;
};
inline constexpr ListPlace kTuneUpCategoryList{{70, 593}, 135};
inline constexpr ListPlace kTuneUpSubcategoryList{{273, 624}, 176};
inline constexpr ListPlace kTuneUpPartList{{474, 654}, 177};
inline constexpr ListPlace kSprayPartList{{73, 594}, 214};
inline constexpr ListPlace kSpraySubsetList{{362, 575}, 177};
inline constexpr ListPlace kSellerPartList{{73, 594}, 214};

// The status line of the TuneUp screen: where its text starts.
inline constexpr Point kMessageLine{730, 600};

// --- Spray screen -----------------------------------------------------------
// The small picture of the whole moped and the frame drawn round it.
inline constexpr Rect kSprayPreview{525, 46, 450, 260};
inline constexpr Point kModelFrame{510, 12};

// The colour selector reads its palette as if the picture's top-left texel
// lay here; what the user sees there is drawn by the Spray label picture.
inline constexpr Point kPaletteOrigin{547, 654};
// The red, green and blue sliders: the left end and the centre line of each
// track; every track is this long, and the knob can be grabbed this many
// pixels high.
inline constexpr std::array<Point, 3> kColourSliders{{{379, 670}, {379, 685}, {379, 700}}};
inline constexpr int kColourSliderLength = 119;
inline constexpr int kColourSliderGrabHeight = 12;
// The percent of each channel, red, green, blue.
inline constexpr std::array<Point, 3> kColourPercents{{{517, 662}, {517, 677}, {517, 692}}};
inline constexpr Point kFinishName{480, 717};
inline constexpr Point kFinishUpArrow{612, 716};
inline constexpr Point kFinishDownArrow{612, 725};

// --- Seller screen ----------------------------------------------------------
inline constexpr Point kSellerTitle{255, 175};
inline constexpr Rect kSellerDescription{256, 206, 274, 278};
inline constexpr Rect kSellerPartPicture{511, 166, 235, 169};
inline constexpr Point kSellerSecondLine{355, 595};
// Logos are fitted into kSellerLogoFit and centred in kSellerLogoBox, which
// is two pixels taller.
inline constexpr Rect kSellerLogoBox{456, 667, 190, 68};
inline constexpr int kSellerLogoFitWidth = 190;
inline constexpr int kSellerLogoFitHeight = 66;

// --- Pointer ----------------------------------------------------------------
// The pixel of each pointer picture that sits on the pointer position: the
// arrow's tip, and the centre of the colour pick's ring. The pictures are
// drawn around these pixels.
inline constexpr Point kCursorHotSpot{6, 2};
inline constexpr Point kColourPickHotSpot{5, 5};

// --- Help and Info screens --------------------------------------------------
inline constexpr Rect kTextPanel{270, 578, 286, 122};

// --- Text panels' arrows ----------------------------------------------------
// The scrolling text panels (Seller description, Help, Info) put their arrow
// buttons on the right: each arrow's right edge lies this many pixels right
// of the panel, the up arrow's top this many above it and the down arrow's
// bottom as many below. The track between them starts this far left of the
// panel's right edge and leaves this much of the panel's height free at the
// top and at the bottom.
inline constexpr int kTextArrowRightOverhang = 4;
inline constexpr int kTextArrowVerticalOverhang = 8;
inline constexpr int kTextTrackInset = 11;
inline constexpr int kTextTrackMargin = 15;

}  // namespace kbh::layout
