#include "tools/workshop/skin_controls.hpp"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "tools/workshop/skin_kit.hpp"

namespace kbh::skin {

namespace {

constexpr int kListArrowSize = 14;
constexpr int kTextArrowWidth = 15;
constexpr int kTextArrowHeight = 23;
constexpr int kTrackLength = 8;  // stretched by the widgets; any length does

// The workshop buttons: a disc with room for its halo.
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 56;
constexpr float kButtonCentreX = 32.0f;
constexpr float kButtonCentreY = 28.0f;
constexpr float kButtonBezel = 25.0f;
constexpr float kButtonCap = 21.0f;

enum class Direction { kUp, kDown };

// A small key with a chevron: the arrows of lists and text panels.
Image ArrowKey(int width, int height, Direction direction, bool hover) {
  Canvas canvas(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const Contour plate = RoundedRectContour(0.0f, 0.0f, w, h, 2.5f);
  canvas.Fill({plate},
              hover
                  ? BrushedMetal(Rgb(0.44f, 0.45f, 0.47f), Rgb(0.28f, 0.29f, 0.31f), 0.0f, h, 51)
                  : BrushedMetal(Rgb(0.33f, 0.34f, 0.36f), Rgb(0.20f, 0.205f, 0.22f), 0.0f, h, 51));
  canvas.Fill({RectContour(2.0f, 0.0f, w - 2.0f, 1.0f)}, Rgba{1, 1, 1, hover ? 0.4f : 0.22f});
  canvas.Fill({RectContour(2.0f, h - 1.0f, w - 2.0f, h)}, Rgba{0, 0, 0, 0.5f});
  const float cx = w / 2.0f, cy = h / 2.0f;
  const float half = std::min(w, h) * 0.23f;
  const float rise = direction == Direction::kUp ? -half * 0.9f : half * 0.9f;
  const std::vector<Vec2> chevron = {
      {cx - half, cy - rise * 0.5f}, {cx, cy + rise * 0.5f}, {cx + half, cy - rise * 0.5f}};
  if (hover) canvas.Fill(StrokePolyline(chevron, 4.0f), Rgba{1.0f, 0.3f, 0.2f, 0.35f});
  canvas.Fill(StrokePolyline(chevron, 1.9f), hover ? kAccentLit : Rgb(0.84f, 0.84f, 0.82f));
  return WholePicture(canvas);
}

// The rail between two arrows: a dark slot down the middle, transparent at
// the sides so the glass of the list shows.
Image Track(int width) {
  Canvas canvas(width, kTrackLength);
  const float mid = static_cast<float>(width) / 2.0f;
  canvas.Fill({RectContour(mid - 2.5f, 0.0f, mid + 2.5f, kTrackLength)}, Rgb(0.20f, 0.21f, 0.22f));
  canvas.Fill({RectContour(mid - 1.5f, 0.0f, mid + 1.5f, kTrackLength)}, Rgb(0.02f, 0.02f, 0.025f));
  canvas.Fill({RectContour(mid + 1.5f, 0.0f, mid + 2.5f, kTrackLength)}, Rgb(0.36f, 0.37f, 0.38f));
  return WholePicture(canvas);
}

// The selection bar: lit red, as the lamps of the console. Opaque, and the
// same in every column, because the list stretches it to its width.
Image SelectionBar() {
  constexpr int kWidth = 16;
  const int rows = layout::kListRowHeight;
  Canvas canvas(kWidth, rows);
  canvas.Paint([=](float, float y) {
    const float t = y / static_cast<float>(rows);
    if (y < 1.0f) return Rgb(0.93f, 0.42f, 0.34f);
    if (y > rows - 1.0f) return Rgb(0.30f, 0.04f, 0.04f);
    return Mix(Rgb(0.76f, 0.16f, 0.13f), Rgb(0.48f, 0.07f, 0.06f), t);
  });
  return WholePicture(canvas);
}

Image SliderThumb() {
  Canvas canvas(kListArrowSize, 20);
  canvas.Fill({RoundedRectContour(0.0f, 0.0f, kListArrowSize, 20.0f, 2.5f)},
              BrushedMetal(Rgb(0.46f, 0.47f, 0.49f), Rgb(0.26f, 0.27f, 0.29f), 0.0f, 20.0f, 53));
  for (const float y : {7.0f, 10.0f, 13.0f}) {
    canvas.Fill({RectContour(3.5f, y, 10.5f, y + 1.0f)}, Rgb(0.08f, 0.08f, 0.09f));
    canvas.Fill({RectContour(3.5f, y + 1.0f, 10.5f, y + 1.5f)}, Rgba{1, 1, 1, 0.25f});
  }
  return WholePicture(canvas);
}

Path2 PlusSymbol(float cx, float cy) {
  return {RectContour(cx - 9.0f, cy - 2.6f, cx + 9.0f, cy + 2.6f),
          RectContour(cx - 2.6f, cy - 9.0f, cx + 2.6f, cy + 9.0f)};
}

Path2 MinusSymbol(float cx, float cy) {
  return {RectContour(cx - 9.0f, cy - 2.6f, cx + 9.0f, cy + 2.6f)};
}

// A spray can with a puff of paint from its nozzle.
Path2 SprayCanSymbol(float cx, float cy) {
  const float x = cx - 3.0f;
  Path2 can = {RoundedRectContour(x - 5.5f, cy - 2.5f, x + 5.5f, cy + 11.0f, 2.0f),
               RoundedRectContour(x - 3.5f, cy - 6.5f, x + 3.5f, cy - 2.5f, 1.2f),
               RectContour(x - 1.2f, cy - 9.5f, x + 1.8f, cy - 6.5f)};
  const Vec2 mist[] = {{x + 6.0f, cy - 9.0f},  {x + 9.0f, cy - 11.5f}, {x + 9.5f, cy - 7.0f},
                       {x + 12.5f, cy - 9.5f}, {x + 12.0f, cy - 4.5f}, {x + 13.5f, cy - 13.0f}};
  for (const Vec2 p : mist)
    can.push_back(EllipseContour(p.x, p.y, 1.3f, 1.3f, 16));
  return can;
}

PushButton WorkshopDisc(WorkshopButton button, float originX, float originY) {
  const float cx = originX + kButtonCentreX, cy = originY + kButtonCentreY;
  switch (button) {
    case WorkshopButton::kBuildIn:
      return {cx, cy, kButtonBezel, kButtonCap, Rgb(0.20f, 0.66f, 0.28f), PlusSymbol(cx, cy)};
    case WorkshopButton::kRemove:
      return {cx, cy, kButtonBezel, kButtonCap, Rgb(0.86f, 0.17f, 0.12f), MinusSymbol(cx, cy)};
    case WorkshopButton::kSpray:
    default:
      return {cx, cy, kButtonBezel, kButtonCap, Rgb(0.95f, 0.60f, 0.10f), SprayCanSymbol(cx, cy)};
  }
}

Image ButtonPicture(WorkshopButton button, ButtonLight light, bool mask) {
  Canvas canvas(kButtonWidth, kButtonHeight);
  AddPushButton(canvas, WorkshopDisc(button, 0.0f, 0.0f), light, !mask);
  if (mask) HardenAlpha(canvas);
  return WholePicture(canvas);
}

// The pointer's outline: a dark pen round a light body, and a soft shadow.
void PaintPointerShape(Canvas& canvas, const Path2& body, const std::vector<Vec2>& outline,
                       Rgba fill) {
  for (const auto& [dx, dy, alpha] : {std::tuple{1.0f, 1.5f, 0.22f}, {2.0f, 2.5f, 0.14f}}) {
    Path2 shadow;
    for (const Contour& c : body)
      shadow.push_back(Translated(c, dx, dy));
    canvas.Fill(shadow, Rgba{0, 0, 0, alpha});
  }
  canvas.Fill(body, fill);
  canvas.Fill(StrokePolyline(outline, 1.3f), Rgb(0.06f, 0.06f, 0.07f));
}

Image NormalPointer() {
  Canvas canvas(32, 32);
  // The tip inside texel (6, 2), the hot spot.
  const float x = 6.5f, y = 2.2f;
  const Contour arrow = {{x, y},
                         {x, y + 18.5f},
                         {x + 4.3f, y + 14.6f},
                         {x + 7.2f, y + 21.2f},
                         {x + 10.0f, y + 20.0f},
                         {x + 7.2f, y + 13.6f},
                         {x + 12.8f, y + 13.6f}};
  std::vector<Vec2> outline(arrow.begin(), arrow.end());
  outline.push_back(arrow.front());
  PaintPointerShape(canvas, {arrow}, outline, Rgb(0.98f, 0.97f, 0.93f));
  return WholePicture(canvas);
}

// An eyedropper pointing to the top left, its tip in texel (5, 5).
Image ColourPickPointer() {
  Canvas canvas(32, 32);
  const Vec2 tip{5.5f, 5.5f};
  // Distance along the dropper from the tip, and to its side.
  const auto at = [&](float along, float side) {
    return Vec2{tip.x + (along - side) * 0.7071f, tip.y + (along + side) * 0.7071f};
  };
  Contour bulb = {at(14.0f, 3.8f), at(21.0f, 3.8f)};
  for (int i = 1; i < 12; ++i) {
    const float a = 3.14159265f * static_cast<float>(i) / 12.0f;
    bulb.push_back(at(21.0f + 3.8f * std::sin(a), 3.8f * std::cos(a)));
  }
  bulb.push_back(at(21.0f, -3.8f));
  bulb.push_back(at(14.0f, -3.8f));
  const struct {
    Contour outline;
    Rgba colour;
  } pieces[] = {
      {{at(0.0f, 0.0f), at(3.0f, 1.6f), at(11.0f, 1.6f), at(11.0f, -1.6f), at(3.0f, -1.6f)},
       Rgb(0.82f, 0.90f, 0.95f)},  // glass tube
      {{at(11.0f, 3.0f), at(14.0f, 3.0f), at(14.0f, -3.0f), at(11.0f, -3.0f)},
       Rgb(0.62f, 0.63f, 0.65f)},        // steel collar
      {bulb, Rgb(0.72f, 0.12f, 0.10f)},  // rubber bulb
  };
  for (const auto& [dx, dy, alpha] : {std::tuple{1.0f, 1.5f, 0.22f}, {2.0f, 2.5f, 0.14f}}) {
    for (const auto& piece : pieces)
      canvas.Fill({Translated(piece.outline, dx, dy)}, Rgba{0, 0, 0, alpha});
  }
  for (const auto& piece : pieces) {
    canvas.Fill({piece.outline}, piece.colour);
    std::vector<Vec2> closed(piece.outline.begin(), piece.outline.end());
    closed.push_back(piece.outline.front());
    canvas.Fill(StrokePolyline(closed, 1.3f), Rgb(0.06f, 0.06f, 0.07f));
  }
  // A drop of paint in the tube and a highlight on the bulb.
  canvas.Fill(StrokePolyline({at(3.5f, 0.0f), at(7.0f, 0.0f)}, 1.4f), Rgb(0.85f, 0.15f, 0.12f));
  canvas.Fill(StrokePolyline({at(16.0f, -1.5f), at(21.0f, -1.5f)}, 1.4f), Rgba{1, 1, 1, 0.35f});
  return WholePicture(canvas);
}

}  // namespace

ListSkin MakeListSkin() {
  ListSkin skin;
  skin.arrowUp = ArrowKey(kListArrowSize, kListArrowSize, Direction::kUp, false);
  skin.arrowDown = ArrowKey(kListArrowSize, kListArrowSize, Direction::kDown, false);
  skin.track = Track(kListArrowSize);
  skin.itemBackground = SelectionBar();
  skin.slider = SliderThumb();
  skin.arrowUpHover = ArrowKey(kListArrowSize, kListArrowSize, Direction::kUp, true);
  skin.arrowDownHover = ArrowKey(kListArrowSize, kListArrowSize, Direction::kDown, true);
  return skin;
}

TextBoxSkin MakeTextBoxSkin() {
  TextBoxSkin skin;
  skin.arrowUp = ArrowKey(kTextArrowWidth, kTextArrowHeight, Direction::kUp, false);
  skin.arrowUpHover = ArrowKey(kTextArrowWidth, kTextArrowHeight, Direction::kUp, true);
  skin.arrowDown = ArrowKey(kTextArrowWidth, kTextArrowHeight, Direction::kDown, false);
  skin.arrowDownHover = ArrowKey(kTextArrowWidth, kTextArrowHeight, Direction::kDown, true);
  skin.track = Track(kTextArrowWidth);
  return skin;
}

layout::Point WorkshopButtonPlace(WorkshopButton button) {
  switch (button) {
    case WorkshopButton::kBuildIn:
      return layout::kBuildInButton;
    case WorkshopButton::kRemove:
      return layout::kRemoveButton;
    case WorkshopButton::kSpray:
    default:
      return layout::kSprayButton;
  }
}

Circle WorkshopButtonDisc(WorkshopButton button) {
  const layout::Point at = WorkshopButtonPlace(button);
  return {static_cast<float>(at.x) + kButtonCentreX, static_cast<float>(at.y) + kButtonCentreY,
          kButtonBezel};
}

WorkshopButtonPictures MakeWorkshopButton(WorkshopButton button) {
  return {ButtonPicture(button, ButtonLight::kOff, true),
          ButtonPicture(button, ButtonLight::kHover, false),
          ButtonPicture(button, ButtonLight::kOn, false),
          ButtonPicture(button, ButtonLight::kOff, false)};
}

ColourControls MakeColourControls() {
  ColourControls controls;
  for (const Direction direction : {Direction::kUp, Direction::kDown}) {
    Canvas canvas(14, 9);
    canvas.Fill({RoundedRectContour(0.0f, 0.0f, 14.0f, 9.0f, 2.0f)},
                BrushedMetal(Rgb(0.38f, 0.39f, 0.41f), Rgb(0.22f, 0.23f, 0.245f), 0.0f, 9.0f, 57));
    const Contour triangle = direction == Direction::kUp
                                 ? Contour{{7.0f, 2.0f}, {10.5f, 6.5f}, {3.5f, 6.5f}}
                                 : Contour{{3.5f, 2.5f}, {10.5f, 2.5f}, {7.0f, 7.0f}};
    canvas.Fill({triangle}, Rgb(0.90f, 0.89f, 0.86f));
    (direction == Direction::kUp ? controls.arrowUp : controls.arrowDown) = WholePicture(canvas);
  }
  Canvas knob(9, 13);
  knob.Fill({RoundedRectContour(0.0f, 0.0f, 9.0f, 13.0f, 2.0f)}, Rgb(0.05f, 0.05f, 0.06f));
  knob.Fill({RoundedRectContour(1.0f, 1.0f, 8.0f, 12.0f, 1.5f)},
            BrushedMetal(Rgb(0.90f, 0.90f, 0.89f), Rgb(0.52f, 0.53f, 0.55f), 1.0f, 12.0f, 59));
  knob.Fill({RectContour(4.0f, 2.5f, 5.0f, 10.5f)}, kAccent);
  controls.sliderKnob = WholePicture(knob);
  return controls;
}

Pointers MakePointers() {
  return {NormalPointer(), ColourPickPointer()};
}

}  // namespace kbh::skin
