#include "tools/workshop/skin_frame.hpp"

#include <algorithm>
#include <cmath>

#include "scene/stage.hpp"
#include "tools/workshop/moped_parts.hpp"
#include "tools/workshop/skin_kit.hpp"

namespace kbh::skin {

namespace {

constexpr float kPi = 3.14159265f;

// The frame's steel bars: solid to here, then a short shadow onto the scene.
constexpr int kLeftBar = 9;
constexpr int kRightBar = 1013;
constexpr int kTopBar = 7;
constexpr int kPanelTopRow = layout::kMenuBase.y;
constexpr int kBottomRim = 764;

Rgba BarSteel(float across, float x, float y) {
  const float streak =
      0.93f + 0.07f * Grain(static_cast<int>(x / 3.0f), static_cast<int>(y / 9.0f), 31);
  return Scaled(Mix(Rgb(0.09f, 0.095f, 0.10f), Rgb(0.30f, 0.31f, 0.33f), across), streak);
}

// The bars left and right of rows y0 to y1, each with its shadow inwards.
void PaintSideBars(Canvas& canvas, float y0, float y1) {
  constexpr float left = kLeftBar;
  constexpr float right = kRightBar;
  constexpr float w = skin::kScreenWidth;
  canvas.Fill({RectContour(0.0f, y0, left, y1)},
              [](float x, float y) { return BarSteel(x / kLeftBar, x, y); });
  canvas.Fill({RectContour(left - 1.0f, y0, left, y1)}, Rgba{1, 1, 1, 0.22f});
  canvas.Fill({RectContour(left, y0, left + 4.0f, y1)}, [](float x, float) {
    return Rgba{0, 0, 0, 0.45f * (1.0f - (x - kLeftBar) / 4.0f)};
  });
  canvas.Fill({RectContour(right, y0, w, y1)},
              [](float x, float y) { return BarSteel((w - x) / (w - kRightBar), x, y); });
  canvas.Fill({RectContour(right, y0, right + 1.0f, y1)}, Rgba{1, 1, 1, 0.22f});
  canvas.Fill({RectContour(right - 4.0f, y0, right, y1)}, [](float x, float) {
    return Rgba{0, 0, 0, 0.45f * (1.0f - (kRightBar - x) / 4.0f)};
  });
}

void PaintTopBar(Canvas& canvas) {
  constexpr float w = skin::kScreenWidth;
  canvas.Fill({RectContour(0.0f, 0.0f, w, kTopBar)},
              [](float x, float y) { return BarSteel(y / kTopBar, x, y); });
  canvas.Fill({RectContour(kLeftBar - 1.0f, kTopBar - 1.0f, kRightBar + 1.0f, kTopBar)},
              Rgba{1, 1, 1, 0.22f});
  canvas.Fill({RectContour(kLeftBar, kTopBar, kRightBar, kTopBorderHeight)}, [](float, float y) {
    return Rgba{0, 0, 0, 0.45f * (1.0f - (y - kTopBar) / (kTopBorderHeight - kTopBar))};
  });
}

// A recess in the steel for keys to sit in.
void PaintRail(Canvas& canvas, float x0, float y0, float x1, float y1, float radius) {
  canvas.Fill({RoundedRectContour(x0, y0, x1, y1 + 1.0f, radius)}, Rgba{1, 1, 1, 0.12f});
  canvas.Fill({RoundedRectContour(x0, y0, x1, y1, radius)}, [=](float x, float y) {
    const float t = Clamp01((y - y0) / (y1 - y0));
    const float streak = 0.95f + 0.05f * Grain(static_cast<int>(x / 7.0f), static_cast<int>(y), 41);
    return Scaled(Mix(Rgb(0.075f, 0.08f, 0.085f), Rgb(0.115f, 0.12f, 0.13f), t), streak);
  });
  canvas.Fill({RectContour(x0 + radius, y0, x1 - radius, y0 + 2.0f)}, Rgba{0, 0, 0, 0.5f});
}

enum class TabState { kIdle, kLit };

// One tab as a key in its rail, its caption centred. The tab sits at place
// on the screen; the canvas's top-left pixel is the screen's origin pixel,
// so that the base and the tab's own pictures get the same brushed grain.
void PaintTab(Canvas& canvas, const Lettering& lettering, const TabLook& look, bool disabled,
              layout::Point place, layout::Point origin, TabState state) {
  const float x = static_cast<float>(place.x - origin.x);
  const float y = static_cast<float>(place.y - origin.y);
  const float w = static_cast<float>(look.width), h = static_cast<float>(look.height);
  const float radius = look.large ? 4.0f : 3.0f;
  const Contour plate = RoundedRectContour(x, y, x + w, y + h, radius);
  const bool lit = state == TabState::kLit;
  const Rgba top = lit ? Rgb(0.42f, 0.43f, 0.45f) : Rgb(0.225f, 0.23f, 0.245f);
  const Rgba bottom = lit ? Rgb(0.25f, 0.26f, 0.28f) : Rgb(0.15f, 0.155f, 0.165f);
  const PaintFunction metal =
      BrushedMetal(top, bottom, static_cast<float>(place.y), static_cast<float>(place.y) + h, 43);
  const float dx = static_cast<float>(origin.x), dy = static_cast<float>(origin.y);
  canvas.Fill({plate}, [&](float px, float py) { return metal(px + dx, py + dy); });
  // Edge light along the top, a dark line along the bottom.
  canvas.Fill({RectContour(x + radius, y, x + w - radius, y + 1.0f)},
              Rgba{1, 1, 1, lit ? 0.35f : 0.16f});
  canvas.Fill({RectContour(x + radius, y + h - 1.0f, x + w - radius, y + h)}, Rgba{0, 0, 0, 0.45f});
  const TextStyle font = look.large ? TabFont() : SmallTabFont();
  const int captionY = static_cast<int>(y) + (look.large ? 5 : 2);
  const int centre = static_cast<int>(x + w / 2.0f);
  if (lit) {
    // A lamp strip under the caption, as on the workshop's machines.
    const float inset = look.large ? 12.0f : 8.0f;
    const float ledTop = y + h - (look.large ? 6.0f : 4.0f);
    const float ledBottom = ledTop + (look.large ? 2.5f : 1.5f);
    canvas.Fill({RoundedRectContour(x + inset - 3.0f, ledTop - 2.0f, x + w - inset + 3.0f,
                                    ledBottom + 2.0f, 2.5f)},
                Rgba{kAccentLit.r, kAccentLit.g, kAccentLit.b, 0.25f});
    canvas.Fill({RoundedRectContour(x + inset, ledTop, x + w - inset, ledBottom, 1.0f)},
                kAccentLit);
    AddCaptionCentred(canvas, lettering, font, look.caption, centre, captionY, kWhite);
  } else {
    AddCaptionCentred(canvas, lettering, font, look.caption, centre, captionY,
                      disabled ? kCaptionDim : kCaptionIdle);
  }
}

// The power symbol: a ring open at the top and a bar through the gap.
Path2 PowerSymbol(float cx, float cy, float r, float pen) {
  std::vector<Vec2> arc;
  for (int i = 0; i <= 24; ++i) {
    const float a = -0.5f * kPi + 0.65f + (2.0f * kPi - 1.3f) * static_cast<float>(i) / 24.0f;
    arc.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  Path2 symbol = StrokePolyline(arc, pen);
  for (Contour& c : StrokePolyline({{cx, cy - r - 1.0f}, {cx, cy - 0.5f}}, pen))
    symbol.push_back(c);
  return symbol;
}

PushButton TurnOffButton(float x, float y) {
  const float half = kTurnOffSize / 2.0f;
  return {x + half,
          y + half,
          11.0f,
          8.5f,
          Rgb(0.88f, 0.16f, 0.12f),
          PowerSymbol(x + half, y + half, 4.2f, 1.7f),
          0.7f};
}

Image TabPicture(const Lettering& lettering, const TabLook& look, layout::Point place,
                 bool disabled, TabState state, bool mask) {
  Canvas canvas(look.width, look.height);
  PaintTab(canvas, lettering, look, disabled, place, place, state);
  if (mask) HardenAlpha(canvas);
  return WholePicture(canvas);
}

Image BottomNameplate(const Lettering& lettering) {
  const int w = layout::kBorderRight.x - layout::kBorderBottom.x;
  const int h = kScreenHeight - layout::kBorderBottom.y;
  Canvas canvas(w, h);
  const Contour plate = RoundedRectContour(0.5f, 0.5f, w - 0.5f, h + 4.0f, 3.0f);
  canvas.Fill({plate}, BrushedMetal(Rgb(0.50f, 0.51f, 0.53f), Rgb(0.30f, 0.31f, 0.33f), 0.0f,
                                    static_cast<float>(h), 47));
  canvas.Fill({RectContour(3.0f, 0.5f, w - 3.0f, 1.5f)}, Rgba{1, 1, 1, 0.35f});
  const TextStyle font = SmallCaptionFont();
  const char* text = "3D-KOLBENHOF  \xB7  MOPED-WERKSTATT";
  const int x = (w - lettering.Width(font, text)) / 2;
  lettering.Draw(canvas, font, text, x, 3, Rgba{1, 1, 1, 0.3f});
  lettering.Draw(canvas, font, text, x, 2, Rgb(0.11f, 0.11f, 0.12f));
  AddScrew(canvas, 8.0f, 7.5f, 2.6f);
  AddScrew(canvas, w - 8.0f, 7.5f, 2.6f);
  return WholePicture(canvas);
}

}  // namespace

const std::array<TabLook, layout::kTabCount>& TabLooks() {
  // The three screen tabs fill the rail from their places with the same
  // gap; the small ones sit in two rows, staggered like bricks.
  static const std::array<TabLook, layout::kTabCount> looks{{
      {112, 28, "TuneUp", true},
      {137, 28, "Spray", true},
      {137, 28, "H\xE4ndler", true},
      {60, 18, "Optionen", false},
      {46, 18, "Hilfe", false},
      {60, 18, "Konto", false},
      {46, 18, "Info", false},
  }};
  return looks;
}

Circle ColourBallOnScreen() {
  // The silhouette of a sphere in perspective is not quite a circle: take
  // the box round the projected surface and the circle round that box.
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (int i = 0; i < 96; ++i) {
    for (int j = 0; j <= 48; ++j) {
      const float theta = 2.0f * kPi * static_cast<float>(i) / 96.0f;
      const float phi = kPi * static_cast<float>(j) / 48.0f;
      const Vec3 p{kPreviewBallRadius * std::sin(phi) * std::cos(theta),
                   kPreviewBallRadius * std::cos(phi),
                   kPreviewBallRadius * std::sin(phi) * std::sin(theta)};
      Vec2 s;
      if (!ProjectToScreen(kColourBallCamera, MatrixIdentity(), p, &s)) continue;
      x0 = std::min(x0, s.x), x1 = std::max(x1, s.x);
      y0 = std::min(y0, s.y), y1 = std::max(y1, s.y);
    }
  }
  return {(x0 + x1) * 0.5f, (y0 + y1) * 0.5f, std::max(x1 - x0, y1 - y0) * 0.5f};
}

Circle BaseBallHole() {
  const Circle ball = ColourBallOnScreen();
  return {ball.cx, ball.cy, ball.r + 4.0f};
}

namespace {

constexpr int kAccount = 5;

// The console under the lower part of the screen: the tab rail with the
// workshop's name, the idle tabs and quit button, the frame's bars round
// it, and holes where the nameplate and the colour ball show through.
Image MakeBase(const Lettering& lettering) {
  const auto& looks = TabLooks();
  Canvas base(kScreenWidth, kScreenHeight);
  const float top = kPanelTopRow;
  base.Fill({RectContour(0.0f, top, kScreenWidth, kScreenHeight)},
            [](float x, float y) { return PanelSurface(x, y); });
  // The lip where the console meets the hall.
  base.Fill({RectContour(0.0f, top, kScreenWidth, top + 1.0f)}, Rgba{0, 0, 0, 0.7f});
  base.Fill({RectContour(0.0f, top + 1.0f, kScreenWidth, top + 2.0f)}, Rgba{1, 1, 1, 0.2f});
  // The rail of the screen tabs, with the name of the workshop at its left.
  const int tabTop = layout::kTabs[0].y;
  PaintRail(base, layout::kBorderTop.x, tabTop - 2.0f, layout::kBorderRight.x,
            tabTop + looks[0].height + 3.0f, 3.0f);
  {
    const TextStyle font = WordmarkFont();
    const char* name = "3D-Kolbenhof";
    const int x = (layout::kBorderTop.x + layout::kTabs[0].x - lettering.Width(font, name)) / 2;
    lettering.Draw(base, font, name, x + 1, tabTop + 5, Rgba{0, 0, 0, 0.7f});
    lettering.Draw(base, font, name, x, tabTop + 4, [](float, float y) {
      return Mix(Rgb(1.0f, 0.96f, 0.86f), Rgb(0.86f, 0.66f, 0.38f),
                 Clamp01((y - layout::kTabs[0].y - 7.0f) / 14.0f));
    });
  }
  // The rail of the small tabs and the quit button in the lower left corner.
  {
    const float x1 = static_cast<float>(layout::kTabs[6].x + looks[6].width) + 5.0f;
    PaintRail(base, layout::kBorderTop.x, layout::kTabs[3].y - 5.0f, x1, kBottomRim - 1.0f, 4.0f);
  }
  PaintSideBars(base, top, kScreenHeight);
  base.Fill({RectContour(0.0f, kBottomRim, kScreenWidth, kScreenHeight)},
            [](float x, float y) { return BarSteel(0.4f, x, y); });
  base.Fill({RectContour(kLeftBar, kBottomRim, kRightBar, kBottomRim + 1.0f)},
            Rgba{1, 1, 1, 0.12f});
  for (int i = 0; i < layout::kTabCount; ++i) {
    PaintTab(base, lettering, looks[i], i == kAccount, layout::kTabs[i], {0, 0}, TabState::kIdle);
  }
  AddPushButton(base,
                TurnOffButton(static_cast<float>(layout::kTurnOffButton.x),
                              static_cast<float>(layout::kTurnOffButton.y)),
                ButtonLight::kOff);
  for (const float y : {572.0f, 742.0f})
    AddScrew(base, 999.0f, y, 3.5f);
  base.Erase({RectContour(layout::kBorderBottom.x, layout::kBorderBottom.y, layout::kBorderRight.x,
                          kScreenHeight)});
  const Circle hole = BaseBallHole();
  base.Erase({EllipseContour(hole.cx, hole.cy, hole.r, hole.r, 96)});
  return CutPicture(base, 0, kPanelTopRow, kScreenWidth, kScreenHeight - kPanelTopRow);
}

}  // namespace

FramePictures MakeFramePictures(const Lettering& lettering) {
  FramePictures pictures;
  {
    Canvas frame(kScreenWidth, kScreenHeight);
    PaintSideBars(frame, 0.0f, kScreenHeight);
    PaintTopBar(frame);
    pictures.borderLeft = CutPicture(frame, 0, 0, layout::kBorderTop.x, kScreenHeight);
    pictures.borderTop =
        CutPicture(frame, layout::kBorderTop.x, 0, layout::kBorderRight.x - layout::kBorderTop.x,
                   kTopBorderHeight);
    pictures.borderRight = CutPicture(frame, layout::kBorderRight.x, 0,
                                      kScreenWidth - layout::kBorderRight.x, kScreenHeight);
  }
  pictures.borderBottom = BottomNameplate(lettering);
  pictures.base = MakeBase(lettering);

  const auto& looks = TabLooks();
  for (int i = 0; i < layout::kTabCount; ++i) {
    pictures.tabMasks[i] =
        TabPicture(lettering, looks[i], layout::kTabs[i], i == kAccount, TabState::kIdle, true);
    pictures.tabsLit[i] =
        TabPicture(lettering, looks[i], layout::kTabs[i], false, TabState::kLit, false);
  }
  Canvas idle(kTurnOffSize, kTurnOffSize);
  AddPushButton(idle, TurnOffButton(0.0f, 0.0f), ButtonLight::kOff, false);
  HardenAlpha(idle);
  pictures.turnOff = WholePicture(idle);
  Canvas lit(kTurnOffSize, kTurnOffSize);
  AddPushButton(lit, TurnOffButton(0.0f, 0.0f), ButtonLight::kHover);
  pictures.turnOffLit = WholePicture(lit);
  return pictures;
}

}  // namespace kbh::skin
