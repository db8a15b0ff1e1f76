// The interface skin as the build wrote it into the demo workshop: every
// picture the menu bar, the widgets, the colour selector and the pointer
// load, in a format that draws it as meant, made for the places the screens
// put things. Places are the program's fixed screen coordinates, written out
// here as numbers.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "tests/unit/workshop_content/workshop_tree.hpp"
#include "tools/workshop/interface_pictures.hpp"
#include "tools/workshop/skin_frame.hpp"

namespace kbh {
namespace {

Image LoadGui(const std::string& name) {
  std::vector<uint8_t> bytes;
  Image image;
  EXPECT_TRUE(ReadWholeFile(testing::WorkshopPath("gfx/gui/" + name), &bytes)) << name;
  EXPECT_TRUE(DecodeImage(bytes, &image)) << name;
  return image;
}

uint32_t Texel(const Image& image, int x, int y) {
  return image.texels[static_cast<size_t>(y) * image.width + x];
}

// A picture placed on the screen: its alpha at a screen pixel, 0 outside it.
struct Placed {
  Image image;
  int x;
  int y;

  bool Covers(int sx, int sy) const {
    return sx >= x && sy >= y && sx < x + image.width && sy < y + image.height;
  }
  uint32_t AlphaAt(int sx, int sy) const {
    return Covers(sx, sy) ? Texel(image, sx - x, sy - y) >> 24 : 0;
  }
  // Where a click counts, for a hit mask.
  bool ClickableAt(int sx, int sy) const { return AlphaAt(sx, sy) > 200; }
};

float Luminance(uint32_t argb) {
  return (static_cast<float>((argb >> 16) & 255) + static_cast<float>((argb >> 8) & 255) +
          static_cast<float>(argb & 255)) /
         (3.0f * 255.0f);
}

const char* const kTabNames[] = {"TuneUp", "Spray", "Seller", "Options", "Help", "Account", "Info"};
const int kTabPlaces[][2] = {{150, 520}, {270, 520}, {415, 520}, {70, 720},
                             {110, 740}, {135, 720}, {160, 740}};

struct LabelPlace {
  const char* file;
  int x;
  int y;
};
const LabelPlace kLabels[] = {{"gui_menu_xTuneup.dds", 25, 575}, {"gui_menu_xSpray.dds", 25, 560},
                              {"gui_menu_xSeller.dds", 25, 145}, {"gui_menu_xOptions.dds", 31, 581},
                              {"gui_menu_xHelp.dds", 154, 562},  {"gui_menu_xAbout.dds", 154, 562}};

Placed LoadPlaced(const std::string& file, int x, int y) {
  return {LoadGui(file), x, y};
}

// Every hit mask of the menu bar at its place: the seven tabs and the quit
// button.
std::vector<Placed> MenuMasks() {
  std::vector<Placed> masks;
  for (int i = 0; i < 7; ++i) {
    masks.push_back(LoadPlaced(std::string("gui_menu_b") + kTabNames[i] + ".dds", kTabPlaces[i][0],
                               kTabPlaces[i][1]));
  }
  masks.push_back(LoadPlaced("gui_menu_bTurnOff.dds", 15, 735));
  return masks;
}

TEST(Skin, EveryPictureIsThereAndTransparentOnesAreStoredWithAlpha) {
  std::set<std::string> expected = {
      "gui_menu_borderleft.dds",
      "gui_menu_bordertop.dds",
      "gui_menu_borderright.dds",
      "gui_menu_borderbottom.dds",
      "gui_menu_base.dds",
      "gui_menu_bTurnOff.dds",
      "gui_menu_bTurnOff_active.dds",
      "gui_TuneUp_bBuildIn.dds",
      "gui_TuneUp_bBuildIn_hover.dds",
      "gui_TuneUp_bBuildIn_active.dds",
      "gui_TuneUp_bDelete.dds",
      "gui_TuneUp_bDelete_hover.dds",
      "gui_TuneUp_bDelete_active.dds",
      "gui_Spray_bSpray.dds",
      "gui_Spray_bSpray_hover.dds",
      "gui_Spray_bSpray_active.dds",
      "gui_scrollbox_arrowup.dds",
      "gui_scrollbox_arrowdown.dds",
      "gui_scrollbox_mid.dds",
      "gui_scrollbox_itembg.dds",
      "gui_scrollbox_slider.dds",
      "gui_scrollbox_arrowup_hover.dds",
      "gui_scrollbox_arrowdown_hover.dds",
      "gui_textbox_arrowup.dds",
      "gui_textbox_arrowup_hover.dds",
      "gui_textbox_arrowdown.dds",
      "gui_textbox_arrowdown_hover.dds",
      "gui_textbox_mid.dds",
      "gui_Cursor_Normal.dds",
      "cursor_colorpick.dds",
      "gui_colsel_arrow_up.dds",
      "gui_colsel_arrow_down.dds",
      "gui_Spray_Slider.dds",
  };
  for (const char* tab : kTabNames) {
    expected.insert(std::string("gui_menu_b") + tab + ".dds");
    expected.insert(std::string("gui_menu_b") + tab + "_active.dds");
  }
  for (const LabelPlace& label : kLabels)
    expected.insert(label.file);
  ASSERT_EQ(expected.size(), 53u);
  // The pictures made before the skin.
  const std::set<std::string> others = {"gui_colsel_palette.dds", "gui_Spray_modelframe.dds",
                                        "kbh_load.dds"};
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(testing::WorkshopPath("gfx/gui"))) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".dds" && others.count(name) == 0) found.insert(name);
  }
  // Names compared case by case: the program opens them exactly so.
  EXPECT_EQ(found, expected);

  for (const std::string& name : expected) {
    SCOPED_TRACE(name);
    const Image image = LoadGui(name);
    ASSERT_GT(image.width, 0);
    bool transparent = false;
    for (const uint32_t texel : image.texels)
      transparent = transparent || (texel >> 24) < 255;
    if (transparent) {
      EXPECT_EQ(image.sourceFormat, FMT_A8R8G8B8);
    }
    EXPECT_TRUE(image.sourceFormat == FMT_A8R8G8B8 || image.sourceFormat == FMT_X8R8G8B8);
  }
  // The borders frame the screen from their places to its edges.
  EXPECT_EQ(LoadGui("gui_menu_borderleft.dds").width, 13);
  EXPECT_EQ(LoadGui("gui_menu_bordertop.dds").width, 1009 - 13);
  EXPECT_EQ(LoadGui("gui_menu_borderright.dds").width, 1024 - 1009);
  const Image bottom = LoadGui("gui_menu_borderbottom.dds");
  EXPECT_EQ(bottom.width, 1009 - 757);
  EXPECT_EQ(bottom.height, 768 - 754);
  const Image base = LoadGui("gui_menu_base.dds");
  EXPECT_EQ(base.width, 1024);
  EXPECT_EQ(base.height, 768 - 515);
}

