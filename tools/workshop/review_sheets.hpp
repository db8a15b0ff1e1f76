// Review sheets of the interface skin: for each tab, the screen as the
// program will put it together (background, the scene's pictures where the
// tab has them, borders, base, the tab's label, its widgets with sample
// content, the statistics texts and the pointer), and below it every button
// of the tab side by side in each of its states. They let the skin be
// judged before the screens exist, and again whenever it changes.
//
// The widgets are drawn here by the rules the program draws them by (list
// rows, scroll bars, text panels, slider knobs, the logo's fitting), with
// the program's fonts. The colour selector's ball is a shaded stand-in at
// the place the program renders it.
#pragma once

#include <string>
#include <vector>

#include "platform/image/image.hpp"
#include "tools/workshop/lettering.hpp"
#include "tools/workshop/skin.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

// What the sheets show besides the skin. Everything is optional: a missing
// picture is left out, an empty list shows no rows.
struct ReviewContent {
  Image background;                     // gfx/env/mainBG.dds
  Image tuneUpView;                     // the turning moped over the background, when rendered
  Image sprayPreview;                   // the paint screen's small picture, when rendered
  Image modelFrame;                     // the frame round it
  std::vector<std::string> categories;  // Windows-1252, as the lists show them
  std::vector<std::string> subcategories;
  std::vector<std::string> parts;
  std::vector<std::string> installed;  // the paint and seller screens' list
  std::vector<std::string> subsets;
  // The seller screen's part.
  std::string title;
  std::string secondLine;
  std::string description;
  Image logo;
  Image partPicture;
  // Logos of other shapes than the box, to show how they are fitted.
  std::vector<Image> oddLogos;
};

// Reads what a built workshop offers: the background, the frame, the
// catalogue's names and one part's seller entry with its logo and picture.
ReviewContent LoadReviewContent(const std::string& root);

// Where the seller panel puts a logo of width x height: shrunk to the
// box's width, then to its height, keeping its aspect, and centred.
layout::Rect FitLogo(int width, int height);

// The program's fonts, which the sheets letter the widgets' texts with.
std::vector<TextStyle> ReviewFonts();

struct ReviewSheet {
  std::string name;  // "skin_<tab>.png"
  Image picture;
};
std::vector<ReviewSheet> MakeReviewSheets(const skin::Skin& skin, const Lettering& lettering,
                                          const ReviewContent& content);

}  // namespace kbh
