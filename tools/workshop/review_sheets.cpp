#include "tools/workshop/review_sheets.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/stage.hpp"
#include "tools/workshop/interface_pictures.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/skin_kit.hpp"

namespace kbh {

namespace {

using skin::Skin;
using skin::WorkshopButton;

constexpr int kTuneUp = 0, kSpray = 1, kSeller = 2, kOptions = 3, kHelp = 4, kAccount = 5,
              kInfo = 6;
constexpr const char* kSheetNames[layout::kTabCount] = {"tuneup", "spray",   "seller", "options",
                                                        "help",   "account", "info"};

// The program's fonts: the lists and statistics, the seller panel, the text
// panels and the status line.
TextStyle MainFont() {
  return {"Verdana", 14, 520};
}
TextStyle InfoFont() {
  return {"Verdana", 13, 600};
}
TextStyle TextBoxFont() {
  return {"Verdana", 15, 600};
}
TextStyle MessageFont() {
  return {"Verdana", 13, 500};
}

constexpr Rgba kListText{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Rgba kPanelText{1.0f, 0.98f, 0.98f, 1.0f};        // 0xFFFFFAFA
constexpr Rgba kSellerText{0.98f, 0.98f, 0.98f, 1.0f};      // 0xFFFAFAFA
constexpr Rgba kMessageText{0.867f, 0.322f, 0.322f, 1.0f};  // 0xFFDD5252

// Sample texts for the text screens; the program brings its own.
constexpr const char* kHelpSample =
    "Bei dieser Version handelt es sich um ein Beta-Release.\n"
    "Das bedeutet, dass die wichtigsten Grundfunktionen zur Verf\xFCgung stehen.\n"
    "Um Programmfehler schnellstm\xF6glich zu finden und zu beseitigen, werden teilweise noch "
    "Kontrollausgaben auf dem Bildschirm erscheinen.\n\nBedienung\n\n"
    "Die Bedienung geschieht ausschlie\xDFlich mit Hilfe der Maus.";
constexpr const char* kAboutSample =
    "3D-Kolbenhof 0.1 (Beta)\n\nIdee, Programmierung, Grafik und 3D-Design: "
    "das Kolbenhof-Team.\n\nDie Beta-Version darf nicht weitergegeben werden. "
    "Grafiken und 3D-Daten d\xFCrfen nicht weiterverwendet werden.";

// --- Drawing the widgets as the program draws them ----------------------------------------------

struct ListView {
  layout::ListPlace place;
  const std::vector<std::string>* items;
  int first = 0;
  int selected = -1;
  int arrowState = 0;  // 1 up arrow pointed at, 2 down arrow
};

void DrawList(Canvas& canvas, const Lettering& lettering, const skin::ListSkin& s,
              const ListView& list) {
  const int x = list.place.at.x, y = list.place.at.y, width = list.place.width;
  const int rows = layout::kListRows, row = layout::kListRowHeight, height = layout::kListHeight;
  const int count = static_cast<int>(list.items->size());
  const bool scrolls = count > rows;
  if (list.selected >= 0 && list.selected - list.first < rows && list.selected >= list.first) {
    skin::DrawPictureStretched(canvas, s.itemBackground, x,
                               y + 2 + (list.selected - list.first) * row,
                               scrolls ? width - layout::kScrollBarRoom : width, row);
  }
  for (int i = 0; i < rows && list.first + i < count; ++i) {
    lettering.Draw(canvas, MainFont(), (*list.items)[list.first + i], x + 2, y + 1 + i * row,
                   kListText);
  }
  if (!scrolls) return;
  const int right = x + width + layout::kScrollBarRightOverhang;
  const int over = layout::kScrollBarVerticalOverhang;
  skin::DrawPicture(canvas, list.arrowState == 1 ? s.arrowUpHover : s.arrowUp,
                    right - s.arrowUp.width, y - over);
  skin::DrawPicture(canvas, list.arrowState == 2 ? s.arrowDownHover : s.arrowDown,
                    right - s.arrowDown.width, y + height + over - s.arrowDown.height);
  skin::DrawPictureStretched(canvas, s.track, right - s.track.width, y - over + s.arrowUp.height,
                             s.track.width, height + 2 * over - 2 * s.arrowDown.height);
}

void DrawTextPanel(Canvas& canvas, const Lettering& lettering, const skin::TextBoxSkin& s,
                   const layout::Rect& panel, const TextStyle& font, const std::string& text,
                   int arrowState) {
  const int textHeight =
      lettering.DrawInBox(canvas, font, text, panel.x, panel.y, panel.width - s.arrowDown.width,
                          panel.height, kPanelText);
  if (textHeight <= panel.height) return;
  const int right = panel.x + panel.width + layout::kTextArrowRightOverhang;
  const int over = layout::kTextArrowVerticalOverhang;
  skin::DrawPicture(canvas, arrowState == 1 ? s.arrowUpHover : s.arrowUp, right - s.arrowUp.width,
                    panel.y - over);
  skin::DrawPicture(canvas, arrowState == 2 ? s.arrowDownHover : s.arrowDown,
                    right - s.arrowDown.width, panel.y + panel.height + over - s.arrowDown.height);
  skin::DrawPictureStretched(canvas, s.track, panel.x + panel.width - layout::kTextTrackInset,
                             panel.y + layout::kTextTrackMargin, s.track.width,
                             panel.height - 2 * layout::kTextTrackMargin);
}

// The ball, lit by the scene's light: a stand-in for the program's render.
void DrawBallStandIn(Canvas& canvas, Rgba colour) {
  const skin::Circle ball = skin::ColourBallOnScreen();
  const StageCamera& camera = kColourBallCamera;
  const Vec3 light = Normalize(kLightPosition);
  for (int y = static_cast<int>(ball.cy - ball.r) - 2; y <= static_cast<int>(ball.cy + ball.r) + 2;
       ++y) {
    for (int x = static_cast<int>(ball.cx - ball.r) - 2;
         x <= static_cast<int>(ball.cx + ball.r) + 2; ++x) {
      // Four rays per pixel for a smooth rim.
      Rgba sum{0, 0, 0, 0};
      for (int s = 0; s < 4; ++s) {
        const float sx = static_cast<float>(x) + 0.25f + 0.5f * static_cast<float>(s % 2);
        const float sy = static_cast<float>(y) + 0.25f + 0.5f * static_cast<float>(s / 2);
        const Vec3 d = PixelRay(camera, sx, sy);
        const Vec3 o = camera.eye;
        const float b = Dot(o, d);
        const float c = Dot(o, o) - kPreviewBallRadius * kPreviewBallRadius;
        const float disc = b * b - c;
        if (disc < 0.0f) continue;
        const float t = -b - std::sqrt(disc);
        const Vec3 n = Normalize({o.x + d.x * t, o.y + d.y * t, o.z + d.z * t});
        const float diffuse = std::max(0.0f, Dot(n, light));
        const Vec3 h = Normalize({light.x - d.x, light.y - d.y, light.z - d.z});
        const float specular = std::pow(std::max(0.0f, Dot(n, h)), 30.0f) * 0.5f;
        const Rgba lit = {colour.r * (0.12f + 0.88f * diffuse) + specular,
                          colour.g * (0.12f + 0.88f * diffuse) + specular,
                          colour.b * (0.12f + 0.88f * diffuse) + specular, 1.0f};
        sum = {sum.r + lit.r, sum.g + lit.g, sum.b + lit.b, sum.a + 0.25f};
      }
      if (sum.a <= 0.0f) continue;
      const float k = 0.25f / sum.a;
      canvas.Blend(x, y, {sum.r * k, sum.g * k, sum.b * k, 1.0f}, sum.a);
    }
  }
}

// The logo fitted into its box as the seller panel fits it.
void DrawLogo(Canvas& canvas, const Image& logo) {
  if (logo.texels.empty()) return;
  const layout::Rect at = FitLogo(logo.width, logo.height);
  skin::DrawPictureStretched(canvas, logo, at.x, at.y, at.width, at.height);
}

// --- The screens --------------------------------------------------------------------------------

struct SheetState {
  int activeTab = -1;
  // Workshop buttons drawn lit (usable); the others show the label's look.
  bool buildInReady = false;
  bool removeReady = false;
  bool sprayReady = false;
};

void DrawMenuBar(Canvas& canvas, const Skin& s, const SheetState& state) {
  const skin::FramePictures& f = s.frame;
  skin::DrawPicture(canvas, f.borderLeft, layout::kBorderLeft.x, layout::kBorderLeft.y);
  skin::DrawPicture(canvas, f.borderTop, layout::kBorderTop.x, layout::kBorderTop.y);
  skin::DrawPicture(canvas, f.borderRight, layout::kBorderRight.x, layout::kBorderRight.y);
  skin::DrawPicture(canvas, f.borderBottom, layout::kBorderBottom.x, layout::kBorderBottom.y);
  skin::DrawPicture(canvas, f.base, layout::kMenuBase.x, layout::kMenuBase.y);
  if (state.activeTab >= 0 && !s.labels[state.activeTab].texels.empty()) {
    const layout::Point at = layout::kLabels[state.activeTab];
    skin::DrawPicture(canvas, s.labels[state.activeTab], at.x, at.y);
  }
  if (state.activeTab >= 0) {
    const layout::Point at = layout::kTabs[state.activeTab];
    skin::DrawPicture(canvas, f.tabsLit[state.activeTab], at.x, at.y);
  }
  const auto lit = [&](WorkshopButton button) {
    const layout::Point at = skin::WorkshopButtonPlace(button);
    skin::DrawPicture(canvas, s.workshopButtons[static_cast<int>(button)].active, at.x, at.y);
  };
  if (state.activeTab == kTuneUp && state.buildInReady) lit(WorkshopButton::kBuildIn);
  if (state.activeTab == kTuneUp && state.removeReady) lit(WorkshopButton::kRemove);
  if (state.activeTab == kSpray && state.sprayReady) lit(WorkshopButton::kSpray);
}

void DrawStatistics(Canvas& canvas, const Lettering& lettering) {
  lettering.Draw(canvas, MainFont(), "Frames: 60", 15, 15, kSellerText);
  lettering.Draw(canvas, MainFont(), "Vertices: 36378", 150, 15, kSellerText);
}

void DrawPointer(Canvas& canvas, const Image& pointer, int x, int y, int hotX, int hotY) {
  skin::DrawPicture(canvas, pointer, x - hotX, y - hotY);
}

void DrawTuneUp(Canvas& canvas, const Skin& s, const Lettering& lettering,
                const ReviewContent& content) {
  DrawList(canvas, lettering, s.list, {layout::kTuneUpCategoryList, &content.categories, 0, 1, 1});
  DrawList(canvas, lettering, s.list,
           {layout::kTuneUpSubcategoryList, &content.subcategories, 0, 0});
  DrawList(canvas, lettering, s.list, {layout::kTuneUpPartList, &content.parts, 0, 1});
  lettering.Draw(canvas, MessageFont(), "Teil wird eingebaut!", layout::kMessageLine.x,
                 layout::kMessageLine.y, kMessageText);
}

void DrawSpray(Canvas& canvas, const Skin& s, const Lettering& lettering,
               const ReviewContent& content) {
  DrawList(canvas, lettering, s.list, {layout::kSprayPartList, &content.installed, 0, 3, 2});
  DrawList(canvas, lettering, s.list, {layout::kSpraySubsetList, &content.subsets, 0, 1});
  // A picked red: 80, 25 and 20 percent.
  const int percents[3] = {80, 25, 20};
  for (int i = 0; i < 3; ++i) {
    lettering.Draw(canvas, MainFont(), std::to_string(percents[i]), layout::kColourPercents[i].x,
                   layout::kColourPercents[i].y, kListText);
    const Image& knob = s.colour.sliderKnob;
    const layout::Point at = layout::kColourSliders[i];
    skin::DrawPicture(
        canvas, knob,
        static_cast<int>(static_cast<float>(at.x) +
                         static_cast<float>(percents[i] * layout::kColourSliderLength) * 0.01f -
                         static_cast<float>(knob.width) * 0.5f),
        static_cast<int>(static_cast<float>(at.y) - static_cast<float>(knob.height) * 0.5f));
  }
  lettering.Draw(canvas, MainFont(), "Standardlack, glanz", layout::kFinishName.x,
                 layout::kFinishName.y, kListText);
  skin::DrawPicture(canvas, s.colour.arrowUp, layout::kFinishUpArrow.x, layout::kFinishUpArrow.y);
  skin::DrawPicture(canvas, s.colour.arrowDown, layout::kFinishDownArrow.x,
                    layout::kFinishDownArrow.y);
}

void DrawSeller(Canvas& canvas, const Skin& s, const Lettering& lettering,
                const ReviewContent& content) {
  DrawList(canvas, lettering, s.list, {layout::kSellerPartList, &content.installed, 0, 0, 2});
  lettering.Draw(canvas, InfoFont(), content.title, layout::kSellerTitle.x, layout::kSellerTitle.y,
                 kSellerText);
  DrawTextPanel(canvas, lettering, s.textBox, layout::kSellerDescription, InfoFont(),
                content.description, 0);
  lettering.Draw(canvas, InfoFont(), content.secondLine, layout::kSellerSecondLine.x,
                 layout::kSellerSecondLine.y, kSellerText);
  DrawLogo(canvas, content.logo);
  const layout::Rect picture = layout::kSellerPartPicture;
  if (!content.partPicture.texels.empty()) {
    skin::DrawPictureStretched(canvas, content.partPicture, picture.x, picture.y, picture.width,
                               picture.height);
  }
}

// --- The states of the buttons -----------------------------------------------------------------

struct StateCell {
  const char* caption;
  Image picture;
};

// The screen's pixels round a rectangle, with a margin, as far as the
// screen goes.
Image Crop(const Canvas& screen, int x, int y, int width, int height) {
  constexpr int kMargin = 6;
  const int x0 = std::max(0, x - kMargin), y0 = std::max(0, y - kMargin);
  const int x1 = std::min(screen.Width(), x + width + kMargin);
  const int y1 = std::min(screen.Height(), y + height + kMargin);
  return skin::CutPicture(screen, x0, y0, x1 - x0, y1 - y0);
}

// A hit mask on a checkerboard: the texels a click counts on in their own
// colour, the rest shows the board.
Image MaskCell(const Image& mask) {
  constexpr int kMargin = 6;
  Canvas canvas(mask.width + 2 * kMargin, mask.height + 2 * kMargin);
  canvas.Paint([](float x, float y) {
    const bool dark = (static_cast<int>(x / 4.0f) + static_cast<int>(y / 4.0f)) % 2 == 0;
    return dark ? Rgb(0.30f, 0.30f, 0.32f) : Rgb(0.42f, 0.42f, 0.44f);
  });
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      const uint32_t texel = mask.texels[static_cast<size_t>(y) * mask.width + x];
      if ((texel >> 24) > 200)
        canvas.Set(x + kMargin, y + kMargin, RgbaFromArgb(texel | 0xFF000000u));
    }
  }
  return skin::WholePicture(canvas);
}

// The states of one button at its place: what the screen shows without it,
// its hit mask and each picture drawn over that.
void AddButtonStates(std::vector<StateCell>* cells, const Canvas& idleScreen, layout::Point at,
                     const Image& mask,
                     const std::vector<std::pair<const char*, const Image*>>& lit,
                     const char* idleCaption) {
  cells->push_back({idleCaption, Crop(idleScreen, at.x, at.y, mask.width, mask.height)});
  cells->push_back({"mask", MaskCell(mask)});
  for (const auto& [caption, picture] : lit) {
    Canvas screen = idleScreen;
    skin::DrawPicture(screen, *picture, at.x, at.y);
    cells->push_back({caption, Crop(screen, at.x, at.y, mask.width, mask.height)});
  }
}

// The sheet: the screen on top, the state cells below it in rows.
Image ComposeSheet(const Canvas& screen, const Lettering& lettering,
                   const std::vector<StateCell>& cells) {
  constexpr int kGap = 14;
  constexpr int kCaptionRoom = 20;
  struct Spot {
    int x, y;
  };
  std::vector<Spot> spots;
  int x = kGap, y = skin::kScreenHeight + kGap, rowHeight = 0;
  for (const StateCell& cell : cells) {
    const int width =
        std::max(cell.picture.width, lettering.Width(skin::CaptionFont(), cell.caption));
    if (x + width > skin::kScreenWidth - kGap && x > kGap) {
      x = kGap;
      y += rowHeight + kCaptionRoom + kGap;
      rowHeight = 0;
    }
    spots.push_back({x, y});
    x += width + kGap;
    rowHeight = std::max(rowHeight, cell.picture.height);
  }
  const int height = y + rowHeight + kCaptionRoom + kGap;
  Canvas sheet(skin::kScreenWidth, height, Rgb(0.10f, 0.10f, 0.11f));
  for (int row = 0; row < skin::kScreenHeight; ++row) {
    for (int column = 0; column < skin::kScreenWidth; ++column)
      sheet.Set(column, row, screen.At(column, row));
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    skin::CopyPicture(sheet, cells[i].picture, spots[i].x, spots[i].y);
    lettering.Draw(sheet, skin::CaptionFont(), cells[i].caption, spots[i].x,
                   spots[i].y + cells[i].picture.height + 5, skin::kCaption);
  }
  return skin::WholePicture(sheet);
}

}  // namespace