TEST(Skin, TabMasksAreOpaqueExactlyWhereTheirLitPictureIs) {
  const std::vector<Placed> masks = MenuMasks();
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(kTabNames[i]);
    const Image& mask = masks[i].image;
    const Image lit = LoadGui(std::string("gui_menu_b") + kTabNames[i] + "_active.dds");
    ASSERT_EQ(lit.width, mask.width);
    ASSERT_EQ(lit.height, mask.height);
    int clickable = 0;
    for (int y = 0; y < mask.height; ++y) {
      for (int x = 0; x < mask.width; ++x) {
        const bool hit = (Texel(mask, x, y) >> 24) > 200;
        clickable += hit;
        // Alpha is 0 or above 200: no texel left to the filter's rounding.
        EXPECT_TRUE(hit || (Texel(mask, x, y) >> 24) == 0) << x << ", " << y;
        EXPECT_EQ(hit, (Texel(lit, x, y) >> 24) >= 128) << x << ", " << y;
      }
    }
    // A key with rounded corners: nearly its whole box, but not the corners.
    EXPECT_GT(clickable, mask.width * mask.height * 9 / 10);
    EXPECT_FALSE((Texel(mask, 0, 0) >> 24) > 200);
  }
  // No spot of the screen belongs to two of them.
  for (int y = 515; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) {
      int owners = 0;
      for (const Placed& mask : masks)
        owners += mask.ClickableAt(x, y);
      ASSERT_LE(owners, 1) << x << ", " << y;
    }
  }
}

