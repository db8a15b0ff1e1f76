#include "tools/workshop/skin_labels.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/workshop/skin_controls.hpp"
#include "tools/workshop/skin_frame.hpp"
#include "tools/workshop/skin_kit.hpp"

namespace kbh::skin {

namespace {

constexpr int kTuneUp = 0, kSpray = 1, kSeller = 2, kOptions = 3, kHelp = 4, kInfo = 6;

float F(int v) {
  return static_cast<float>(v);
}

// The display behind a list: room for its rows and for the scroll bar that
// hangs out of its box on the right.
void AddListWell(Canvas& canvas, const layout::ListPlace& list) {
  const float x = F(list.at.x), y = F(list.at.y);
  const float bar = layout::kScrollBarVerticalOverhang;
  AddWell(canvas, x - 4.0f, y - bar - 2.0f,
          x + F(list.width + layout::kScrollBarRightOverhang) + 2.0f,
          y + F(layout::kListHeight) + bar + 2.0f, 3.0f);
}

// The display behind a scrolling text panel and its arrow column.
void AddTextWell(Canvas& canvas, const layout::Rect& panel) {
  const float over = layout::kTextArrowVerticalOverhang;
  AddWell(canvas, F(panel.x) - 7.0f, F(panel.y) - over - 4.0f,
          F(panel.x + panel.width + layout::kTextArrowRightOverhang) + 5.0f,
          F(panel.y + panel.height) + over + 3.0f, 4.0f);
}

// A list's caption, with its step number, just above its display.
void AddListCaption(Canvas& canvas, const Lettering& lettering, const layout::ListPlace& list,
                    int step, const char* caption) {
  const int y = list.at.y - 17;
  int x = list.at.x;
  if (step > 0) {
    AddStepBadge(canvas, lettering, step, x, y);
    x += 15;
  }
  AddCaption(canvas, lettering, CaptionFont(), caption, x, y + 1);
}

// Paints the console's own steel over the base's window for the ball, on
// the screens that do not show the ball.
void CoverBallHole(Canvas& canvas) {
  const Circle hole = BaseBallHole();
  canvas.Fill({EllipseContour(hole.cx, hole.cy, hole.r + 2.0f, hole.r + 2.0f, 96)},
              [](float x, float y) { return PanelSurface(x, y); });
}

void AddUnavailableButton(Canvas& canvas, WorkshopButton button) {
  const layout::Point at = WorkshopButtonPlace(button);
  DrawPicture(canvas, MakeWorkshopButton(button).unavailable, at.x, at.y);
}

// The emblem and heading on the left of a text screen: a steel ring round
// dark glass, with the screen's symbol in it; symbol paints it round the
// centre it is given.
void AddScreenTitle(Canvas& canvas, const Lettering& lettering, const char* heading,
                    const std::function<void(float cx, float cy)>& symbol) {
  const float cx = F(layout::kTextPanel.x - 62), cy = F(layout::kTextPanel.y + 34);
  canvas.Fill({EllipseContour(cx, cy + 1.5f, 27.0f, 27.0f, 64)}, Rgba{0, 0, 0, 0.5f});
  canvas.Fill({EllipseContour(cx, cy, 26.0f, 26.0f, 64)}, [=](float x, float y) {
    const float t = Clamp01(((x - cx) * 0.4f + (y - cy)) / 52.0f + 0.5f);
    return Mix(Rgb(0.78f, 0.79f, 0.80f), Rgb(0.26f, 0.27f, 0.29f), t);
  });
  canvas.Fill({EllipseContour(cx, cy, 22.0f, 22.0f, 64)}, [=](float, float y) {
    return Mix(kGlassTop, kGlassBottom, Clamp01((y - cy + 22.0f) / 44.0f));
  });
  canvas.Fill({EllipseContour(cx, cy - 10.0f, 15.0f, 8.0f, 48)}, Rgba{1, 1, 1, 0.06f});
  symbol(cx, cy);
  AddCaptionCentred(canvas, lettering, HeadingFont(), heading, static_cast<int>(cx),
                    static_cast<int>(cy) + 34);
}

constexpr Rgba kEmblemSymbol{0.93f, 0.91f, 0.86f, 1.0f};

void AddGear(Canvas& canvas, float cx, float cy) {
  Contour teeth;
  for (int k = 0; k < 40; ++k) {
    const float a = 2.0f * 3.14159265f * F(k) / 40.0f;
    const float r = (k % 5 < 2) ? 15.0f : 11.5f;
    teeth.push_back({cx + std::cos(a) * r, cy + std::sin(a) * r});
  }
  canvas.Fill({teeth, Reversed(EllipseContour(cx, cy, 5.0f, 5.0f, 32))}, kEmblemSymbol);
}

void AddLetter(Canvas& canvas, const Lettering& lettering, const char* letter, float cx, float cy) {
  lettering.DrawCentred(canvas, EmblemFont(), letter, static_cast<int>(cx),
                        static_cast<int>(cy) - 17, kEmblemSymbol);
}

// --- The screens -------------------------------------------------------------------------------

void PaintTuneUp(Canvas& canvas, const Lettering& lettering) {
  CoverBallHole(canvas);
  AddListWell(canvas, layout::kTuneUpCategoryList);
  AddListWell(canvas, layout::kTuneUpSubcategoryList);
  AddListWell(canvas, layout::kTuneUpPartList);
  AddListCaption(canvas, lettering, layout::kTuneUpCategoryList, 1, "KATEGORIE");
  AddListCaption(canvas, lettering, layout::kTuneUpSubcategoryList, 2, "UNTERKATEGORIE");
  AddListCaption(canvas, lettering, layout::kTuneUpPartList, 3, "TEIL");

  AddUnavailableButton(canvas, WorkshopButton::kBuildIn);
  AddUnavailableButton(canvas, WorkshopButton::kRemove);
  const Circle buildIn = WorkshopButtonDisc(WorkshopButton::kBuildIn);
  const Circle remove = WorkshopButtonDisc(WorkshopButton::kRemove);
  const TextStyle font = CaptionFont();
  {
    const char* text = "EINBAUEN";
    const int width = 15 + lettering.Width(font, text);
    const int x = static_cast<int>(buildIn.cx) - width / 2;
    const int y = static_cast<int>(buildIn.cy + buildIn.r) + 5;
    AddStepBadge(canvas, lettering, 4, x, y - 1);
    AddCaption(canvas, lettering, font, text, x + 15, y);
  }
  AddCaptionCentred(canvas, lettering, font, "AUSBAUEN", static_cast<int>(remove.cx),
                    static_cast<int>(remove.cy + remove.r) + 5);

  // The status line: a display the red messages light up.
  const layout::Point status = layout::kMessageLine;
  AddCaption(canvas, lettering, font, "STATUS", status.x, status.y - 17);
  AddWell(canvas, F(status.x - 4), F(status.y - 5), 1000.0f, F(status.y + 32), 3.0f);
  const TextStyle hint = HintFont();
  const Rgba hintColour = Rgb(0.62f, 0.63f, 0.62f);
  lettering.Draw(canvas, hint, "Kategorie, Unterkategorie und Teil w\xE4hlen,", status.x,
                 status.y + 80, hintColour);
  lettering.Draw(canvas, hint, "dann mit dem gr\xFCnen Knopf einbauen.", status.x, status.y + 94,
                 hintColour);
  lettering.Draw(canvas, hint, "Der rote Knopf baut das Teil der Kategorie aus.", status.x,
                 status.y + 108, hintColour);
}

// The ball sits in a shallow round recess; inside it the window stays open.
void AddBallRecess(Canvas& canvas) {
  const Circle ball = ColourBallOnScreen();
  const float inner = ball.r + 1.5f;
  const float outer = BaseBallHole().r + 6.0f;
  const float cx = ball.cx, cy = ball.cy;
  canvas.Fill({EllipseContour(cx, cy, outer, outer, 96),
               Reversed(EllipseContour(cx, cy, inner, inner, 96))},
              [=](float x, float y) {
                const float d = std::hypot(x - cx, y - cy);
                // The far side of the recess catches the light, the near side
                // lies in shadow; the outer edge fades into the steel.
                const float facing = ((x - cx) * 0.45f + (y - cy)) / d;
                const float t = Clamp01((d - inner) / (outer - inner));
                const Rgba wall = Mix(Rgb(0.05f, 0.05f, 0.055f), Rgb(0.42f, 0.43f, 0.45f),
                                      Clamp01(0.5f + 0.5f * facing) * t);
                Rgba c = Mix(wall, PanelSurface(x, y), Clamp01((t - 0.6f) / 0.4f));
                c.a = 1.0f;
                return c;
              });
}

void PaintSpray(Canvas& canvas, const Lettering& lettering, const Image& palette) {
  AddBallRecess(canvas);
  AddListWell(canvas, layout::kSprayPartList);
  AddListWell(canvas, layout::kSpraySubsetList);
  AddListCaption(canvas, lettering, layout::kSprayPartList, 1, "BAUTEIL");
  // No room above the subset list: its caption stands at its top right.
  {
    const layout::ListPlace& list = layout::kSpraySubsetList;
    const int x = list.at.x + list.width + layout::kScrollBarRightOverhang + 8;
    AddStepBadge(canvas, lettering, 2, x, list.at.y - 2);
    AddCaption(canvas, lettering, CaptionFont(), "BEREICH", x + 15, list.at.y - 1);
  }

  // The mixer: a track per channel with the channel's ramp in its groove.
  const Rgba channels[3] = {Rgb(1.0f, 0.30f, 0.26f), Rgb(0.35f, 0.88f, 0.38f),
                            Rgb(0.40f, 0.58f, 1.0f)};
  const char* letters[3] = {"R", "G", "B"};
  for (int i = 0; i < 3; ++i) {
    const layout::Point at = layout::kColourSliders[i];
    const float x0 = F(at.x), x1 = F(at.x + layout::kColourSliderLength), y = F(at.y);
    AddGroove(canvas, x0 - 1.0f, y - 2.0f, x1 + 1.0f, y + 2.0f);
    const Rgba full = channels[i];
    canvas.Fill({RectContour(x0, y - 1.0f, x1, y + 1.0f)}, [=](float x, float) {
      return Scaled(full, 0.15f + 0.85f * Clamp01((x - x0) / (x1 - x0)));
    });
    AddCaption(canvas, lettering, CaptionFont(), letters[i], at.x - 13, at.y - 6, channels[i]);
  }

  // The finish: its name in a display, the two arrows in a recess beside it.
  const layout::Point name = layout::kFinishName;
  const layout::Point up = layout::kFinishUpArrow;
  AddWell(canvas, F(name.x - 6), F(name.y - 4), F(up.x - 3), F(name.y + 17), 3.0f);
  AddWell(canvas, F(up.x - 1), F(up.y - 1), F(up.x + 15), F(layout::kFinishDownArrow.y + 10), 2.0f);
  {
    const char* text =
        "OBERFL\xC4"
        "CHE";
    const int width = 15 + lettering.Width(CaptionFont(), text);
    const int x = name.x - 12 - width;
    AddStepBadge(canvas, lettering, 4, x, name.y);
    AddCaption(canvas, lettering, CaptionFont(), text, x + 15, name.y + 1);
  }

  // The palette, texel for texel where the colour selector reads it, in a
  // thin frame; its caption to the right.
  const layout::Point origin = layout::kPaletteOrigin;
  const float px0 = F(origin.x), py0 = F(origin.y);
  const float px1 = px0 + F(palette.width), py1 = py0 + F(palette.height);
  canvas.Fill({RectContour(px0 - 2.0f, py0 - 2.0f, px1 + 2.0f, py1 + 2.0f)}, Rgba{1, 1, 1, 0.18f});
  canvas.Fill({RectContour(px0 - 2.0f, py0 - 2.0f, px1 + 1.0f, py1 + 1.0f)},
              Rgb(0.02f, 0.02f, 0.025f));
  {
    const int x = static_cast<int>(px1) + 8;
    AddStepBadge(canvas, lettering, 3, x, origin.y + 1);
    AddCaption(canvas, lettering, CaptionFont(), "FARBE", x + 15, origin.y + 2);
    const TextStyle hint = HintFont();
    const Rgba hintColour = Rgb(0.62f, 0.63f, 0.62f);
    lettering.Draw(canvas, hint, "anklicken oder", x, origin.y + 18, hintColour);
    lettering.Draw(canvas, hint, "mit R, G, B", x, origin.y + 31, hintColour);
    lettering.Draw(canvas, hint, "mischen", x, origin.y + 44, hintColour);
  }

  AddUnavailableButton(canvas, WorkshopButton::kSpray);
  {
    const Circle spray = WorkshopButtonDisc(WorkshopButton::kSpray);
    const int x = static_cast<int>(spray.cx + spray.r) + 8;
    const int y = static_cast<int>(spray.cy) - 6;
    AddStepBadge(canvas, lettering, 5, x, y - 1);
    AddCaption(canvas, lettering, CaptionFont(), "LACKIEREN", x + 15, y);
  }
  CopyPicture(canvas, palette, origin.x, origin.y);
  // Whatever came near, the ball itself stays in view.
  const Circle ball = ColourBallOnScreen();
  canvas.Erase({EllipseContour(ball.cx, ball.cy, ball.r + 1.5f, ball.r + 1.5f, 96)});
}

void PaintSeller(Canvas& canvas, const Lettering& lettering) {
  // The data sheet over the hall: the part's title and description on the
  // left, its picture pinned at the top right.
  const layout::Rect description = layout::kSellerDescription;
  const layout::Rect picture = layout::kSellerPartPicture;
  const float left = F(description.x) - 16.0f;
  const float top = F(picture.y) - 16.0f;
  const float right = F(picture.x + picture.width) + 16.0f;
  const float pictureBottom = F(picture.y + picture.height) + 12.0f;
  const float textRight =
      F(description.x + description.width + layout::kTextArrowRightOverhang) + 14.0f;
  const float bottom = F(description.y + description.height) + 18.0f;
  const Path2 sheet = {RoundedRectContour(left, top, right, pictureBottom, 8.0f),
                       RoundedRectContour(left, top, textRight, bottom, 8.0f)};
  const Path2 outer = {
      RoundedRectContour(left - 2.0f, top - 2.0f, right + 2.0f, pictureBottom + 2.0f, 10.0f),
      RoundedRectContour(left - 2.0f, top - 2.0f, textRight + 2.0f, bottom + 2.0f, 10.0f)};
  for (const Contour& c : outer) {
    canvas.Fill({Translated(c, 0.0f, 3.0f)}, Rgba{0, 0, 0, 0.25f});
  }
  canvas.Fill(outer,
              BrushedMetal(Rgb(0.52f, 0.53f, 0.55f), Rgb(0.26f, 0.27f, 0.29f), top, bottom, 61));
  canvas.Erase(sheet);
  // Dark glass that lets the hall show faintly through.
  canvas.Fill(sheet, [=](float, float y) {
    const Rgba glass = Mix(Rgb(0.07f, 0.075f, 0.085f), Rgb(0.10f, 0.105f, 0.115f),
                           Clamp01((y - top) / (bottom - top)));
    return Rgba{glass.r, glass.g, glass.b, 0.9f};
  });
  AddCaption(canvas, lettering, CaptionFont(), "H\xC4NDLERINFORMATION", static_cast<int>(left) + 10,
             static_cast<int>(top) + 5);
  canvas.Fill({RectContour(left + 10.0f, top + 19.0f, F(picture.x) - 10.0f, top + 20.5f)}, kAccent);
  AddTextWell(canvas, description);
  // The picture's mount: a thin steel frame with a shadow, so that the
  // studio-grey picture stands off the dark glass.
  const float mx0 = F(picture.x) - 3.0f, my0 = F(picture.y) - 3.0f;
  const float mx1 = F(picture.x + picture.width) + 3.0f, my1 = F(picture.y + picture.height) + 3.0f;
  canvas.Fill({RoundedRectContour(mx0 + 1.0f, my0 + 3.0f, mx1 + 2.0f, my1 + 4.0f, 2.0f)},
              Rgba{0, 0, 0, 0.45f});
  canvas.Fill({RoundedRectContour(mx0, my0, mx1, my1, 2.0f)},
              BrushedMetal(Rgb(0.62f, 0.63f, 0.65f), Rgb(0.32f, 0.33f, 0.35f), my0, my1, 63));
  canvas.Fill({RectContour(F(picture.x), F(picture.y), F(picture.x + picture.width),
                           F(picture.y + picture.height))},
              Rgb(0.16f, 0.17f, 0.18f));

  // Below, in the console: the list, the offer line and the seller's logo.
  CoverBallHole(canvas);
  const layout::ListPlace& list = layout::kSellerPartList;
  AddListWell(canvas, list);
  AddListCaption(canvas, lettering, list, 0, "BAUTEIL");
  const layout::Point line = layout::kSellerSecondLine;
  AddCaption(canvas, lettering, CaptionFont(), "ANGEBOT", line.x, line.y - 17);
  AddWell(canvas, F(line.x - 6), F(line.y - 5), right, F(line.y + 19), 3.0f);
  const layout::Rect logo = layout::kSellerLogoBox;
  AddCaption(canvas, lettering, CaptionFont(), "H\xC4NDLER", logo.x, logo.y - 16);
  AddWell(canvas, F(logo.x - 6), F(logo.y - 5), F(logo.x + logo.width + 6),
          F(logo.y + logo.height + 5), 4.0f);
}

void PaintOptions(Canvas& canvas, const Lettering& lettering) {
  CoverBallHole(canvas);
  AddScreenTitle(canvas, lettering, "OPTIONEN",
                 [&](float cx, float cy) { AddGear(canvas, cx, cy); });
  const layout::Rect panel = layout::kTextPanel;
  AddWell(canvas, F(panel.x) - 7.0f, F(layout::kLabels[kOptions].y) + 4.0f,
          F(panel.x + panel.width + layout::kTextArrowRightOverhang) + 5.0f,
          F(panel.y + panel.height) + 11.0f, 4.0f);
  lettering.DrawInBox(canvas, HeadingFont(),
                      "In dieser Version gibt es noch nichts einzustellen.\n\n"
                      "Die Werkstatt zeigt immer 1024 x 768 Bildpunkte und wird "
                      "ganz mit der Maus bedient.",
                      panel.x, panel.y + 18, panel.width - 10, panel.height - 18, kWhite);
}

void PaintTextScreen(Canvas& canvas, const Lettering& lettering, const char* letter,
                     const char* heading) {
  CoverBallHole(canvas);
  AddScreenTitle(canvas, lettering, heading,
                 [&](float cx, float cy) { AddLetter(canvas, lettering, letter, cx, cy); });
  AddTextWell(canvas, layout::kTextPanel);
}

// The label picture from its place to the far corner of what was painted.
bool CutLabel(const Canvas& canvas, layout::Point at, Image* label, std::string* error) {
  int x0 = canvas.Width(), y0 = canvas.Height(), x1 = -1, y1 = -1;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.At(x, y).a <= 0.0f) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x);
      y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  if (x1 < 0) {
    *error = "a label picture is empty";
    return false;
  }
  if (x0 < at.x || y0 < at.y) {
    *error = "the label picture for (" + std::to_string(at.x) + ", " + std::to_string(at.y) +
             ") reaches out to (" + std::to_string(x0) + ", " + std::to_string(y0) + ")";
    return false;
  }
  *label = CutPicture(canvas, at.x, at.y, x1 + 1 - at.x, y1 + 1 - at.y);
  // Transparent parts or not, a label is drawn blended: keep its alpha.
  label->sourceFormat = FMT_A8R8G8B8;
  return true;
}

}  // namespace

bool MakeLabelPictures(const Lettering& lettering, const Image& palette,
                       std::array<Image, layout::kTabCount>* labels, std::string* error) {
  for (int screen : {kTuneUp, kSpray, kSeller, kOptions, kHelp, kInfo}) {
    Canvas canvas(kScreenWidth, kScreenHeight);
    switch (screen) {
      case kTuneUp:
        PaintTuneUp(canvas, lettering);
        break;
      case kSpray:
        PaintSpray(canvas, lettering, palette);
        break;
      case kSeller:
        PaintSeller(canvas, lettering);
        break;
      case kOptions:
        PaintOptions(canvas, lettering);
        break;
      case kHelp:
        PaintTextScreen(canvas, lettering, "?", "HILFE");
        break;
      case kInfo:
        PaintTextScreen(canvas, lettering, "i", "INFO");
        break;
    }
    if (!CutLabel(canvas, layout::kLabels[screen], &(*labels)[screen], error)) return false;
  }
  return true;
}

}  // namespace kbh::skin