layout::Rect FitLogo(int width, int height) {
  int w = width, h = height;
  if (w > layout::kSellerLogoFitWidth) {
    h = h * layout::kSellerLogoFitWidth / w;
    w = layout::kSellerLogoFitWidth;
  }
  if (h > layout::kSellerLogoFitHeight) {
    w = w * layout::kSellerLogoFitHeight / h;
    h = layout::kSellerLogoFitHeight;
  }
  const layout::Rect box = layout::kSellerLogoBox;
  return {box.x + (box.width - w) / 2, box.y + (box.height - h) / 2, w, h};
}

std::vector<TextStyle> ReviewFonts() {
  return {MainFont(), InfoFont(), TextBoxFont(), MessageFont()};
}

ReviewContent LoadReviewContent(const std::string& root) {
  ReviewContent content;
  const auto load = [&](const std::string& relative, Image* image) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(root + "/" + relative, &bytes)) DecodeImage(bytes, image);
  };
  load("gfx/env/mainBG.dds", &content.background);
  load("gfx/gui/gui_Spray_modelframe.dds", &content.modelFrame);
  std::error_code ec;
  std::set<std::string> logoNames;  // sorted: the folder's order may change
  for (const auto& entry : std::filesystem::directory_iterator(root + "/data/logos", ec)) {
    if (entry.path().extension() == ".dds") logoNames.insert(entry.path().filename().string());
  }
  for (const std::string& name : logoNames) {
    Image logo;
    load("data/logos/" + name, &logo);
    if (!logo.texels.empty() && (logo.width != layout::kSellerLogoFitWidth ||
                                 logo.height != layout::kSellerLogoFitHeight)) {
      content.oddLogos.push_back(std::move(logo));
    }
  }
  DataStore store;
  if (!LoadDataStore(root + "/data/firstData.khb", store)) return content;
  // The lists as the screens fill them, near enough for judging the skin:
  // category names, the first category's subcategories and their first
  // parts, and every part for the installed-part lists.
  const CatalogueNode* firstWithSubcategories = nullptr;
  const CatalogueNode* seller = nullptr;
  for (const CatalogueNode* c = store.first; c; c = c->next) {
    content.categories.push_back(c->name);
    std::vector<const CatalogueNode*> items;
    for (const CatalogueNode* child = c->firstChild; child; child = child->next) {
      if (child->type == NodeType::kItem) {
        items.push_back(child);
        continue;
      }
      if (!firstWithSubcategories) firstWithSubcategories = c;
      for (const CatalogueNode* item = child->firstChild; item; item = item->next)
        items.push_back(item);
    }
    for (const CatalogueNode* item : items) {
      if (content.installed.size() < 12) content.installed.push_back(item->name);
      // The tank: a part with a long description and a picture worth seeing.
      if (!seller && item->record && !item->record->text4.empty() && item->id > 0x00040000) {
        seller = item;
      }
    }
  }
  if (firstWithSubcategories) {
    for (const CatalogueNode* sub = firstWithSubcategories->firstChild; sub; sub = sub->next) {
      content.subcategories.push_back(sub->name);
      if (content.parts.empty()) {
        for (const CatalogueNode* item = sub->firstChild; item; item = item->next)
          content.parts.push_back(item->name);
      }
    }
  }
  content.subsets = {"<komplettes Bauteil>", "Subset 1", "Subset 2", "Subset 3"};
  if (seller) {
    content.title = seller->record->text1;
    content.secondLine = seller->record->text2;
    content.description = seller->record->text4;
    char picture[64];
    std::snprintf(picture, sizeof picture, "data/images/%06X.khi", seller->id & 0xFFFFFFu);
    load(picture, &content.partPicture);
    load("data/logos/" + seller->record->text5 + ".dds", &content.logo);
  }
  return content;
}