TEST(Skin, TheBaseShowsTheIdleTabsAndNoLabelHidesThem) {
  const Placed base = LoadPlaced("gui_menu_base.dds", 0, 515);
  std::vector<Placed> labels;
  for (const LabelPlace& label : kLabels) {
    labels.push_back(LoadPlaced(label.file, label.x, label.y));
    SCOPED_TRACE(label.file);
    EXPECT_LE(label.x + labels.back().image.width, 1024);
    EXPECT_LE(label.y + labels.back().image.height, 768);
  }
  for (const Placed& mask : MenuMasks()) {
    int same = 0, inner = 0;
    for (int y = mask.y; y < mask.y + mask.image.height; ++y) {
      for (int x = mask.x; x < mask.x + mask.image.width; ++x) {
        if (!mask.ClickableAt(x, y)) continue;
        ASSERT_EQ(base.AlphaAt(x, y), 255u) << x << ", " << y;
        for (const Placed& label : labels)
          ASSERT_EQ(label.AlphaAt(x, y), 0u) << x << ", " << y;
        // Inside its edge the base shows the same texels as the mask: the
        // tab's idle look, caption included.
        if (mask.ClickableAt(x - 2, y - 2) && mask.ClickableAt(x + 2, y + 2) &&
            mask.ClickableAt(x - 2, y + 2) && mask.ClickableAt(x + 2, y - 2)) {
          ++inner;
          same += (Texel(base.image, x, y - 515) & 0xFFFFFF) ==
                  (Texel(mask.image, x - mask.x, y - mask.y) & 0xFFFFFF);
        }
      }
    }
    EXPECT_GT(inner, 0);
    EXPECT_EQ(same, inner);
  }
}

TEST(Skin, TheSprayLabelShowsThePaletteTexelForTexelWhereTheSelectorReadsIt) {
  const Image palette = LoadGui("gui_colsel_palette.dds");
  const Image label = LoadGui("gui_menu_xSpray.dds");
  ASSERT_EQ(palette.width, 100);
  ASSERT_EQ(palette.height, 60);
  // The label lies at (25, 560), the palette's top-left texel at (547, 654).
  ASSERT_GE(label.width, 547 - 25 + 100);
  ASSERT_GE(label.height, 654 - 560 + 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 100; ++x) {
      ASSERT_EQ(Texel(label, 547 - 25 + x, 654 - 560 + y), Texel(palette, x, y)) << x << ", " << y;
    }
  }
}

TEST(Skin, OnlyTheSprayScreenOpensAWindowForTheColourBall) {
  // Worked out by hand: the ball (radius 30 at the origin), seen from
  // (194, 290, -900) towards (180, 275, 0) through the 45-degree projection
  // of the 1024 x 768 screen, covers x 296.7 to 359.2 and y 633.1 to 697.1.
  const skin::Circle ball = skin::ColourBallOnScreen();
  EXPECT_NEAR(ball.cx, 328.0f, 0.5f);
  EXPECT_NEAR(ball.cy, 665.1f, 0.5f);
  EXPECT_NEAR(ball.r, 32.0f, 0.5f);

  const Placed base = LoadPlaced("gui_menu_base.dds", 0, 515);
  std::vector<Placed> labels;
  for (const LabelPlace& label : kLabels)
    labels.push_back(LoadPlaced(label.file, label.x, label.y));
  for (int y = 633; y <= 697; ++y) {
    for (int x = 297; x <= 359; ++x) {
      const int dx = x - 328, dy = y - 665;
      if (dx * dx + dy * dy > 31 * 31) continue;
      ASSERT_EQ(base.AlphaAt(x, y), 0u) << x << ", " << y;
      for (size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(kLabels[i].file);
        ASSERT_EQ(labels[i].AlphaAt(x, y), i == 1 ? 0u : 255u) << x << ", " << y;
      }
    }
  }
}