std::vector<ReviewSheet> MakeReviewSheets(const Skin& s, const Lettering& lettering,
                                          const ReviewContent& content) {
  std::vector<ReviewSheet> sheets;
  for (int tab = 0; tab < layout::kTabCount; ++tab) {
    Canvas screen(skin::kScreenWidth, skin::kScreenHeight, Rgb(0, 0, 0));
    const Image& backdrop = tab == kTuneUp && !content.tuneUpView.texels.empty()
                                ? content.tuneUpView
                                : content.background;
    if (!backdrop.texels.empty()) skin::DrawPicture(screen, backdrop, 0, 0);
    if (tab == kSpray) {
      if (!content.sprayPreview.texels.empty()) {
        skin::DrawPicture(screen, content.sprayPreview, layout::kSprayPreview.x,
                          layout::kSprayPreview.y);
      }
      if (!content.modelFrame.texels.empty()) {
        skin::DrawPicture(screen, content.modelFrame, layout::kModelFrame.x, layout::kModelFrame.y);
      }
      DrawBallStandIn(screen, Rgb(0.80f, 0.25f, 0.20f));
    }
    SheetState state;
    state.activeTab = tab == kAccount ? -1 : tab;
    state.buildInReady = true;
    state.sprayReady = true;

    // The button strip starts from the screen as it is before the buttons.
    Canvas idle = screen;
    DrawMenuBar(idle, s, {state.activeTab, false, false, false});
    std::vector<StateCell> cells;
    const int tabShown = tab == kAccount ? kAccount : tab;
    {
      // A tab idle on the base, and lit; for the Account tab only idle, as it
      // stays disabled.
      Canvas base = screen;
      DrawMenuBar(base, s, {-1, false, false, false});
      std::vector<std::pair<const char*, const Image*>> lit;
      if (tab != kAccount) lit.push_back({"hover / active", &s.frame.tabsLit[tabShown]});
      AddButtonStates(&cells, base, layout::kTabs[tabShown], s.frame.tabMasks[tabShown], lit,
                      "idle");
    }
    const auto addWorkshopButton = [&](WorkshopButton button) {
      const auto& pictures = s.workshopButtons[static_cast<int>(button)];
      AddButtonStates(&cells, idle, skin::WorkshopButtonPlace(button), pictures.normal,
                      {{"hover", &pictures.hover}, {"ready", &pictures.active}}, "unavailable");
    };
    if (tab == kTuneUp) {
      addWorkshopButton(WorkshopButton::kBuildIn);
      addWorkshopButton(WorkshopButton::kRemove);
    }
    if (tab == kSpray) addWorkshopButton(WorkshopButton::kSpray);
    if (tab == kSeller) {
      Canvas labelled = screen;
      DrawMenuBar(labelled, s, state);
      const layout::Rect box = layout::kSellerLogoBox;
      for (const Image& logo : content.oddLogos) {
        Canvas fitted = labelled;
        DrawLogo(fitted, logo);
        cells.push_back({"fitted logo", Crop(fitted, box.x, box.y, box.width, box.height)});
      }
    }
    if (tab == kOptions || tab == kAccount || tab == kHelp || tab == kInfo) {
      AddButtonStates(&cells, idle, layout::kTurnOffButton, s.frame.turnOff,
                      {{"hover", &s.frame.turnOffLit}}, "idle");
    }

    DrawMenuBar(screen, s, state);
    switch (tab) {
      case kTuneUp:
        DrawTuneUp(screen, s, lettering, content);
        break;
      case kSpray:
        DrawSpray(screen, s, lettering, content);
        break;
      case kSeller:
        DrawSeller(screen, s, lettering, content);
        break;
      case kHelp:
        DrawTextPanel(screen, lettering, s.textBox, layout::kTextPanel, TextBoxFont(), kHelpSample,
                      1);
        break;
      case kInfo:
        DrawTextPanel(screen, lettering, s.textBox, layout::kTextPanel, TextBoxFont(), kAboutSample,
                      2);
        break;
      default:
        break;
    }
    DrawStatistics(screen, lettering);
    if (tab == kSpray) {
      const layout::Point palette = layout::kPaletteOrigin;
      DrawPointer(screen, s.pointers.colourPick, palette.x + 30, palette.y + 22, 5, 5);
    } else {
      DrawPointer(screen, s.pointers.normal, 640, 420, 6, 2);
    }

    sheets.push_back(
        {std::string("skin_") + kSheetNames[tab] + ".png", ComposeSheet(screen, lettering, cells)});
  }
  return sheets;
}

}  // namespace kbh