TEST(Skin, WorkshopButtonsKeepClearOfTheirNeighbours) {
  const struct {
    const char* name;
    int x, y;
    int clearLeftOf;   // a scroll bar ends here (x + width + 5 of the list)
    int clearRightOf;  // the status line starts here
    int label;         // the screen's label, which shows the button unavailable
  } buttons[] = {
      {"gui_TuneUp_bBuildIn", 666, 601, 656, 730, 0},
      {"gui_TuneUp_bDelete", 208, 647, 70 + 135 + 5, 273, 0},
      {"gui_Spray_bSpray", 541, 596, 362 + 177 + 5, 1024, 1},
  };
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.name);
    const Placed mask = LoadPlaced(std::string(b.name) + ".dds", b.x, b.y);
    const Placed hover = LoadPlaced(std::string(b.name) + "_hover.dds", b.x, b.y);
    const Placed active = LoadPlaced(std::string(b.name) + "_active.dds", b.x, b.y);
    const Placed label = LoadPlaced(kLabels[b.label].file, kLabels[b.label].x, kLabels[b.label].y);
    EXPECT_EQ(hover.image.width, mask.image.width);
    EXPECT_EQ(active.image.height, mask.image.height);
    const int cx = b.x + mask.image.width / 2, cy = b.y + mask.image.height / 2;
    EXPECT_TRUE(mask.ClickableAt(cx, cy));
    EXPECT_EQ(hover.AlphaAt(cx, cy), 255u);
    EXPECT_EQ(active.AlphaAt(cx, cy), 255u);
    EXPECT_EQ(label.AlphaAt(cx, cy), 255u);
    for (int y = b.y; y < b.y + mask.image.height; ++y) {
      for (int x = b.x; x < b.x + mask.image.width; ++x) {
        if (x <= b.clearLeftOf || x >= b.clearRightOf) {
          ASSERT_FALSE(mask.ClickableAt(x, y)) << x << ", " << y;
        }
      }
    }
  }
}

TEST(Skin, ListsAndTextPanelsSitOnDarkGlassWithTheirArrowsInLine) {
  const struct {
    int label;
    int x, y, width, height;
  } boxes[] = {
      {0, 70, 593, 135, 82},   {0, 273, 624, 176, 82},  {0, 474, 654, 177, 82},
      {1, 73, 594, 214, 82},   {1, 362, 575, 177, 82},  {2, 73, 594, 214, 82},
      {2, 256, 206, 274, 278}, {4, 270, 578, 286, 122}, {5, 270, 578, 286, 122},
  };
  for (const auto& box : boxes) {
    const Placed label =
        LoadPlaced(kLabels[box.label].file, kLabels[box.label].x, kLabels[box.label].y);
    SCOPED_TRACE(std::string(kLabels[box.label].file) + " at " + std::to_string(box.x));
    for (int y = box.y; y < box.y + box.height; y += 7) {
      for (int x = box.x; x < box.x + box.width; x += 9) {
        // The seller's part picture, with its frame, lies over the
        // description's top right corner.
        if (box.label == 2 && x >= 508 && y < 339) continue;
        ASSERT_EQ(label.AlphaAt(x, y), 255u) << x << ", " << y;
        ASSERT_LT(Luminance(Texel(label.image, x - label.x, y - label.y)), 0.12f) << x << ", " << y;
      }
    }
  }
  // A list's arrows reach 4 pixels above and below its 82-pixel box, the
  // track between them: arrows and track of one width. A text panel's
  // arrows end 4 right of it and its track starts 11 left of its edge, from
  // 15 below its top: arrows 15 wide and 23 high (8 above the top + 15).
  const Image listUp = LoadGui("gui_scrollbox_arrowup.dds");
  EXPECT_EQ(LoadGui("gui_scrollbox_mid.dds").width, listUp.width);
  EXPECT_EQ(LoadGui("gui_scrollbox_arrowdown.dds").width, listUp.width);
  EXPECT_LT(2 * listUp.height, 82 + 8);
  EXPECT_EQ(LoadGui("gui_scrollbox_itembg.dds").height, 13);
  for (const char* name : {"gui_textbox_arrowup.dds", "gui_textbox_arrowdown.dds",
                           "gui_textbox_arrowup_hover.dds", "gui_textbox_arrowdown_hover.dds"}) {
    SCOPED_TRACE(name);
    const Image arrow = LoadGui(name);
    EXPECT_EQ(arrow.width, 15);
    EXPECT_EQ(arrow.height, 23);
  }
  EXPECT_EQ(LoadGui("gui_textbox_mid.dds").width, 15);
}

TEST(Skin, PointersHaveTheirTipsOnTheHotSpots) {
  const struct {
    const char* name;
    int x, y;
  } pointers[] = {{"gui_Cursor_Normal.dds", 6, 2}, {"cursor_colorpick.dds", 5, 5}};
  for (const auto& p : pointers) {
    SCOPED_TRACE(p.name);
    const Image image = LoadGui(p.name);
    EXPECT_GT(Texel(image, p.x, p.y) >> 24, 128u);
    // Nothing of the pointer pokes out beyond its tip.
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (x < p.x - 1 || y < p.y - 1) {
          ASSERT_LT(Texel(image, x, y) >> 24, 128u) << x << ", " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kbh
